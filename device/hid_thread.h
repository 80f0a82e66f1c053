#pragma once
// The device link as QML and the rest of the program see it: one slot per
// mouse command. It only orders the calls; the bytes are built by the command
// tables (commands_553 / commands_560) and moved by HidTransport.

#include "device/commands_560.h"
#include "device/device_descriptor.h"
#include "device/frame.h"
#include "device/hid_transport.h"
#include "device/write_outcome.h"

#include <QFuture>
#include <QMutex>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

class Clock;
class HidApi;
class LinkHost;

// Derives from QThread for its place in the program's object tree; it is never
// started and lives on the GUI thread.
class Hid_Thread : public QThread {
    Q_OBJECT
public:
    Hid_Thread(HidApi& api, Clock& clock, QObject* parent = nullptr);
    ~Hid_Thread() override;

    void setHost(LinkHost* host) { m_host = host; }
    LinkHost* host() const { return m_host; }
    HidTransport& transport() { return m_transport; }
    const QList<DeviceDescriptor>& devices() const { return m_transport.devices; }
    int currentIndex() const { return m_transport.currentIndex; }
    bool deviceConnected() const { return m_deviceConnected; }
    void setDeviceConnected(bool connected) { m_deviceConnected = connected; }

    // Rebuilds the device list from the catalogue file and finds the
    // interfaces present now; no handshake.
    void scanDevices(const QString& apConfigPath);
    // The device check: scan, then the handshake on each present entry in
    // order. Returns the index of the first entry that answers, or -1 (then
    // the link is marked disconnected).
    int checkDevices(const QString& apConfigPath);

    // --- listener on the mouse's report interface ---------------------------
    // Turns on the mouse's reports (read-modify-write of its keyboard option;
    // skipped when the read fails). `family560` picks the command pair.
    void enableReports(bool family560);
    // enableReports, then starts the listener on the global thread pool.
    void startListen(int index, bool family560);
    // The listener body: one turn after another while `listening` holds.
    void listenDevice(uint index);
    // One turn: open the report interface, wait up to 500 ms for a report,
    // close it. False when the interface is gone (the mouse was removed).
    bool listenTurn(uint index);
    // (Re)opens the report interface; null when it has no path or the open fails.
    HidHandle openListenDevice(int index);
    bool isListening() const { return listening.load(); }
    // Asks the listener to stop and waits until it has (at most one read time-out).
    void stopListening();

    // The eight tray texts of the DPI-switch notice; shared with the listener.
    void setDpiSwitchTexts(const QStringList& texts);
    QStringList dpiSwitchTexts() const;
    // The tray text for a reported stage: stages 1-7 take entries 0-6, others entry 7.
    QString dpiSwitchNotice(int stage) const;
    // The stage a DPI-switch report carries: `length` bytes read from the
    // report interface, {0x06, 0x07, any, stage}. Nothing for any other
    // result of the read (a time-out, an error, another report).
    static std::optional<uchar> dpiSwitchStage(const uchar* report, int length);

    // --- profile blocks of a 560 mouse --------------------------------------------
    // Writes block `profileData` and reads it back (once more when it differs).
    // A block that does not read back as written is reported: a warning line,
    // the host's writeNotVerified, and the outcome below.
    cmd560::BlockWrite writeProfileBlock(const uchar* src128, uchar profileData);
    // What the write commands since the last resetOutcome() came to: the
    // first failure counts. The command slots return nothing; an operation
    // resets this before its writes and asks here afterwards.
    WriteOutcome outcome() const { return m_outcome; }
    void resetOutcome();

    static constexpr int kListenTimeoutMs = 500;
    static constexpr uchar kDpiReportId = 0x06;
    static constexpr uchar kDpiReportKind = 0x07;

    std::atomic<bool> listening{false};

public slots:
    uchar hidCS(const uchar* cmd);
    bool chkDeviceIsEnCode(int index);
    void USBDataEncryption(uchar* FIFOBuf, const uchar* SecrecyCode);
    void USBDataDecipher(uchar* FIFOBuf, const uchar* SecrecyCode);
    void hid553_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid553_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid560_81H_GetKeyboardoption(uchar& byte1, uchar& byte2);
    void hid560_82H_GetCurrentProfile(uchar& byte1);
    void hid560_84H_GetCurrentDPI(uchar& byte1, uchar& byte2);
    void hid553_8BH_GetCurrentDPI(uchar& byte1);
    void hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2);
    void hid553_01H_SetReportRate(uchar rate);
    void hid560_03H_SetReportRate(uchar rate);
    void hid560_04H_SetCurrentDPI(uchar stage);
    void hid553_0BH_SetCurrentDPI(uchar stage);
    void hid553_07H_Lod(uchar stage, uchar en);
    void hid553_12H_SetKeyMatrix(const uchar* src64, uchar indexAddOne);
    void hid560_0DH_SetKeyMatrix(const uchar* src64, uchar indexAddOne);
    void hid560_0CH_setProfile(const uchar* src128, uchar profileData);
    void hid560_8CH_readProfile(uchar* src128, uchar profileNo);
    void hid560_02H_SetCurrentProfile(uchar profile);
    void hid553_13H_SetMacroKey(uchar macroId, const uchar* src128);
    void hid560_0FH_SetMacroKey(uchar macroId, const uchar* src128);
    void hid553_11H_SetDPISet(uchar dpiStage, const uchar* src8);
    void hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix);
    void hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid553_0CH_SetFixLEDColor(const uchar* src3);
    void hid553_10H_SetLED8StageColor(uchar type, const uchar* src24);

private:
    bool singleProfile() const;
    // Keeps a write command's result for takeOutcome().
    void note(bool written);

    LinkHost* m_host = nullptr;
    HidTransport m_transport;
    bool m_deviceConnected = false;
    WriteOutcome m_outcome = WriteOutcome::Done;

    // The listener's own copy of the report interface's path: the device list
    // belongs to the GUI thread.
    QByteArray m_listenPath;
    HidHandle listenHandle = nullptr;
    QFuture<void> listenFuture;
    // Set by the listener task as its last act; stopListening waits for it,
    // so nothing the task used is destroyed under it.
    std::mutex m_listenerMutex;
    std::condition_variable m_listenerDone;
    bool m_listenerRunning = false;
    mutable QMutex m_textsLock;
    QStringList m_dpiSwitchTexts;
};
