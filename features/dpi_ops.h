#pragma once
// The performance settings the mouse keeps: the DPI stage table, the current
// stage, the lift-off distance and the four keyboard-option bytes. The pages
// store their values in the profile files themselves; these operations only
// talk to the mouse (and, on a 560 mouse, keep the DPI table in the copy of
// its profile blocks).

#include "device/write_outcome.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

using uchar = unsigned char;

struct FeatureContext;

// The operations that write to the mouse return what became of the writes
// (FeatureContext::writesOutcome).
class DpiOps {
public:
    explicit DpiOps(FeatureContext& ctx) : m_ctx(ctx) {}

    // Sends the four keyboard-option bytes (the 553 command, on both families;
    // a 560 mouse reads it as the report rate of profile `byte1`, so there
    // `byte1` must be a profile, 1-4, or the call is refused).
    WriteOutcome mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    // The lift-off distance, despite the name: `rate` when `en` is non-zero,
    // else 0 to switch the function off. The 553 command on both families.
    // A `rate` that is no distance of the mouse (99-125) is refused.
    WriteOutcome mouseSetReportRate(uchar rate, uchar en);
    // Makes stage `currentDPI` (1-8, else refused) current (on the 560 family
    // in its profiles).
    WriteOutcome mouseSetCurrentDPI(uchar currentDPI);
    // The stage the mouse reports (1-based); 0 when it cannot be reached.
    QVariant mouseGetCurrentDPI();
    // Encodes the eight stage values for `sensorType` and sends them with
    // `dpiCount` stages in use: as one table on the 553 family, in profile
    // blocks 1-4 on the 560 family (sending block 1, and 2-4 with recoil
    // presets). The blocks keep the new table even when sending fails.
    // Refused, with nothing changed or sent: a `dpiCount` outside 1-8, or a
    // value that is not an integer the sensor takes (mousevalues::dpiTableProblem).
    WriteOutcome mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray);
    // The four keyboard-option bytes as ints; zeros when the mouse cannot be reached.
    QVariantList GetKeyboardoption();

private:
    FeatureContext& m_ctx;
};
