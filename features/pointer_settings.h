#pragma once
// The system settings page's pointer speed, double-click speed and wheel
// scroll lines. The page speaks in slider levels 0-10; the system wants a
// pointer speed and a time in milliseconds. These do not talk to the mouse.

#include "features/pointer_backend.h"

#include <QtGlobal>

#include <memory>

class PointerSettings {
public:
    static constexpr uint kTopLevel = 10;

    // Without a backend every setting fails (and says so).
    explicit PointerSettings(std::unique_ptr<PointerBackend> backend) : m_backend(std::move(backend)) {}

    // Level 0-10 -> pointer speed 1, 2, 4, ... 20.
    void mouseSetCursorSpeed(uint cursorSpeed);
    // `lines` unchanged; 1000 means one screen per notch.
    void mouseSetVerticalScrollLines(uint lines);
    // Level 0-10 -> double-click time 900, 830, ... 200 ms.
    void mouseSetDoubleClickSpeed(uint speed);

    // Levels above 10 count as 10: beyond it the speed leaves the system's
    // range and the double-click time would wrap around to billions of ms.
    static constexpr uint cursorSpeedValue(uint level)
    {
        const uint speed = 2 * (level < kTopLevel ? level : kTopLevel);
        return speed == 0 ? 1 : speed;
    }
    static constexpr uint doubleClickTime(uint level)
    {
        return 900 - 70 * (level < kTopLevel ? level : kTopLevel);
    }

    PointerBackend* backend() const { return m_backend.get(); }

private:
    std::unique_ptr<PointerBackend> m_backend;
};

static_assert(PointerSettings::cursorSpeedValue(0) == 1 && PointerSettings::cursorSpeedValue(10) == 20,
              "pointer speed spans the system's 1-20");
static_assert(PointerSettings::doubleClickTime(0) == 900 && PointerSettings::doubleClickTime(10) == 200,
              "double-click time spans 900-200 ms");
