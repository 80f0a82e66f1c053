#include "store/argument_check.h"

#include "store/store_log.h"

#include <QMutex>
#include <QMutexLocker>
#include <atomic>
#include <cmath>
#include <limits>

namespace {

std::atomic<quint64> g_refusals{0};
QMutex g_lastMutex;
QString g_last;

} // namespace

std::optional<qint64> ArgumentCheck::integer(const QVariant& value, qint64 min, qint64 max)
{
    qint64 n = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        n = value.toLongLong();
        break;
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        n = qint64(u);
        break;
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        // Compared as doubles first: converting one beyond qint64 is undefined.
        if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) >= 9.0e18 || d < double(min) || d > double(max))
            return std::nullopt;
        n = qint64(d);
        break;
    }
    case QMetaType::QString: {
        bool ok = false;
        n = value.toString().toLongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
        break;
    }
    default:
        return std::nullopt;
    }
    if (n < min || n > max)
        return std::nullopt;
    return n;
}

void ArgumentCheck::refuse(const char* operation, const char* parameter, const QString& why)
{
    const QString text = QStringLiteral("%1: %2 refused: %3")
                             .arg(QLatin1String(operation), QLatin1String(parameter), why);
    qCDebug(lcStore).noquote() << text;
    {
        QMutexLocker lock(&g_lastMutex);
        g_last = text;
    }
    ++g_refusals;
}

quint64 ArgumentCheck::refusals()
{
    return g_refusals.load();
}

QString ArgumentCheck::lastRefusal()
{
    QMutexLocker lock(&g_lastMutex);
    return g_last;
}
