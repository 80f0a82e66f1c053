#include "store/operation_failures.h"

#include "store/store_log.h"

#include <QDir>
#include <QMutex>
#include <QMutexLocker>
#include <atomic>

namespace {

std::atomic<quint64> g_failures{0};
QMutex g_mutex;
QString g_last;
OperationFailures::WriteFailureHandler g_handler;

} // namespace

void OperationFailures::fail(const char* operation, const QString& why)
{
    const QString text = QStringLiteral("%1 failed: %2").arg(QLatin1String(operation), why);
    qCWarning(lcStore).noquote() << text;
    {
        QMutexLocker lock(&g_mutex);
        g_last = text;
    }
    ++g_failures;
}

void OperationFailures::cannotWrite(const char* operation, const QString& path)
{
    fail(operation, QStringLiteral("%1 cannot be written").arg(QDir::toNativeSeparators(path)));
    WriteFailureHandler handler;
    {
        QMutexLocker lock(&g_mutex);
        handler = g_handler;
    }
    if (handler)
        handler(path);
}

quint64 OperationFailures::failures()
{
    return g_failures.load();
}

QString OperationFailures::lastFailure()
{
    QMutexLocker lock(&g_mutex);
    return g_last;
}

void OperationFailures::setWriteFailureHandler(WriteFailureHandler handler)
{
    QMutexLocker lock(&g_mutex);
    g_handler = std::move(handler);
}
