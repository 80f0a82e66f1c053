// The key translation: any sequence of key transitions (from a hook's scan
// codes or X11 key codes) and mouse messages translates without reading out
// of bounds; a release is reported only for a key reported down before, and
// an auto-repeat down never twice.

#include "fuzz_input.h"
#include "input/evdev_scan_codes.h"
#include "input/key_translator.h"
#include "input/mouse_translation.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    KeyTranslator keys(in.u8());
    std::array<bool, 256> down{};
    while (!in.atEnd()) {
        std::optional<KeyTransition> key;
        switch (in.u8() % 4) {
        case 0: {
            KeyTransition k;
            k.scanCode = in.flag() ? in.u32() : in.u8();
            k.extended = in.flag();
            k.altDown = in.flag();
            k.down = in.flag();
            key = k;
            break;
        }
        case 1: {
            const int code = int(int16_t(in.u16()));
            key = keyTransitionFromXKeycode(code, in.flag(), in.flag());
            break;
        }
        case 2: {
            const int code = int(int16_t(in.u16()));
            const std::optional<ScanCode> scan = scanCodeForEvdev(code);
            key = keyTransitionFromEvdev(code, in.flag(), in.flag());
            FUZZ_CHECK(bool(scan) == bool(key));
            break;
        }
        default: {
            MouseMessage m;
            m.message = in.flag() ? in.u32() : 0x200u + in.u8() % 16;
            m.x = qint32(in.u32());
            m.y = qint32(in.u32());
            const std::optional<MouseReport> r = translateMouseMessage(m);
            FUZZ_CHECK(!r || (r->buttonCode >= 0xF0 && r->buttonCode <= 0xF2 && r->x == m.x && r->y == m.y));
            const std::optional<quint32> x = messageForXButton(int(int8_t(in.u8())), in.flag());
            FUZZ_CHECK(!x || translateMouseMessage(MouseMessage{*x, 0, 0}));
            continue;
        }
        }
        if (!key)
            continue;
        const std::optional<KeyReport> report = keys.translate(*key);
        if (!report)
            continue;
        FUZZ_CHECK(report->usage != 0);
        FUZZ_CHECK(report->isDown == (key->down ? 1 : 0));
        FUZZ_CHECK(report->isDown ? !down[report->usage] : down[report->usage]);
        down[report->usage] = report->isDown != 0;
        FUZZ_CHECK(keys.isDown(report->usage) == down[report->usage]);
    }
    return 0;
}
