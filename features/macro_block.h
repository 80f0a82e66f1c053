#pragma once
// A macro as the mouse stores it: a 128-byte block holding the repeat count
// (high byte first) and two-byte action records, zero-filled.
//
// Action record: control byte, then the key usage (or 0xF0-0xF4 for a mouse
// button). The control byte holds the pause after the action in 10 ms units
// (1-126) and bit 7 for a release. A longer pause is control byte 0 followed
// by a scale record (0, s) and a count record (count high, count low). The
// last action's control byte is 1 and a terminator record (0, 0) follows.

#include <QByteArray>
#include <QList>
#include <QVariantList>

#include <array>

using uchar = unsigned char;

using MacroBlock = std::array<uchar, 128>;
static_assert(sizeof(MacroBlock) == 128, "a device macro is 128 bytes");

// One event of a stored macro, as the macro editor keeps it.
struct MacroAction {
    enum Kind { Delay = 0, KeyPress = 1, KeyRelease = 2, ButtonPress = 3, ButtonRelease = 4 };
    Kind kind = Delay;
    quint32 value = 0;      // milliseconds for a delay, otherwise the key or button code

    bool isDelay() const { return kind == Delay; }
    bool isRelease() const { return kind == KeyRelease || kind == ButtonRelease; }
};

namespace macroblock {

constexpr uchar kReleaseBit = 0x80;
// Pauses of this many 10 ms units or more need a scale and a count record.
constexpr quint32 kLongPause = 127;

// The byte stream of a macro: repeat count (held to 0-65535), then the action
// records. Leading delays are dropped; a pause of 0 becomes 1; a pause beyond
// the longest scale is held at the longest count the mouse can take. A macro
// without an action, or whose first action is its last event, is the repeat
// count alone. The stream may be longer than a block; see blockFromStream. The macro
// editor builds the same stream in modules/qml/basic/MacroStream.js; a test
// and a fuzzer hold the two to the same bytes.
QByteArray buildStream(int repeat, const QList<MacroAction>& actions);

// Control byte (and, for a long pause, the scale and count records) that
// close an action followed by `units` of 10 ms.
QByteArray pauseRecords(quint32 units, bool release);

// A block from numbers as QML hands them over: each taken as an integer and
// cut to a byte, the rest zero. Numbers beyond 128 are dropped; `cut` (if
// given) tells whether that happened.
MacroBlock blockFromValues(const QVariantList& values, bool* cut = nullptr);
MacroBlock blockFromStream(const QByteArray& stream, bool* cut = nullptr);

} // namespace macroblock
