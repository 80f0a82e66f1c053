#include "app/device_change.h"

#include "app/app_log.h"

#include <QSocketNotifier>

#include <libudev.h>

namespace {

// Plugging or unplugging any HID device adds or removes a hidraw node.
class UdevDeviceChangeSource : public DeviceChangeSource {
public:
    using DeviceChangeSource::DeviceChangeSource;

    ~UdevDeviceChangeSource() override
    {
        delete m_notifier;
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        if (m_udev)
            udev_unref(m_udev);
    }

    bool start() override
    {
        if (m_monitor)
            return true;
        m_udev = udev_new();
        if (!m_udev)
            return fail("no udev context");
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
        if (!m_monitor)
            return fail("no udev monitor");
        if (udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0
            || udev_monitor_enable_receiving(m_monitor) < 0)
            return fail("cannot watch the hidraw subsystem");
        m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            if (udev_device* dev = udev_monitor_receive_device(m_monitor)) {
                udev_device_unref(dev);
                emit deviceChanged();
            }
        });
        return true;
    }

private:
    bool fail(const char* why)
    {
        qCInfo(lcApp) << "device changes are not watched:" << why;
        if (m_monitor) {
            udev_monitor_unref(m_monitor);
            m_monitor = nullptr;
        }
        return false;
    }

    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace

std::unique_ptr<DeviceChangeSource> makeDeviceChangeSource(QObject* parent)
{
    return std::make_unique<UdevDeviceChangeSource>(parent);
}
