#include "input/mouse_translation.h"

namespace {

struct ButtonRow {
    quint32 message;
    quint8 buttonCode;   // 0: ignored
    quint8 isDown;
};

constexpr ButtonRow kButtons[] = {
    {MouseMessages::LButtonDown, 0xF0, 1},
    {MouseMessages::LButtonUp, 0xF0, 0},
    {MouseMessages::LButtonDblClk, 0, 0},
    {MouseMessages::RButtonDown, 0xF1, 1},
    {MouseMessages::RButtonUp, 0xF1, 0},
    {MouseMessages::RButtonDblClk, 0, 0},
    {MouseMessages::MButtonDown, 0xF2, 1},
    {MouseMessages::MButtonUp, 0xF2, 0},
};

struct XButtonRow {
    int button;
    quint32 down;
    quint32 up;
};

constexpr XButtonRow kXButtons[] = {
    {1, MouseMessages::LButtonDown, MouseMessages::LButtonUp},
    {2, MouseMessages::MButtonDown, MouseMessages::MButtonUp},
    {3, MouseMessages::RButtonDown, MouseMessages::RButtonUp},
};

} // namespace

std::optional<MouseReport> translateMouseMessage(const MouseMessage& message)
{
    for (const ButtonRow& row : kButtons) {
        if (row.message != message.message)
            continue;
        if (row.buttonCode == 0)
            return std::nullopt;
        return MouseReport{row.buttonCode, row.isDown, message.x, message.y};
    }
    return std::nullopt;
}

std::optional<quint32> messageForXButton(int button, bool down)
{
    for (const XButtonRow& row : kXButtons) {
        if (row.button == button)
            return down ? row.down : row.up;
    }
    return std::nullopt;
}
