#include "input/fallback_capture.h"

#include "input/input_hooks.h"
#include "input/qt_input_events.h"

#include <QKeyEvent>
#include <QMouseEvent>

FallbackCapture::FallbackCapture(InputHooks& hooks, QObject* parent)
    : QObject(parent)
    , m_hooks(hooks)
{
}

bool FallbackCapture::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (const auto key = keyTransitionFromQt(*static_cast<QKeyEvent*>(event)))
            m_hooks.feedKey(*key);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (const auto message = mouseMessageFromQt(*static_cast<QMouseEvent*>(event)))
            m_hooks.feedMouse(*message);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
