#pragma once
// The window's own key and mouse events as the capture's key transitions
// and mouse messages, for systems where no system-wide capture runs: the
// capture then sees what happens while our window has the focus.

#include "input/key_translator.h"
#include "input/mouse_translation.h"

#include <optional>

class QKeyEvent;
class QMouseEvent;

// Key press or release by its native scan code (on X11 and Wayland the
// evdev code plus 8; on Windows the set-1 scan code with the extended bit
// as 0x100). Nothing for other events or a scan code without a key.
std::optional<KeyTransition> keyTransitionFromQt(const QKeyEvent& event);

// Press, release or double-click of the left, right or middle button at the
// event's screen position. Qt reports the second press of a double-click as
// a press and then as a double-click: the latter becomes the double-click
// message, which reports nothing. Nothing for other buttons and events.
std::optional<MouseMessage> mouseMessageFromQt(const QMouseEvent& event);
