#include "device/tracing_hid_api.h"

#include "device/clock.h"

#include <QFile>
#include <QMutexLocker>

TracingHidApi::TracingHidApi(HidApi& inner, Clock& clock)
    : m_inner(inner), m_clock(clock), m_start(clock.nowMs())
{
}

TracingHidApi::~TracingHidApi() = default;

bool TracingHidApi::openFile(const QString& path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QMutexLocker lock(&m_mutex);
    m_file = std::move(file);
    m_device = m_file.get();
    return true;
}

void TracingHidApi::setDevice(QIODevice* device)
{
    QMutexLocker lock(&m_mutex);
    m_device = device;
    if (m_file && device != m_file.get())
        m_file.reset();
}

void TracingHidApi::comment(const QString& text)
{
    QMutexLocker lock(&m_mutex);
    if (!m_device)
        return;
    m_device->write("# " + text.toUtf8() + '\n');
    if (auto* file = qobject_cast<QFileDevice*>(m_device))
        file->flush();
}

const char* TracingHidApi::ifaceOf(HidHandle h)
{
    QMutexLocker lock(&m_mutex);
    return m_handleRoles.value(h, HidRole::Command) == HidRole::Report ? "rep" : "cmd";
}

void TracingHidApi::line(const char* event, const char* iface, const unsigned char* bytes,
                         int count, bool failed)
{
    const qint64 ms = m_clock.nowMs() - m_start;
    QMutexLocker lock(&m_mutex);
    if (!m_device)
        return;
    QByteArray text = QByteArray::number(ms) + ' ' + event + ' ' + iface;
    if (bytes && count > 0)
        text += ' ' + QByteArray(reinterpret_cast<const char*>(bytes), count).toHex(' ');
    if (failed)
        text += " error";
    text += '\n';
    m_device->write(text);
    if (auto* file = qobject_cast<QFileDevice*>(m_device))
        file->flush();
}

void TracingHidApi::traceRead(const char* event, HidHandle h, const unsigned char* data, int result)
{
    if (result == 0)
        line("read-timeout", ifaceOf(h));
    else if (result < 0)
        line(event, ifaceOf(h), nullptr, 0, true);
    else
        line(event, ifaceOf(h), data, result);
}

QList<HidInterfaceInfo> TracingHidApi::enumerate(quint16 vendorId, quint16 productId)
{
    return m_inner.enumerate(vendorId, productId);
}

HidHandle TracingHidApi::openPath(const QByteArray& path)
{
    HidHandle h = m_inner.openPath(path);
    HidRole role;
    {
        QMutexLocker lock(&m_mutex);
        role = m_roles.value(path, HidRole::Command);
        if (h)
            m_handleRoles.insert(h, role);
    }
    line(h ? "open" : "open-fail", role == HidRole::Report ? "rep" : "cmd");
    return h;
}

int TracingHidApi::setNonblocking(HidHandle h, int nonblock)
{
    return m_inner.setNonblocking(h, nonblock);
}

int TracingHidApi::sendFeatureReport(HidHandle h, const unsigned char* data, size_t length)
{
    const int r = m_inner.sendFeatureReport(h, data, length);
    line("set-feature", ifaceOf(h), data, static_cast<int>(length), r < 0);
    return r;
}

int TracingHidApi::getFeatureReport(HidHandle h, unsigned char* data, size_t length)
{
    const int r = m_inner.getFeatureReport(h, data, length);
    if (r < 0)
        line("get-feature", ifaceOf(h), nullptr, 0, true);
    else
        line("get-feature", ifaceOf(h), data, r);
    return r;
}

int TracingHidApi::write(HidHandle h, const unsigned char* data, size_t length)
{
    const int r = m_inner.write(h, data, length);
    line("write", ifaceOf(h), data, static_cast<int>(length), r < 0);
    return r;
}

int TracingHidApi::read(HidHandle h, unsigned char* data, size_t length)
{
    const int r = m_inner.read(h, data, length);
    traceRead("read", h, data, r);
    return r;
}

int TracingHidApi::readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds)
{
    const int r = m_inner.readTimeout(h, data, length, milliseconds);
    traceRead("read", h, data, r);
    return r;
}

void TracingHidApi::close(HidHandle h)
{
    if (!h)
        return;
    const char* iface = ifaceOf(h);
    m_inner.close(h);
    {
        QMutexLocker lock(&m_mutex);
        m_handleRoles.remove(h);
    }
    line("close", iface);
}

void TracingHidApi::notePathRole(const QByteArray& path, HidRole role)
{
    {
        QMutexLocker lock(&m_mutex);
        m_roles.insert(path, role);
    }
    m_inner.notePathRole(path, role);
}
