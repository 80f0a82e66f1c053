#include "desktop_session.h"

#include "qml/support/run_files.h"
#include "stryde_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// Xlib last: its macros clash with Qt names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Weston's desktop: one plain colour, no panel, no animation, no screen lock.
const QColor kWestonBackground(0x20, 0x40, 0x60);
const char kWestonIni[] =
    "[core]\n"
    "idle-time=0\n"
    "[shell]\n"
    "background-color=0xff204060\n"
    "panel-position=none\n"
    "locking=false\n"
    "animation=none\n"
    "close-animation=none\n"
    "startup-animation=none\n"
    "focus-animation=none\n";
const QString kWestonSocket = QStringLiteral("wayland-stryde-e2e");
// A row or column of the window has at least this many pixels that are not
// the background; the pointer, which Weston draws into its output, has fewer.
constexpr int kWindowLine = 100;

QString screenshotDir()
{
    const QString dir = QDir::cleanPath(QStringLiteral(STRYDE_BIN_DIR "/../screenshots"));
    QDir().mkpath(dir);
    return dir;
}

void endProcess(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

} // namespace

DesktopSession::DesktopSession() = default;

DesktopSession::~DesktopSession() { stop(); }

bool DesktopSession::waitFor(const std::function<bool()>& condition, int timeoutMs) const
{
    return QTest::qWaitFor(condition, timeoutMs);
}

bool DesktopSession::start(const Options& options)
{
    m_options = options;
    if (!m_data.isValid() || !m_runtime.isValid()) {
        m_error = QStringLiteral("cannot make the data copy or the runtime folder");
        return false;
    }
    QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!startXvfb())
        return false;
    m_background = options.desktop == Weston ? kWestonBackground : QColor(Qt::black);
    if (options.desktop == Weston && !startWeston())
        return false;
    if (options.desktop == X11Openbox && !startOpenbox())
        return false;

    m_tracePath = m_data.path(QStringLiteral("trace.txt"));
    m_instanceId = QStringLiteral("stryde-desktop-e2e-%1-%2").arg(QCoreApplication::applicationPid()).arg(m_display.mid(1));
    m_app.setProcessEnvironment(programEnvironment());
    m_app.setProcessChannelMode(QProcess::MergedChannels);
    m_app.start(QStringLiteral(STRYDE_BIN_DIR "/stryde"),
                QStringList{QStringLiteral("--virtual-mouse"), QStringLiteral("--hid-trace"), m_tracePath,
                            QStringLiteral("--data-dir"), m_data.root()} + options.arguments);
    if (!m_app.waitForStarted(5000)) {
        m_error = QStringLiteral("stryde did not start");
        return false;
    }
    if (!waitForWindow([](const QRect&) { return true; }, options.readyTimeoutMs)) {
        m_error = QStringLiteral("no window of stryde appeared; output: ") + programOutput() + westonLog();
        return false;
    }
    // The main screen is up when the Save button shows its resting face.
    if (!waitForPixel(1024 - 24 - 32, 640 - 8 - 12, QColor(0x09, 0x34, 0x7f), 24, options.readyTimeoutMs)) {
        m_error = QStringLiteral("the main screen did not appear; output: ") + programOutput();
        return false;
    }
    return true;
}

bool DesktopSession::startXvfb()
{
    // Xvfb picks a free display itself and names it once it takes
    // connections; -noreset keeps it from resetting whenever its last client
    // leaves; -br gives it a black root, the background the window is told from.
    m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb.setStandardErrorFile(m_data.path(QStringLiteral("xvfb.log")));
    const QString screen = QStringLiteral("%1x%2x24").arg(m_options.screen.width()).arg(m_options.screen.height());
    m_xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                          QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                          QStringLiteral("-noreset"), QStringLiteral("-br")});
    QByteArray announced;
    const bool named = m_xvfb.waitForStarted(5000) && waitFor([this, &announced] {
        announced += m_xvfb.readAllStandardOutput();
        return announced.contains('\n') || m_xvfb.state() == QProcess::NotRunning;
    }, 10000);
    bool isNumber = false;
    const int display = announced.trimmed().toInt(&isNumber);
    if (!named || !isNumber || m_xvfb.state() != QProcess::Running) {
        m_error = QStringLiteral("Xvfb did not start: ") + fileText(m_data.path(QStringLiteral("xvfb.log")));
        return false;
    }
    m_display = QStringLiteral(":%1").arg(display);
    return true;
}

