#include "app/tray_presence.h"

#include "app/app_log.h"

#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace {

bool trayThere()
{
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    // On X11 Qt looks for the tray's manager under a server grab whose
    // release it leaves in its output buffer: until the program next talks to
    // the server, no other program's request is served (an idle window would
    // hold the whole display). Sending it now ends the grab.
    QGuiApplication::sync();
    return available;
}

} // namespace

SystemTrayPresence::SystemTrayPresence(int pollMs, QObject* parent) : TrayPresence(parent)
{
    m_available = trayThere();
    m_poll.setInterval(pollMs);
    connect(&m_poll, &QTimer::timeout, this, &SystemTrayPresence::recheck);
}

void SystemTrayPresence::start()
{
    qCInfo(lcApp) << (m_available ? "a system tray shows the icon" : "no system tray: the window stands alone");
    m_poll.start();
}

void SystemTrayPresence::recheck()
{
    const bool available = trayThere();
    if (available == m_available)
        return;
    m_available = available;
    qCInfo(lcApp) << (available ? "a system tray appeared" : "the system tray is gone");
    emit availabilityChanged(available);
}

std::unique_ptr<TrayPresence> makeTrayPresence(QObject* parent)
{
    return std::make_unique<SystemTrayPresence>(1500, parent);
}
