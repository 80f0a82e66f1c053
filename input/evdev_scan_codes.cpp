#include "input/evdev_scan_codes.h"

namespace {

// A run of evdev codes first..last whose scan codes run on from `scan`.
struct EvdevRun {
    int first;
    int last;
    quint8 scan;
    bool extended;
};

constexpr bool kPlain = false;
constexpr bool kExt = true;

constexpr EvdevRun kEvdevRuns[] = {
    //  evdev      scan   E0
    {1, 53, 0x01, kPlain},      // Esc .. slash: the evdev code is the scan code
    {54, 54, 0x36, kExt},       // Right Shift: the hook reports it with the extended bit
    {55, 68, 0x37, kPlain},     // keypad *, Left Alt, Space, Caps Lock, F1..F10
    {69, 69, 0x45, kExt},       // Num Lock (0x45 without the bit is Pause)
    {70, 83, 0x46, kPlain},     // Scroll Lock, keypad 7 .. keypad .
    {86, 86, 0x56, kPlain},     // the extra key of ISO boards
    {87, 88, 0x57, kPlain},     // F11, F12
    {96, 96, 0x1C, kExt},       // keypad Enter
    {97, 97, 0x1D, kExt},       // Right Ctrl
    {98, 98, 0x35, kExt},       // keypad /
    {99, 99, 0x37, kExt},       // Print Screen (SysRq)
    {100, 100, 0x38, kExt},     // Right Alt
    {102, 102, 0x47, kExt},     // Home
    {103, 103, 0x48, kExt},     // Up
    {104, 104, 0x49, kExt},     // Page Up
    {105, 105, 0x4B, kExt},     // Left
    {106, 106, 0x4D, kExt},     // Right
    {107, 107, 0x4F, kExt},     // End
    {108, 108, 0x50, kExt},     // Down
    {109, 109, 0x51, kExt},     // Page Down
    {110, 110, 0x52, kExt},     // Insert
    {111, 111, 0x53, kExt},     // Delete
    {117, 117, 0x59, kPlain},   // keypad =
    {119, 119, 0x45, kPlain},   // Pause
    {125, 125, 0x5B, kExt},     // Left Windows
    {126, 126, 0x5C, kExt},     // Right Windows
    {127, 127, 0x5D, kExt},     // Menu
    {183, 193, 0x64, kPlain},   // F13 .. F23
    {194, 194, 0x76, kPlain},   // F24
    {210, 210, 0x37, kExt},     // Print
    {411, 411, 0x46, kExt},     // Break
};

} // namespace

std::optional<ScanCode> scanCodeForEvdev(int evdevCode)
{
    for (const EvdevRun& run : kEvdevRuns) {
        if (evdevCode >= run.first && evdevCode <= run.last)
            return ScanCode{quint8(run.scan + (evdevCode - run.first)), run.extended};
    }
    return std::nullopt;
}

std::optional<KeyTransition> keyTransitionFromEvdev(int evdevCode, bool down, bool altDown)
{
    const std::optional<ScanCode> sc = scanCodeForEvdev(evdevCode);
    if (!sc)
        return std::nullopt;
    KeyTransition t;
    t.scanCode = sc->scan;
    t.extended = sc->extended;
    t.altDown = altDown;
    t.down = down;
    return t;
}

std::optional<KeyTransition> keyTransitionFromXKeycode(int xKeycode, bool down, bool altDown)
{
    constexpr int kXKeycodeOffset = 8;
    return keyTransitionFromEvdev(xKeycode - kXKeycodeOffset, down, altDown);
}
