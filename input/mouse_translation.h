#pragma once
// Mouse buttons as the capture reports them: the left, right and middle
// buttons become the key codes 0xF0, 0xF1 and 0xF2; moves, the wheel, the
// side buttons and double-click messages are not reported.

#include <QtGlobal>

#include <optional>

// One mouse message as a low-level mouse hook (or any other source) sees it:
// the window message number and the screen position.
struct MouseMessage {
    quint32 message = 0;
    qint32 x = 0;
    qint32 y = 0;
};

// What the mouse callback receives.
struct MouseReport {
    quint8 buttonCode = 0;
    quint8 isDown = 0;
    qint32 x = 0;
    qint32 y = 0;
};

namespace MouseMessages {
constexpr quint32 LButtonDown = 0x201;
constexpr quint32 LButtonUp = 0x202;
constexpr quint32 LButtonDblClk = 0x203;
constexpr quint32 RButtonDown = 0x204;
constexpr quint32 RButtonUp = 0x205;
constexpr quint32 RButtonDblClk = 0x206;
constexpr quint32 MButtonDown = 0x207;
constexpr quint32 MButtonUp = 0x208;
}

// The report for a mouse message, or nothing for a message outside the
// button table or with button code 0. No state: every press and release of
// a table button is reported.
std::optional<MouseReport> translateMouseMessage(const MouseMessage& message);

// The button message for an X11 button number (1 left, 2 middle, 3 right);
// nothing for the wheel (4-7), the side buttons (8, 9) and the rest.
std::optional<quint32> messageForXButton(int button, bool down);
