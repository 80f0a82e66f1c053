#pragma once
// End-to-end harness: the real program (build/bin/stryde) on the virtual
// mouse, in its own Xvfb display, driven from outside with real X pointer and
// key events (xdotool) at window-relative coordinates, and watched through
// its HID trace, its data files and screenshots of the display.
//
//   StrydeSession s;
//   QVERIFY2(s.start(), qPrintable(s.error()));        // waits for the main screen
//   QVERIFY(s.click(800, 620));                          // window coordinates
//   QVERIFY(s.waitForCommand("0b 03"));                   // a frame reached the mouse
//   s.saveScreenshot("e2e_config");                       // build/screenshots/e2e_config.png
//
// The desktop around the program is bare by default: no tray (a plain X
// server has none, so the window stands alone) and no notification service
// (the program's session bus leads nowhere, so nothing reaches the desktop of
// whoever runs the tests). Options add a real tray host (trayer) and a real
// notification daemon (dunst, on a bus of its own under dbus-run-session).

#include "support/data_fixture.h"

#include <QColor>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class StrydeSession {
public:
    struct Options {
        int family = 553;                           // the virtual mouse's command family
        QString language;                           // common/language; empty: as installed
        // Settings written before the start: file (relative to the data root) -> key -> value.
        QMap<QString, QVariantMap> files;
        // More command-line options of the program, e.g. "--show-gun-editor".
        QStringList arguments;
        int readyTimeoutMs = 30000;
        // What start() waits for: the main screen (the default), the
        // program's window mapped in any state, or only the program running
        // (it may stay in the tray).
        enum class Ready { MainScreen, Window, Started };
        Ready ready = Ready::MainScreen;
        // A tray host (trayer) runs, and owns the tray, before the program starts.
        bool trayHost = false;
        // A notification daemon (dunst under dbus-run-session) takes the
        // program's desktop notifications; notices() lists what it received.
        bool notificationDaemon = false;
    };

    StrydeSession();
    ~StrydeSession();
    StrydeSession(const StrydeSession&) = delete;
    StrydeSession& operator=(const StrydeSession&) = delete;

    // Starts Xvfb on a free display and the program on a fresh data copy, then
    // waits until its main screen is up (the start-up lock has ended). False
    // with error() set when anything failed.
    bool start(const Options& options);
    bool start() { return start(Options{}); }
    void stop();
    QString error() const { return m_error; }
    QString dataRoot() const { return m_data.root(); }
    // The X display of the session (":93").
    QString display() const { return m_display; }
    // The program's own output so far (stdout and stderr).
    QString programOutput();

    // --- pointer and keys (window coordinates) --------------------------------
    QRect windowGeometry() const { return m_window; }
    // The program's main window.
    quint64 windowId() const { return m_windowId; }
    // Names `window` (0: none) in the root window's _NET_ACTIVE_WINDOW, as a
    // window manager does when the user brings a window to the front (Xvfb
    // has no window manager).
    bool setActiveWindow(quint64 window);
    bool moveTo(int x, int y);
    bool click(int x, int y, int button = 1);
    // Press at (x0, y0), move in `steps` steps to (x1, y1), release.
    bool drag(int x0, int y0, int x1, int y1, int steps = 8);
    // An xdotool key name, e.g. "Return", "ctrl+a".
    bool key(const QString& keys);

    // --- what is seen ---------------------------------------------------------------
    QImage grabScreen() const;
    QImage grabWindow() const;
    QColor pixel(int x, int y) const;               // window coordinates
    // Waits until the window's picture is at rest and the pixel is within
    // `tolerance` of `color` on every channel in it. A picture at rest is the
    // same in every grab over kRestMs: an opening list or a closing dialog
    // is still moving, and a click on it would land on a row or a button that
    // is not where it is drawn yet.
    // With `restArea` (window coordinates), only that part of the picture
    // needs to be at rest: for a state that runs an animation elsewhere (a
    // blinking recording mark).
    bool waitForPixel(int x, int y, const QColor& color, int tolerance = 12, int timeoutMs = 5000,
                      const QRect& restArea = QRect());
    // The same, until the pixel no longer shows `color` (a dialog closed).
    bool waitForPixelGone(int x, int y, const QColor& color, int tolerance = 12, int timeoutMs = 10000);
    // Waits until the window's picture (or `restArea` of it) is at rest and
    // `shows` holds of the whole window's picture (window coordinates).
    bool waitForRest(const std::function<bool(const QImage&)>& shows, int timeoutMs = 10000,
                     const QRect& restArea = QRect());
    static constexpr int kRestMs = 250;
    // build/screenshots/<name>.png of the window.
    bool saveScreenshot(const QString& name) const;

    // --- what reached the mouse and the files ------------------------------------
    QStringList traceLines(int from = 0) const;
    int traceMark() const { return traceLines().size(); }
    // The 8 frame bytes of every feature report on the command interface.
    QStringList commands(int from = 0) const;
    // Waits for a command frame starting with `prefix` ("0b 03") from line `from` on.
    bool waitForCommand(const QString& prefix, int from = 0, int timeoutMs = 10000) const;
    // A fresh read of a setting in a data file (from a copy of it).
    QVariant readSetting(const QString& file, const QString& key) const;
    // The desktop's setting as `gsettings get SCHEMA KEY` reports it ("0.5",
    // "400"); empty when the tool failed. The program's desktop settings go to
    // a file of the session (GSettings' keyfile backend under the data copy),
    // never to the desktop of the user who runs the tests.
    QString desktopSetting(const QString& schema, const QString& key) const;

    bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000) const;

    // --- the desktop around the program ----------------------------------------------
    // Starts or ends the tray host (trayer, at the top right of the screen);
    // start waits until it owns the tray.
    bool startTrayHost();
    void stopTrayHost();
    // Whether a program owns the display's tray (its _NET_SYSTEM_TRAY_S0 selection).
    bool trayOwned() const;
    // The program's tray icon as docked in the tray host (screen
    // coordinates); empty while it has none.
    QRect trayIconGeometry();
    // Every shown window of the program (screen coordinates): the main
    // window, the tray icon, a menu or a balloon that is open.
    QList<QRect> programWindows();
    // A click (or `repeat` clicks, a double click with 2) at a point of the screen.
    bool clickAt(const QPoint& screen, int button = 1, int repeat = 1);
    // Whether the program's main window is mapped (shown) on the display.
    bool windowShown() const;
    // Waits until the window is shown; it is looked for anew when the
    // program had none yet.
    bool waitForWindow(int timeoutMs = 10000);
    bool programRunning() const { return m_app.state() != QProcess::NotRunning; }
    // Waits until the program has ended; its exit code, or -1 when it did not end (or crashed).
    int waitForExit(int timeoutMs = 10000);
    // The notifications the daemon received, "summary|body" each, oldest first.
    QStringList notices() const;
    // Waits for a notice that contains `text`.
    bool waitForNotice(const QString& text, int timeoutMs = 10000) const;
    // build/screenshots/<name>.png of the whole display (the tray and a
    // notice's balloon lie outside the window).
    bool saveScreenScreenshot(const QString& name) const;

