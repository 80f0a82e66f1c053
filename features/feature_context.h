#pragma once
// What every feature operation works on: the settings store, the device link
// (null until the window host hands it over; commands are then skipped),
// the copy of a 560 mouse's five on-board profile blocks and the batch that
// gathers the blocks a Save, a Reset or a profile switch sends.

#include "features/profile_batch.h"
#include "features/profile_blocks.h"

class Hid_Thread;
class SettingsStore;

struct FeatureContext {
    SettingsStore* store = nullptr;
    Hid_Thread* hid = nullptr;
    ProfileBlocks blocks;
    ProfileBatch batch;

    // The 560 command family is chosen by the global setting mouse/icType.
    bool is560() const;
};
