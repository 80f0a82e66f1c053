#pragma once
// A firmware model of the mouse behind the HidApi seam, for the app's demo
// mode, the command line and the tests. It answers both command families
// from the state a mouse keeps, assembles bulk payloads from output reports,
// streams profile blocks as input reports and sends DPI-switch reports on
// its second interface. It can be unplugged and told to misbehave.
//
// Behaviour at the seam, where hidapi leaves a choice:
// - `read` (blocking) with nothing queued returns -1 instead of hanging; in
//   non-blocking mode (setNonblocking(h, 1)) it returns 0. `readTimeout` with
//   nothing queued waits on the clock for the time-out and returns 0 (a
//   negative time-out behaves like `read`). With a SystemClock the wait ends
//   early when a report arrives; other clocks are asked to sleep the whole
//   time-out, after which the queue is looked at again.
// - Input reports of the command interface carry no report id (reportLength
//   bytes); the DPI-switch report of the report interface is 4 bytes with the
//   report id 0x06 first.
// - Feature and output reports go to the command interface only; on the report
//   interface they return -1.
// - Unplugging drops queued input, a partial payload and the prepared reply;
//   the handles open at that moment stay dead (-1) even after plugging back,
//   as a removed hidraw node would. close() still frees them.
// - Every call may come from any thread (one lock around the model); the
//   listener reads the report interface while commands go to the other one.

#include "device/cipher.h"
#include "device/frame.h"
#include "device/hid_api.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QQueue>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

class Clock;

struct VirtualMouseIdentity {
    quint16 vid = 0x04d9;
    quint16 pid = 0xa1ee;
    quint16 usagePage = 0xff00;     // command interface
    quint16 usage = 0xff00;
    quint16 usagePage2 = 0xff01;    // report interface
    quint16 usage2 = 0xff01;
    int reportLength = 32;          // payload bytes of one output/input report
    bool isEncode = false;          // frames travel ciphered with sCode
    QString sCode = QStringLiteral("386514");
    int family = 553;               // 560 selects the 560 commands, anything else 553
};

// The identity of the first mouse (type 1) in a device catalogue, with the
// command family of the catalogue file's mouse/icType ("560" or else 553).
VirtualMouseIdentity identityFromCatalogue(const QString& apConfigPath);

// Ways to make the mouse misbehave; all off by default.
struct VirtualFaults {
    bool noAnswer = false;          // getFeatureReport returns -1
    bool wrongHandshake = false;    // 00H answers its four bytes in reverse order
    bool openFail = false;          // openPath returns null; the interfaces still enumerate
    int failChunk = -1;             // this output report (0-based) of every bulk payload fails
    int inputReports = -1;          // a profile read queues only this many input reports
    bool garbage = false;           // getFeatureReport returns pseudo-random bytes
    int corruptBlock = -1;          // 560: this profile block (0..4) is stored with its last byte inverted
    int corruptWrites = -1;         // ... for this many more writes of it (counts down); -1 every write
    bool featureWriteFail = false;  // sendFeatureReport returns -1
    // The mouse is unplugged just before this call (0-based) on the command
    // interface (opens, feature reports, output and input reports), counted
    // from when the faults were set: a mouse pulled out in the middle of a
    // command. -1 off.
    int unplugAtCall = -1;
};

using VirtualBlock = std::array<uchar, 128>;

struct VirtualRecoilSlot {
    uchar times = 0;
    uchar x = 0;
    uchar y = 0;
};

// Everything the mouse keeps in its memory.
struct VirtualMouseState {
    std::array<uchar, 4> keyboardOptions{};     // 560 uses the first two
    uchar reportRate = 1;
    uchar currentKeyMatrix = 1;
    std::array<VirtualBlock, 4> keyMatrices{};  // 553 writes the first 64 bytes, 560 all 128
    std::array<VirtualBlock, 12> macros{};
    uchar dpiStageCount = 4;
    std::array<uchar, 8> dpiCodes{};
    uchar currentDpiStage = 1;
    uchar liftOff = 0;
    std::array<uchar, 3> fixedColour{};
    uchar lightingEffect = 0;
    uchar lightingOption1 = 0;
    uchar lightingOption2 = 0;
    QMap<int, QByteArray> ledColourTables;      // by table type, as last written
    std::array<VirtualRecoilSlot, 3> recoil{};
    // 560 family
    uchar currentProfile = 1;
    std::array<uchar, 4> profileReportRates{};  // profiles 1..4
    std::array<uchar, 4> profileDpiStages{};    // profiles 1..4
    std::array<VirtualBlock, 5> profileBlocks{};

    // What a new mouse holds: four stages of 800/1600/3200/6400 DPI, stage 1
    // current, options off, profile blocks carrying the same DPI table.
    static VirtualMouseState factoryDefaults();
};

// One command as the mouse understood it (for tests and the demo's log).
struct VirtualExchange {
    QByteArray frame;           // the 8 frame bytes after deciphering
    QByteArray payload;         // bulk bytes received for it (only the payload's own bytes)
    bool rejected = false;      // wrong checksum: not executed
    bool incomplete = false;    // its payload has not (or never) fully arrived
    bool ignored = false;       // unknown, of the other family, or an index the mouse lacks
};

