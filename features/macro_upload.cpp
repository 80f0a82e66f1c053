#include "features/macro_upload.h"

#include "device/hid_thread.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "features/macro_block.h"
#include "features/mouse_values.h"
#include "store/argument_check.h"

QVariant MacroUpload::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    // Only the slot itself is trusted: a larger number cut to a byte (or
    // wrapped to 32 bits) would overwrite another button's macro.
    const std::optional<qint64> slot = ArgumentCheck::integer(macroIndex, 0, kMacroSlots - 1);
    if (!slot) {
        ArgumentCheck::refuse("mouseSendMacroData", "macroIndex",
                              QStringLiteral("the mouse keeps no macro for button slot %1").arg(macroIndex.toString()));
        return QVariant(true);
    }
    const QString problem = mousevalues::listProblem(macroData, 0, mousevalues::kLastByte);
    if (!problem.isEmpty()) {
        ArgumentCheck::refuse("mouseSendMacroData", "macroData", problem);
        return QVariant(true);
    }
    bool cut = false;
    const MacroBlock block = macroblock::blockFromValues(macroData, &cut);
    if (cut)
        qCDebug(lcFeatures) << "mouseSendMacroData: the macro has" << macroData.size() << "bytes; only 128 are sent";
    if (!m_ctx.hid)
        return QVariant(true);
    const uchar macroId = static_cast<uchar>(*slot + 1);
    if (m_ctx.is560())
        m_ctx.hid->hid560_0FH_SetMacroKey(macroId, block.data());
    else
        m_ctx.hid->hid553_13H_SetMacroKey(macroId, block.data());
    return QVariant(true);
}
