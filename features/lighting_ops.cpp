#include "features/lighting_ops.h"

#include "device/hid_thread.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "features/lighting_tables.h"
#include "features/mouse_values.h"
#include "features/profile_sync.h"
#include "store/argument_check.h"
#include "store/settings_store.h"

#include <algorithm>

namespace {

// An index beyond the mouse's tables would go out as "off" (code 0) or a 0
// byte: the page never hands one over, so it is junk and refused.
bool indexFits(const char* parameter, uchar value, int last)
{
    if (value <= last)
        return true;
    ArgumentCheck::refuse("mouseSetRGBEffect", parameter,
                          QStringLiteral("%1 is beyond the lighting tables (0-%2)").arg(int(value)).arg(last));
    return false;
}

} // namespace

WriteOutcome LightingOps::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    if (!indexFits("effect", effect, mousevalues::kLastEffect)
        || !indexFits("option1", option1, mousevalues::kLastLightingStep)
        || !indexFits("option2", option2, mousevalues::kLastLightingStep))
        return m_ctx.writesOutcome();
    if (!m_ctx.store)
        return m_ctx.writesOutcome();
    const bool colourful = m_ctx.store->isColorful();
    const lighting::EffectParams params = lighting::translateEffect(colourful, effect, option1, option2);

    if (!m_ctx.is560()) {
        if (!m_ctx.hid)
            return m_ctx.writesOutcome();
        const lighting::EffectParams cmd = lighting::effectCommand553(params, colourful, m_ctx.store->is55328());
        m_ctx.hid->hid553_0DH_SetRGBLedEffect(cmd.code, cmd.first, cmd.second);
        return m_ctx.writesOutcome();
    }

    const bool isGun = m_ctx.store->isGun();
    m_ctx.blocks.noteUseBeforeRead("mouseSetRGBEffect");
    for (int n = lighting::kEffectBlockFirst; n <= lighting::kEffectBlockLast; ++n) {
        ProfileBlocks::Block& block = *m_ctx.blocks.block(n);
        const lighting::EffectParams bytes = lighting::effectBlockBytes(params, colourful, isGun, n);
        block[lighting::kEffectCodeOffset] = bytes.code;
        block[lighting::kEffectFirstOffset] = bytes.first;
        block[lighting::kEffectSecondOffset] = bytes.second;
    }
    ProfileSync sync(m_ctx);
    for (int n : lighting::effectBlocksToSend(isGun))
        sync.mouseSetProfile(uint(n));
    return m_ctx.writesOutcome();
}

WriteOutcome LightingOps::mouseSetRGBColor(uchar type, QVariantList src24)
{
    if (type > mousevalues::kLastColourTableKind) {
        ArgumentCheck::refuse("mouseSetRGBColor", "type",
                              QStringLiteral("no colour-table kind %1 (0-%2)")
                                  .arg(int(type))
                                  .arg(mousevalues::kLastColourTableKind));
        return m_ctx.writesOutcome();
    }
    const QString problem = mousevalues::listProblem(src24, 0, mousevalues::kLastByte);
    if (!problem.isEmpty()) {
        ArgumentCheck::refuse("mouseSetRGBColor", "src24", problem);
        return m_ctx.writesOutcome();
    }
    if (!m_ctx.store)
        return m_ctx.writesOutcome();
    bool cut = false;
    const lighting::ColourList colours = lighting::coloursFromValues(src24, &cut);
    if (cut)
        qCDebug(lcFeatures) << "mouseSetRGBColor:" << src24.size() << "colour components; only 24 are used";

    if (m_ctx.is560()) {
        const lighting::ColourPlace place = lighting::colourPlace(m_ctx.store->isColorful());
        m_ctx.blocks.noteUseBeforeRead("mouseSetRGBColor");
        ProfileBlocks::Block& block = *m_ctx.blocks.block(place.block);
        static_assert(lighting::kSingleColourPlace.offset + lighting::kColourBytes <= ProfileBlocks::kSize,
                      "the colours fit in their block");
        static_assert(lighting::kRgbColourPlace.offset + lighting::kColourBytes <= ProfileBlocks::kSize,
                      "the colours fit in their block");
        std::copy(colours.begin(), colours.end(), block.begin() + place.offset);
        ProfileSync(m_ctx).mouseSetProfile(uint(place.block));
        return m_ctx.writesOutcome();
    }

    if (!m_ctx.hid)
        return m_ctx.writesOutcome();
    if (m_ctx.store->is55328()) {
        if (lighting::sendsFixedColour(colours))
            m_ctx.hid->hid553_0CH_SetFixLEDColor(colours.data());
        else
            m_ctx.hid->hid553_10H_SetLED8StageColor(0, colours.data());
        return m_ctx.writesOutcome();
    }
    // These mice are given the table twice in a row.
    m_ctx.hid->hid553_10H_SetLED8StageColor(type, colours.data());
    m_ctx.hid->hid553_10H_SetLED8StageColor(type, colours.data());
    return m_ctx.writesOutcome();
}
