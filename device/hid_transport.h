#pragma once
// The wire: the busy flag, one fresh handle per hidapi call, pacing, chunked
// bulk transfers and the cipher hook. It knows bytes, not what they mean.
//
// A command claims the link, runs one or more exchanges and frees it again;
// writeCommand and readCommand do all three. The report buffers belong to the
// transport alone: commands hand over frames and payloads, never write them.

#include "device/cipher.h"
#include "device/device_descriptor.h"
#include "device/frame.h"
#include "device/hid_api.h"

#include <QList>
#include <QSet>
#include <array>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <utility>

class Clock;
class WriteGuard;

// One row of a command table: the command byte, whether the transport pauses
// after it, and the debug line written when the link stays busy.
struct CommandSpec {
    uchar code;
    bool paced;
    const char* failText;
};

class HidTransport {
public:
    static constexpr int kBulkBufferSize = 256;     // the largest payload is 128 bytes
    static constexpr int kBusyTries = 255;
    static constexpr int kBusyWaitMs = 8;
    static constexpr int kSettleMs = 64;            // settlePause sleeps twice
    static constexpr int kChunkPauseMs = 120;
    static constexpr int kUnpacedPauseMs = 8;
    static constexpr int kInputReportTimeoutMs = 1000;

    HidTransport(HidApi& api, Clock& clock);
    ~HidTransport();

    HidApi& api() { return m_api; }
    Clock& clock() { return m_clock; }

    // --- the busy flag ---------------------------------------------------------
    // Waits until no command holds the link (at most kBusyTries waits of
    // kBusyWaitMs, GUI events processed in between) and claims it. False when
    // it stayed busy; then nothing is claimed.
    bool claim();
    // Frees the link. The view's clearHidBusy uses it to recover the link.
    void release();
    bool isReady() const { return m_ready.load(); }

    // --- exchanges: the caller holds the link ------------------------------------
    // Sends the frame as a feature report (ciphered for a mouse that wants it),
    // then `length` bytes of `payload` in output reports; paced: the settle
    // pause after the frame and after the payload; unpaced: the short pause
    // after the exchange. False when any step failed (the rest is not sent).
    bool exchangeWrite(const CommandFrame& frame, const uchar* payload, int length, bool paced);
    // Sends the frame, reads the reply frame (deciphered unless bulk data
    // follows) and then `bulkLength` bytes in input reports. `reply` and
    // `bulk` are written only when everything arrived; a failed or short
    // exchange leaves both exactly as they were. Without bulk data, a reply
    // that does not echo the command byte or fails its checksum is a failed
    // exchange too.
    bool exchangeRead(const CommandFrame& frame, CommandFrame& reply, uchar* bulk = nullptr, int bulkLength = 0);

    // --- commands ------------------------------------------------------------------
    // Claims the link, runs `exchanges`, frees the link. When the link stays
    // busy the command's failure text is written and nothing is sent. The
    // result is false then and whenever `exchanges` reports a failure.
    bool runCommand(const CommandSpec& command, const std::function<bool()>& exchanges);
    // A write command: one exchangeWrite of the frame and its payload.
    bool writeCommand(const CommandSpec& command, const CommandFrame& frame,
                      const uchar* payload = nullptr, int payloadLength = 0);
    // A read command. `outs` pairs a reply byte index (1..6) with the caller's
    // variable; `bulk` receives `bulkLength` bytes of input reports. The
    // caller's variables and buffer change only when the command succeeded.
    bool readCommand(const CommandSpec& command, const CommandFrame& frame,
                     std::initializer_list<std::pair<int, uchar*>> outs,
                     uchar* bulk = nullptr, int bulkLength = 0);

    // Commands that failed (busy link or failed exchange) since the link was
    // made; the command-line tool tells its caller from this.
    quint64 failedCommands() const { return m_failedCommands; }

    // --- before the first write ----------------------------------------------------
    // The guard asked before the first write to each mouse (null: none). It
    // must outlive the link or be taken away first.
    void setWriteGuard(WriteGuard* guard) { m_writeGuard = guard; }
    WriteGuard* writeGuard() const { return m_writeGuard; }

    // (Re)opens the command interface of entry `index`; null when the entry has
    // no path or the open fails (the path is then cleared until the next check).
    HidHandle openDevice(int index);
    // The fixed pause the mouse needs after a paced feature report (two
    // sleeps), counted from `since`, the clock's time of the report: time
    // that has already passed since then is part of it.
    void settlePause(qint64 since);
    void closeCommandHandle();
    const DeviceDescriptor* currentEntry() const;

    QList<DeviceDescriptor> devices;
    int currentIndex = 1;
    SecrecyBytes secrecyCode{};

private:
    DeviceDescriptor* entry(int index);
    // Opens the command interface, ciphers sendReport for a mouse that wants it
    // and sends it as a feature report.
    bool sendFeatureFrame();
    // Sends sendReport, then dataLength bytes of bulkBuffer in output reports.
    bool hidSend(int dataLength, bool pause);
    // Sends sendReport, reads the reply into recvReport, then readLength bytes
    // into bulkBuffer.
    bool hidSendRead(int readLength);
    // Ends an exchange: handle closed, the result passed on.
    bool finish(bool ok);
    // Calls the write guard when nothing was written to the current mouse yet.
    void guardFirstWrite();

    HidApi& m_api;
    Clock& m_clock;
    HidHandle m_cmdHandle = nullptr;
    std::atomic<bool> m_ready{true};
    FeatureReport m_sendReport{};
    FeatureReport m_recvReport{};
    std::array<uchar, kBulkBufferSize> m_bulkBuffer{};
    quint64 m_failedCommands = 0;
    WriteGuard* m_writeGuard = nullptr;
    QSet<quint32> m_guardedMice;        // vendor id << 16 | product id
    bool m_holdLent = false;            // the write guard runs under a write's hold
};
