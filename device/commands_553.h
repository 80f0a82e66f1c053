#pragma once
// Commands of the 553 controller family (also the 00H handshake, which both
// families answer). Each returns whether the mouse was reached: false when
// the link stayed busy or the exchange failed. A read that fails leaves the
// caller's variables as they were.

#include "device/frame.h"

class HidTransport;

namespace cmd553 {

bool getSecrecyCode(HidTransport& t, uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
bool getKeyboardOption(HidTransport& t, uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
bool getCurrentDpi(HidTransport& t, uchar& byte1);
bool setKeyboardOption(HidTransport& t, uchar byte1, uchar byte2, uchar byte3, uchar byte4);
bool setGunData(HidTransport& t, uchar byte1, uchar byte2, uchar byte3, uchar byte4);
bool setReportRate(HidTransport& t, uchar rate);
bool setCurrentDpi(HidTransport& t, uchar stage);
bool setLiftOff(HidTransport& t, uchar stage);
bool setKeyMatrix(HidTransport& t, const uchar* src64, uchar indexAddOne);
bool setMacroKey(HidTransport& t, uchar macroId, const uchar* src128);
bool setDpiSet(HidTransport& t, uchar dpiStage, const uchar* src8);
bool setCurrentKeyMatrix(HidTransport& t, uchar currentKeyMatrix);
bool setRgbLedEffect(HidTransport& t, uchar effect, uchar option1, uchar option2);
bool setFixLedColor(HidTransport& t, const uchar* src3);
bool setLed8StageColor(HidTransport& t, uchar type, const uchar* src24);

} // namespace cmd553
