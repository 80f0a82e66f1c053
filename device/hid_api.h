#pragma once
// The seam between the device link and hidapi. HidApiSystem calls hidapi,
// VirtualMouse emulates a mouse, TracingHidApi records every call of another.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>

struct HidDeviceTag;
using HidHandle = HidDeviceTag*;   // opaque; null means "no handle"

struct HidInterfaceInfo {
    QByteArray path;
    quint16 vendorId = 0;
    quint16 productId = 0;
    quint16 usagePage = 0;
    quint16 usage = 0;
    int interfaceNumber = -1;
};

// Which interface of a mouse a path belongs to; only used to label traces.
enum class HidRole { Unknown, Command, Report };

class HidApi {
public:
    virtual ~HidApi() = default;
    // All HID interfaces with this vendor and product id, in the system's order.
    virtual QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) = 0;
    // Opens one interface; null when it is gone or cannot be opened.
    virtual HidHandle openPath(const QByteArray& path) = 0;
    // 0 = blocking reads. Returns -1 on error.
    virtual int setNonblocking(HidHandle h, int nonblock) = 0;
    // data[0] is the report id. Returns the bytes sent or -1.
    virtual int sendFeatureReport(HidHandle h, const unsigned char* data, size_t length) = 0;
    // data[0] holds the report id on entry. Returns the bytes read (id included) or -1.
    virtual int getFeatureReport(HidHandle h, unsigned char* data, size_t length) = 0;
    // One output report, data[0] the report id. Returns the bytes written or -1.
    virtual int write(HidHandle h, const unsigned char* data, size_t length) = 0;
    // One input report, blocking. Returns the bytes read or -1.
    virtual int read(HidHandle h, unsigned char* data, size_t length) = 0;
    // One input report, waiting at most `milliseconds`. Returns the bytes read, 0 on time-out, -1 on error.
    virtual int readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds) = 0;
    // Closes a handle from openPath; null is ignored.
    virtual void close(HidHandle h) = 0;
    // Tells the layer what a path is used for (labels traces and messages); ignoring it is fine.
    virtual void notePathRole(const QByteArray& path, HidRole role) { Q_UNUSED(path); Q_UNUSED(role); }
};
