// Capture on Windows: two low-level hooks, keyboard and mouse, installed for
// all threads from the GUI thread. Windows calls them on that thread while it
// pumps messages; they only translate and hand over, and always pass the
// event on. The copy-data filter takes WM_COPYDATA messages sent to our
// windows by other programs.

#include "input/input_hooks.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include <qt_windows.h>

namespace {

// The hook handles are process-wide: the hook procedures have no context.
HHOOK s_keyboardHook = nullptr;
HHOOK s_mouseHook = nullptr;

LRESULT CALLBACK keyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    InputHooks* hooks = InputHooks::live();
    if (hooks && record) {
        KeyTransition key;
        key.down = KeyTranslator::isPress(code, quint32(wParam));
        key.scanCode = quint32(record->scanCode);
        key.extended = (record->flags & LLKHF_EXTENDED) != 0;
        key.altDown = (record->flags & LLKHF_ALTDOWN) != 0;
        hooks->feedKey(key);
    }
    return CallNextHookEx(s_keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK mouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* record = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    InputHooks* hooks = InputHooks::live();
    if (hooks && record) {
        MouseMessage message;
        message.message = quint32(wParam);
        message.x = qint32(record->pt.x);
        message.y = qint32(record->pt.y);
        hooks->feedMouse(message);
    }
    return CallNextHookEx(s_mouseHook, code, wParam, lParam);
}

void unhookAll()
{
    if (s_keyboardHook)
        UnhookWindowsHookEx(s_keyboardHook);
    if (s_mouseHook)
        UnhookWindowsHookEx(s_mouseHook);
    s_keyboardHook = nullptr;
    s_mouseHook = nullptr;
}

class CopyDataFilter : public QAbstractNativeEventFilter {
public:
    explicit CopyDataFilter(InputHooks* hooks) : m_hooks(hooks) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override
    {
        if (eventType != "windows_generic_MSG")   // sent messages, WM_COPYDATA among them
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (!msg || msg->message != WM_COPYDATA)
            return false;
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(msg->lParam);
        CopyDataMessage data;
        if (cds) {
            data.dwData = quintptr(cds->dwData);
            data.cbData = quint32(cds->cbData);
            data.lpData = cds->lpData;
        }
        if (!m_hooks->deliverCopyData(data))
            return false;
        if (result)
            *result = 1;
        return true;
    }

private:
    InputHooks* m_hooks;
};

} // namespace

struct InputHooks::Platform {
    QCoreApplication* application = nullptr;
    std::unique_ptr<CopyDataFilter> filter;

    ~Platform()
    {
        if (application && filter)
            application->removeNativeEventFilter(filter.get());
    }
};

void InputHooks::PlatformDeleter::operator()(Platform* p) const
{
    delete p;
}

bool InputHooks::installPlatformHooks()
{
    if (s_keyboardHook || s_mouseHook)
        unhookAll();
    const HMODULE self = GetModuleHandleW(nullptr);
    s_keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardProc, self, 0);
    s_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, mouseProc, self, 0);
    if (s_keyboardHook && s_mouseHook)
        return true;
    unhookAll();
    return false;
}

void InputHooks::removePlatformHooks()
{
    unhookAll();
}

bool InputHooks::platformHooksInstalled() const
{
    return s_keyboardHook && s_mouseHook;
}

void InputHooks::installPlatformCopyDataFilter(QCoreApplication* application)
{
    if (!application)
        return;
    if (!m_platform)
        m_platform.reset(new Platform);
    Platform* p = m_platform.get();
    if (p->application && p->filter)
        p->application->removeNativeEventFilter(p->filter.get());
    p->application = application;
    p->filter = std::make_unique<CopyDataFilter>(this);
    application->installNativeEventFilter(p->filter.get());
}