private:
    bool xdotool(const QStringList& args, QString* output = nullptr);
    QProcessEnvironment desktopEnvironment() const;
    QString xvfbLog() const;        // what Xvfb wrote to its standard error
    bool findWindow(int timeoutMs);
    bool startNotificationDaemon();

    DataFixture m_data;
    QProcess m_xvfb;
    QProcess m_app;
    QProcess m_trayHost;
    QProcess m_notices;             // dbus-run-session with dunst in it
    QString m_busAddress;           // the program's session bus
    QString m_display;
    QString m_tracePath;
    QString m_error;
    QRect m_window;
    quint64 m_windowId = 0;
    QByteArray m_output;
};

// The whole screen of the X server `display` (":93"); null when it cannot be read.
QImage grabX11Screen(const QString& display);

// Polls `grab` until one picture (or `restArea` of it) has stayed the same for
// StrydeSession::kRestMs and `shows` holds of the whole picture. The time runs
// from the first grab that showed it, so a program that paints late (a loaded
// machine) only makes the wait longer.
bool waitForPictureAtRest(const std::function<QImage()>& grab, const std::function<bool(const QImage&)>& shows,
                          int timeoutMs, const QRect& restArea = QRect());

// The frames (as commands() gives them) that start with one of `prefixes`,
// each cut to its first `keep` characters (whole when keep < 0).
QStringList framesStarting(const QStringList& frames, const QStringList& prefixes, int keep = -1);
