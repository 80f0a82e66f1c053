#pragma once
// The mouse does not take DPI values: each stage is one code byte whose
// meaning depends on the sensor model. These functions turn the page's eight
// stage values into those bytes and lay them out for either family. All pure.

#include <QString>
#include <QVariantList>

#include <array>

using uchar = unsigned char;

namespace dpi {

constexpr int kStages = 8;
using StageCodes = std::array<uchar, kStages>;

// The sensor models the mouse can carry; any other name is encoded like 4090.
enum class Sensor { Model4090, Model3360, Model3050, Model3389, Model3327 };

Sensor sensorFromName(const QString& name);

// The 3050 has a stepped scale: a value takes the code of the first upper
// limit that is not below it; values above the last limit get no code (0).
struct LimitRow {
    int upTo;
    uchar code;
};
constexpr LimitRow k3050Table[] = {
    { 250, 1},    { 500, 2},    { 750, 3},    {1000, 4},
    {1250, 5},    {1500, 6},    {1750, 7},    {2000, 8},
    {2500, 0x45}, {3000, 0x46}, {3500, 0x47}, {4000, 0x48},
};

// The 3389 counts stages of 12800 DPI and above in a separate mask.
constexpr int kHighDpiFrom = 12800;

// A 553 mouse takes this code for a stage that is switched off.
constexpr uchar kUnusedStage = 0x80;

// The code of one stage, cut to a byte.
constexpr uchar stageCode(Sensor sensor, int dpi)
{
    int code = 0;
    switch (sensor) {
    case Sensor::Model3360:
        code = dpi / 100 - 1;
        break;
    case Sensor::Model3050:
        for (const LimitRow& row : k3050Table) {
            if (dpi <= row.upTo) {
                code = row.code;
                break;
            }
        }
        break;
    case Sensor::Model3389:
        code = dpi / 50;
        break;
    case Sensor::Model3327:
        code = (dpi / 100) * 2;
        break;
    case Sensor::Model4090:
        code = dpi <= 5000 ? dpi / 100 - 1 : (dpi / 200) | 0x40;
        break;
    }
    return static_cast<uchar>(code & 0xFF);
}

static_assert(stageCode(Sensor::Model4090, 5000) == 49, "4090 low range");
static_assert(stageCode(Sensor::Model4090, 6000) == 0x5E, "4090 high range");
static_assert(stageCode(Sensor::Model3050, 2100) == 0x45, "3050 stepped scale");
static_assert(stageCode(Sensor::Model3327, 1250) == 24, "3327 divides first");

// The DPI values a sensor takes: from the lowest whose code is the first
// step to the highest whose code still fits its byte (for the 3389 with the
// ninth bit in the high-DPI mask; the 3050's scale ends at 4000).
struct DpiRange {
    int lowest;
    int highest;
};
constexpr DpiRange dpiRange(Sensor sensor)
{
    switch (sensor) {
    case Sensor::Model3360:
        return {100, 25699};
    case Sensor::Model3050:
        return {1, 4000};
    case Sensor::Model3389:
        return {50, 25599};
    case Sensor::Model3327:
        return {100, 12799};
    case Sensor::Model4090:
        break;
    }
    return {100, 51199};
}
static_assert(stageCode(Sensor::Model3360, dpiRange(Sensor::Model3360).highest) == 255, "3360 range ends at code 255");
static_assert(stageCode(Sensor::Model4090, dpiRange(Sensor::Model4090).highest) == 255, "4090 range ends at code 255");
static_assert(stageCode(Sensor::Model3327, dpiRange(Sensor::Model3327).highest) == 254, "3327 range ends at code 254");
static_assert(dpiRange(Sensor::Model3389).highest / 50 == 511, "3389 range ends at nine bits");
static_assert(stageCode(Sensor::Model3360, dpiRange(Sensor::Model3360).lowest) == 0, "3360 range starts at code 0");

struct EncodedStages {
    StageCodes codes{};          // zero where no value was given
    uchar highDpiMask = 0;       // 3389 only: bit i for stage i + 1 at 12800 DPI or more
};

// Encodes the first eight values (taken as integers); missing ones leave 0.
EncodedStages encodeStages(Sensor sensor, const QVariantList& values);

// 553 family: stages from `dpiCount` on, among the `valueCount` given, are
// marked unused. Stages without a value stay 0.
StageCodes withUnusedStages(StageCodes codes, int dpiCount, int valueCount);

// 560 family: bit i set for every stage i below `dpiCount` (at most eight).
uchar enabledStageMask(int dpiCount);

// Where a 560 profile block keeps its DPI table.
constexpr int kBlockHighDpiMask = 82;        // and again at 83
constexpr int kBlockCodes = 84;              // stages 1-8, and again at 92
constexpr int kBlockCodesAgain = 92;
constexpr int kBlockEnabledMask = 100;
constexpr int kBlockSize = 128;
static_assert(kBlockEnabledMask < kBlockSize, "the DPI table fits a profile block");

// Writes the DPI table into one 128-byte profile block; the high-DPI mask
// only when `withHighDpiMask` (sensor 3389), leaving those bytes otherwise.
void writeToBlock(uchar* block128, const EncodedStages& stages, uchar enabledMask, bool withHighDpiMask);

} // namespace dpi
