#pragma once
// Tray notices ("Detect Device", the DPI-switch text). The window host shows
// them on its tray icon; tests record them.

#include <QString>
#include <QSystemTrayIcon>

class TrayNotifier {
public:
    virtual ~TrayNotifier() = default;
    // GUI thread only.
    virtual void showMessage(const QString& title, const QString& text,
                             QSystemTrayIcon::MessageIcon icon, int milliseconds) = 0;
};
