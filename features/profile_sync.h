#pragma once
// Reading, writing and querying the on-board profiles of a 560 mouse. These
// use the 560 commands whatever the attached family; callers use them only on
// a 560 mouse.

#include <QVariant>

struct FeatureContext;

class ProfileSync {
public:
    explicit ProfileSync(FeatureContext& ctx) : m_ctx(ctx) {}

    // Sends block `profileNo` (0..4) as profile `profileNo` and reads it back.
    // While a batch is open the block is only noted; the batch's end sends it.
    // Above 4: ignored with a debug line.
    void mouseSetProfile(uint profileNo);
    // Fills block `profileNo` from the mouse; a failed read leaves it as it was.
    void mouseReadProfile(uint profileNo);
    // The mouse's current profile; 0 when it cannot be reached.
    QVariant mouseReadCurrentProfile();

    // Blocks read when a 560 mouse connects: 0 and 1, and 2..4 with recoil presets.
    void readAtConnect();

    // --- one write per block for a Save, a Reset or a profile switch ----------
    // Opens a batch (scopes nest). Does nothing while the batch is switched off.
    void beginBatch();
    // The blocks noted since the last call, bit n for block n.
    int takeNoted();
    // Closes a scope. The outermost writes each noted block, in the order
    // first noted, unless the mouse already holds it as the copy has it; each
    // is read back. The first block that fails stops the writes. Returns the
    // noted blocks the mouse may not hold as the copy has them, bit n for
    // block n (0: every one took, or nothing was noted).
    int commitBatch();

private:
    // Writes block n now and remembers whether the mouse holds it; true when it read back as written.
    bool writeNow(int n);

    FeatureContext& m_ctx;
};
