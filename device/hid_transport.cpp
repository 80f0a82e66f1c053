#include "device/hid_transport.h"

#include "device/clock.h"
#include "device/hid_log.h"
#include "device/write_guard.h"

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
        qCDebug(lcHid) << "no device entry" << index << "- command not sent";
        return nullptr;
    }
    if (d->path.isEmpty())
        return nullptr;
    closeCommandHandle();
    m_cmdHandle = m_api.openPath(d->path.toLatin1());
    if (!m_cmdHandle) {
        // The interface is gone: every later command fails at once until a
        // device check finds it again.
        qCDebug(lcHid) << "cannot open the command interface of entry" << index;
        d->path.clear();
        return nullptr;
    }
    m_api.setNonblocking(m_cmdHandle, 0);
    return m_cmdHandle;
}

bool HidTransport::claim()
{
    for (int i = 0; i < kBusyTries; ++i) {
        bool expected = true;
        if (m_ready.compare_exchange_strong(expected, false))
            return true;
        m_clock.sleepMs(kBusyWaitMs);
        m_clock.processEvents();
    }
    return false;
}

void HidTransport::release()
{
    m_ready = true;
}

void HidTransport::settlePause(qint64 since)
{
    // What passed since the report counts, less the clock's last millisecond,
    // which may have begun before the report.
    const qint64 passed = qMax<qint64>(0, m_clock.nowMs() - since - 1);
    const qint64 left = 2 * kSettleMs - passed;
    const qint64 first = qBound<qint64>(0, left - kSettleMs, qint64(kSettleMs));
    m_clock.sleepMs(static_cast<int>(first));
    m_clock.sleepMs(static_cast<int>(qMax<qint64>(0, left - first)));
}

bool HidTransport::finish(bool ok)
{
    closeCommandHandle();
    return ok;
}

bool HidTransport::sendFeatureFrame()
{
    if (!openDevice(currentIndex))
        return false;
    if (currentEntry()->isEncode)
        encryptFrame(m_sendReport.data() + 1, secrecyCode.data());
    HidHandle h = openDevice(currentIndex);
    if (!h || m_api.sendFeatureReport(h, m_sendReport.data(), m_sendReport.size()) < 0)
        return finish(false);
    return true;
}

bool HidTransport::hidSend(int dataLength, bool pause)
{
    if (!sendFeatureFrame())
        return false;
    const qint64 sent = m_clock.nowMs();
    // Pending GUI events run once per write, while the mouse takes in the
    // report: the time they take is part of the pause that follows rather
    // than a delay before the report.
    m_clock.processEvents();
    if (pause)
        settlePause(sent);
    dataLength = std::clamp(dataLength, 0, kBulkBufferSize);
    if (dataLength == 0)
        return finish(true);
    const int reportLength = currentEntry()->reportLength;
    const int chunk = std::min(dataLength, reportLength);
    std::vector<uchar> buffer(static_cast<size_t>(reportLength) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        // A last short chunk goes out zero-padded; nothing past the payload is sent.
        std::fill(buffer.begin(), buffer.end(), 0);
        const int n = std::min(chunk, dataLength - offset);
        std::copy_n(m_bulkBuffer.begin() + offset, n, buffer.begin() + 1);
        HidHandle h = openDevice(currentIndex);
        if (!h || m_api.write(h, buffer.data(), buffer.size()) < 0)
            return finish(false);
        m_clock.sleepMs(kChunkPauseMs);
    }
    if (pause)
        settlePause(m_clock.nowMs());
    return finish(true);
}

bool HidTransport::hidSendRead(int readLength)
{
    if (!sendFeatureFrame())
        return false;
    m_recvReport.fill(0);       // byte 0 is the report id asked for
    HidHandle h = openDevice(currentIndex);
    if (!h || m_api.getFeatureReport(h, m_recvReport.data(), m_recvReport.size()) < 0)
        return finish(false);
    readLength = std::clamp(readLength, 0, kBulkBufferSize);
    if (readLength == 0) {
        if (currentEntry()->isEncode)
            decryptFrame(m_recvReport.data() + 1, secrecyCode.data());
        return finish(true);
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
            return finish(false);
        const int n = std::min(chunk, readLength - offset);
        std::copy_n(buffer.begin(), n, m_bulkBuffer.begin() + offset);
    }
    return finish(true);
}

