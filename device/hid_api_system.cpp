#include "device/hid_api_system.h"

#include "device/hid_log.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QtGlobal>
#include <hidapi.h>
#include <mutex>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

hid_device* dev(HidHandle h) { return reinterpret_cast<hid_device*>(h); }

// hidapi's text for the last failure on `device` (null: of the last open or
// enumeration).
QString hidError(hid_device* device)
{
    const wchar_t* text = hid_error(device);
    return text ? QString::fromWCharArray(text) : QStringLiteral("no reason given");
}

// Passes a call's result on; a negative one is logged with hidapi's reason.
int checked(int result, const char* call, HidHandle h)
{
    if (result < 0)
        qCWarning(lcHid).noquote() << call << "failed:" << hidError(dev(h));
    return result;
}

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
    qCWarning(lcHid, "cannot open %s: permission denied; install udev/60-korvex-stryde.rules (see README)",
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
            qCWarning(lcHid).noquote() << "hidapi could not be initialised:" << hidError(nullptr);
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
    if (!h) {
        qCWarning(lcHid).noquote() << "hid_open_path" << QString::fromLatin1(path) << "failed:" << hidError(nullptr);
#ifdef Q_OS_UNIX
        explainRefusedOpen(path);
#endif
    }
    return reinterpret_cast<HidHandle>(h);
}

int HidApiSystem::setNonblocking(HidHandle h, int nonblock)
{
    return h ? checked(hid_set_nonblocking(dev(h), nonblock), "hid_set_nonblocking", h) : -1;
}

int HidApiSystem::sendFeatureReport(HidHandle h, const unsigned char* data, size_t length)
{
    return h ? checked(hid_send_feature_report(dev(h), data, length), "hid_send_feature_report", h) : -1;
}

int HidApiSystem::getFeatureReport(HidHandle h, unsigned char* data, size_t length)
{
    return h ? checked(hid_get_feature_report(dev(h), data, length), "hid_get_feature_report", h) : -1;
}

int HidApiSystem::write(HidHandle h, const unsigned char* data, size_t length)
{
    return h ? checked(hid_write(dev(h), data, length), "hid_write", h) : -1;
}

int HidApiSystem::read(HidHandle h, unsigned char* data, size_t length)
{
    return h ? checked(hid_read(dev(h), data, length), "hid_read", h) : -1;
}

int HidApiSystem::readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds)
{
    return h ? checked(hid_read_timeout(dev(h), data, length, milliseconds), "hid_read_timeout", h) : -1;
}

void HidApiSystem::close(HidHandle h)
{
    if (h)
        hid_close(dev(h));
}
