#pragma once
// The three system pointer settings, as the platform applies them. Windows
// takes them through SystemParametersInfoW; elsewhere the desktop's own
// settings are used where it offers them.

#include <memory>

class PointerBackend {
public:
    virtual ~PointerBackend() = default;
    // Pointer speed 1 (slowest) to 20 (fastest), 10 being the system default;
    // saved for the user and announced to running programs. False when the
    // system did not take it.
    virtual bool setMouseSpeed(unsigned int speed) = 0;
    // Double-click time in milliseconds; saved and announced. False on failure.
    virtual bool setDoubleClickTime(unsigned int milliseconds) = 0;
    // Lines one wheel notch scrolls (1000: one screen); saved and announced.
    // False on failure or where the desktop has no such setting.
    virtual bool setWheelScrollLines(unsigned int lines) = 0;
};

// The backend of the platform the program was built for.
std::unique_ptr<PointerBackend> makePointerBackend();
