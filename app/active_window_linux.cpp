#include "app/active_window.h"

#include "app/app_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QSysInfo>

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// The file name of a process's executable; empty when it cannot be read
// (another user's process, a process that has ended).
QString executableOf(qint64 pid)
{
    if (pid <= 0)
        return QString();
    QString name = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid))).fileName();
    // A program whose file was replaced since it started.
    const QString deleted = QStringLiteral(" (deleted)");
    if (name.endsWith(deleted))
        name.chop(deleted.size());
    return name;
}

// Every process of this user but this one, by executable.
QStringList userPrograms()
{
    const uint me = ::getuid();
    const qint64 self = QCoreApplication::applicationPid();
    QStringList names;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid == self || QFileInfo(QStringLiteral("/proc/") + entry).ownerId() != me)
            continue;
        names.append(executableOf(pid));
    }
    return names;
}

bool waylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
}

class XcbActiveWindowSource : public ActiveWindowSource {
public:
    using ActiveWindowSource::ActiveWindowSource;

    ~XcbActiveWindowSource() override
    {
        delete m_notifier;
        if (m_conn)
            xcb_disconnect(m_conn);
    }

    bool start() override
    {
        if (m_conn)
            return true;
        // XWayland shows only the windows of X programs: the program in
        // front would be wrong most of the time.
        if (waylandSession())
            return fail(QStringLiteral("a Wayland session does not tell which program is in front"));
        // Without a window on the X display (offscreen, the tests' views)
        // there is no desktop whose front window would mean anything.
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return fail(QStringLiteral("the window is not on an X display"));
        int screenNumber = 0;
        m_conn = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_conn))
            return fail(QStringLiteral("no X display"));
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_conn));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        if (!it.rem)
            return fail(QStringLiteral("no X screen"));
        m_root = it.data->root;
        m_activeAtom = atom("_NET_ACTIVE_WINDOW");
        m_pidAtom = atom("_NET_WM_PID");
        m_clientListAtom = atom("_NET_CLIENT_LIST");
        if (!m_activeAtom || !m_pidAtom)
            return fail(QStringLiteral("the X server has no window-manager atoms"));
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        if (xcb_generic_error_t* e = xcb_request_check(
                m_conn, xcb_change_window_attributes_checked(m_conn, m_root, XCB_CW_EVENT_MASK, &mask))) {
            std::free(e);
            return fail(QStringLiteral("cannot watch the root window"));
        }
        m_hostName = QSysInfo::machineHostName();
        m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_conn), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { drain(); });
        readActiveWindow();
        drainLater();
        return true;
    }

    QString unavailableReason() const override { return m_reason; }

    QStringList runningPrograms() const override
    {
        QStringList names;
        if (m_conn) {
            // The window manager's list of managed windows, where it keeps one.
            const QByteArray list = property(m_root, m_clientListAtom, XCB_ATOM_WINDOW, 4096);
            const auto* ids = reinterpret_cast<const xcb_window_t*>(list.constData());
            const qint64 self = QCoreApplication::applicationPid();
            for (int i = 0; i < list.size() / int(sizeof(xcb_window_t)); ++i) {
                const ActiveWindow w = describe(ids[i]);
                if (w.pid != self)
                    names.append(w.names().value(0));
            }
            // Events read meanwhile wait in the connection's queue.
            const_cast<XcbActiveWindowSource*>(this)->drainLater();
        }
        if (names.isEmpty())
            names = userPrograms();
        return sortedProgramNames(names);
    }

private:
    bool fail(const QString& why)
    {
        m_reason = why;
        qCInfo(lcApp).noquote() << "the program in front is not watched:" << why;
        if (m_conn) {
            xcb_disconnect(m_conn);
            m_conn = nullptr;
        }
        return false;
    }

    xcb_atom_t atom(const char* name) const
    {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
            m_conn, xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }

    // The raw value of a window property (at most maxWords 32-bit words).
    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type, uint32_t maxWords) const
    {
        if (!window || !name)
            return QByteArray();
        xcb_get_property_reply_t* r = xcb_get_property_reply(
            m_conn, xcb_get_property(m_conn, 0, window, name, type, 0, maxWords), nullptr);
        QByteArray value;
        if (r && r->type == type)
            value = QByteArray(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
        std::free(r);
        return value;
    }

    ActiveWindow describe(xcb_window_t window) const
    {
        ActiveWindow w;
        w.id = window;
        const QByteArray pid = property(window, m_pidAtom, XCB_ATOM_CARDINAL, 1);
        const QByteArray machine = property(window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 64);
        // A window of a program on another machine has a process id of there.
        const bool local = machine.isEmpty() || QString::fromLocal8Bit(machine).remove(QChar(0)) == m_hostName;
        if (pid.size() == 4 && local) {
            quint32 value = 0;
            std::memcpy(&value, pid.constData(), 4);
            w.pid = value;
            w.program = executableOf(w.pid);
        }
        const QByteArray wmClass = property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64);
        for (const QByteArray& part : wmClass.split('\0')) {
            if (!part.isEmpty())
                w.classNames.append(QString::fromLocal8Bit(part));
        }
        return w;
    }

    void readActiveWindow()
    {
        const QByteArray value = property(m_root, m_activeAtom, XCB_ATOM_WINDOW, 1);
        xcb_window_t window = XCB_WINDOW_NONE;
        if (value.size() == 4)
            std::memcpy(&window, value.constData(), 4);
        if (window == m_tracked && m_reported)
            return;
        if (m_tracked) {
            const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
            xcb_change_window_attributes(m_conn, m_tracked, XCB_CW_EVENT_MASK, &none);
        }
        m_tracked = window;
        // Its destruction means nothing is in front any more, also when no
        // window manager updates the root's property.
        if (window) {
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            if (xcb_generic_error_t* e = xcb_request_check(
                    m_conn, xcb_change_window_attributes_checked(m_conn, window, XCB_CW_EVENT_MASK, &mask))) {
                std::free(e);
                m_tracked = XCB_WINDOW_NONE;
            }
        }
        report(m_tracked ? describe(m_tracked) : ActiveWindow());
    }

    void report(const ActiveWindow& w)
    {
        m_reported = true;
        emit activeWindowChanged(w);
    }

    void drain()
    {
        if (!m_conn)
            return;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_conn)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_PROPERTY_NOTIFY) {
                const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(event);
                if (p->window == m_root && p->atom == m_activeAtom)
                    readActiveWindow();
            } else if (type == XCB_DESTROY_NOTIFY) {
                const auto* d = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
                if (d->window == m_tracked && m_tracked) {
                    m_tracked = XCB_WINDOW_NONE;
                    report(ActiveWindow());
                }
            }
            // Errors (a window gone before it was asked about) and other
            // notices of the tracked window change nothing.
            std::free(event);
        }
        if (xcb_connection_has_error(m_conn)) {
            delete m_notifier;
            m_notifier = nullptr;
            fail(QStringLiteral("the X connection was lost"));
        }
    }

    void drainLater()
    {
        QMetaObject::invokeMethod(this, [this] { drain(); }, Qt::QueuedConnection);
    }

    xcb_connection_t* m_conn = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_window_t m_tracked = XCB_WINDOW_NONE;
    xcb_atom_t m_activeAtom = XCB_ATOM_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
    xcb_atom_t m_clientListAtom = XCB_ATOM_NONE;
    QString m_hostName;
    QString m_reason;
    bool m_reported = false;
};

} // namespace

std::unique_ptr<ActiveWindowSource> makeActiveWindowSource(QObject* parent)
{
    return std::make_unique<XcbActiveWindowSource>(parent);
}
