#include "device/hid_transport.h"

#include "device/clock.h"

#include <QDebug>
#include <algorithm>
#include <vector>

HidTransport::HidTransport(HidApi& api, Clock& clock) : m_api(api), m_clock(clock) {}

HidTransport::~HidTransport()
{
    closeCommandHandle();
}

DeviceDescriptor* HidTransport::entry(int index)
{
    if (index < 0 || index >= devices.size())
        return nullptr;
    return &devices[index];
}

const DeviceDescriptor* HidTransport::currentEntry() const
{
    if (currentIndex < 0 || currentIndex >= devices.size())
        return nullptr;
    return &devices[currentIndex];
}

void HidTransport::closeCommandHandle()
{
    if (m_cmdHandle) {
        m_api.close(m_cmdHandle);
        m_cmdHandle = nullptr;
    }
}

HidHandle HidTransport::openDevice(int index)
{
    DeviceDescriptor* d = entry(index);
    if (!d) {
        qDebug() << "no device entry" << index << "- command not sent";
        return nullptr;
    }
    if (d->path.isEmpty())
        return nullptr;
    closeCommandHandle();
    m_cmdHandle = m_api.openPath(d->path.toLatin1());
    if (!m_cmdHandle) {
        // The interface is gone: every later command fails at once until a
        // device check finds it again.
        d->path.clear();
        return nullptr;
    }
    m_api.setNonblocking(m_cmdHandle, 0);
    return m_cmdHandle;
}

bool HidTransport::waitReady()
{
    for (int i = 0; i < kBusyTries; ++i) {
        bool expected = true;
        if (ready.compare_exchange_strong(expected, false))
            return true;
        m_clock.sleepMs(kBusyWaitMs);
        m_clock.processEvents();
    }
    return false;
}

void HidTransport::settlePause()
{
    m_clock.sleepMs(kSettleMs);
    m_clock.sleepMs(kSettleMs);
}

bool HidTransport::fail()
{
    closeCommandHandle();
    ready = true;
    return false;
}

bool HidTransport::done()
{
    closeCommandHandle();
    ready = true;
    return true;
}

bool HidTransport::sendFeatureFrame()
{
    if (!openDevice(currentIndex)) {
        ready = true;
        return false;
    }
    if (currentEntry()->isEncode)
        encryptFrame(sendReport.data() + 1, secrecyCode.data());
    HidHandle h = openDevice(currentIndex);
    if (!h || m_api.sendFeatureReport(h, sendReport.data(), sendReport.size()) < 0)
        return fail();
    return true;
}

bool HidTransport::hidSend(int dataLength, bool pause)
{
    m_clock.processEvents();
    if (!sendFeatureFrame())
        return false;
    if (pause)
        settlePause();
    dataLength = std::clamp(dataLength, 0, kBulkBufferSize);
    if (dataLength == 0)
        return done();
    const int reportLength = currentEntry()->reportLength;
    const int chunk = std::min(dataLength, reportLength);
    std::vector<uchar> buffer(static_cast<size_t>(reportLength) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        // A last short chunk goes out zero-padded; nothing past the payload is sent.
        std::fill(buffer.begin(), buffer.end(), 0);
        const int n = std::min(chunk, dataLength - offset);
        std::copy_n(bulkBuffer.begin() + offset, n, buffer.begin() + 1);
        HidHandle h = openDevice(currentIndex);
        if (!h || m_api.write(h, buffer.data(), buffer.size()) < 0)
            return fail();
        m_clock.sleepMs(kChunkPauseMs);
    }
    if (pause)
        settlePause();
    return done();
}

bool HidTransport::hidSendRead(int readLength)
{
    if (!sendFeatureFrame())
        return false;
    // The reply keeps its preset when the read fails; work on a copy so a
    // short or failed read cannot leave half an answer behind.
    FeatureReport reply = recvReport;
    reply[0] = 0;
    HidHandle h = openDevice(currentIndex);
    if (!h || m_api.getFeatureReport(h, reply.data(), reply.size()) < 0)
        return fail();
    recvReport = reply;
    readLength = std::clamp(readLength, 0, kBulkBufferSize);
    if (readLength == 0) {
        if (currentEntry()->isEncode)
            decryptFrame(recvReport.data() + 1, secrecyCode.data());
        return done();
    }
    const int reportLength = currentEntry()->reportLength;
    const int chunk = std::min(readLength, reportLength);
    std::vector<uchar> buffer(static_cast<size_t>(reportLength) + 1, 0);
    for (int offset = 0; offset < readLength; offset += chunk) {
        std::fill(buffer.begin(), buffer.end(), 0);
        h = openDevice(currentIndex);
        // A mouse that sends fewer reports than promised must not hang the
        // program: each report is awaited for a bounded time.
        if (!h || m_api.readTimeout(h, buffer.data(), buffer.size(), kInputReportTimeoutMs) <= 0)
            return fail();
        const int n = std::min(chunk, readLength - offset);
        std::copy_n(buffer.begin(), n, bulkBuffer.begin() + offset);
    }
    return done();
}

bool HidTransport::writeCommand(const CommandSpec& command, const CommandFrame& frame,
                                const uchar* payload, int payloadLength)
{
    m_lastOk = false;
    if (!waitReady()) {
        qDebug().noquote() << command.failText;
        return false;
    }
    sendReport = toFeatureReport(frame);
    payloadLength = std::clamp(payloadLength, 0, kBulkBufferSize);
    if (payload && payloadLength > 0)
        std::copy_n(payload, payloadLength, bulkBuffer.begin());
    const bool ok = hidSend(payload ? payloadLength : 0, command.paced);
    if (!command.paced)
        m_clock.sleepMs(kUnpacedPauseMs);
    m_lastOk = ok;
    return ok;
}

bool HidTransport::readCommand(const CommandSpec& command, const CommandFrame& frame,
                               std::initializer_list<std::pair<int, uchar*>> outs,
                               uchar* bulk, int bulkLength, bool presetZeros)
{
    m_lastOk = false;
    if (!waitReady()) {
        qDebug().noquote() << command.failText;
        return false;
    }
    sendReport = toFeatureReport(frame);
    recvReport.fill(0);
    for (const auto& out : outs)
        recvReport[out.first + 1] = presetZeros ? 0 : *out.second;
    bulkLength = std::clamp(bulkLength, 0, kBulkBufferSize);
    if (bulk && bulkLength > 0)
        std::copy_n(bulk, bulkLength, bulkBuffer.begin());
    const bool ok = hidSendRead(bulk ? bulkLength : 0);
    for (const auto& out : outs)
        *out.second = recvReport[out.first + 1];
    if (bulk && bulkLength > 0)
        std::copy_n(bulkBuffer.begin(), bulkLength, bulk);
    m_lastOk = ok;
    return ok;
}
