#include "device/clock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

SystemClock::SystemClock() : m_start(QDateTime::currentMSecsSinceEpoch()) {}

void SystemClock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

qint64 SystemClock::nowMs() const
{
    return QDateTime::currentMSecsSinceEpoch() - m_start;
}

void SystemClock::processEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}
