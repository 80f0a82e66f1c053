#pragma once
// Notifications that the set of HID devices may have changed. On Linux a udev
// monitor on the hidraw subsystem; on Windows the window's WM_DEVICECHANGE
// messages, which the window host feeds in through notify().

#include <QObject>
#include <memory>

class DeviceChangeSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts watching; false when this system offers no notifications (the
    // program then only checks at start and when asked).
    virtual bool start() = 0;
    // Reports a change found by other means (a native message, the virtual mouse).
    void notify() { emit deviceChanged(); }

signals:
    void deviceChanged();
};

std::unique_ptr<DeviceChangeSource> makeDeviceChangeSource(QObject* parent = nullptr);
