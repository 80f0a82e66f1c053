#pragma once
// The window in front and the program it belongs to. On X11 the root
// window's _NET_ACTIVE_WINDOW property is watched (events, no polling), the
// program found through the window's _NET_WM_PID and /proc/PID/exe, with
// WM_CLASS when that cannot be known; on Windows a foreground-window event
// hook. A Wayland session shows no other program's windows: there the source
// does not start and says why.

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

struct ActiveWindow {
    quint64 id = 0;             // the native window; 0: no window is active
    qint64 pid = 0;             // its process; 0 when unknown
    QString program;            // the file name of the process's executable; empty when unknown
    QStringList classNames;     // X11 WM_CLASS (instance, class), the Windows window class

    // The names a rule may match, best first: the executable, then the window class.
    QStringList names() const;
    bool operator==(const ActiveWindow& o) const
    {
        return id == o.id && pid == o.pid && program == o.program && classNames == o.classNames;
    }
};
Q_DECLARE_METATYPE(ActiveWindow)

class ActiveWindowSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts watching and reports the window in front now. False when this
    // session offers no way to see it (unavailableReason() then says why).
    virtual bool start() = 0;
    // Why start() failed, in English for the log; empty while it works.
    virtual QString unavailableReason() const = 0;
    // The programs the user runs now, without this one, sorted, each once:
    // those with a window where the system tells, else every process of the user.
    virtual QStringList runningPrograms() const = 0;

signals:
    // Another window came to the front (or none is active: id 0). GUI thread.
    void activeWindowChanged(const ActiveWindow& window);
};

std::unique_ptr<ActiveWindowSource> makeActiveWindowSource(QObject* parent = nullptr);

// Sorts names without case and drops repeats and empty names.
QStringList sortedProgramNames(QStringList names);
