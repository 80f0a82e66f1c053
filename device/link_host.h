#pragma once
// What the device link asks of the program that hosts it. The link never
// includes the window or the view; the application hands it one of these.

#include <QString>

class LinkHost {
public:
    virtual ~LinkHost() = default;
    // The mouse has recoil presets (global setting mouse/isGun): the 560
    // profile-wide commands then write profile 1 only.
    virtual bool isGun() const = 0;
    // Called on the listener's thread: the mouse's DPI button made `stage`
    // current; `notice` is the tray text for it. The host brings both to the
    // GUI thread.
    virtual void dpiSwitched(int stage, const QString& notice) { Q_UNUSED(stage); Q_UNUSED(notice); }
    // Called on the listener's thread: the report interface is gone (the
    // mouse was unplugged); the host disables the view on the GUI thread.
    virtual void deviceRemoved() {}
    // GUI thread: profile block `block` did not read back as written, also
    // after it was written once more; the mouse may not hold what was saved.
    virtual void writeNotVerified(int block) { Q_UNUSED(block); }
};
