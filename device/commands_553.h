#pragma once
// Commands of the 553 controller family (also the 00H handshake, which both
// families answer).

#include "device/frame.h"

class HidTransport;

namespace cmd553 {

void getSecrecyCode(HidTransport& t, uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
void getKeyboardOption(HidTransport& t, uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
void getCurrentDpi(HidTransport& t, uchar& byte1);
void setKeyboardOption(HidTransport& t, uchar byte1, uchar byte2, uchar byte3, uchar byte4);
void setGunData(HidTransport& t, uchar byte1, uchar byte2, uchar byte3, uchar byte4);
void setReportRate(HidTransport& t, uchar rate);
void setCurrentDpi(HidTransport& t, uchar stage);
void setLiftOff(HidTransport& t, uchar stage);
void setKeyMatrix(HidTransport& t, const uchar* src64, uchar indexAddOne);
void setMacroKey(HidTransport& t, uchar macroId, const uchar* src128);
void setDpiSet(HidTransport& t, uchar dpiStage, const uchar* src8);
void setCurrentKeyMatrix(HidTransport& t, uchar currentKeyMatrix);
void setRgbLedEffect(HidTransport& t, uchar effect, uchar option1, uchar option2);
void setFixLedColor(HidTransport& t, const uchar* src3);
void setLed8StageColor(HidTransport& t, uchar type, const uchar* src24);

} // namespace cmd553
