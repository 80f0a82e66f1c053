#pragma once
// Pointer settings through GNOME's settings (org.gnome.desktop.peripherals.mouse),
// set with the gsettings tool. GNOME has a pointer speed and a double-click
// time but no wheel scroll lines. Each call waits for the tool a bounded
// time, so a stuck tool cannot freeze the window.

#include "features/pointer_backend.h"

#include <QString>
#include <QtGlobal>

class GsettingsPointerBackend : public PointerBackend {
public:
    static constexpr int kDefaultTimeoutMs = 1500;

    // `program`: the tool, looked up in PATH unless it is an absolute path.
    explicit GsettingsPointerBackend(const QString& program = QStringLiteral("gsettings"),
                                     int timeoutMs = kDefaultTimeoutMs);

    // GNOME's speed runs from -1 to 1 with 0 as its default; the system speed
    // 10 (the middle of the page's slider) lands on 0, 20 on 1.
    bool setMouseSpeed(uint speed) override;
    bool setDoubleClickTime(uint milliseconds) override;
    // GNOME has no such setting: always false.
    bool setWheelScrollLines(uint lines) override;

    // The text of GNOME's speed for a system speed of 1-20.
    static QString gnomeSpeed(uint speed);

private:
    bool set(const QString& key, const QString& value) const;

    QString m_program;
    int m_timeoutMs;
};
