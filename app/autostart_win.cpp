// The Run key of the user's registry: Windows starts every value there at login.

#include "app/autostart.h"

#include "app/app_id.h"

#include <QDir>
#include <QSettings>

namespace {

const QString kRunKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

QString quotedArgument(const QString& argument)
{
    if (!argument.isEmpty() && !argument.contains(QLatin1Char(' ')) && !argument.contains(QLatin1Char('"')))
        return argument;
    QString inner = argument;
    inner.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

} // namespace

QString Autostart::location() const
{
    return kRunKey + QStringLiteral("\\" STRYDE_APP_ID);
}

bool Autostart::isEnabled() const
{
    QSettings run(kRunKey, QSettings::NativeFormat);
    return !run.value(QStringLiteral(STRYDE_APP_ID)).toString().isEmpty();
}

bool Autostart::writeEntry()
{
    QStringList words;
    const QStringList line = commandLine();
    for (int i = 0; i < line.size(); ++i)
        words << quotedArgument(i == 0 ? QDir::toNativeSeparators(line.at(i)) : line.at(i));
    QSettings run(kRunKey, QSettings::NativeFormat);
    run.setValue(QStringLiteral(STRYDE_APP_ID), words.join(QLatin1Char(' ')));
    run.sync();
    return run.status() == QSettings::NoError;
}

bool Autostart::removeEntry()
{
    QSettings run(kRunKey, QSettings::NativeFormat);
    run.remove(QStringLiteral(STRYDE_APP_ID));
    run.sync();
    return run.status() == QSettings::NoError;
}
