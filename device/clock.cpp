#include "device/clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace guithread {

bool isCurrent()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void waitRunningEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace guithread

SystemClock::SystemClock()
{
    m_start.start();
}

void SystemClock::sleepMs(int ms)
{
    if (ms <= 0)
        return;
    if (guithread::isCurrent())
        guithread::waitRunningEvents(ms);
    else
        QThread::msleep(static_cast<unsigned long>(ms));
}

qint64 SystemClock::nowMs() const
{
    return m_start.elapsed();
}

void SystemClock::processEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void VirtualClock::sleepMs(int ms)
{
    if (ms <= 0)
        return;
    const int frameMs = m_frameMs.load();
    if (frameMs <= 0 || !guithread::isCurrent()) {
        m_now.fetch_add(ms);
        return;
    }
    for (int left = ms; left > 0;) {
        const int step = left < frameMs ? left : frameMs;
        m_now.fetch_add(step);
        left -= step;
        // The same wait as a real pause, without its length.
        guithread::waitRunningEvents(0);
    }
}
