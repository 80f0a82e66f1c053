#pragma once
// End-to-end harness for the desktops the program meets beside a plain X
// server: the real program (build/bin/stryde) on the virtual mouse, either as
// a Wayland client of Weston nested in Xvfb (Weston's x11 backend: the
// compositor's output is a window of the X display, its seat takes the X
// pointer and keys), or as an X client of Xvfb, bare or with a window
// manager (Openbox), at a scale factor.
//
// The program's window is found on screenshots of the X display (a Wayland
// client's window is no X window): the rows and columns that differ from the
// desktop's plain background. Pointer and keys go through xdotool, at window
// coordinates in logical pixels (multiplied by the scale factor).
//
//   DesktopSession s;
//   DesktopSession::Options o;
//   o.desktop = DesktopSession::Weston;
//   QVERIFY2(s.start(o), qPrintable(s.error()));        // waits for the main screen
//   QVERIFY(s.click(808, 620));
//   QVERIFY(s.waitForCommand("11"));

#include "support/data_fixture.h"

#include <QColor>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class DesktopSession {
public:
    enum Desktop {
        BareX11,        // the program on Xvfb alone (no window manager)
        X11Openbox,     // the program on Xvfb with a window manager (Openbox)
        Weston,         // the program as a Wayland client of Weston 10 in Xvfb
    };
    struct Options {
        Desktop desktop = BareX11;
        // QT_SCALE_FACTOR of the program; 1 leaves it unset.
        double scale = 1.0;
        // The X display's (and Weston's output's) size in pixels.
        QSize screen = QSize(1600, 1000);
        QStringList arguments;                  // more options of the program
        int readyTimeoutMs = 30000;
    };

    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Starts Xvfb (and Weston), then the program on a fresh data copy, and
    // waits until its window shows the main screen. False with error() set
    // when anything failed.
    bool start(const Options& options);
    void stop();
    QString error() const { return m_error; }
    QString programOutput();
    // What Weston wrote to its log.
    QString westonLog() const;
    QString dataRoot() const { return m_data.root(); }

    // Starts the program once more with `environment` added (a second start):
    // its exit code, or -1 when it did not end within `timeoutMs`.
    int runSecondCopy(const QMap<QString, QString>& environment, QString* output = nullptr, int timeoutMs = 15000);

    // --- the window on the X display ------------------------------------------------
    // The window as last found (X display pixels).
    QRect windowGeometry() const { return m_window; }
    // The window's rectangle on `screen` (null when no window of the
    // expected size shows).
    QRect findWindow(const QImage& screen) const;
    // Waits until the window shows, stands still and `accept` takes its
    // rectangle; windowGeometry() is then that rectangle.
    bool waitForWindow(const std::function<bool(const QRect&)>& accept, int timeoutMs = 10000);
    // Waits until no window of the program shows.
    bool waitForNoWindow(int timeoutMs = 10000);

    // --- pointer and keys (window coordinates, logical pixels) -------------------------
    bool moveTo(int x, int y);
    bool click(int x, int y, int button = 1);
    // Moves there and presses the left button; release() lets it go. The
    // pointer keeps to the window's place at the press while the window moves
    // (a drag of its background), as a hand does, until waitForWindow finds
    // it elsewhere.
    bool press(int x, int y);
    bool release();
    // Press at (x0, y0), move in `steps` steps to (x1, y1), release.
    bool drag(int x0, int y0, int x1, int y1, int steps = 8);

    // --- what is seen -----------------------------------------------------------------
    QImage grabScreen() const;
    // The window's pixels at the window's place (X display pixels).
    QImage grabWindow() const;
    // A pixel at window coordinates (logical).
    QColor pixel(int x, int y) const;
    // Both wait for the window's picture at rest first (see StrydeSession).
    bool waitForPixel(int x, int y, const QColor& color, int tolerance = 12, int timeoutMs = 5000);
    bool waitForPixelGone(int x, int y, const QColor& color, int tolerance = 12, int timeoutMs = 10000);
    bool waitForRest(const std::function<bool()>& shows, int timeoutMs = 10000);
    bool pixelIs(int x, int y, const QColor& color, int tolerance) const;
    // build/screenshots/<name>.png: the whole X display, or the window.
    bool saveScreen(const QString& name) const;
    bool saveScreenshot(const QString& name) const;

    // --- what reached the mouse ------------------------------------------------------------
    QStringList traceLines(int from = 0) const;
    int traceMark() const { return traceLines().size(); }
    QStringList commands(int from = 0) const;
    bool waitForCommand(const QString& prefix, int from = 0, int timeoutMs = 10000) const;

    bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000) const;

private:
    bool startXvfb();
    bool startWeston();
    bool startOpenbox();
    QProcessEnvironment programEnvironment() const;
    bool xdotool(const QStringList& args);
    QPoint toScreen(int x, int y) const;
    QString fileText(const QString& path) const;

    Options m_options;
    DataFixture m_data;
    QTemporaryDir m_runtime;            // XDG_RUNTIME_DIR of Weston and the program
    QProcess m_xvfb;
    QProcess m_weston;
    QProcess m_windowManager;
    QProcess m_app;
    QString m_display;
    QString m_waylandSocket;
    QString m_instanceId;
    QString m_tracePath;
    QString m_error;
    QColor m_background;                // the desktop's plain background
    QRect m_window;
    QByteArray m_output;
};
