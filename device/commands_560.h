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
bool setProfile(HidTransport& t, const uchar* src128, uchar profileData);
bool readProfile(HidTransport& t, uchar* src128, uchar profileNo);
bool setCurrentProfile(HidTransport& t, uchar profile);
bool setMacroKey(HidTransport& t, uchar macroId, const uchar* src128);

} // namespace cmd560
