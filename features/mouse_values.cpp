#include "features/mouse_values.h"

#include "store/argument_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace mousevalues {

namespace {

// Long enough to recognise a value, short enough for one log line.
constexpr int kShownLength = 40;

QString elementProblem(int index, const QVariant& value, const QString& expected)
{
    return QStringLiteral("element %1 (%2) is not %3").arg(index + 1).arg(shown(value), expected);
}

QString rangeText(qint64 min, qint64 max)
{
    return QStringLiteral("an integer from %1 to %2").arg(min).arg(max);
}

} // namespace

QString shown(const QVariant& value)
{
    const QJsonValue json = QJsonValue::fromVariant(value);
    QString text;
    if (json.isArray())
        text = QString::fromUtf8(QJsonDocument(json.toArray()).toJson(QJsonDocument::Compact));
    else if (json.isObject())
        text = QString::fromUtf8(QJsonDocument(json.toObject()).toJson(QJsonDocument::Compact));
    else if (json.isString())
        text = QLatin1Char('"') + json.toString() + QLatin1Char('"');
    else if (json.isBool())
        text = json.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    else if (json.isDouble())
        text = QString::number(json.toDouble(), 'g', 17);
    else
        text = QStringLiteral("null");
    if (text.size() > kShownLength)
        text = text.left(kShownLength) + QStringLiteral("...");
    return text;
}

QString listProblem(const QVariantList& values, qint64 min, qint64 max)
{
    for (int i = 0; i < values.size(); ++i) {
        if (!ArgumentCheck::integer(values.at(i), min, max))
            return elementProblem(i, values.at(i), rangeText(min, max));
    }
    return QString();
}

QString dpiTableProblem(int dpiCount, dpi::Sensor sensor, const QVariantList& values)
{
    const dpi::DpiRange range = dpi::dpiRange(sensor);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        if (ArgumentCheck::integer(v, range.lowest, range.highest))
            continue;
        // A stage that is not in use may be left without a value.
        if (i >= dpiCount && ArgumentCheck::integer(v, 0, 0))
            continue;
        return elementProblem(i, v, i < dpiCount ? QStringLiteral("a DPI value from %1 to %2 (stage %3 is in use)")
                                                          .arg(range.lowest).arg(range.highest).arg(i + 1)
                                                    : QStringLiteral("0 or a DPI value from %1 to %2")
                                                          .arg(range.lowest).arg(range.highest));
    }
    return QString();
}

bool isText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace mousevalues
