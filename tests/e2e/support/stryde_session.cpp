#include "stryde_session.h"

#include "qml/support/run_files.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTest>
#include <algorithm>

// Xlib last: its macros clash with Qt names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

QString screenshotDir()
{
    const QString dir = QDir::cleanPath(QStringLiteral(STRYDE_BIN_DIR "/../screenshots"));
    QDir().mkpath(dir);
    return dir;
}

} // namespace

StrydeSession::StrydeSession() = default;

StrydeSession::~StrydeSession() { stop(); }

bool StrydeSession::waitFor(const std::function<bool()>& condition, int timeoutMs) const
{
    return QTest::qWaitFor(condition, timeoutMs);
}

bool StrydeSession::start(const Options& options)
{
    if (!m_data.isValid()) {
        m_error = QStringLiteral("cannot copy the data folder");
        return false;
    }
    const QString apConfig = m_data.path(QStringLiteral("modules/setting/apConfig.bin"));
    {
        QSettings s(apConfig, QSettings::IniFormat);
        s.setValue(QStringLiteral("mouse/icType"), QString::number(options.family == 560 ? 560 : 553));
        if (!options.language.isEmpty())
            s.setValue(QStringLiteral("common/language"), options.language);
    }
    for (auto it = options.files.cbegin(); it != options.files.cend(); ++it)
        writeSettings(m_data.path(it.key()), it.value());

    // Xvfb picks a free display itself and names it once it takes
    // connections: a number chosen here could be taken by another test's
    // server (or end with it) before this one starts. Without -noreset the
    // server resets whenever its last client leaves (each xdotool call while
    // the program starts), and a connection made during a reset fails.
    m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    // Its warnings go to a file: a pipe nobody reads could fill and stop it.
    m_xvfb.setStandardErrorFile(m_data.path(QStringLiteral("xvfb.log")));
    m_xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                          QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp"), QStringLiteral("-noreset")});
    QByteArray announced;
    const bool named = m_xvfb.waitForStarted(5000) && waitFor([this, &announced] {
        announced += m_xvfb.readAllStandardOutput();
        return announced.contains('\n') || m_xvfb.state() == QProcess::NotRunning;
    }, 10000);
    bool isNumber = false;
    const int display = announced.trimmed().toInt(&isNumber);
    if (!named || !isNumber || m_xvfb.state() != QProcess::Running) {
        m_error = QStringLiteral("Xvfb did not start: ") + xvfbLog();
        return false;
    }
    m_display = QStringLiteral(":%1").arg(display);
    if (options.trayHost && !startTrayHost())
        return false;
    if (options.notificationDaemon) {
        if (!startNotificationDaemon())
            return false;
    } else {
        // A bus address that leads nowhere: the program's notices are logged
        // and never reach the desktop of whoever runs the tests.
        m_busAddress = QStringLiteral("unix:path=") + m_data.path(QStringLiteral("no-session-bus"));
    }

    m_tracePath = m_data.path(QStringLiteral("trace.txt"));
    QProcessEnvironment env = desktopEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The program runs on this X display alone, whatever session started the tests.
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("XDG_SESSION_TYPE"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    env.insert(QStringLiteral("STRYDE_INSTANCE_ID"),
               QStringLiteral("stryde-e2e-%1-%2").arg(QCoreApplication::applicationPid()).arg(display));
    m_app.setProcessEnvironment(env);
    m_app.setProcessChannelMode(QProcess::MergedChannels);
    QStringList args{QStringLiteral("--virtual-mouse"), QStringLiteral("--hid-trace"), m_tracePath,
                     QStringLiteral("--data-dir"), m_data.root()};
    if (options.family == 560)
        args << QStringLiteral("--family") << QStringLiteral("560");
    args << options.arguments;
    m_app.start(QStringLiteral(STRYDE_BIN_DIR "/stryde"), args);
    if (!m_app.waitForStarted(5000)) {
        m_error = QStringLiteral("stryde did not start");
        return false;
    }
    if (options.ready == Options::Ready::Started)
        return true;
    if (!findWindow(options.readyTimeoutMs))
        return false;
    if (options.ready == Options::Ready::Window)
        return true;
    // The main screen is up when the Save button shows its resting face.
    if (!waitForPixel(1024 - 24 - 32, 640 - 8 - 12, QColor(0x09, 0x34, 0x7f), 24, options.readyTimeoutMs)) {
        m_error = QStringLiteral("the main screen did not appear; output: ") + programOutput();
        return false;
    }
    return true;
}

void StrydeSession::stop()
{
    // dunst first (by its own id, which its starter wrote): dbus-run-session
    // then ends its bus by itself.
    if (m_notices.state() != QProcess::NotRunning) {
        QFile pidFile(m_data.path(QStringLiteral("dunst.pid")));
        const qint64 pid = pidFile.open(QIODevice::ReadOnly) ? pidFile.readAll().trimmed().toLongLong() : 0;
        if (pid > 0)
            QProcess::execute(QStringLiteral("kill"), {QString::number(pid)});
    }
    for (QProcess* p : {&m_app, &m_trayHost, &m_notices, &m_xvfb}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(5000)) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }
}

