#include "features/key_matrix_ops.h"

#include "device/hid_thread.h"
#include "features/byte_values.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "features/key_matrix_convert.h"
#include "features/mouse_values.h"
#include "features/profile_sync.h"
#include "store/argument_check.h"
#include "store/settings_store.h"

namespace {

const QString kPageKey = QStringLiteral("mouseKeyMatrix/");
const QString kFirmwareKey = QStringLiteral("mouseFwKeyMatrix/");

// Byte 2 of profile block 0 tells a 560 mouse which key-matrix layers exist.
constexpr int kLayerMaskBlock = 0;
constexpr int kLayerMaskOffset = 2;

// The firmware-default matrix kept in the current profile (device encoding).
// A missing or short entry reads as zeros.
KeyMatrix firmwareDefault(const SettingsStore& store)
{
    KeyMatrix m{};
    for (int s = 0; s < keymatrix::kSlots; ++s) {
        const QVariantList values = store.getDataList(kFirmwareKey + QString::number(s), false);
        keymatrix::setEntry(m, s, keymatrix::entryFromValues(values));
    }
    return m;
}

} // namespace

void KeyMatrixOps::storePageMap(const QVariantList& src64)
{
    for (int s = 0; s < keymatrix::kSlots; ++s) {
        QVariantList entry;
        for (int i = 0; i < keymatrix::kEntrySize; ++i) {
            const int at = s * keymatrix::kEntrySize + i;
            entry.append(at < src64.size() ? src64.at(at).toInt() : 0);
        }
        m_ctx.store->setDataList(kPageKey + QString::number(s), entry);
    }
}

void KeyMatrixOps::sendMatrix(const uchar* matrix, uchar number)
{
    if (m_ctx.is560())
        m_ctx.hid->hid560_0DH_SetKeyMatrix(matrix, number);
    else
        m_ctx.hid->hid553_12H_SetKeyMatrix(matrix, number);
}

WriteOutcome KeyMatrixOps::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    if (!m_ctx.store)
        return m_ctx.writesOutcome();
    // A map of another length is not a button map: padding it with zeros
    // would store and send buttons that do nothing.
    if (src64.size() != keymatrix::kSlots * keymatrix::kEntrySize) {
        ArgumentCheck::refuse("mouseSetKeyMatrix", "src64",
                              QStringLiteral("%1 numbers instead of %2")
                                  .arg(src64.size()).arg(keymatrix::kSlots * keymatrix::kEntrySize));
        return m_ctx.writesOutcome();
    }
    // Every number is one byte of an entry, and every period one byte of the
    // matrix: a larger one, or text, would be cut into another entry.
    QString problem = mousevalues::listProblem(src64, 0, mousevalues::kLastByte);
    if (!problem.isEmpty()) {
        ArgumentCheck::refuse("mouseSetKeyMatrix", "src64", problem);
        return m_ctx.writesOutcome();
    }
    problem = otherParam.size() > keymatrix::kPresetSlots
                  ? QStringLiteral("%1 preset periods, at most %2").arg(otherParam.size()).arg(keymatrix::kPresetSlots)
                  : mousevalues::listProblem(otherParam, 0, mousevalues::kLastByte);
    if (!problem.isEmpty()) {
        ArgumentCheck::refuse("mouseSetKeyMatrix", "otherParam", problem);
        return m_ctx.writesOutcome();
    }
    // The stored map follows the page even when the mouse refuses it.
    storePageMap(src64);
    if (!isSendData)
        return m_ctx.writesOutcome();

    const bool is560 = m_ctx.is560();
    const KeyMatrix matrix1 = keymatrix::convertMatrix(keymatrix::matrixFromValues(src64), is560);
    if (!keymatrix::hasRecoilSwitch(matrix1)) {
        if (m_ctx.hid)
            sendMatrix(matrix1.data(), 1);
        return m_ctx.writesOutcome();
    }

    const auto periods = bytesFromValues<keymatrix::kPresetSlots>(otherParam);
    const keymatrix::RecoilMatrices layers =
        keymatrix::buildRecoilMatrices(matrix1, firmwareDefault(*m_ctx.store), periods, is560);

    if (is560) {
        m_ctx.blocks.noteUseBeforeRead("mouseSetKeyMatrix");
        if (layers.layerMask)
            (*m_ctx.blocks.block(kLayerMaskBlock))[kLayerMaskOffset] = *layers.layerMask;
    }
    if (!m_ctx.hid)
        return m_ctx.writesOutcome();
    if (is560)
        ProfileSync(m_ctx).mouseSetProfile(kLayerMaskBlock);
    for (int k = 0; k < keymatrix::kMatrixCount; ++k)
        sendMatrix(layers.matrices[static_cast<size_t>(k)].data(), static_cast<uchar>(k + 1));
    // Back to the first layer, where the recoil buttons start.
    if (is560)
        m_ctx.hid->hid560_02H_SetCurrentProfile(1);
    else
        m_ctx.hid->hid553_02H_SetCurrentKeyMatrix(1);
    return m_ctx.writesOutcome();
}

WriteOutcome KeyMatrixOps::mouseResetKeyMatrix()
{
    if (!m_ctx.store || !m_ctx.hid)
        return m_ctx.writesOutcome();
    const KeyMatrix fw = firmwareDefault(*m_ctx.store);
    for (uchar k = 2; k <= keymatrix::kMatrixCount; ++k)
        sendMatrix(fw.data(), k);
    return m_ctx.writesOutcome();
}

WriteOutcome KeyMatrixOps::mouseSwitchKeyMatrix(int indexNo)
{
    if (indexNo < 1 || indexNo > keymatrix::kMatrixCount) {
        ArgumentCheck::refuse("mouseSwitchKeyMatrix", "indexNo",
                              QStringLiteral("no key matrix %1 (1-%2)").arg(indexNo).arg(keymatrix::kMatrixCount));
        return m_ctx.writesOutcome();
    }
    if (!m_ctx.hid)
        return m_ctx.writesOutcome();
    const uchar index = static_cast<uchar>(indexNo);
    if (m_ctx.is560())
        m_ctx.hid->hid560_02H_SetCurrentProfile(index);
    else
        m_ctx.hid->hid553_02H_SetCurrentKeyMatrix(static_cast<uchar>(index - 1));
    return m_ctx.writesOutcome();
}
