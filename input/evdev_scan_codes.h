#pragma once
// Linux input key codes (evdev) as PC set-1 scan codes with the extended bit,
// the form a Windows low-level keyboard hook reports, so that keys captured
// on X11 go through the same translation as keys captured by the hook.

#include "input/key_translator.h"

#include <optional>

struct ScanCode {
    quint8 scan = 0;
    bool extended = false;
};

// Scan code of an evdev key code; nothing for keys without one.
std::optional<ScanCode> scanCodeForEvdev(int evdevCode);

// The transition for an evdev key code; nothing for keys without a scan code.
std::optional<KeyTransition> keyTransitionFromEvdev(int evdevCode, bool down, bool altDown);

// X11 key codes are the evdev codes plus 8 (QKeyEvent::nativeScanCode on
// X11 and Wayland carries the same number).
std::optional<KeyTransition> keyTransitionFromXKeycode(int xKeycode, bool down, bool altDown);

// evdev codes of the two Alt keys, which the X11 source tracks for the Alt bit.
constexpr int kEvdevLeftAlt = 56;
constexpr int kEvdevRightAlt = 100;