QString StrydeSession::programOutput()
{
    m_output += m_app.readAll();
    return QString::fromLocal8Bit(m_output);
}

bool StrydeSession::xdotool(const QStringList& args, QString* output)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_error = QStringLiteral("xdotool %1 failed: %2").arg(args.join(QLatin1Char(' ')),
                                                             QString::fromLocal8Bit(p.readAllStandardError()));
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(p.readAllStandardOutput());
    return true;
}

bool StrydeSession::findWindow(int timeoutMs)
{
    const QString pid = QString::number(m_app.processId());
    const bool found = waitFor([this, &pid] {
        QString ids;
        if (!xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid}, &ids))
            return false;
        for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            QString shell;
            if (!xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id}, &shell))
                continue;
            QMap<QString, int> g;
            for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                const int eq = line.indexOf(QLatin1Char('='));
                if (eq > 0)
                    g.insert(line.left(eq), line.mid(eq + 1).toInt());
            }
            if (g.value(QStringLiteral("WIDTH")) == 1024 && g.value(QStringLiteral("HEIGHT")) == 640) {
                m_window = QRect(g.value(QStringLiteral("X")), g.value(QStringLiteral("Y")), 1024, 640);
                m_windowId = id.toULongLong();
                return true;
            }
        }
        return false;
    }, timeoutMs);
    if (!found) {
        m_error = QStringLiteral("no 1024 x 640 window of stryde appeared; output: ") + programOutput()
                  + QStringLiteral("; Xvfb %1: ").arg(m_xvfb.state() == QProcess::Running ? "running" : "ended")
                  + xvfbLog();
    }
    return found;
}

bool StrydeSession::moveTo(int x, int y)
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(m_window.x() + x),
                    QString::number(m_window.y() + y)});
}

bool StrydeSession::click(int x, int y, int button)
{
    return moveTo(x, y) && xdotool({QStringLiteral("click"), QString::number(button)});
}

bool StrydeSession::drag(int x0, int y0, int x1, int y1, int steps)
{
    if (!moveTo(x0, y0) || !xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}))
        return false;
    for (int i = 1; i <= steps; ++i) {
        if (!moveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps))
            return false;
    }
    return xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
}

bool StrydeSession::key(const QString& keys)
{
    return xdotool({QStringLiteral("key"), keys});
}

