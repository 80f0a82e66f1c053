#include "features/pointer_settings.h"

#include <QDebug>

void PointerSettings::mouseSetCursorSpeed(uint cursorSpeed)
{
    if (!m_backend || !m_backend->setMouseSpeed(cursorSpeedValue(cursorSpeed)))
        qDebug("setCursorSpeed Failed");
}

void PointerSettings::mouseSetVerticalScrollLines(uint lines)
{
    if (!m_backend || !m_backend->setWheelScrollLines(lines))
        qDebug("setVerticalScrollLines Failed");
}

void PointerSettings::mouseSetDoubleClickSpeed(uint speed)
{
    if (!m_backend || !m_backend->setDoubleClickTime(doubleClickTime(speed)))
        qDebug("setDoubleClickSpeed Failed");
}
