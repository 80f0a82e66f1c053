#include "device/commands_553.h"

#include "device/hid_transport.h"

namespace cmd553 {
namespace {

enum Row {
    Handshake, GetKeyboardOption, GetCurrentDpi,
    SetReportRate, SetCurrentKeyMatrix, SetKeyboardOption, SetGunData, LiftOff,
    SetCurrentDpi, SetFixLedColor, SetRgbLedEffect, SetLed8StageColor, SetDpiSet,
    SetKeyMatrix, SetMacroKey,
};

//                                  code  paced  debug line when the link stays busy
constexpr CommandSpec kCommands[] = {
    /* Handshake           */ {0x00, false, "cmd Failed 00"},
    /* GetKeyboardOption   */ {0x83, false, "cmd Failed 83"},
    /* GetCurrentDpi       */ {0x8B, false, "cmd Failed 8BH"},
    /* SetReportRate       */ {0x01, true,  "cmd Failed 01"},
    /* SetCurrentKeyMatrix */ {0x02, true,  "cmd Failed 02"},
    /* SetKeyboardOption   */ {0x03, false, "cmd Failed 03"},
    /* SetGunData          */ {0x04, false, "cmd Failed 04"},
    /* LiftOff             */ {0x07, true,  "hid553_07H_Lod"},
    /* SetCurrentDpi       */ {0x0B, true,  "cmd Failed 0B"},
    /* SetFixLedColor      */ {0x0C, true,  "cmd Failed 0C"},
    /* SetRgbLedEffect     */ {0x0D, true,  "cmd Failed 0D"},
    /* SetLed8StageColor   */ {0x10, true,  "cmd Failed 10"},
    /* SetDpiSet           */ {0x11, true,  "cmd Failed 11"},
    /* SetKeyMatrix        */ {0x12, true,  "cmd Failed 12"},
    /* SetMacroKey         */ {0x13, true,  "cmd Failed 13"},
};
static_assert(sizeof(kCommands) / sizeof(kCommands[0]) == SetMacroKey + 1, "one row per command");

constexpr uchar kLiftOffMarker = 0x7D;      // the mouse expects it in frame byte 3 of 07H
constexpr uchar kKeyMatrixMarker = 0x08;    // and this one in frame byte 3 of 12H
constexpr uchar kLedTableShort = 2;         // colour-table kind that carries 4 bytes

const CommandSpec& row(Row r) { return kCommands[r]; }

} // namespace

bool getSecrecyCode(HidTransport& t, uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    const CommandSpec& s = row(Handshake);
    return t.readCommand(s, makeFrame({s.code, byte1, byte2, byte3, byte4}),
                         {{1, &byte1}, {2, &byte2}, {3, &byte3}, {4, &byte4}});
}

bool getKeyboardOption(HidTransport& t, uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    const CommandSpec& s = row(GetKeyboardOption);
    return t.readCommand(s, makeFrame({s.code}), {{1, &byte1}, {2, &byte2}, {3, &byte3}, {4, &byte4}});
}

bool getCurrentDpi(HidTransport& t, uchar& byte1)
{
    const CommandSpec& s = row(GetCurrentDpi);
    return t.readCommand(s, makeFrame({s.code}), {{1, &byte1}});
}

bool setKeyboardOption(HidTransport& t, uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    const CommandSpec& s = row(SetKeyboardOption);
    return t.writeCommand(s, makeFrame({s.code, byte1, byte2, byte3, byte4}));
}

bool setGunData(HidTransport& t, uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    const CommandSpec& s = row(SetGunData);
    return t.writeCommand(s, makeFrame({s.code, 0, byte1, byte2, byte3, byte4}));
}

bool setReportRate(HidTransport& t, uchar rate)
{
    const CommandSpec& s = row(SetReportRate);
    return t.writeCommand(s, makeFrame({s.code, rate}));
}

bool setCurrentDpi(HidTransport& t, uchar stage)
{
    const CommandSpec& s = row(SetCurrentDpi);
    return t.writeCommand(s, makeFrame({s.code, stage}));
}

bool setLiftOff(HidTransport& t, uchar stage)
{
    const CommandSpec& s = row(LiftOff);
    return t.writeCommand(s, makeFrame({s.code, 0, stage, kLiftOffMarker}));
}

bool setKeyMatrix(HidTransport& t, const uchar* src64, uchar indexAddOne)
{
    const CommandSpec& s = row(SetKeyMatrix);
    return t.writeCommand(s, makeFrame({s.code, indexAddOne, 64, kKeyMatrixMarker}), src64, 64);
}

bool setMacroKey(HidTransport& t, uchar macroId, const uchar* src128)
{
    const CommandSpec& s = row(SetMacroKey);
    return t.writeCommand(s, makeFrame({s.code, macroId, 128}), src128, 128);
}

bool setDpiSet(HidTransport& t, uchar dpiStage, const uchar* src8)
{
    const CommandSpec& s = row(SetDpiSet);
    return t.writeCommand(s, makeFrame({s.code, dpiStage, 8}), src8, 8);
}

bool setCurrentKeyMatrix(HidTransport& t, uchar currentKeyMatrix)
{
    const CommandSpec& s = row(SetCurrentKeyMatrix);
    return t.writeCommand(s, makeFrame({s.code, currentKeyMatrix}));
}

bool setRgbLedEffect(HidTransport& t, uchar effect, uchar option1, uchar option2)
{
    const CommandSpec& s = row(SetRgbLedEffect);
    return t.writeCommand(s, makeFrame({s.code, effect, option1, option2}));
}

bool setFixLedColor(HidTransport& t, const uchar* src3)
{
    const CommandSpec& s = row(SetFixLedColor);
    return t.writeCommand(s, makeFrame({s.code, src3[0], src3[1], src3[2]}));
}

bool setLed8StageColor(HidTransport& t, uchar type, const uchar* src24)
{
    const CommandSpec& s = row(SetLed8StageColor);
    const uchar n = type == kLedTableShort ? 4 : 24;
    return t.writeCommand(s, makeFrame({s.code, type, n}), src24, n);
}

} // namespace cmd553
