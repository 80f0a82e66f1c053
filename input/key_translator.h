#pragma once
// Turns a physical key transition into the USB HID keyboard usage (usage page
// 0x07) that the mouse firmware and the pages use for keys. Translation goes
// by scan code, so the result names the physical key whatever the active
// keyboard layout: scan code -> Windows virtual-key code -> usage.

#include <QtGlobal>

#include <array>
#include <map>
#include <optional>

// One key transition as a keyboard hook (or any other source) sees it.
struct KeyTransition {
    quint32 scanCode = 0;     // PC set-1 scan code; above 0xFF counts as 0
    bool extended = false;    // the E0-prefixed form (LLKHF_EXTENDED)
    bool altDown = false;     // Alt held (LLKHF_ALTDOWN)
    bool down = false;
};

// What the keyboard callback receives.
struct KeyReport {
    quint8 usage = 0;
    quint8 isDown = 0;
};

class KeyTranslator {
public:
    // Builds both tables for `layoutOption` (the application passes 0).
    explicit KeyTranslator(quint8 layoutOption = 0);

    // Builds both tables afresh, replacing any earlier content. With a
    // nonzero option the key left of Enter (virtual-key 0xDC) becomes the
    // non-US # key (0x32) instead of backslash (0x31). The key states stay.
    void buildTables(quint8 layoutOption);

    // Virtual-key code of a transition: the scan table, then the two
    // overrides (Ctrl+Break is Pause, Alt+Print Screen is Print Screen).
    // 0 when the key has no entry.
    quint8 virtualKey(const KeyTransition& key) const;
    // Usage of a virtual-key code; 0 when the code has no entry.
    quint8 usage(quint8 virtualKey) const;

    // The report for a transition, or nothing: keys without a usage, the
    // auto-repeat downs of a held key and the release of a key never seen
    // down report nothing. Updates the key state.
    std::optional<KeyReport> translate(const KeyTransition& key);

    bool isDown(quint8 usage) const { return m_keyState[usage] != 0; }
    int scanTableSize() const { return int(m_scan.size()); }
    int usageTableSize() const { return int(m_usage.size()); }

    // A low-level keyboard hook's down/up rule: only an HC_ACTION (0) call
    // with WM_KEYDOWN (0x100) or WM_SYSKEYDOWN (0x104) is a press; every
    // other combination counts as a release.
    static bool isPress(int hookCode, quint32 message);

private:
    std::map<quint16, quint8> m_scan;    // (scan code << 8) | extended bit -> virtual key
    std::map<quint8, quint8> m_usage;    // virtual key -> usage
    std::array<quint8, 256> m_keyState{};   // by usage, 1 = down
};
