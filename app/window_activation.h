#pragma once
// Bringing the running copy's window to the front when the program is
// started again. A Wayland compositor raises or focuses a window only for a
// request that carries an activation token: the launcher (a dock, a menu, a
// terminal of a compositor that has them) hands one to the second start in
// XDG_ACTIVATION_TOKEN, and the second start passes it on to the first in its
// instance message.

#include <QString>

class QWidget;

// The instance message of a second start that asks for the window; `token`
// may be empty (no launcher gave one, or not on Wayland). The empty message
// of older copies asks for the window too.
QString activationMessage(const QString& token);
// The activation token an instance message carries; empty when it has none.
QString activationTokenOf(const QString& message);
// The activation token this process was started with, if any.
QString startupActivationToken();

// The program minimized `window` itself (its title bar's minimize icon). A
// Wayland compositor never says whether a window is minimized, so Qt cannot
// tell later; this note stands in.
void noteMinimized(QWidget* window);

// Shows `window` (also when hidden or minimized), raises it and asks for
// the focus, with `token` where the window system takes one (Wayland).
void bringToFront(QWidget* window, const QString& token);
