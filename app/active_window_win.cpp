#include "app/active_window.h"

#include "app/app_log.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>

#include <windows.h>

namespace {

QString executableOf(DWORD pid)
{
    QString name;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        wchar_t path[MAX_PATH * 4];
        DWORD size = DWORD(sizeof(path) / sizeof(path[0]));
        if (QueryFullProcessImageNameW(process, 0, path, &size))
            name = QFileInfo(QString::fromWCharArray(path, int(size))).fileName();
        CloseHandle(process);
    }
    return name;
}

ActiveWindow describe(HWND window)
{
    ActiveWindow w;
    if (!window)
        return w;
    w.id = quint64(reinterpret_cast<quintptr>(window));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    w.pid = pid;
    w.program = executableOf(pid);
    wchar_t className[256];
    const int length = GetClassNameW(window, className, 256);
    if (length > 0)
        w.classNames.append(QString::fromWCharArray(className, length));
    return w;
}

class WinActiveWindowSource;
// The hook's callback has no context argument; one source runs per program.
QPointer<WinActiveWindowSource> g_source;

class WinActiveWindowSource : public ActiveWindowSource {
public:
    using ActiveWindowSource::ActiveWindowSource;

    ~WinActiveWindowSource() override
    {
        if (m_hook)
            UnhookWinEvent(m_hook);
    }

    bool start() override
    {
        if (m_hook)
            return true;
        g_source = this;
        // Out of context: the callback runs on this (the GUI) thread, from its message loop.
        m_hook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &WinActiveWindowSource::onEvent,
                                 0, 0, WINEVENT_OUTOFCONTEXT);
        if (!m_hook) {
            m_reason = QStringLiteral("the foreground-window hook cannot be installed");
            qCInfo(lcApp).noquote() << "the program in front is not watched:" << m_reason;
            return false;
        }
        emit activeWindowChanged(describe(GetForegroundWindow()));
        return true;
    }

    QString unavailableReason() const override { return m_reason; }

    QStringList runningPrograms() const override
    {
        QStringList names;
        EnumWindows(&WinActiveWindowSource::collect, reinterpret_cast<LPARAM>(&names));
        return sortedProgramNames(names);
    }

private:
    static void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD)
    {
        if (event == EVENT_SYSTEM_FOREGROUND && object == OBJID_WINDOW && g_source)
            emit g_source->activeWindowChanged(describe(window));
    }

    // Visible top-level windows with a title: what the user sees in the task bar.
    static BOOL CALLBACK collect(HWND window, LPARAM context)
    {
        if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) || GetWindowTextLengthW(window) == 0)
            return TRUE;
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (qint64(pid) != QCoreApplication::applicationPid())
            reinterpret_cast<QStringList*>(context)->append(executableOf(pid));
        return TRUE;
    }

    HWINEVENTHOOK m_hook = nullptr;
    QString m_reason;
};

} // namespace

std::unique_ptr<ActiveWindowSource> makeActiveWindowSource(QObject* parent)
{
    return std::make_unique<WinActiveWindowSource>(parent);
}
