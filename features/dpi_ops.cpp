#include "features/dpi_ops.h"

#include "device/hid_thread.h"
#include "features/dpi_codes.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "features/mouse_values.h"
#include "features/profile_sync.h"
#include "store/argument_check.h"
#include "store/settings_store.h"

namespace {

// The 560 mouse keeps its DPI table in every key-matrix profile.
constexpr int kFirstDpiBlock = 1;
constexpr int kLastDpiBlock = 4;

} // namespace

WriteOutcome DpiOps::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    // The four option bytes of a 553 mouse are flags it keeps as given. A 560
    // mouse takes the same command as its report rate of one profile, named
    // by the first byte: there it must be one of its profiles.
    if (m_ctx.is560() && (byte1 < mousevalues::kFirstProfile || byte1 > mousevalues::kLastProfile)) {
        ArgumentCheck::refuse("mouseSetKeyboardoption", "byte1",
                              QStringLiteral("a 560 mouse takes this command for profile %1-%2, not %3")
                                  .arg(mousevalues::kFirstProfile).arg(mousevalues::kLastProfile).arg(int(byte1)));
        return m_ctx.writesOutcome();
    }
    if (m_ctx.hid)
        m_ctx.hid->hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
    return m_ctx.writesOutcome();
}

WriteOutcome DpiOps::mouseSetReportRate(uchar rate, uchar en)
{
    // Checked even when switched off: the page always hands over a distance.
    if (rate < mousevalues::kLiftOffFarthest || rate > mousevalues::kLiftOffNearest) {
        ArgumentCheck::refuse("mouseSetReportRate", "rate",
                              QStringLiteral("%1 is no lift-off distance of the mouse (%2-%3)")
                                  .arg(int(rate)).arg(mousevalues::kLiftOffFarthest).arg(mousevalues::kLiftOffNearest));
        return m_ctx.writesOutcome();
    }
    if (!m_ctx.hid)
        return m_ctx.writesOutcome();
    if (en != 0)
        m_ctx.hid->hid553_07H_Lod(rate, en);
    else
        m_ctx.hid->hid553_07H_Lod(0, 0);
    return m_ctx.writesOutcome();
}

WriteOutcome DpiOps::mouseSetCurrentDPI(uchar currentDPI)
{
    if (currentDPI < mousevalues::kFirstStage || currentDPI > mousevalues::kLastStage) {
        ArgumentCheck::refuse("mouseSetCurrentDPI", "currentDPI",
                              QStringLiteral("no DPI stage %1 (%2-%3)")
                                  .arg(int(currentDPI)).arg(mousevalues::kFirstStage).arg(mousevalues::kLastStage));
        return m_ctx.writesOutcome();
    }
    if (!m_ctx.hid)
        return m_ctx.writesOutcome();
    if (m_ctx.is560())
        m_ctx.hid->hid560_04H_SetCurrentDPI(currentDPI);
    else
        m_ctx.hid->hid553_0BH_SetCurrentDPI(currentDPI);
    return m_ctx.writesOutcome();
}

QVariant DpiOps::mouseGetCurrentDPI()
{
    if (!m_ctx.hid)
        return QVariant(0);
    if (m_ctx.is560()) {
        // byte1 asks for profile 1; the stage comes back in byte2.
        uchar byte1 = 1;
        uchar byte2 = 0;
        m_ctx.hid->hid560_84H_GetCurrentDPI(byte1, byte2);
        return QVariant(int(byte2));
    }
    uchar stage = 0;
    m_ctx.hid->hid553_8BH_GetCurrentDPI(stage);
    return QVariant(int(stage));
}

WriteOutcome DpiOps::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    if (dpiCount < mousevalues::kFirstStage || dpiCount > mousevalues::kLastStage) {
        ArgumentCheck::refuse("mouseSetDpi", "dpiCount",
                              QStringLiteral("%1 stages; the mouse holds %2-%3")
                                  .arg(dpiCount).arg(mousevalues::kFirstStage).arg(mousevalues::kLastStage));
        return m_ctx.writesOutcome();
    }
    const dpi::Sensor sensor = dpi::sensorFromName(sensorType);
    const QString problem = mousevalues::dpiTableProblem(dpiCount, sensor, dpiValueArray);
    if (!problem.isEmpty()) {
        ArgumentCheck::refuse("mouseSetDpi", "dpiValueArray", problem);
        return m_ctx.writesOutcome();
    }
    if (dpiValueArray.size() != dpi::kStages)
        qCDebug(lcFeatures) << "mouseSetDpi:" << dpiValueArray.size() << "stage values instead of" << dpi::kStages;
    const dpi::EncodedStages stages = dpi::encodeStages(sensor, dpiValueArray);

    if (m_ctx.is560()) {
        m_ctx.blocks.noteUseBeforeRead("mouseSetDpi");
        const uchar enabled = dpi::enabledStageMask(dpiCount);
        const bool withMask = sensor == dpi::Sensor::Model3389;
        for (int n = kFirstDpiBlock; n <= kLastDpiBlock; ++n)
            dpi::writeToBlock(m_ctx.blocks.block(n)->data(), stages, enabled, withMask);
        ProfileSync sync(m_ctx);
        // A mouse without recoil presets uses profile 1 only.
        const int last = (m_ctx.store && m_ctx.store->isGun()) ? kLastDpiBlock : kFirstDpiBlock;
        for (int n = kFirstDpiBlock; n <= last; ++n)
            sync.mouseSetProfile(uint(n));
        return m_ctx.writesOutcome();
    }

    if (!m_ctx.hid)
        return m_ctx.writesOutcome();
    const dpi::StageCodes codes = dpi::withUnusedStages(stages.codes, dpiCount, int(dpiValueArray.size()));
    m_ctx.hid->hid553_11H_SetDPISet(static_cast<uchar>(dpiCount), codes.data());
    return m_ctx.writesOutcome();
}

QVariantList DpiOps::GetKeyboardoption()
{
    // A failed read leaves the bytes as they start: all zero.
    uchar byte1 = 0, byte2 = 0, byte3 = 0, byte4 = 0;
    if (m_ctx.hid)
        m_ctx.hid->hid553_83H_GetKeyboardoption(byte1, byte2, byte3, byte4);
    return QVariantList{int(byte1), int(byte2), int(byte3), int(byte4)};
}
