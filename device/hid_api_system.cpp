#include "device/hid_api_system.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QtGlobal>
#include <hidapi/hidapi.h>
#include <mutex>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

hid_device* dev(HidHandle h) { return reinterpret_cast<hid_device*>(h); }

#ifdef Q_OS_UNIX
// Without the udev rule the hidraw nodes belong to root; say so once per node
// instead of failing silently on every command.
void explainRefusedOpen(const QByteArray& path)
{
    if (::access(path.constData(), F_OK) != 0)
        return;
    if (::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES)
        return;
    static QMutex mutex;
    static QSet<QByteArray> warned;
    QMutexLocker lock(&mutex);
    if (warned.contains(path))
        return;
    warned.insert(path);
    qWarning("cannot open %s: permission denied; install udev/60-korvex-stryde.rules (see README)",
             path.constData());
}
#endif

} // namespace

HidApiSystem::HidApiSystem()
{
    // hidapi keeps process-wide state; it is released by the system at exit.
    static std::once_flag once;
    std::call_once(once, [] {
        if (hid_init() != 0)
            qWarning("hidapi could not be initialised");
    });
}

QList<HidInterfaceInfo> HidApiSystem::enumerate(quint16 vendorId, quint16 productId)
{
    QList<HidInterfaceInfo> list;
    hid_device_info* all = hid_enumerate(vendorId, productId);
    for (hid_device_info* d = all; d; d = d->next) {
        HidInterfaceInfo info;
        info.path = QByteArray(d->path ? d->path : "");
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.usagePage = d->usage_page;
        info.usage = d->usage;
        info.interfaceNumber = d->interface_number;
        list.append(info);
    }
    hid_free_enumeration(all);
    return list;
}

HidHandle HidApiSystem::openPath(const QByteArray& path)
{
    hid_device* h = hid_open_path(path.constData());
#ifdef Q_OS_UNIX
    if (!h)
        explainRefusedOpen(path);
#endif
    return reinterpret_cast<HidHandle>(h);
}

int HidApiSystem::setNonblocking(HidHandle h, int nonblock)
{
    return h ? hid_set_nonblocking(dev(h), nonblock) : -1;
}

int HidApiSystem::sendFeatureReport(HidHandle h, const unsigned char* data, size_t length)
{
    return h ? hid_send_feature_report(dev(h), data, length) : -1;
}

int HidApiSystem::getFeatureReport(HidHandle h, unsigned char* data, size_t length)
{
    return h ? hid_get_feature_report(dev(h), data, length) : -1;
}

int HidApiSystem::write(HidHandle h, const unsigned char* data, size_t length)
{
    return h ? hid_write(dev(h), data, length) : -1;
}

int HidApiSystem::read(HidHandle h, unsigned char* data, size_t length)
{
    return h ? hid_read(dev(h), data, length) : -1;
}

int HidApiSystem::readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds)
{
    return h ? hid_read_timeout(dev(h), data, length, milliseconds) : -1;
}

void HidApiSystem::close(HidHandle h)
{
    if (h)
        hid_close(dev(h));
}
