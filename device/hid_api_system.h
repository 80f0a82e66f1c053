#pragma once
// The HidApi seam on the real hidapi library (hidraw on Linux). The only
// place that includes hidapi.h. A failed call is logged (category stryde.hid)
// with hidapi's own description of the failure.

#include "device/hid_api.h"

class HidApiSystem : public HidApi {
public:
    // Initialises hidapi once per process.
    HidApiSystem();

    QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    // On Unix, a node that exists but may not be opened for reading and
    // writing gets one warning per path naming the udev rule to install.
    HidHandle openPath(const QByteArray& path) override;
    int setNonblocking(HidHandle h, int nonblock) override;
    int sendFeatureReport(HidHandle h, const unsigned char* data, size_t length) override;
    int getFeatureReport(HidHandle h, unsigned char* data, size_t length) override;
    int write(HidHandle h, const unsigned char* data, size_t length) override;
    int read(HidHandle h, unsigned char* data, size_t length) override;
    int readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds) override;
    void close(HidHandle h) override;
};
