#include "app/autostart.h"

#include "app/app_log.h"

Autostart::Autostart(const QString& program, const QStringList& arguments, QObject* parent)
    : QObject(parent), m_program(program), m_arguments(arguments)
{
}

QStringList Autostart::commandLine() const
{
    return QStringList{m_program, QStringLiteral("--") + QLatin1String(kMinimizedOption)} + m_arguments;
}

bool Autostart::setEnabled(bool enabled)
{
    const bool before = isEnabled();
    const bool done = enabled ? writeEntry() : removeEntry();
    if (!done)
        qCWarning(lcApp).noquote() << (enabled ? "cannot write the start-at-login entry" : "cannot remove the start-at-login entry")
                                   << location();
    else
        qCInfo(lcApp).noquote() << (enabled ? "start at login: on," : "start at login: off,") << location();
    const bool after = isEnabled();
    if (after != before)
        emit enabledChanged(after);
    return done && after == enabled;
}

QString Autostart::desktopExec(const QStringList& commandLine)
{
    // An argument with a reserved character is quoted, and inside the quotes
    // ", `, $ and \ take a backslash; the value itself is a desktop entry
    // string, so every backslash is doubled once more. A literal % is %%.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QStringList words;
    for (const QString& argument : commandLine) {
        QString word = argument;
        word.replace(QLatin1Char('%'), QStringLiteral("%%"));
        bool quote = word.isEmpty();
        for (QChar c : word)
            quote = quote || reserved.contains(c);
        if (quote) {
            QString quoted;
            for (QChar c : word) {
                if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                    quoted += QLatin1Char('\\');
                quoted += c;
            }
            word = QLatin1Char('"') + quoted + QLatin1Char('"');
        }
        words << word;
    }
    return words.join(QLatin1Char(' ')).replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}
