#pragma once
// Records every call at the HID seam while passing it on, one line per call:
//
//   <ms> <event> <iface> [<hex bytes>]
//
// <ms>    whole milliseconds of the clock since the tracer was made;
// <event> open, open-fail, close, set-feature, get-feature, write, read,
//         read-timeout;
// <iface> cmd or rep, from notePathRole (paths never noted count as cmd);
// bytes   lower-case hex pairs separated by single blanks, report id first:
//         for set-feature and write the bytes passed, for get-feature and read
//         the bytes returned.
// A read or read with time-out that returns 0 is "read-timeout". A read or
// get-feature that fails is the event with no bytes and " error"; a
// set-feature or write that fails keeps its bytes and ends in " error".
// enumerate and setNonblocking are passed on without a line. Lines that start
// with "#" are comments. Every line is flushed at once.
//
// Safe to use from several threads: the lock is held only while a line is
// written, never during the inner call, so a reader waiting on the report
// interface does not hold up commands.

#include "device/hid_api.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <memory>

class Clock;
class QFile;
class QIODevice;

class TracingHidApi : public HidApi {
public:
    TracingHidApi(HidApi& inner, Clock& clock);
    ~TracingHidApi() override;

    // Traces into a new file at `path` (truncated); false when it cannot be opened.
    bool openFile(const QString& path);
    // Traces into `device` (not owned; null stops tracing).
    void setDevice(QIODevice* device);
    // Writes "# text".
    void comment(const QString& text);

    QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    HidHandle openPath(const QByteArray& path) override;
    int setNonblocking(HidHandle h, int nonblock) override;
    int sendFeatureReport(HidHandle h, const unsigned char* data, size_t length) override;
    int getFeatureReport(HidHandle h, unsigned char* data, size_t length) override;
    int write(HidHandle h, const unsigned char* data, size_t length) override;
    int read(HidHandle h, unsigned char* data, size_t length) override;
    int readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds) override;
    void close(HidHandle h) override;
    void notePathRole(const QByteArray& path, HidRole role) override;

private:
    const char* ifaceOf(HidHandle h);
    void line(const char* event, const char* iface, const unsigned char* bytes = nullptr,
              int count = 0, bool failed = false);
    void traceRead(const char* event, HidHandle h, const unsigned char* data, int result);

    HidApi& m_inner;
    Clock& m_clock;
    qint64 m_start;
    QMutex m_mutex;
    QIODevice* m_device = nullptr;
    std::unique_ptr<QFile> m_file;
    QHash<QByteArray, HidRole> m_roles;
    QHash<HidHandle, HidRole> m_handleRoles;
};
