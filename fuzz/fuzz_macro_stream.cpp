// The macro byte stream: the editor's JavaScript builder and the C++ one give
// the same bytes for any list of events and any repeat count; the length the
// editor counts is the length of the stream; what the mouse receives always
// fits its 128-byte block.

#include "features/macro_block.h"
#include "fuzz_input.h"
#include "support/macro_stream_js.h"

#include <QCoreApplication>

namespace {

MacroStreamJs* js = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    js = new MacroStreamJs(QStringLiteral(STRYDE_SOURCE_DIR "/modules/qml/basic/MacroStream.js"));
    if (!js->isValid())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int repeat = int(in.u32());
    QList<MacroAction> actions;
    while (!in.atEnd() && actions.size() < 200) {
        MacroAction a;
        a.kind = MacroAction::Kind(in.u8() % 5);
        // Short waits mostly, now and then a long or an enormous one.
        const uint8_t scale = in.u8();
        a.value = a.isDelay() ? (scale < 200 ? in.u16() : scale < 250 ? in.u32() % 10000000u : in.u32())
                              : scale;
        actions.append(a);
    }

    const QByteArray cpp = macroblock::buildStream(repeat, actions);
    QString error;
    const QByteArray script = js->build(actions, repeat, &error);
    if (!error.isEmpty() || script != cpp) {
        std::fprintf(stderr, "repeat %d, %d events: C++ %s, JavaScript %s %s\n", repeat, int(actions.size()),
                     cpp.toHex(' ').constData(), script.toHex(' ').constData(), qPrintable(error));
        std::abort();
    }
    FUZZ_CHECK(js->length(actions) == int(macroblock::buildStream(0, actions).size()));

    const QByteArray sent = js->fitted(actions, repeat, &error);
    FUZZ_CHECK(error.isEmpty() && sent.size() <= 128);
    bool cut = true;
    const MacroBlock block = macroblock::blockFromStream(cpp, &cut);
    FUZZ_CHECK(cut == (cpp.size() > 128));
    FUZZ_CHECK(std::memcmp(block.data(), cpp.constData(), size_t(qMin(cpp.size(), 128))) == 0);
    return 0;
}