class VirtualMouse : public HidApi {
public:
    explicit VirtualMouse(Clock& clock, const VirtualMouseIdentity& id = {});
    ~VirtualMouse() override;

    static QByteArray commandPath() { return QByteArrayLiteral("virtual:stryde/cmd"); }
    static QByteArray reportPath() { return QByteArrayLiteral("virtual:stryde/rep"); }

    // HidApi
    QList<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    HidHandle openPath(const QByteArray& path) override;
    int setNonblocking(HidHandle h, int nonblock) override;
    int sendFeatureReport(HidHandle h, const unsigned char* data, size_t length) override;
    int getFeatureReport(HidHandle h, unsigned char* data, size_t length) override;
    int write(HidHandle h, const unsigned char* data, size_t length) override;
    int read(HidHandle h, unsigned char* data, size_t length) override;
    int readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds) override;
    void close(HidHandle h) override;

    // Handles returned by openPath and not closed yet.
    int openHandles() const;

    // With a virtual clock, readTimeout normally lets the clock pass the
    // time-out at once. When a listener thread reads the report interface
    // while the GUI thread's commands run on the virtual clock, that would
    // spin and move the GUI's clock; with this set, reads that find nothing
    // queued wait (really, at most the time-out) until a report arrives or the
    // mouse is unplugged, and leave the clock alone.
    void setWaitsForReports(bool wait);

    VirtualMouseIdentity identity() const;
    void setIdentity(const VirtualMouseIdentity& id);
    VirtualFaults faults() const;
    void setFaults(const VirtualFaults& faults);

    // Presses the DPI button: the next stage of 1..stage count (4 when the
    // count is not 1..8) becomes current, on the 560 family in the current
    // profile. Once reports are enabled (keyboard option bit 0x40 of byte 4 on
    // the 553 family, 0x08 of byte 1 on the 560) it queues the DPI-switch report
    // {0x06, 0x07, 0x00, stage} on the report interface. Nothing happens unplugged.
    void pressDpiButton();
    bool reportsEnabled() const;

    void unplug();
    void plug();
    bool isPlugged() const;

    VirtualMouseState state() const;
    void setState(const VirtualMouseState& state);
    // Byte arrays are hex strings. fromJson keeps the current value of every
    // missing field and returns false, changing nothing, on malformed input.
    QJsonObject toJson() const;
    bool fromJson(const QJsonObject& json);
    bool saveState(const QString& path) const;   // atomically (temp file, rename)
    bool loadState(const QString& path);

    // Command-line options "key=value": identity, plugging and faults.
    // Returns false with a message in `error` for an unknown key or bad value.
    bool setOption(const QString& key, const QString& value, QString* error = nullptr);
    static QStringList optionHelp();

    // What the mouse received, oldest first: every exchange, or the newest
    // `setLogLimit` ones (0: no limit, the default; a long demo session sets one).
    QList<VirtualExchange> received() const;
    void clearReceived();
    void setLogLimit(int exchanges);

private:
    struct Handle;
    struct Pending {
        bool active = false;
        CommandFrame frame{};
        int length = 0;
        int chunks = 0;         // output reports seen, failed ones included
        QByteArray data;
        int logIndex = -1;      // its entry in m_received, -1 once cleared
    };

    Handle* liveHandle(HidHandle h) const;          // null when unknown or dead
    bool reportsEnabledLocked() const;
    void unplugLocked();
    // Counts one call on the command interface for VirtualFaults::unplugAtCall.
    void countCommandCall();
    void countCommandCall(HidHandle h);     // when `h` is a command-interface handle
    void onFeatureReport(const uchar* frame8);
    void finishPayload();
    void dropPayload();
    void logExchange(const VirtualExchange& exchange);     // under m_mutex
    void setReply(const uchar* frame8, bool cipher);
    int takeInput(Handle* h, unsigned char* data, size_t length);
    using Lock = std::unique_lock<std::mutex>;
    int waitForInput(Lock& lock, HidHandle h, unsigned char* data, size_t length, int milliseconds);
    SecrecyBytes secrecy() const;

    Clock& m_clock;
    bool m_realTime = false;                 // the clock is a SystemClock
    std::atomic<bool> m_waitsForReports{false};
    // std rather than Qt primitives: ThreadSanitizer sees through them.
    mutable std::mutex m_mutex;
    std::condition_variable m_inputArrived;
    VirtualMouseIdentity m_id;
    VirtualFaults m_faults;
    VirtualMouseState m_state;
    bool m_plugged = true;
    quint64 m_generation = 0;                // bumped by every unplug
    int m_commandCalls = 0;                  // since the faults were set
    QSet<Handle*> m_handles;
    QQueue<QByteArray> m_cmdInput;
    QQueue<QByteArray> m_repInput;
    Pending m_pending;
    FeatureReport m_reply{};
    quint32 m_noise = 0x2545f491u;          // garbage replies, deterministic
    QList<VirtualExchange> m_received;
    int m_logLimit = 0;
};
