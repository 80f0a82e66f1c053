#include "app/device_change.h"

namespace {

// Windows broadcasts WM_DEVICECHANGE to top-level windows; the window host
// passes each one to notify().
class WindowMessageDeviceChangeSource : public DeviceChangeSource {
public:
    using DeviceChangeSource::DeviceChangeSource;
    bool start() override { return true; }
};

} // namespace

std::unique_ptr<DeviceChangeSource> makeDeviceChangeSource(QObject* parent)
{
    return std::make_unique<WindowMessageDeviceChangeSource>(parent);
}
