// The listener's report parsing: whatever a read of the report interface
// returns (any bytes, any count, an error), only a four-byte DPI-switch
// report yields a stage, and every stage has a notice.

#include "device/clock.h"
#include "device/hid_thread.h"
#include "device/virtual_mouse.h"
#include "fuzz_input.h"

#include <QCoreApplication>

namespace {

Hid_Thread* link = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    static VirtualClock clock;
    static VirtualMouse mouse(clock);
    link = new Hid_Thread(mouse, clock);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int result = int(int8_t(in.u8()));      // what the read returned
    const int anyStage = int(int32_t(in.u32()));
    const QByteArray bytes = in.rest();
    // The report as the listener's buffer holds it: four bytes at most.
    uchar buffer[4] = {};
    std::memcpy(buffer, bytes.constData(), size_t(qMin(bytes.size(), 4)));
    const std::optional<uchar> stage = Hid_Thread::dpiSwitchStage(buffer, result);
    FUZZ_CHECK(!stage || (result == 4 && buffer[0] == 0x06 && buffer[1] == 0x07 && *stage == buffer[3]));
    const QString notice = link->dpiSwitchNotice(stage ? *stage : anyStage);
    FUZZ_CHECK(notice.endsWith(QLatin1Char(' ')) && notice.size() > 1);
    return 0;
}
