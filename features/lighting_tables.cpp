#include "features/lighting_tables.h"

#include "features/byte_values.h"

namespace lighting {

namespace {

uchar resolve(const ParamSource& source, uchar option1, uchar option2)
{
    switch (source.kind) {
    case ParamSource::Constant:
        return source.constant;
    case ParamSource::Option1:
        return lookup(*source.table, option1);
    case ParamSource::Option2:
        return lookup(*source.table, option2);
    }
    return 0;
}

template <size_t N>
EffectParams translateBy(const EffectRow (&rows)[N], uchar effect, uchar option1, uchar option2)
{
    if (effect >= N)
        return {};
    const EffectRow& row = rows[effect];
    return {row.code, resolve(row.first, option1, option2), resolve(row.second, option1, option2)};
}

} // namespace

EffectParams translateEffect(bool colourful, uchar effect, uchar option1, uchar option2)
{
    return colourful ? translateBy(kRgbEffects, effect, option1, option2)
                     : translateBy(kSingleColourEffects, effect, option1, option2);
}

EffectParams effectCommand553(const EffectParams& p, bool colourful, bool is55328)
{
    if (colourful || is55328)
        return p;
    return {p.code, p.first, kSingleColourThird};
}

EffectParams effectBlockBytes(const EffectParams& p, bool colourful, bool isGun, int block)
{
    if (colourful)
        return p;
    // The single-colour firmware does not keep the second parameter.
    const uchar third = (!isGun && block == kEffectBlockFirst) ? kSingleColourThirdAlone : kSingleColourThird;
    return {p.code, p.first, third};
}

std::vector<int> effectBlocksToSend(bool isGun)
{
    // Blocks 2-4 are the recoil layers; a mouse without them only uses block 1.
    if (!isGun)
        return {kEffectBlockFirst};
    std::vector<int> blocks;
    for (int b = kEffectBlockFirst; b <= kEffectBlockLast; ++b)
        blocks.push_back(b);
    return blocks;
}

ColourList coloursFromValues(const QVariantList& values, bool* cut)
{
    return bytesFromValues<kColourBytes>(values, cut);
}

bool sendsFixedColour(const ColourList& colours)
{
    return colours[21] == 0 && colours[22] == 0 && colours[23] == 0;
}

} // namespace lighting
