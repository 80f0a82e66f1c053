#include "features/recoil_data.h"

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

} // namespace recoil
