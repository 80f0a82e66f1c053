#pragma once
// What every feature operation works on: the settings store, the device link
// (null until the window host hands it over; commands are then skipped) and
// the copy of a 560 mouse's five on-board profile blocks.

#include "features/profile_blocks.h"

class Hid_Thread;
class SettingsStore;

struct FeatureContext {
    SettingsStore* store = nullptr;
    Hid_Thread* hid = nullptr;
    ProfileBlocks blocks;

    // The 560 command family is chosen by the global setting mouse/icType.
    bool is560() const;
};
