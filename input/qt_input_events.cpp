#include "input/qt_input_events.h"

#include "input/evdev_scan_codes.h"

#include <QKeyEvent>
#include <QMouseEvent>

std::optional<KeyTransition> keyTransitionFromQt(const QKeyEvent& event)
{
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease)
        return std::nullopt;
    const bool down = event.type() == QEvent::KeyPress;
    const bool alt = event.modifiers().testFlag(Qt::AltModifier);
    const quint32 native = event.nativeScanCode();
    if (native == 0)
        return std::nullopt;   // synthesised: no physical key behind it
#ifdef Q_OS_WIN
    KeyTransition key;
    key.scanCode = native & 0xFF;
    key.extended = (native & 0x100) != 0;
    key.altDown = alt;
    key.down = down;
    return key;
#else
    return keyTransitionFromXKeycode(int(native), down, alt);
#endif
}

namespace {

struct QtButtonRow {
    Qt::MouseButton button;
    quint32 press;
    quint32 release;
    quint32 doubleClick;
};

constexpr QtButtonRow kQtButtons[] = {
    {Qt::LeftButton, MouseMessages::LButtonDown, MouseMessages::LButtonUp, MouseMessages::LButtonDblClk},
    {Qt::RightButton, MouseMessages::RButtonDown, MouseMessages::RButtonUp, MouseMessages::RButtonDblClk},
    // The middle button has no double-click message: its second press is enough.
    {Qt::MiddleButton, MouseMessages::MButtonDown, MouseMessages::MButtonUp, 0},
};

} // namespace

std::optional<MouseMessage> mouseMessageFromQt(const QMouseEvent& event)
{
    for (const QtButtonRow& row : kQtButtons) {
        if (row.button != event.button())
            continue;
        MouseMessage m;
        switch (event.type()) {
        case QEvent::MouseButtonPress:
            m.message = row.press;
            break;
        case QEvent::MouseButtonRelease:
            m.message = row.release;
            break;
        case QEvent::MouseButtonDblClick:
            m.message = row.doubleClick;
            break;
        default:
            return std::nullopt;
        }
        if (m.message == 0)
            return std::nullopt;
        const QPoint global = event.globalPosition().toPoint();
        m.x = global.x();
        m.y = global.y();
        return m;
    }
    return std::nullopt;
}
