#pragma once
// What every feature operation works on: the settings store, the device link
// (null until the window host hands it over; commands are then skipped),
// the copy of a 560 mouse's five on-board profile blocks and the batch that
// gathers the blocks a Save, a Reset or a profile switch sends.

#include "device/write_outcome.h"
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
    // What the writes to the mouse came to since the link's outcome was last
    // reset (the view resets it before each operation it runs); Done without
    // a link, and when nothing failed. A refused request writes nothing: the
    // argument check reports it.
    WriteOutcome writesOutcome() const;
};
