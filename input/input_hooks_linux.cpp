// Capture on Linux: XInput2 raw key and button events on the root window of
// an own X connection, read on the GUI thread whenever the connection's
// socket has data. Raw events reach us whichever window has the focus. Under
// Wayland or without a display there is no such source; installInputHooks()
// then says so and the application falls back to the window's own events
// (see FallbackCapture).

#include "input/input_hooks.h"

#include "input/evdev_scan_codes.h"
#include "input/input_log.h"

#include <QGuiApplication>
#include <QSocketNotifier>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt's names: include
// it after Qt, and only here.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

struct InputHooks::Platform {
    Display* display = nullptr;
    int xiOpcode = 0;
    std::unique_ptr<QSocketNotifier> notifier;
    bool leftAlt = false;
    bool rightAlt = false;
};

void InputHooks::PlatformDeleter::operator()(Platform* p) const
{
    delete p;
}

namespace {

bool xinput2Available(Display* display, int* opcode)
{
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", opcode, &event, &error))
        return false;
    int major = 2;
    int minor = 2;   // 2.1 and later deliver raw events even while another client grabs
    return XIQueryVersion(display, &major, &minor) == Success && major >= 2;
}

void selectRawEvents(Display* display)
{
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
}

// Raw events carry no position: ask the server where the pointer is.
void pointerPosition(Display* display, qint32* x, qint32* y)
{
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &winX, &winY, &mask)) {
        *x = rootX;
        *y = rootY;
    }
}

} // namespace

bool InputHooks::installPlatformHooks()
{
    if (platformHooksInstalled())
        removePlatformHooks();

    if (qGuiApp && QGuiApplication::platformName() != QLatin1String("xcb")) {
        qCInfo(lcInput, "Input capture: no X11 session (platform %s); only the window's own key and mouse events are seen",
              qPrintable(QGuiApplication::platformName()));
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        qCInfo(lcInput, "Input capture: no X display; only the window's own key and mouse events are seen");
        return false;
    }
    int opcode = 0;
    if (!xinput2Available(display, &opcode)) {
        XCloseDisplay(display);
        qCInfo(lcInput, "Input capture: the X server has no XInput2; only the window's own key and mouse events are seen");
        return false;
    }
    selectRawEvents(display);

    if (!m_platform)
        m_platform.reset(new Platform);
    Platform* platform = m_platform.get();
    platform->display = display;
    platform->xiOpcode = opcode;
    platform->leftAlt = platform->rightAlt = false;
    platform->notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
    QObject::connect(platform->notifier.get(), &QSocketNotifier::activated, platform->notifier.get(), [this] {
        Platform* p = m_platform.get();
        while (p->display && XPending(p->display)) {
            XEvent event;
            XNextEvent(p->display, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != p->xiOpcode
                || !XGetEventData(p->display, cookie))
                continue;
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            switch (cookie->evtype) {
            case XI_RawKeyPress:
            case XI_RawKeyRelease: {
                const bool down = cookie->evtype == XI_RawKeyPress;
                const int evdev = raw->detail - 8;
                if (evdev == kEvdevLeftAlt)
                    p->leftAlt = down;
                else if (evdev == kEvdevRightAlt)
                    p->rightAlt = down;
                if (const auto key = keyTransitionFromXKeycode(raw->detail, down, p->leftAlt || p->rightAlt))
                    feedKey(*key);
                break;
            }
            case XI_RawButtonPress:
            case XI_RawButtonRelease:
                if (const auto msg = messageForXButton(raw->detail, cookie->evtype == XI_RawButtonPress)) {
                    MouseMessage m;
                    m.message = *msg;
                    pointerPosition(p->display, &m.x, &m.y);
                    feedMouse(m);
                }
                break;
            default:
                break;
            }
            XFreeEventData(p->display, cookie);
        }
    });
    return true;
}

void InputHooks::removePlatformHooks()
{
    if (!m_platform)
        return;
    m_platform->notifier.reset();
    if (m_platform->display) {
        XCloseDisplay(m_platform->display);
        m_platform->display = nullptr;
    }
}

bool InputHooks::platformHooksInstalled() const
{
    return m_platform && m_platform->display;
}

void InputHooks::installPlatformCopyDataFilter(QCoreApplication* application)
{
    // No WM_COPYDATA here: the text comes through the single-instance channel.
    Q_UNUSED(application);
}