void HidTransport::guardFirstWrite()
{
    const DeviceDescriptor* d = currentEntry();
    // A mouse that is not there is not written; its guard waits for a write that can reach it.
    if (!m_writeGuard || !d || d->path.isEmpty())
        return;
    const quint32 mouse = (quint32(d->vid) << 16) | d->pid;
    if (m_guardedMice.contains(mouse))
        return;
    m_guardedMice.insert(mouse);
    m_holdLent = true;
    m_writeGuard->beforeFirstWrite(*this);
    m_holdLent = false;
}

bool HidTransport::exchangeWrite(const CommandFrame& frame, const uchar* payload, int length, bool paced)
{
    if (m_holdLent) {
        qCWarning(lcHid) << "a write was asked for while the write guard runs; not sent";
        return false;
    }
    // Before the report buffers are filled: the guard's reads use them too.
    guardFirstWrite();
    m_sendReport = toFeatureReport(frame);
    length = payload ? std::clamp(length, 0, kBulkBufferSize) : 0;
    if (length > 0)
        std::copy_n(payload, length, m_bulkBuffer.begin());
    const bool ok = hidSend(length, paced);
    if (!paced)
        m_clock.sleepMs(kUnpacedPauseMs);
    return ok;
}

bool HidTransport::exchangeRead(const CommandFrame& frame, CommandFrame& reply, uchar* bulk, int bulkLength)
{
    m_sendReport = toFeatureReport(frame);
    bulkLength = bulk ? std::clamp(bulkLength, 0, kBulkBufferSize) : 0;
    if (!hidSendRead(bulkLength))
        return false;
    CommandFrame answer{};
    std::copy_n(m_recvReport.begin() + 1, kFrameSize, answer.begin());
    // The reply frame of a bulk read carries nothing the caller uses; any
    // other reply must answer this command, or the caller's values stay.
    if (bulkLength == 0 && !replyAnswers(frame, answer)) {
        qCDebug(lcHid).noquote() << "reply" << QByteArray(reinterpret_cast<const char*>(answer.data()), kFrameSize).toHex(' ')
                                 << "does not answer command" << QByteArray(1, char(frame[0])).toHex();
        return false;
    }
    reply = answer;
    if (bulkLength > 0)
        std::copy_n(m_bulkBuffer.begin(), bulkLength, bulk);
    return true;
}

bool HidTransport::runCommand(const CommandSpec& command, const std::function<bool()>& exchanges)
{
    // A read of the write guard runs under the hold of the write that called
    // it; its failures are the guard's to report, not the caller's.
    if (m_holdLent)
        return exchanges();
    if (!claim()) {
        qCDebug(lcHid).noquote() << command.failText;
        ++m_failedCommands;
        return false;
    }
    const bool ok = exchanges();
    release();
    if (!ok)
        ++m_failedCommands;
    return ok;
}

bool HidTransport::writeCommand(const CommandSpec& command, const CommandFrame& frame,
                                const uchar* payload, int payloadLength)
{
    return runCommand(command, [&] { return exchangeWrite(frame, payload, payloadLength, command.paced); });
}

bool HidTransport::readCommand(const CommandSpec& command, const CommandFrame& frame,
                               std::initializer_list<std::pair<int, uchar*>> outs,
                               uchar* bulk, int bulkLength)
{
    return runCommand(command, [&] {
        CommandFrame reply{};
        if (!exchangeRead(frame, reply, bulk, bulkLength))
            return false;
        for (const auto& out : outs)
            *out.second = reply[static_cast<size_t>(out.first)];
        return true;
    });
}
