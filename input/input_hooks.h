#pragma once
// System-wide keyboard and mouse capture and the copy-data filter. The
// platform layer (a low-level hook on Windows, XInput2 raw events on X11)
// turns what it sees into key transitions and mouse messages and feeds them
// to feedKey()/feedMouse(); any other source (the window's own events, a
// test) can feed the same. Reports go to plain function + context pairs, so
// the capture knows nothing of the window that receives them.

#include "input/copy_data.h"
#include "input/key_translator.h"
#include "input/mouse_translation.h"

#include <memory>

class QCoreApplication;

class InputHooks {
public:
    using KeyboardCallback = void (*)(quint8 usage, quint8 isDown, void* context);
    using MouseCallback = void (*)(quint8 buttonCode, quint8 isDown, qint32 x, qint32 y, void* context);
    using CopyDataCallback = void (*)(const CopyDataMessage* message, void* context);

    // Builds the tables for `layoutOption` (the application passes 0) and
    // becomes the live instance. Installs nothing: call installInputHooks().
    explicit InputHooks(quint8 layoutOption = 0);
    // Removes the hooks and the copy-data filter.
    ~InputHooks();
    InputHooks(const InputHooks&) = delete;
    InputHooks& operator=(const InputHooks&) = delete;

    quint8 layoutOption() const { return m_layoutOption; }

    // Builds both tables afresh, then installs the keyboard and the mouse
    // capture (removing any earlier one first). True when both are in place;
    // false, with nothing installed, otherwise. Without capture nothing is
    // reported, unless another source feeds the events.
    bool installInputHooks();
    // Removes the keyboard capture, then the mouse capture. Safe to repeat.
    void removeInputHooks();
    bool hooksInstalled() const;

    // Store the pair; reports go to `function(..., context)`. Null clears.
    void setKeyboardCallback(KeyboardCallback function, void* context);
    void setMouseCallback(MouseCallback function, void* context);
    // Stores the pair and, on Windows, installs the WM_COPYDATA filter on
    // `application`. Elsewhere the text arrives by another channel, which
    // hands it to deliverCopyData().
    void installCopyDataFilter(CopyDataCallback function, QCoreApplication* application, void* context);

    // Translates one key transition; a report reaches the keyboard callback.
    // The key state changes even while no callback is registered.
    void feedKey(const KeyTransition& key);
    // Translates one mouse message; a report reaches the mouse callback.
    void feedMouse(const MouseMessage& message);
    // Hands a copy-data message to its callback. True when one is registered
    // (the message is then consumed, whatever it holds).
    bool deliverCopyData(const CopyDataMessage& message);

    const KeyTranslator& translator() const { return m_translator; }

    // The instance the platform's hook procedures report to (the latest
    // one constructed and not yet destroyed); null when there is none.
    static InputHooks* live();

private:
    struct Platform;
    struct PlatformDeleter {
        void operator()(Platform* p) const;
    };

    // Platform layer, in input_hooks_win.cpp or input_hooks_linux.cpp.
    bool installPlatformHooks();
    void removePlatformHooks();
    bool platformHooksInstalled() const;
    void installPlatformCopyDataFilter(QCoreApplication* application);

    quint8 m_layoutOption = 0;
    KeyTranslator m_translator;
    KeyboardCallback m_keyboard = nullptr;
    void* m_keyboardContext = nullptr;
    MouseCallback m_mouse = nullptr;
    void* m_mouseContext = nullptr;
    CopyDataCallback m_copyData = nullptr;
    void* m_copyDataContext = nullptr;
    std::unique_ptr<Platform, PlatformDeleter> m_platform;
};
