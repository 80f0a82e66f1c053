#pragma once
// Button assignment: stores the pages' button map in the current profile and
// sends it to the mouse as key matrices of the attached family; restores the
// recoil layers to the firmware defaults and switches the active matrix.

#include "device/write_outcome.h"

#include <QVariantList>

struct FeatureContext;

// The operations that write to the mouse return what became of the writes
// (FeatureContext::writesOutcome).
class KeyMatrixOps {
public:
    explicit KeyMatrixOps(FeatureContext& ctx) : m_ctx(ctx) {}

    // Stores the 16 entries of `src64` (page encoding, entry s at 4s..4s+3)
    // under "mouseKeyMatrix/<s>" of the current profile, then, with
    // `isSendData`, sends matrix 1, or in recoil mode matrices 1-4 with the
    // preset periods of `otherParam` (up to three numbers; a short list is
    // zero-filled). Refused, with nothing stored or sent: a map of other
    // than 64 numbers, or a number of either list that is not a byte.
    WriteOutcome mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam);
    // Sends the firmware-default matrix of the current profile as matrices
    // 2, 3 and 4. Matrix 1 and the stored map stay.
    WriteOutcome mouseResetKeyMatrix();
    // Makes matrix `indexNo` (1-4) the active one: the current profile on the
    // 560 family, matrix indexNo - 1 on the 553 family. Other numbers are
    // refused and nothing is sent.
    WriteOutcome mouseSwitchKeyMatrix(int indexNo);

private:
    void storePageMap(const QVariantList& src64);
    void sendMatrix(const uchar* matrix, uchar number);

    FeatureContext& m_ctx;
};
