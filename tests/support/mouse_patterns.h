#pragma once
// Mouse memories for backup and restore tests: every byte a snapshot reads
// differs between two seeds and from the factory defaults.

#include "device/mouse_snapshot.h"
#include "device/virtual_mouse.h"

inline VirtualMouseState patternedMouse(uchar seed)
{
    VirtualMouseState s = VirtualMouseState::factoryDefaults();
    s.keyboardOptions = {uchar(seed + 1), uchar(seed + 2), uchar(seed + 3), uchar(seed + 4)};
    s.currentDpiStage = uchar(seed % 7 + 1);
    s.currentProfile = uchar(seed % 4 + 1);
    s.profileDpiStages = {uchar(seed % 3 + 2), uchar(seed % 5 + 1), uchar(seed % 6 + 3), uchar(seed % 8 + 1)};
    for (int b = 0; b < 5; ++b)
        for (int i = 0; i < 128; ++i)
            s.profileBlocks[size_t(b)][size_t(i)] = uchar(seed * 7 + b * 31 + i);
    return s;
}

// What a snapshot of a mouse of `family` holding `s` must be.
inline MouseSnapshot snapshotOf(const VirtualMouseState& s, int family)
{
    MouseSnapshot m;
    m.family = family;
    m.keyboardOptions = s.keyboardOptions;
    if (family == 560) {
        m.keyboardOptions[2] = m.keyboardOptions[3] = 0;
        m.currentProfile = s.currentProfile;
        m.profileDpiStages = s.profileDpiStages;
        m.profileBlocks = s.profileBlocks;
    } else {
        m.currentDpiStage = s.currentDpiStage;
    }
    return m;
}
