#include "input/input_hooks.h"

namespace {
InputHooks* s_live = nullptr;
}

InputHooks::InputHooks(quint8 layoutOption)
    : m_layoutOption(layoutOption)
    , m_translator(layoutOption)
{
    s_live = this;
}

InputHooks::~InputHooks()
{
    removeInputHooks();
    m_platform.reset();
    if (s_live == this)
        s_live = nullptr;
}

InputHooks* InputHooks::live()
{
    return s_live;
}

bool InputHooks::installInputHooks()
{
    s_live = this;
    m_translator.buildTables(m_layoutOption);
    return installPlatformHooks();
}

void InputHooks::removeInputHooks()
{
    removePlatformHooks();
}

bool InputHooks::hooksInstalled() const
{
    return platformHooksInstalled();
}

void InputHooks::setKeyboardCallback(KeyboardCallback function, void* context)
{
    m_keyboard = function;
    m_keyboardContext = context;
}

void InputHooks::setMouseCallback(MouseCallback function, void* context)
{
    m_mouse = function;
    m_mouseContext = context;
}

void InputHooks::installCopyDataFilter(CopyDataCallback function, QCoreApplication* application, void* context)
{
    m_copyData = function;
    m_copyDataContext = context;
    installPlatformCopyDataFilter(application);
}

void InputHooks::feedKey(const KeyTransition& key)
{
    const std::optional<KeyReport> report = m_translator.translate(key);
    if (report && m_keyboard)
        m_keyboard(report->usage, report->isDown, m_keyboardContext);
}

void InputHooks::feedMouse(const MouseMessage& message)
{
    const std::optional<MouseReport> report = translateMouseMessage(message);
    if (report && m_mouse)
        m_mouse(report->buttonCode, report->isDown, report->x, report->y, m_mouseContext);
}

bool InputHooks::deliverCopyData(const CopyDataMessage& message)
{
    if (!m_copyData)
        return false;
    m_copyData(&message, m_copyDataContext);
    return true;
}
