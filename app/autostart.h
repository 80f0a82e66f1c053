#pragma once
// "Start at login": an entry in the user's session that starts the program
// when the user logs in, with --minimized (into the tray where there is one,
// minimized otherwise). Per-program profiles and the DPI notices work only
// while the program runs, so this is how a user keeps them working.
//
// Linux: an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<app id>.desktop
// (autostart_linux.cpp). Windows: a value named after the app id under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run
// (autostart_win.cpp).

#include <QObject>
#include <QString>
#include <QStringList>

class Autostart : public QObject {
    Q_OBJECT
public:
    // The option the entry starts the program with.
    static constexpr char kMinimizedOption[] = "minimized";

    // `program`: the executable the entry starts; `arguments`: what it gets
    // beside --minimized (the program passes its --data-dir, if given).
    explicit Autostart(const QString& program, const QStringList& arguments = {}, QObject* parent = nullptr);

    // Whether the entry exists and the session would run it (an entry the
    // desktop's own settings turned off does not count).
    bool isEnabled() const;
    // Writes or removes the entry; true when it is then as asked. A failure
    // is logged and changes nothing. Emits enabledChanged when the state changed.
    bool setEnabled(bool enabled);

    // Where the entry lives: the file, or the registry key and value name.
    QString location() const;
    // The program and its arguments, as the entry starts them.
    QStringList commandLine() const;

    // Linux: the desktop entry's Exec value for `commandLine` (quoted as
    // the desktop entry format asks; exposed for the tests).
    static QString desktopExec(const QStringList& commandLine);

signals:
    void enabledChanged(bool enabled);

private:
    bool writeEntry();
    bool removeEntry();

    QString m_program;
    QStringList m_arguments;
};
