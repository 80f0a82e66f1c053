#include "bench/bench_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSet>
#include <QUrl>
#include <chrono>
#include <cstdio>
#ifdef Q_OS_LINUX
#include <time.h>
#endif

BenchOptions BenchOptions::fromEnvironment()
{
    BenchOptions o;
    o.marks = qEnvironmentVariableIntValue("STRYDE_BENCH_MARKS") != 0;
    o.script = qEnvironmentVariable("STRYDE_BENCH_SCRIPT");
    o.virtualClock = qEnvironmentVariable("STRYDE_BENCH_CLOCK") == QLatin1String("virtual");
    return o;
}

BenchProbe::BenchProbe(const BenchOptions& options, QQuickWidget* view, std::function<qint64()> deviceClockMs,
                       QObject* parent)
    : QObject(parent), m_options(options), m_view(view), m_deviceClockMs(std::move(deviceClockMs))
{
    m_frames.reserve(4096);
    m_view->installEventFilter(this);
    // A paint shows the last rendered image: the first frame of the interface
    // is the first paint after a rendering of the visible root item.
    connect(m_view->quickWindow(), &QQuickWindow::afterRendering, this, [this] {
        if (!m_rendered && m_view->rootObject() && m_view->rootObject()->isVisible())
            m_rendered = true;
    }, Qt::DirectConnection);
}

bool BenchProbe::startScript()
{
    if (m_options.script.isEmpty())
        return true;
    QQuickItem* root = m_view->rootObject();
    QQmlContext* scope = root ? qmlContext(root) : nullptr;
    if (!scope) {
        std::fprintf(stderr, "stryde-bench: no root item to run %s in\n", qPrintable(m_options.script));
        return false;
    }
    auto* context = new QQmlContext(scope, this);
    context->setContextProperty(QStringLiteral("bench"), this);
    QQmlComponent component(m_view->engine(), QUrl::fromLocalFile(QFileInfo(m_options.script).absoluteFilePath()));
    QObject* object = component.beginCreate(context);
    if (!object) {
        std::fprintf(stderr, "stryde-bench: %s\n", qPrintable(component.errorString()));
        return false;
    }
    object->setParent(this);
    if (auto* item = qobject_cast<QQuickItem*>(object))
        item->setParentItem(root);
    component.completeCreate();
    return true;
}

void BenchProbe::mark(const QString& name, const QString& detail)
{
    std::printf("stryde-bench %s t=%.3f rss=%lld%s%s\n", qPrintable(name), nowMs(), static_cast<long long>(rssKb()),
                detail.isEmpty() ? "" : " ", qPrintable(detail));
    std::fflush(stdout);
}

double BenchProbe::nowMs() const
{
    const auto t = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(t).count();
}

double BenchProbe::deviceMs() const
{
    return m_deviceClockMs ? double(m_deviceClockMs()) : nowMs();
}

double BenchProbe::cpuMs() const
{
#ifdef Q_OS_LINUX
    timespec t{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) == 0)
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
#endif
    return -1;
}

qint64 BenchProbe::rssKb() const
{
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
#endif
    return -1;
}

void BenchProbe::startFrames()
{
    m_frames.clear();
    m_recordStart = nowMs();
    m_recording = true;
}

QVariantMap BenchProbe::stopFrames()
{
    const double end = nowMs();
    m_recording = false;
    double previous = m_recordStart;
    double maxGap = 0;
    for (double t : m_frames) {
        maxGap = qMax(maxGap, t - previous);
        previous = t;
    }
    maxGap = qMax(maxGap, end - previous);
    return {{QStringLiteral("frames"), m_frames.size()},
            {QStringLiteral("maxGapMs"), maxGap},
            {QStringLiteral("spanMs"), end - m_recordStart}};
}

QObject* BenchProbe::find(const QString& name) const
{
    // Items made by a Repeater are child items without being QObject children.
    QList<QObject*> queue;
    QSet<QObject*> seen;
    const auto visit = [&queue, &seen](QObject* o) {
        if (!seen.contains(o)) {
            seen.insert(o);
            queue.append(o);
        }
    };
    if (m_view->rootObject())
        visit(m_view->rootObject());
    for (int i = 0; i < queue.size(); ++i) {
        QObject* o = queue.at(i);
        if (o->objectName() == name)
            return o;
        for (QObject* child : o->children())
            visit(child);
        if (auto* item = qobject_cast<QQuickItem*>(o)) {
            for (QQuickItem* child : item->childItems())
                visit(child);
        }
    }
    return nullptr;
}

void BenchProbe::quit(int code)
{
    QCoreApplication::exit(code);
}

bool BenchProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::Paint) {
        if (m_recording)
            m_frames.append(nowMs());
        if (m_options.marks && m_rendered && !m_firstFramePrinted) {
            m_firstFramePrinted = true;
            mark(QStringLiteral("first-frame"));
        }
    }
    return QObject::eventFilter(watched, event);
}