bool DesktopSession::startWeston()
{
    const QString ini = m_data.path(QStringLiteral("weston.ini"));
    if (!m_data.writeFile(QStringLiteral("weston.ini"), QByteArray(kWestonIni))) {
        m_error = QStringLiteral("cannot write weston.ini");
        return false;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    m_weston.setProcessEnvironment(env);
    m_weston.setProcessChannelMode(QProcess::MergedChannels);
    m_weston.setStandardOutputFile(m_data.path(QStringLiteral("weston-output.log")));
    // The pixman renderer: Xvfb has no GPU.
    m_weston.start(QStringLiteral("weston"),
                   {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                    QStringLiteral("--width=%1").arg(m_options.screen.width()),
                    QStringLiteral("--height=%1").arg(m_options.screen.height()),
                    QStringLiteral("--socket=") + kWestonSocket, QStringLiteral("--config=") + ini,
                    QStringLiteral("--idle-time=0"), QStringLiteral("--log=") + m_data.path(QStringLiteral("weston.log"))});
    // Ready once it listens and its desktop (the shell's background) is drawn.
    const QString socket = QDir(m_runtime.path()).filePath(kWestonSocket);
    const bool ready = m_weston.waitForStarted(5000) && waitFor([&] {
        if (m_weston.state() != QProcess::Running || !QFileInfo::exists(socket))
            return false;
        // (Away from the middle, where Weston draws the pointer.)
        const QImage screen = grabScreen();
        const QPoint corner(screen.width() - 2, screen.height() - 2);
        return screen.valid(corner) && QColor(screen.pixel(corner)) == m_background
               && QColor(screen.pixel(1, 1)) == m_background;
    }, 20000);
    if (!ready) {
        m_error = QStringLiteral("Weston did not come up: ") + westonLog();
        return false;
    }
    m_waylandSocket = kWestonSocket;
    return true;
}

bool DesktopSession::startOpenbox()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    m_windowManager.setProcessEnvironment(env);
    m_windowManager.setProcessChannelMode(QProcess::MergedChannels);
    m_windowManager.setStandardOutputFile(m_data.path(QStringLiteral("openbox.log")));
    m_windowManager.start(QStringLiteral("openbox"), {});
    // Up once it names itself on the root window, as window managers do.
    const bool ready = m_windowManager.waitForStarted(5000) && waitFor([&] {
        if (m_windowManager.state() != QProcess::Running)
            return false;
        Display* dpy = XOpenDisplay(m_display.toLatin1().constData());
        if (!dpy)
            return false;
        const Atom check = XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", False);
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const bool named = XGetWindowProperty(dpy, DefaultRootWindow(dpy), check, 0, 1, False, AnyPropertyType, &type,
                                              &format, &items, &after, &data) == Success && items == 1;
        if (data)
            XFree(data);
        XCloseDisplay(dpy);
        return named;
    }, 20000);
    if (!ready)
        m_error = QStringLiteral("Openbox did not come up: ") + fileText(m_data.path(QStringLiteral("openbox.log")));
    return ready;
}

QProcessEnvironment DesktopSession::programEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The program's desktop settings land in the data copy.
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_data.path(QStringLiteral("desktop-config")));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    env.insert(QStringLiteral("STRYDE_INSTANCE_ID"), m_instanceId);
    env.insert(QStringLiteral("DISPLAY"), m_display);
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
                             "QT_ENABLE_HIGHDPI_SCALING", "XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
        env.remove(QString::fromLatin1(name));
    if (m_options.scale != 1.0)
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(m_options.scale));
    if (m_options.desktop == Weston) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandSocket);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("XDG_SESSION_TYPE"));
    }
    return env;
}

void DesktopSession::stop()
{
    endProcess(m_app);
    endProcess(m_weston);
    endProcess(m_windowManager);
    endProcess(m_xvfb);
}

QString DesktopSession::programOutput()
{
    m_output += m_app.readAll();
    return QString::fromLocal8Bit(m_output);
}

QString DesktopSession::westonLog() const
{
    return fileText(m_data.path(QStringLiteral("weston.log")))
           + fileText(m_data.path(QStringLiteral("weston-output.log")));
}

QString DesktopSession::fileText(const QString& path) const
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

int DesktopSession::runSecondCopy(const QMap<QString, QString>& environment, QString* output, int timeoutMs)
{
    QProcessEnvironment env = programEnvironment();
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        env.insert(it.key(), it.value());
    QProcess second;
    second.setProcessEnvironment(env);
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(QStringLiteral(STRYDE_BIN_DIR "/stryde"),
                 {QStringLiteral("--virtual-mouse"), QStringLiteral("--data-dir"), m_data.root()});
    if (!second.waitForFinished(timeoutMs)) {
        endProcess(second);
        return -1;
    }
    if (output)
        *output = QString::fromLocal8Bit(second.readAll());
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

// --- the window ---------------------------------------------------------------------

QRect DesktopSession::findWindow(const QImage& screen) const
{
    if (screen.isNull())
        return QRect();
    const QRgb background = m_background.rgb();
    QVector<int> rows(screen.height()), columns(screen.width());
    for (int y = 0; y < screen.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            if ((line[x] | 0xff000000) != background) {
                ++rows[y];
                ++columns[x];
            }
        }
    }
    auto extent = [](const QVector<int>& counts, int* first, int* last) {
        *first = -1;
        for (int i = 0; i < counts.size(); ++i) {
            if (counts[i] >= kWindowLine) {
                if (*first < 0)
                    *first = i;
                *last = i;
            }
        }
        return *first >= 0;
    };
    int top = 0, bottom = 0, left = 0, right = 0;
    if (!extent(rows, &top, &bottom) || !extent(columns, &left, &right))
        return QRect();
    const QRect found(QPoint(left, top), QPoint(right, bottom));
    const QSize expected(qRound(1024 * m_options.scale), qRound(640 * m_options.scale));
    return found.size() == expected ? found : QRect();
}

