#pragma once
// The wire: the busy flag, one fresh handle per hidapi call, pacing, chunked
// bulk transfers and the cipher hook. It knows bytes, not what they mean.

#include "device/cipher.h"
#include "device/device_descriptor.h"
#include "device/frame.h"
#include "device/hid_api.h"

#include <QList>
#include <array>
#include <atomic>
#include <initializer_list>
#include <utility>

class Clock;

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

    // (Re)opens the command interface of entry `index`; null when the entry has
    // no path or the open fails (the path is then cleared until the next check).
    HidHandle openDevice(int index);
    // Waits until no command is in progress and claims the link.
    bool waitReady();
    // The fixed pause the mouse needs after a paced feature report.
    void settlePause();
    // Sends sendReport, then dataLength bytes of bulkBuffer in output reports.
    bool hidSend(int dataLength, bool pause);
    // Sends sendReport, reads the reply into recvReport, then readLength bytes into bulkBuffer.
    bool hidSendRead(int readLength);

    // Command skeleton of a write: claim, frame, payload, send, unpaced pause.
    // Returns false when the link stayed busy or the exchange failed.
    bool writeCommand(const CommandSpec& command, const CommandFrame& frame,
                      const uchar* payload = nullptr, int payloadLength = 0);
    // Command skeleton of a read. `outs` pairs a reply byte index (1..6) with
    // the caller's variable; the reply is preset with the variables' values
    // (or zeros with presetZeros) so a failed exchange hands them back unchanged.
    // For a bulk read, `bulk` is preset into bulkBuffer and copied back.
    bool readCommand(const CommandSpec& command, const CommandFrame& frame,
                     std::initializer_list<std::pair<int, uchar*>> outs,
                     uchar* bulk = nullptr, int bulkLength = 0, bool presetZeros = false);

    void closeCommandHandle();
    const DeviceDescriptor* currentEntry() const;
    // Whether the last command issued through writeCommand/readCommand (or a
    // profile-wide loop) reached the mouse. The slots return nothing; callers
    // that must not act on a failed read (read-modify-write) ask this.
    bool lastCommandOk() const { return m_lastOk; }
    void setLastCommandOk(bool ok) { m_lastOk = ok; }

    QList<DeviceDescriptor> devices;
    int currentIndex = 1;
    SecrecyBytes secrecyCode{};
    std::atomic<bool> ready{true};
    FeatureReport sendReport{};
    FeatureReport recvReport{};
    std::array<uchar, kBulkBufferSize> bulkBuffer{};

private:
    DeviceDescriptor* entry(int index);
    // Opens the command interface, ciphers the frame for a mouse that wants it
    // and sends the feature report; on failure the link is freed.
    bool sendFeatureFrame();
    // Ends an exchange: handle closed, link free.
    bool fail();
    bool done();

    HidApi& m_api;
    Clock& m_clock;
    HidHandle m_cmdHandle = nullptr;
    bool m_lastOk = false;
};
