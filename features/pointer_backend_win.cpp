// Windows: the three settings through SystemParametersInfoW, written to the
// user profile and broadcast to running programs.

#include "features/pointer_backend.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>

namespace {

// SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
constexpr UINT kSaveAndBroadcast = 3;
static_assert(kSaveAndBroadcast == (SPIF_UPDATEINIFILE | SPIF_SENDCHANGE), "save and broadcast");

class WinPointerBackend : public PointerBackend {
public:
    bool setMouseSpeed(unsigned int speed) override
    {
        // SPI_SETMOUSESPEED takes the value itself in the pointer argument.
        return SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                                     reinterpret_cast<PVOID>(static_cast<std::uintptr_t>(speed)),
                                     kSaveAndBroadcast) != 0;
    }
    bool setDoubleClickTime(unsigned int milliseconds) override
    {
        return SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, milliseconds, nullptr, kSaveAndBroadcast) != 0;
    }
    bool setWheelScrollLines(unsigned int lines) override
    {
        return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, kSaveAndBroadcast) != 0;
    }
};

static_assert(SPI_SETMOUSESPEED == 0x71 && SPI_SETDOUBLECLICKTIME == 0x20 && SPI_SETWHEELSCROLLLINES == 0x69,
              "the actions the system settings page uses");

} // namespace

std::unique_ptr<PointerBackend> makePointerBackend()
{
    return std::make_unique<WinPointerBackend>();
}
