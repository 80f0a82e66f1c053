#pragma once
// What the device link asks of the program that hosts it. The link never
// includes the window or the view; the application hands it one of these.

class LinkHost {
public:
    virtual ~LinkHost() = default;
    // The mouse has recoil presets (global setting mouse/isGun): the 560
    // profile-wide commands then write profile 1 only.
    virtual bool isGun() const = 0;
};
