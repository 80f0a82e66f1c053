#pragma once
// What a mouse lets the program read back of its settings, and writing that
// back. Everything else the mouse keeps (key matrices, macros, lighting of a
// 553 mouse, report rates) has no read command and is not part of it.
//
//   both families  the keyboard options (553: four bytes, 83H; 560: two, 81H)
//   553            the current DPI stage (8BH)
//   560            the five 128-byte profile blocks (8CH 0..4), the current
//                  profile (82H) and the DPI stage of profiles 1..4 (84H)
//
// Reading needs no profile switch: the mouse hands out any block by number,
// so taking a snapshot changes nothing on the mouse.

#include <QString>
#include <QStringList>
#include <array>

class HidTransport;
class Hid_Thread;

using uchar = unsigned char;

struct MouseSnapshot {
    static constexpr int kBlocks = 5;
    static constexpr int kBlockSize = 128;
    static constexpr int kProfiles = 4;
    using Block = std::array<uchar, kBlockSize>;

    int family = 553;                               // 560, or 553 for every other value
    std::array<uchar, 4> keyboardOptions{};         // a 560 mouse has the first two
    uchar currentDpiStage = 0;                      // 553
    uchar currentProfile = 0;                       // 560
    std::array<uchar, kProfiles> profileDpiStages{};    // 560: profiles 1..4
    std::array<Block, kBlocks> profileBlocks{};     // 560

    bool is560() const { return family == 560; }
    // Keyboard-option bytes the family has: 2 or 4.
    int keyboardOptionCount() const { return is560() ? 2 : 4; }
    bool operator==(const MouseSnapshot& o) const;
    bool operator!=(const MouseSnapshot& o) const { return !(*this == o); }
};

// Reads everything listed above from the current mouse of `t`, as a mouse of
// `family`. Uses only read commands. False when any read failed: `failed`
// (if given) then names the first one, and `out` is not to be used.
bool readMouseSnapshot(HidTransport& t, int family, MouseSnapshot& out, QString* failed = nullptr);

// How a restore went. The steps are named for the user ("profile block 2").
struct RestoreReport {
    QStringList written;    // steps that reached the mouse, in order
    QString failed;         // the step that did not (empty: all did)
    QStringList notSent;    // steps after it, not sent
    bool ok() const { return failed.isEmpty(); }
    // One line: what was restored, or exactly what was and was not written.
    QString text() const;
};

// Writes `s` to the current mouse of `link`, which must be of s.family; the
// 560 blocks are read back as they are written. Stops at the first step that
// fails.
RestoreReport writeMouseSnapshot(Hid_Thread& link, const MouseSnapshot& s);
