// The DPI encoder: any sensor name, stage values of any kind, stage count
// and value count encode without reading or writing out of bounds, and the
// table lands where a profile block keeps it.

#include "features/dpi_codes.h"
#include "fuzz_input.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const dpi::Sensor sensor = dpi::sensorFromName(in.text());
    const int dpiCount = int(in.u32());
    const int valueCount = int(in.u32());
    QVariantList values;
    while (!in.atEnd() && values.size() < 12)
        values.append(in.value());

    const dpi::EncodedStages stages = dpi::encodeStages(sensor, values);
    for (int i = int(values.size()); i < dpi::kStages; ++i)
        FUZZ_CHECK(stages.codes[size_t(i)] == 0);
    if (sensor != dpi::Sensor::Model3389)
        FUZZ_CHECK(stages.highDpiMask == 0);

    const dpi::StageCodes codes = dpi::withUnusedStages(stages.codes, dpiCount, valueCount);
    for (int i = 0; i < dpi::kStages; ++i) {
        const bool unused = i >= qMax(dpiCount, 0) && i < qMin(valueCount, dpi::kStages);
        FUZZ_CHECK(codes[size_t(i)] == (unused ? dpi::kUnusedStage : stages.codes[size_t(i)]));
    }
    const uchar mask = dpi::enabledStageMask(dpiCount);
    FUZZ_CHECK(mask == (dpiCount <= 0 ? 0 : dpiCount >= 8 ? 0xFF : (1u << dpiCount) - 1));

    // The block on the heap, exactly 128 bytes: a write past it is a finding.
    std::unique_ptr<uchar[]> block(new uchar[dpi::kBlockSize]());
    dpi::writeToBlock(block.get(), stages, mask, sensor == dpi::Sensor::Model3389);
    FUZZ_CHECK(block[dpi::kBlockEnabledMask] == mask);
    for (int i = 0; i < dpi::kStages; ++i)
        FUZZ_CHECK(block[size_t(dpi::kBlockCodes + i)] == stages.codes[size_t(i)]
                   && block[size_t(dpi::kBlockCodesAgain + i)] == stages.codes[size_t(i)]);
    return 0;
}
