#pragma once
// Recoil presets ("guns"): one preset is a number of steps (times), an X step
// and a Y step. The mouse holds three, one per preset slot 1-3; the user's
// library of named presets lives in modules/gun/gunData.bin. These are the
// pure parts: the bytes a preset becomes on either family and the values a
// library entry holds.

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <array>

using uchar = unsigned char;

namespace recoil {

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 3;
constexpr bool isPresetSlot(int slot) { return slot >= kFirstSlot && slot <= kLastSlot; }

struct RecoilStep {
    uchar times = 0;
    uchar x = 0;
    uchar y = 0;
};

// times, X, Y from QML, each taken as an unsigned integer and cut to a byte;
// missing ones are 0, extra ones ignored.
RecoilStep stepFromValues(const QVariantList& src);
// The numbers stepFromValues takes, and a preset's period.
constexpr int kStepValues = 3;
constexpr int kLastStepValue = 255;

// --- 553 family --------------------------------------------------------------
// A mouse whose third keyboard option is set counts Y the other way round:
// it is given the negative (two's complement, cut to a byte).
uchar yForMouse(uchar y, bool inverted);
// The four bytes of the preset command: times, X, Y, slot - 1.
std::array<uchar, 4> gunData553(const RecoilStep& step, int slot, bool invertY);

// --- 560 family: profile blocks ----------------------------------------------
// Preset slot k lives in block k + 1.
constexpr int blockForSlot(int slot) { return slot + 1; }
constexpr int kFlagsOffset = 65;
constexpr uchar kPresetClearsBit = 0x04;    // cleared once a preset is stored
constexpr int kMarkerOffset = 78;
constexpr uchar kPresetMarker = 0xF0;
constexpr int kTimesOffset = 79;
constexpr int kXOffset = 80;
constexpr int kYOffset = 81;

// Writes the preset into a 128-byte profile block; every other byte and bit stays.
void writePreset(std::array<uchar, 128>& block, const RecoilStep& step);

// --- preset library ----------------------------------------------------------
// "gunData/" + name
QString presetKey(const QString& name);
// A name that addresses exactly one entry of the group: not blank and without
// the key separators '/' and '\'. (An empty name would address the whole
// group, a name with '/' the entries below another preset.)
bool isUsableName(const QString& name);

// Key text, period, X, Y, times of a new preset on the recoil page.
QStringList defaultPresetValues();
// The five values of an entry taken from src[from ... from + 4] as text;
// missing ones get the defaults above.
QStringList presetValues(const QVariantList& src, int from);

// Empty when src[from ... from + 4] are the five values of a preset: a key
// text (a string or a number, not blank), then period, X, Y and times, each
// an integer from 0 to 255 (one byte of the mouse); else what is wrong.
QString presetValuesProblem(const QVariantList& src, int from);

} // namespace recoil
