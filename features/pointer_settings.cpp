#include "features/pointer_settings.h"

#include "features/features_log.h"

void PointerSettings::mouseSetCursorSpeed(uint cursorSpeed)
{
    if (!m_backend || !m_backend->setMouseSpeed(cursorSpeedValue(cursorSpeed)))
        qCDebug(lcFeatures, "setCursorSpeed Failed");
}

void PointerSettings::mouseSetVerticalScrollLines(uint lines)
{
    if (!m_backend || !m_backend->setWheelScrollLines(lines))
        qCDebug(lcFeatures, "setVerticalScrollLines Failed");
}

void PointerSettings::mouseSetDoubleClickSpeed(uint speed)
{
    if (!m_backend || !m_backend->setDoubleClickTime(doubleClickTime(speed)))
        qCDebug(lcFeatures, "setDoubleClickSpeed Failed");
}
