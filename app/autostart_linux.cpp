// The XDG autostart entry: a desktop entry in $XDG_CONFIG_HOME/autostart
// (~/.config/autostart), named after the application id.

#include "app/autostart.h"

#include "app/app_id.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString Autostart::location() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/autostart/" STRYDE_APP_ID ".desktop");
}

bool Autostart::isEnabled() const
{
    QFile file(location());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // The desktop's session settings switch an entry off with one of these.
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

bool Autostart::writeEntry()
{
    const QString path = location();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    const QString text = QStringLiteral(
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=KORVEX STRYDE\n"
        "Comment=Keeps per-program profiles and DPI notices working\n"
        "Exec=%1\n"
        "Icon=" STRYDE_APP_ID "\n"
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n").arg(desktopExec(commandLine()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool Autostart::removeEntry()
{
    const QString path = location();
    return !QFileInfo::exists(path) || QFile::remove(path);
}
