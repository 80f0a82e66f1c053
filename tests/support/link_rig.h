#pragma once
// A device link wired to a virtual mouse on a virtual clock, with the HID
// trace captured in memory: what the app does, without hardware or waiting.

#include "data_fixture.h"
#include "device/clock.h"
#include "device/hid_thread.h"
#include "device/link_host.h"
#include "device/tracing_hid_api.h"
#include "device/virtual_mouse.h"

#include <QBuffer>
#include <QStringList>
#include <memory>

struct TraceEvent {
    qint64 ms = 0;
    QString event;
    QString iface;
    QByteArray bytes;
};

// The events of one kind ("write", "set-feature", ...), in order.
inline QList<TraceEvent> eventsNamed(const QList<TraceEvent>& events, const QString& name)
{
    QList<TraceEvent> out;
    for (const TraceEvent& e : events)
        if (e.event == name)
            out.append(e);
    return out;
}

// The exchanges of write commands, in order: the reads (the read-back of a
// profile block after it is written among them) left out.
inline QList<VirtualExchange> writesOf(const QList<VirtualExchange>& exchanges)
{
    QList<VirtualExchange> out;
    for (const VirtualExchange& e : exchanges) {
        const uchar code = e.frame.isEmpty() ? 0 : uchar(e.frame.at(0));
        if (code != 0x00 && code < 0x80)
            out.append(e);
    }
    return out;
}

class FakeLinkHost : public LinkHost {
public:
    bool gun = false;
    bool isGun() const override { return gun; }
};

struct CatalogueEntry {
    int type = 1;
    QString sCode = QStringLiteral("386514");
    bool isEncode = false;
    int reportLength = 32;          // 0 leaves the key out
};

class LinkRig {
public:
    // A mouse of `family` whose identity matches catalogue entry 1 of the
    // installed catalogue (`isEncode`, `reportLength` applied to both).
    explicit LinkRig(int family = 553, bool isEncode = false, int reportLength = 32);

    // Replaces the catalogue with these entries, all with the mouse's ids.
    void writeCatalogue(const QList<CatalogueEntry>& entries);
    int check() { return hid.checkDevices(apConfig()); }
    QString apConfig() const { return fixture.path(QStringLiteral("modules/setting/apConfig.bin")); }

    QList<TraceEvent> trace() const;
    QList<TraceEvent> traceSince(int index) const { return trace().mid(index); }
    int traceSize() const { return trace().size(); }
    // Every "open" has its "close".
    bool opensClosed() const;

    DataFixture fixture;
    VirtualClock clock;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<TracingHidApi> tracer;
    QBuffer traceBuffer;
    FakeLinkHost host;
    std::unique_ptr<Hid_Thread> hidPtr;
    Hid_Thread& hid;
private:
    Hid_Thread& make(int family, bool isEncode, int reportLength);
};
