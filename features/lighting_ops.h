#pragma once
// Lighting: the page's effect and colours sent to the mouse, as lighting
// commands on the 553 family or through the on-board profile blocks on the
// 560 family. Nothing is stored here; the page keeps its own values.

#include "device/write_outcome.h"

#include <QVariantList>

using uchar = unsigned char;

struct FeatureContext;

// The operations that write to the mouse return what became of the writes
// (FeatureContext::writesOutcome).
class LightingOps {
public:
    explicit LightingOps(FeatureContext& ctx) : m_ctx(ctx) {}

    // Effect index with its speed step (option1) and brightness step
    // (option2), translated for the model. On the 560 family blocks 1-4 keep
    // the new bytes even when sending them fails. An index beyond the tables
    // (effect above 10, a step above 4) is refused and nothing is sent.
    WriteOutcome mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    // Up to 24 colour components (eight colours, red-green-blue); missing ones
    // are 0, extra ones dropped. `type` (0 RGB page, 1 single-colour page) is
    // passed on only by the eight-colour command of the 553 family; the 55328
    // variant always sends table 0. A component that is not an integer from
    // 0 to 255, or a `type` above 2, is refused and nothing is sent.
    WriteOutcome mouseSetRGBColor(uchar type, QVariantList src24);

private:
    FeatureContext& m_ctx;
};
