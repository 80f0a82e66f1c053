#include "app/desktop_notifier.h"

#include "app/app_log.h"

namespace {

// Windows always has its notification area: the tray icon shows every
// notice, and this one only keeps a line of it in the log.
class LoggingNotifier : public TrayNotifier {
public:
    void showMessage(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon, int) override
    {
        qCInfo(lcApp).noquote() << "notice:" << title << "-" << text;
    }
};

} // namespace

std::unique_ptr<TrayNotifier> makeDesktopNotifier()
{
    return std::make_unique<LoggingNotifier>();
}
