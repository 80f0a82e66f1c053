#pragma once
// What the device link asks of the layer above before it changes a mouse.
// The transport calls it once per mouse (vendor and product id) in the life
// of the link, just before the first write reaches that mouse; the handshake
// and the reads are not writes. The program uses it to keep a copy of what
// the mouse held.

class HidTransport;

class WriteGuard {
public:
    virtual ~WriteGuard() = default;
    // Called while the command that is about to write holds the link.
    // Read commands run on `link` from here use that hold: they neither wait
    // for the link nor free it. The guard must not write and must not let
    // GUI events run (the hold is lent to this call alone). Whatever it does,
    // the write goes ahead afterwards.
    virtual void beforeFirstWrite(HidTransport& link) = 0;
};