bool DesktopSession::waitForWindow(const std::function<bool(const QRect&)>& accept, int timeoutMs)
{
    // Found the same on two screenshots in a row: it stands still.
    QRect last;
    return waitFor([&] {
        const QRect now = findWindow(grabScreen());
        const bool still = now.isValid() && now == last;
        last = now;
        if (!still || !accept(now))
            return false;
        m_window = now;
        return true;
    }, timeoutMs);
}

bool DesktopSession::waitForNoWindow(int timeoutMs)
{
    return waitFor([&] { return !findWindow(grabScreen()).isValid(); }, timeoutMs);
}

// --- pointer and keys -------------------------------------------------------------

QPoint DesktopSession::toScreen(int x, int y) const
{
    return m_window.topLeft() + QPoint(qRound(x * m_options.scale), qRound(y * m_options.scale));
}

bool DesktopSession::xdotool(const QStringList& args)
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
    return true;
}

bool DesktopSession::moveTo(int x, int y)
{
    const QPoint p = toScreen(x, y);
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(p.x()), QString::number(p.y())});
}

bool DesktopSession::click(int x, int y, int button)
{
    return moveTo(x, y) && xdotool({QStringLiteral("click"), QString::number(button)});
}

bool DesktopSession::press(int x, int y)
{
    return moveTo(x, y) && xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
}

bool DesktopSession::release()
{
    return xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
}

bool DesktopSession::drag(int x0, int y0, int x1, int y1, int steps)
{
    if (!press(x0, y0))
        return false;
    for (int i = 1; i <= steps; ++i) {
        if (!moveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps))
            return false;
    }
    return release();
}

// --- what is seen -----------------------------------------------------------------

QImage DesktopSession::grabScreen() const
{
    return grabX11Screen(m_display);
}

QImage DesktopSession::grabWindow() const
{
    const QImage screen = grabScreen();
    return screen.isNull() ? screen : screen.copy(m_window);
}

QColor DesktopSession::pixel(int x, int y) const
{
    const QImage screen = grabScreen();
    const QPoint p = toScreen(x, y);
    return screen.valid(p) ? QColor(screen.pixel(p)) : QColor();
}

bool DesktopSession::waitForPixel(int x, int y, const QColor& color, int tolerance, int timeoutMs)
{
    return waitForRest([&] { return pixelIs(x, y, color, tolerance); }, timeoutMs);
}

bool DesktopSession::waitForPixelGone(int x, int y, const QColor& color, int tolerance, int timeoutMs)
{
    return waitForRest([&] { return !pixelIs(x, y, color, tolerance); }, timeoutMs);
}

bool DesktopSession::pixelIs(int x, int y, const QColor& color, int tolerance) const
{
    const QColor c = pixel(x, y);
    return c.isValid() && qAbs(c.red() - color.red()) <= tolerance && qAbs(c.green() - color.green()) <= tolerance
           && qAbs(c.blue() - color.blue()) <= tolerance;
}

bool DesktopSession::waitForRest(const std::function<bool()>& shows, int timeoutMs)
{
    // As StrydeSession's: a busy indicator, an opening list or a closing
    // dialog still moves.
    return waitForPictureAtRest([this] { return grabWindow(); }, [&](const QImage&) { return shows(); }, timeoutMs);
}

bool DesktopSession::saveScreen(const QString& name) const
{
    const QImage image = grabScreen();
    return !image.isNull() && image.save(screenshotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}

bool DesktopSession::saveScreenshot(const QString& name) const
{
    const QImage image = grabWindow();
    return !image.isNull() && image.save(screenshotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// --- what reached the mouse -------------------------------------------------------

QStringList DesktopSession::traceLines(int from) const
{
    QFile f(m_tracePath);
    return f.open(QIODevice::ReadOnly) ? traceLinesOf(f.readAll()).mid(qMax(0, from)) : QStringList();
}

QStringList DesktopSession::commands(int from) const { return commandFramesOf(traceLines(from)); }

bool DesktopSession::waitForCommand(const QString& prefix, int from, int timeoutMs) const
{
    return waitFor([&] { return !framesStarting(commands(from), {prefix}).isEmpty(); }, timeoutMs);
}
