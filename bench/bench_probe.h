#pragma once
// Measurements for bench/run.sh. Nothing here runs unless the environment
// asks for it; BenchOptions::fromEnvironment() is the one place that reads it:
//
//   STRYDE_BENCH_MARKS=1        print "stryde-bench first-frame t=MS rss=KB" when
//                               the first frame that shows the interface is painted
//   STRYDE_BENCH_SCRIPT=FILE    run the QML file FILE in the scope of the view's
//                               root item: it reaches the pages by their ids, the
//                               context objects by name and this probe as `bench`
//   STRYDE_BENCH_CLOCK=virtual  the virtual mouse's pauses pass on a virtual clock
//                               (the program honours it with --virtual-mouse only)
//
// Times are milliseconds of the system's monotonic clock, so that a process
// that started the program can subtract its own reading.

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QVector>
#include <functional>

class QQuickWidget;

struct BenchOptions {
    bool marks = false;
    QString script;
    bool virtualClock = false;

    bool enabled() const { return marks || !script.isEmpty(); }
    static BenchOptions fromEnvironment();
};

class BenchProbe : public QObject {
    Q_OBJECT
public:
    // Watches the frames of `view`. `deviceClockMs` is the device link's
    // clock (null: the monotonic clock).
    BenchProbe(const BenchOptions& options, QQuickWidget* view, std::function<qint64()> deviceClockMs = {},
               QObject* parent = nullptr);

    // Runs the script, if one was asked for, in the scope of the view's root
    // item. False (and a log line) when it cannot be loaded.
    bool startScript();

    // Prints "stryde-bench NAME t=MS rss=KB [DETAIL]" on standard output.
    Q_INVOKABLE void mark(const QString& name, const QString& detail = QString());
    // The monotonic clock, in milliseconds.
    Q_INVOKABLE double nowMs() const;
    // The device link's clock, in milliseconds: the pauses of the mouse
    // advance it (on the virtual clock by exactly what the protocol demands).
    Q_INVOKABLE double deviceMs() const;
    // Processor time the process has used, in milliseconds (-1 where unknown).
    Q_INVOKABLE double cpuMs() const;
    // Resident memory of the process in kB (-1 where unknown).
    Q_INVOKABLE qint64 rssKb() const;
    // Starts recording the times at which frames are painted.
    Q_INVOKABLE void startFrames();
    // Stops recording: {frames, maxGapMs, spanMs}; the gaps include the one
    // from the start to the first frame and from the last frame to the stop.
    Q_INVOKABLE QVariantMap stopFrames();
    // The item of the view's root (or the root) whose objectName is `name`; null when none.
    Q_INVOKABLE QObject* find(const QString& name) const;
    // Ends the program's event loop with `code`.
    Q_INVOKABLE void quit(int code = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BenchOptions m_options;
    QQuickWidget* m_view;
    std::function<qint64()> m_deviceClockMs;
    bool m_rendered = false;        // a frame showing the root item was rendered
    bool m_firstFramePrinted = false;
    bool m_recording = false;
    double m_recordStart = 0;
    QVector<double> m_frames;
};
