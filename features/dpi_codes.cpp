#include "features/dpi_codes.h"

#include <QLatin1String>

namespace dpi {

namespace {

struct SensorName {
    const char* name;
    Sensor sensor;
};

constexpr SensorName kSensorNames[] = {
    {"4090", Sensor::Model4090},
    {"3360", Sensor::Model3360},
    {"3050", Sensor::Model3050},
    {"3389", Sensor::Model3389},
    {"3327", Sensor::Model3327},
};

} // namespace

Sensor sensorFromName(const QString& name)
{
    for (const SensorName& row : kSensorNames) {
        if (name == QLatin1String(row.name))
            return row.sensor;
    }
    return Sensor::Model4090;
}

EncodedStages encodeStages(Sensor sensor, const QVariantList& values)
{
    EncodedStages out;
    const int n = qMin(int(values.size()), kStages);
    for (int i = 0; i < n; ++i) {
        const int v = values.at(i).toInt();
        out.codes[static_cast<size_t>(i)] = stageCode(sensor, v);
        if (sensor == Sensor::Model3389 && v >= kHighDpiFrom)
            out.highDpiMask = static_cast<uchar>(out.highDpiMask | (1u << i));
    }
    return out;
}

StageCodes withUnusedStages(StageCodes codes, int dpiCount, int valueCount)
{
    const int n = qMin(valueCount, kStages);
    for (int i = qMax(dpiCount, 0); i < n; ++i)
        codes[static_cast<size_t>(i)] = kUnusedStage;
    return codes;
}

uchar enabledStageMask(int dpiCount)
{
    uchar mask = 0;
    for (int i = 0; i < kStages && i < dpiCount; ++i)
        mask = static_cast<uchar>(mask | (1u << i));
    return mask;
}

void writeToBlock(uchar* block128, const EncodedStages& stages, uchar enabledMask, bool withHighDpiMask)
{
    if (withHighDpiMask) {
        block128[kBlockHighDpiMask] = stages.highDpiMask;
        block128[kBlockHighDpiMask + 1] = stages.highDpiMask;
    }
    for (int i = 0; i < kStages; ++i) {
        block128[kBlockCodes + i] = stages.codes[static_cast<size_t>(i)];
        block128[kBlockCodesAgain + i] = stages.codes[static_cast<size_t>(i)];
    }
    block128[kBlockEnabledMask] = enabledMask;
}

} // namespace dpi