bool StrydeSession::setActiveWindow(quint64 window)
{
    Display* dpy = XOpenDisplay(m_display.toLatin1().constData());
    if (!dpy)
        return false;
    const Atom active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
    const unsigned long value = window;
    XChangeProperty(dpy, DefaultRootWindow(dpy), active, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
    XSync(dpy, False);
    XCloseDisplay(dpy);
    return true;
}

QImage grabX11Screen(const QString& display)
{
    Display* dpy = XOpenDisplay(display.toLatin1().constData());
    if (!dpy)
        return QImage();
    const int screen = DefaultScreen(dpy);
    const int w = DisplayWidth(dpy, screen);
    const int h = DisplayHeight(dpy, screen);
    XImage* image = XGetImage(dpy, RootWindow(dpy, screen), 0, 0, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    QImage result;
    if (image && image->bits_per_pixel == 32) {
        result = QImage(reinterpret_cast<const uchar*>(image->data), w, h, image->bytes_per_line,
                        QImage::Format_RGB32).copy();
    }
    if (image)
        XDestroyImage(image);
    XCloseDisplay(dpy);
    return result;
}

QImage StrydeSession::grabScreen() const
{
    return grabX11Screen(m_display);
}

QImage StrydeSession::grabWindow() const
{
    const QImage screen = grabScreen();
    return screen.isNull() ? screen : screen.copy(m_window);
}

QColor StrydeSession::pixel(int x, int y) const
{
    const QImage screen = grabScreen();
    const QPoint p = m_window.topLeft() + QPoint(x, y);
    return screen.valid(p) ? QColor(screen.pixel(p)) : QColor();
}

namespace {

bool pixelIs(const QImage& window, int x, int y, const QColor& color, int tolerance)
{
    if (!window.valid(x, y))
        return false;
    const QColor c(window.pixel(x, y));
    return qAbs(c.red() - color.red()) <= tolerance && qAbs(c.green() - color.green()) <= tolerance
           && qAbs(c.blue() - color.blue()) <= tolerance;
}

} // namespace

bool waitForPictureAtRest(const std::function<QImage()>& grab, const std::function<bool(const QImage&)>& shows,
                          int timeoutMs, const QRect& restArea)
{
    QImage last;
    QElapsedTimer sameFor;
    return QTest::qWaitFor([&] {
        const QImage now = grab();
        if (now.isNull())
            return false;
        const QImage part = restArea.isNull() ? now : now.copy(restArea);
        if (part != last) {
            last = part;
            sameFor.start();
            return false;
        }
        return sameFor.elapsed() >= StrydeSession::kRestMs && shows(now);
    }, timeoutMs);
}

bool StrydeSession::waitForRest(const std::function<bool(const QImage&)>& shows, int timeoutMs,
                                const QRect& restArea)
{
    return waitForPictureAtRest([this] { return grabWindow(); }, shows, timeoutMs, restArea);
}

bool StrydeSession::waitForPixel(int x, int y, const QColor& color, int tolerance, int timeoutMs,
                                 const QRect& restArea)
{
    return waitForRest([&](const QImage& w) { return pixelIs(w, x, y, color, tolerance); }, timeoutMs, restArea);
}

bool StrydeSession::waitForPixelGone(int x, int y, const QColor& color, int tolerance, int timeoutMs)
{
    return waitForRest([&](const QImage& w) { return w.valid(x, y) && !pixelIs(w, x, y, color, tolerance); },
                       timeoutMs);
}

bool StrydeSession::saveScreenshot(const QString& name) const
{
    const QImage image = grabWindow();
    return !image.isNull() && image.save(screenshotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QString StrydeSession::xvfbLog() const
{
    QFile log(m_data.path(QStringLiteral("xvfb.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

QProcessEnvironment StrydeSession::desktopEnvironment() const
{
    // The pointer settings the program applies (GNOME's, through gsettings)
    // land in a key file of the data copy instead of the user's dconf.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_data.path(QStringLiteral("desktop-config")));
    return env;
}

QString StrydeSession::desktopSetting(const QString& schema, const QString& key) const
{
    QProcess p;
    p.setProcessEnvironment(desktopEnvironment());
    p.start(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QStringList StrydeSession::traceLines(int from) const
{
    QFile f(m_tracePath);
    return f.open(QIODevice::ReadOnly) ? traceLinesOf(f.readAll()).mid(qMax(0, from)) : QStringList();
}

QStringList StrydeSession::commands(int from) const { return commandFramesOf(traceLines(from)); }

bool StrydeSession::waitForCommand(const QString& prefix, int from, int timeoutMs) const
{
    return waitFor([&] { return !framesStarting(commands(from), {prefix}).isEmpty(); }, timeoutMs);
}

QStringList framesStarting(const QStringList& frames, const QStringList& prefixes, int keep)
{
    QStringList found;
    for (const QString& f : frames) {
        for (const QString& p : prefixes) {
            if (f.startsWith(p)) {
                found << f.left(keep);
                break;
            }
        }
    }
    return found;
}

QVariant StrydeSession::readSetting(const QString& file, const QString& key) const
{
    return freshSetting(m_data.path(file), key);
}

// --- the desktop around the program ------------------------------------------------

bool StrydeSession::trayOwned() const
{
    Display* dpy = XOpenDisplay(m_display.toLatin1().constData());
    if (!dpy)
        return false;
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(dpy));
    const bool owned = XGetSelectionOwner(dpy, XInternAtom(dpy, name.constData(), False)) != None;
    XCloseDisplay(dpy);
    return owned;
}

bool StrydeSession::startTrayHost()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    m_trayHost.setProcessEnvironment(env);
    m_trayHost.setProcessChannelMode(QProcess::MergedChannels);
    m_trayHost.setStandardOutputFile(m_data.path(QStringLiteral("trayer.log")), QIODevice::Append);
    m_trayHost.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                                                QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                                                QStringLiteral("--height"), QStringLiteral("24")});
    if (!m_trayHost.waitForStarted(5000) || !waitFor([this] { return trayOwned(); }, 10000)) {
        QFile log(m_data.path(QStringLiteral("trayer.log")));
        m_error = QStringLiteral("trayer did not take the tray: ")
                  + (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString());
        return false;
    }
    return true;
}

void StrydeSession::stopTrayHost()
{
    if (m_trayHost.state() == QProcess::NotRunning)
        return;
    m_trayHost.terminate();
    if (!m_trayHost.waitForFinished(5000)) {
        m_trayHost.kill();
        m_trayHost.waitForFinished(5000);
    }
    waitFor([this] { return !trayOwned(); }, 5000);
}

bool StrydeSession::startNotificationDaemon()
{
    // dunst keeps a line of every notice it receives: a rule that matches all
    // of them runs a script with the notice in its environment.
    const QString log = m_data.path(QStringLiteral("notices.log"));
    const QString script = m_data.path(QStringLiteral("notice.sh"));
    const QString config = m_data.path(QStringLiteral("dunstrc"));
    const QString addressFile = m_data.path(QStringLiteral("dunst.bus"));
    {
        QFile f(script);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("#!/bin/sh\nprintf '%s|%s\\n' \"$DUNST_SUMMARY\" \"$DUNST_BODY\" >> '" + log.toLocal8Bit() + "'\n");
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    {
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("[global]\n    font = Noto Sans 10\n    geometry = \"300x5-10+40\"\n"
                "[keep]\n    summary = \"*\"\n    script = \"" + script.toLocal8Bit() + "\"\n");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    m_notices.setProcessEnvironment(env);
    m_notices.setProcessChannelMode(QProcess::MergedChannels);
    m_notices.setStandardOutputFile(m_data.path(QStringLiteral("dunst.log")), QIODevice::Append);
    // The bus's address and dunst's own id, for the program and for stop().
    const QString inner = QStringLiteral("echo \"$DBUS_SESSION_BUS_ADDRESS\" > '%1.tmp' && mv '%1.tmp' '%1' && "
                                         "echo $$ > '%2' && exec dunst -config '%3'")
                              .arg(addressFile, m_data.path(QStringLiteral("dunst.pid")), config);
    m_notices.start(QStringLiteral("dbus-run-session"), {QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"), inner});
    QFile address(addressFile);
    const bool up = m_notices.waitForStarted(5000) && waitFor([&] {
        if (!address.exists() || m_notices.state() == QProcess::NotRunning)
            return m_notices.state() == QProcess::NotRunning;
        // The daemon has taken its name on the bus once it answers.
        QProcess ask;
        QProcessEnvironment askEnv = QProcessEnvironment::systemEnvironment();
        if (!address.open(QIODevice::ReadOnly))
            return false;
        askEnv.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromLocal8Bit(address.readAll().trimmed()));
        address.close();
        ask.setProcessEnvironment(askEnv);
        ask.start(QStringLiteral("dbus-send"), {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                                                QStringLiteral("--dest=org.freedesktop.Notifications"),
                                                QStringLiteral("/org/freedesktop/Notifications"),
                                                QStringLiteral("org.freedesktop.Notifications.GetServerInformation")});
        return ask.waitForFinished(5000) && ask.exitStatus() == QProcess::NormalExit && ask.exitCode() == 0;
    }, 15000) && m_notices.state() == QProcess::Running;
    if (!up) {
        QFile dlog(m_data.path(QStringLiteral("dunst.log")));
        m_error = QStringLiteral("dunst did not come up on its bus: ")
                  + (dlog.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(dlog.readAll()) : QString());
        return false;
    }
    address.open(QIODevice::ReadOnly);
    m_busAddress = QString::fromLocal8Bit(address.readAll().trimmed());
    return true;
}

QStringList StrydeSession::notices() const
{
    QFile f(m_data.path(QStringLiteral("notices.log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool StrydeSession::waitForNotice(const QString& text, int timeoutMs) const
{
    return waitFor([&] {
        const QStringList all = notices();
        return std::any_of(all.cbegin(), all.cend(), [&](const QString& n) { return n.contains(text); });
    }, timeoutMs);
}

bool StrydeSession::windowShown() const
{
    if (!m_windowId)
        return false;
    Display* dpy = XOpenDisplay(m_display.toLatin1().constData());
    if (!dpy)
        return false;
    XWindowAttributes a{};
    const bool viewable = XGetWindowAttributes(dpy, static_cast<Window>(m_windowId), &a) && a.map_state == IsViewable;
    XCloseDisplay(dpy);
    return viewable;
}

bool StrydeSession::waitForWindow(int timeoutMs)
{
    return findWindow(timeoutMs);
}

int StrydeSession::waitForExit(int timeoutMs)
{
    if (m_app.state() != QProcess::NotRunning && !m_app.waitForFinished(timeoutMs))
        return -1;
    return m_app.exitStatus() == QProcess::NormalExit ? m_app.exitCode() : -1;
}

QList<QRect> StrydeSession::programWindows()
{
    QList<QRect> windows;
    QString ids;
    if (!xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                  QString::number(m_app.processId())}, &ids))
        return windows;
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString shell;
        if (!xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id}, &shell))
            continue;
        QMap<QString, int> g;
        for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const int eq = line.indexOf(QLatin1Char('='));
            if (eq > 0)
                g.insert(line.left(eq), line.mid(eq + 1).toInt());
        }
        windows << QRect(g.value(QStringLiteral("X")), g.value(QStringLiteral("Y")), g.value(QStringLiteral("WIDTH")),
                         g.value(QStringLiteral("HEIGHT")));
    }
    return windows;
}

QRect StrydeSession::trayIconGeometry()
{
    // Qt's tray icon is a small window of the program, docked into the tray host.
    for (const QRect& r : programWindows()) {
        if (r.width() > 0 && r.width() <= 64 && r.height() > 0 && r.height() <= 64)
            return r;
    }
    return QRect();
}

bool StrydeSession::clickAt(const QPoint& screen, int button, int repeat)
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(screen.x()),
                    QString::number(screen.y())})
           && xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
                       QStringLiteral("--delay"), QStringLiteral("60"), QString::number(button)});
}

bool StrydeSession::saveScreenScreenshot(const QString& name) const
{
    const QImage image = grabScreen();
    return !image.isNull() && image.save(screenshotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}
