#pragma once
// Commands of the 560 controller family: settings live in five 128-byte
// on-board profile blocks; report rate and DPI stage are set per profile.
// Each returns whether the mouse was reached (see commands_553.h).

#include "device/frame.h"

#include <functional>

class HidTransport;

namespace cmd560 {

bool getKeyboardOption(HidTransport& t, uchar& byte1, uchar& byte2);
bool getCurrentProfile(HidTransport& t, uchar& byte1);
bool getCurrentDpi(HidTransport& t, uchar& byte1, uchar& byte2);
bool setKeyboardOption(HidTransport& t, uchar byte1, uchar byte2);
// `singleProfile` is asked after each frame; true ends the loop after profile 1.
bool setReportRate(HidTransport& t, uchar rate, const std::function<bool()>& singleProfile);
bool setCurrentDpi(HidTransport& t, uchar stage, const std::function<bool()>& singleProfile);
bool setKeyMatrix(HidTransport& t, const uchar* src64, uchar indexAddOne);

// How the write of a profile block ended.
enum class BlockWrite {
    Verified,       // written and read back as written
    NotReached,     // the link stayed busy or the write failed
    NotVerified,    // written twice, and it did not read back as written either time
};
// Writes a 128-byte profile block and reads it back, all under one hold of
// the link. A block that reads back different (or cannot be read back) is
// written and read once more.
BlockWrite writeProfileChecked(HidTransport& t, const uchar* src128, uchar profileData);
// writeProfileChecked; true when it was Verified.
bool setProfile(HidTransport& t, const uchar* src128, uchar profileData);
// The DPI stage of one profile (1..4); setCurrentDpi gives all profiles the same one.
bool setProfileDpiStage(HidTransport& t, uchar profile, uchar stage);
bool readProfile(HidTransport& t, uchar* src128, uchar profileNo);
bool setCurrentProfile(HidTransport& t, uchar profile);
bool setMacroKey(HidTransport& t, uchar macroId, const uchar* src128);

} // namespace cmd560
