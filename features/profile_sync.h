#pragma once
// Reading, writing and querying the on-board profiles of a 560 mouse. These
// use the 560 commands whatever the attached family; callers use them only on
// a 560 mouse.

#include <QVariant>

struct FeatureContext;

class ProfileSync {
public:
    explicit ProfileSync(FeatureContext& ctx) : m_ctx(ctx) {}

    // Sends block `profileNo` (0..4) as profile `profileNo`. Above 4: ignored with a debug line.
    void mouseSetProfile(uint profileNo);
    // Fills block `profileNo` from the mouse; a failed read leaves it as it was.
    void mouseReadProfile(uint profileNo);
    // The mouse's current profile; 0 when it cannot be reached.
    QVariant mouseReadCurrentProfile();

    // Blocks read when a 560 mouse connects: 0 and 1, and 2..4 with recoil presets.
    void readAtConnect();

private:
    FeatureContext& m_ctx;
};
