#pragma once
// Commands of the 560 controller family: settings live in five 128-byte
// on-board profile blocks; report rate and DPI stage are set per profile.

#include "device/frame.h"

#include <functional>

class HidTransport;

namespace cmd560 {

void getKeyboardOption(HidTransport& t, uchar& byte1, uchar& byte2);
void getCurrentProfile(HidTransport& t, uchar& byte1);
void getCurrentDpi(HidTransport& t, uchar& byte1, uchar& byte2);
void setKeyboardOption(HidTransport& t, uchar byte1, uchar byte2);
// `singleProfile` is asked after each frame; true ends the loop after profile 1.
void setReportRate(HidTransport& t, uchar rate, const std::function<bool()>& singleProfile);
void setCurrentDpi(HidTransport& t, uchar stage, const std::function<bool()>& singleProfile);
void setKeyMatrix(HidTransport& t, const uchar* src64, uchar indexAddOne);
void setProfile(HidTransport& t, const uchar* src128, uchar profileData);
void readProfile(HidTransport& t, uchar* src128, uchar profileNo);
void setCurrentProfile(HidTransport& t, uchar profile);
void setMacroKey(HidTransport& t, uchar macroId, const uchar* src128);

} // namespace cmd560
