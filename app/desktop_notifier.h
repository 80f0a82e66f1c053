#pragma once
// The tray's notices when no tray shows the program's icon: desktop
// notifications. On Linux they go to the notification service of the session
// bus (org.freedesktop.Notifications), each one replacing the program's
// previous notice as a tray balloon does; a notice that no service takes is
// written to the log. On Windows the tray is always there, so the notices
// are only logged.

#include "app/tray_notifier.h"

#include <memory>

std::unique_ptr<TrayNotifier> makeDesktopNotifier();
