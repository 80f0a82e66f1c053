#include "app/desktop_notifier.h"

#include "app/app_id.h"
#include "app/app_log.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// The urgency the notification service takes as a hint: 1 normal, 2 critical.
uchar urgencyOf(QSystemTrayIcon::MessageIcon icon)
{
    return icon == QSystemTrayIcon::Critical ? 2 : 1;
}

QString iconNameOf(QSystemTrayIcon::MessageIcon icon)
{
    switch (icon) {
    case QSystemTrayIcon::Warning:
        return QStringLiteral("dialog-warning");
    case QSystemTrayIcon::Critical:
        return QStringLiteral("dialog-error");
    case QSystemTrayIcon::Information:
        return QStringLiteral("dialog-information");
    case QSystemTrayIcon::NoIcon:
        break;
    }
    return QString();
}

// Notify is asked without waiting: a slow or missing service never holds
// the window up. The answer (the notice's id) is kept, so that the next
// notice replaces this one on screen instead of piling up.
class DBusNotifier : public QObject, public TrayNotifier {
public:
    void showMessage(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon,
                     int milliseconds) override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            logUnsent(title, text, bus.lastError().message());
            return;
        }
        QVariantMap hints;
        hints.insert(QStringLiteral("desktop-entry"), QStringLiteral(STRYDE_APP_ID));
        hints.insert(QStringLiteral("urgency"), QVariant::fromValue(urgencyOf(icon)));
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
        call << QStringLiteral("KORVEX STRYDE") << m_lastId << iconNameOf(icon) << title << text << QStringList()
             << hints << qint32(milliseconds);
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, title, text](QDBusPendingCallWatcher* w) {
            const QDBusPendingReply<quint32> reply = *w;
            if (reply.isError())
                logUnsent(title, text, reply.error().message());
            else
                m_lastId = reply.value();
            w->deleteLater();
        });
    }

private:
    static void logUnsent(const QString& title, const QString& text, const QString& why)
    {
        qCInfo(lcApp).noquote() << "notice (no notification service took it:" << why + "):" << title << "-" << text;
    }

    quint32 m_lastId = 0;
};

} // namespace

std::unique_ptr<TrayNotifier> makeDesktopNotifier()
{
    return std::make_unique<DBusNotifier>();
}
