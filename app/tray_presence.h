#pragma once
// Whether a system tray shows the program's icon, followed while it runs: a
// desktop without one (a stock GNOME session, a bare X server) can get one
// later (a tray host started after the program, as during some Wayland
// logins), and a tray host can end.

#include <QObject>
#include <QTimer>
#include <memory>

class TrayPresence : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether a tray is there now, as last seen.
    virtual bool isAvailable() const = 0;
    // Starts following the tray; availabilityChanged reports each change after this.
    virtual void start() = 0;

signals:
    void availabilityChanged(bool available);
};

// The desktop's tray as QSystemTrayIcon::isSystemTrayAvailable() sees it,
// asked again every `pollMs` milliseconds: one round trip to the display
// server (on X11, the owner of the tray's selection), so a slow look costs
// nothing. Qt tells of a change only through its platform plugin's private
// interface.
class SystemTrayPresence : public TrayPresence {
    Q_OBJECT
public:
    explicit SystemTrayPresence(int pollMs = 1500, QObject* parent = nullptr);
    bool isAvailable() const override { return m_available; }
    void start() override;

private:
    void recheck();

    QTimer m_poll;
    bool m_available = false;
};

std::unique_ptr<TrayPresence> makeTrayPresence(QObject* parent = nullptr);
