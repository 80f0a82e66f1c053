#include "features/recoil_data.h"

#include "features/mouse_values.h"
#include "store/argument_check.h"

namespace recoil {

namespace {

uchar byteAt(const QVariantList& src, int i)
{
    return i < src.size() ? static_cast<uchar>(src.at(i).toUInt() & 0xFF) : uchar(0);
}

constexpr int kPresetValueCount = 5;

} // namespace

RecoilStep stepFromValues(const QVariantList& src)
{
    return {byteAt(src, 0), byteAt(src, 1), byteAt(src, 2)};
}

uchar yForMouse(uchar y, bool inverted)
{
    return inverted ? static_cast<uchar>(0x100 - y) : y;
}

std::array<uchar, 4> gunData553(const RecoilStep& step, int slot, bool invertY)
{
    return {step.times, step.x, yForMouse(step.y, invertY), static_cast<uchar>(slot - 1)};
}

void writePreset(std::array<uchar, 128>& block, const RecoilStep& step)
{
    block[kMarkerOffset] = kPresetMarker;
    block[kTimesOffset] = step.times;
    block[kXOffset] = step.x;
    block[kYOffset] = step.y;
    block[kFlagsOffset] = static_cast<uchar>(block[kFlagsOffset] & ~kPresetClearsBit);
}

QString presetKey(const QString& name)
{
    return QStringLiteral("gunData/") + name;
}

bool isUsableName(const QString& name)
{
    return !name.trimmed().isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QStringList defaultPresetValues()
{
    return {QStringLiteral("L-Click"), QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("0")};
}

QStringList presetValues(const QVariantList& src, int from)
{
    QStringList values = defaultPresetValues();
    for (int i = 0; i < kPresetValueCount; ++i) {
        const int at = from + i;
        if (at >= 0 && at < src.size())
            values[i] = src.at(at).toString();
    }
    return values;
}

QString presetValuesProblem(const QVariantList& src, int from)
{
    if (from < 0 || src.size() < from + kPresetValueCount)
        return QStringLiteral("%1 values; a preset has %2").arg(src.size()).arg(from + kPresetValueCount);
    const QVariant& key = src.at(from);
    if (!mousevalues::isText(key) || key.toString().trimmed().isEmpty())
        return QStringLiteral("the key text %1 is no text").arg(mousevalues::shown(key));
    static const char* const kNumbers[] = {"the period", "X", "Y", "times"};
    for (int i = 1; i < kPresetValueCount; ++i) {
        const QVariant& v = src.at(from + i);
        if (!ArgumentCheck::integer(v, 0, kLastStepValue))
            return QStringLiteral("%1 (%2) is not an integer from 0 to %3")
                .arg(QLatin1String(kNumbers[i - 1]), mousevalues::shown(v)).arg(kLastStepValue);
    }
    return QString();
}

} // namespace recoil
