#include "app/window_activation.h"

#include "app/app_log.h"

#include <QGuiApplication>
#include <QVariant>
#include <QWidget>

namespace {

const QString kActivatePrefix = QStringLiteral("\x01" "activate\n");
constexpr char kTokenVariable[] = "XDG_ACTIVATION_TOKEN";
constexpr char kMinimizedProperty[] = "_stryde_minimized";

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

QString activationMessage(const QString& token)
{
    return kActivatePrefix + token;
}

QString activationTokenOf(const QString& message)
{
    if (!message.startsWith(kActivatePrefix))
        return QString();
    // A token is one line of printable text; anything else is not passed on.
    const QString token = message.mid(kActivatePrefix.size());
    for (const QChar c : token) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7e)
            return QString();
    }
    return token;
}

QString startupActivationToken()
{
    return qEnvironmentVariable(kTokenVariable);
}

void noteMinimized(QWidget* window)
{
    window->setProperty(kMinimizedProperty, true);
}

void bringToFront(QWidget* window, const QString& token)
{
    // Qt's Wayland client hands the compositor the token it finds in the
    // environment when the window is shown or asks for activation, and
    // clears it once used; it is cleared here too when the compositor has no
    // activation (Weston 10), so that no program started later inherits it.
    const bool withToken = !token.isEmpty() && onWayland();
    if (withToken)
        qputenv(kTokenVariable, token.toUtf8());
    // On Wayland a window the program minimized, and that has not the focus
    // now, is taken as still minimized (a compositor that gives a window back
    // gives it the focus too).
    const bool noted = window->property(kMinimizedProperty).toBool();
    window->setProperty(kMinimizedProperty, QVariant());
    const bool minimized = window->isMinimized() || (onWayland() && noted && !window->isActiveWindow());
    qCInfo(lcApp).nospace() << "bringing the window to the front" << (minimized ? " from minimized" : "")
                            << (withToken ? " with an activation token" : "");
    if (minimized) {
        // No Wayland protocol lets a program take its window out of the
        // compositor's minimized state: showing it afresh maps a new window,
        // which every compositor shows.
        if (onWayland())
            window->hide();
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
    window->setVisible(true);
    window->raise();
    window->activateWindow();
    if (withToken)
        qunsetenv(kTokenVariable);
}
