#include "device/hid_thread.h"

#include "device/cipher.h"
#include "device/commands_553.h"
#include "device/commands_560.h"
#include "device/hid_log.h"
#include "device/link_host.h"

#include <QMetaObject>
#include <QRandomGenerator>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

Hid_Thread::Hid_Thread(HidApi& api, Clock& clock, QObject* parent)
    : QThread(parent), m_transport(api, clock),
      m_dpiSwitchTexts(8, QStringLiteral("DPI Switch to"))
{
}

Hid_Thread::~Hid_Thread()
{
    // The listener uses this object; it must be gone before we are.
    stopListening();
}

void Hid_Thread::setDpiSwitchTexts(const QStringList& texts)
{
    QMutexLocker lock(&m_textsLock);
    for (int i = 0; i < 8 && i < texts.size(); ++i) {
        if (!texts.at(i).isEmpty())
            m_dpiSwitchTexts[i] = texts.at(i);
    }
}

QStringList Hid_Thread::dpiSwitchTexts() const
{
    QMutexLocker lock(&m_textsLock);
    return m_dpiSwitchTexts;
}

QString Hid_Thread::dpiSwitchNotice(int stage) const
{
    const int entry = (stage >= 1 && stage <= 7) ? stage - 1 : 7;
    QMutexLocker lock(&m_textsLock);
    return m_dpiSwitchTexts.at(entry) + QLatin1Char(' ');
}

std::optional<uchar> Hid_Thread::dpiSwitchStage(const uchar* report, int length)
{
    if (!report || length != 4 || report[0] != kDpiReportId || report[1] != kDpiReportKind)
        return std::nullopt;
    return report[3];
}

void Hid_Thread::enableReports(bool family560)
{
    // Reports are turned on by one bit of the keyboard option. A failed read
    // must not overwrite the mouse's options with guesses: then nothing is written.
    if (family560) {
        uchar byte1 = 0, byte2 = 0;
        if (cmd560::getKeyboardOption(m_transport, byte1, byte2))
            cmd560::setKeyboardOption(m_transport, byte1 | 0x08, byte2);
        else
            qCDebug(lcHid) << "keyboard option not read; reports not enabled";
    } else {
        uchar byte1 = 0, byte2 = 0, byte3 = 0, byte4 = 0;
        if (cmd553::getKeyboardOption(m_transport, byte1, byte2, byte3, byte4))
            cmd553::setKeyboardOption(m_transport, byte1, byte2, byte3, byte4 | 0x40);
        else
            qCDebug(lcHid) << "keyboard option not read; reports not enabled";
    }
}

void Hid_Thread::startListen(int index, bool family560)
{
    if (listening.exchange(false))
        stopListening();
    enableReports(family560);
    m_listenPath = (index >= 0 && index < m_transport.devices.size())
                       ? m_transport.devices.at(index).path2.toLatin1() : QByteArray();
    listening = true;
    {
        std::lock_guard<std::mutex> lock(m_listenerMutex);
        m_listenerRunning = true;
    }
    listenFuture = QtConcurrent::run(QThreadPool::globalInstance(), [this, index] {
        listenDevice(static_cast<uint>(index));
        std::lock_guard<std::mutex> lock(m_listenerMutex);
        m_listenerRunning = false;
        m_listenerDone.notify_all();
    });
}

void Hid_Thread::stopListening()
{
    listening = false;
    {
        std::unique_lock<std::mutex> lock(m_listenerMutex);
        m_listenerDone.wait(lock, [this] { return !m_listenerRunning; });
    }
    listenFuture.waitForFinished();
}

HidHandle Hid_Thread::openListenDevice(int index)
{
    Q_UNUSED(index);
    if (m_listenPath.isEmpty())
        return nullptr;
    HidApi& api = m_transport.api();
    if (listenHandle) {
        api.close(listenHandle);
        listenHandle = nullptr;
    }
    listenHandle = api.openPath(m_listenPath);
    if (!listenHandle) {
        m_listenPath.clear();
        return nullptr;
    }
    api.setNonblocking(listenHandle, 0);
    return listenHandle;
}

bool Hid_Thread::listenTurn(uint index)
{
    HidApi& api = m_transport.api();
    HidHandle h = openListenDevice(static_cast<int>(index));
    if (!h) {
        qCDebug(lcHid) << "Device removed";
        listening = false;
        // The device list is the GUI thread's: clear the entry's path there.
        QMetaObject::invokeMethod(this, [this, index] {
            if (int(index) < m_transport.devices.size())
                m_transport.devices[int(index)].path2.clear();
        }, Qt::QueuedConnection);
        if (m_host)
            m_host->deviceRemoved();
        return false;
    }
    uchar buffer[4] = {};
    const int n = api.readTimeout(h, buffer, sizeof buffer, kListenTimeoutMs);
    const std::optional<uchar> stage = dpiSwitchStage(buffer, n);
    if (stage && m_host)
        m_host->dpiSwitched(*stage, dpiSwitchNotice(*stage));
    api.close(listenHandle);
    listenHandle = nullptr;
    return true;
}

void Hid_Thread::listenDevice(uint index)
{
    if (m_listenPath.isEmpty())
        return;     // no report interface: nothing to listen to, `listening` stays as it is
    while (listening.load()) {
        if (!listenTurn(index))
            return;
    }
}

void Hid_Thread::scanDevices(const QString& apConfigPath)
{
    QList<DeviceDescriptor> list = readCatalogue(apConfigPath);
    locateInterfaces(m_transport.api(), list);
    m_transport.devices = list;
}

int Hid_Thread::checkDevices(const QString& apConfigPath)
{
    scanDevices(apConfigPath);
    for (int j = 0; j < m_transport.devices.size(); ++j) {
        if (m_transport.devices.at(j).path.isEmpty())
            continue;
        if (chkDeviceIsEnCode(j)) {
            m_deviceConnected = true;
            return j;
        }
    }
    qCDebug(lcHid) << "Device DisConnect";
    m_deviceConnected = false;
    return -1;
}

bool Hid_Thread::singleProfile() const
{
    return m_host && m_host->isGun();
}

void Hid_Thread::note(bool written)
{
    if (!written && m_outcome == WriteOutcome::Done)
        m_outcome = WriteOutcome::NotReached;
}

void Hid_Thread::resetOutcome()
{
    m_outcome = WriteOutcome::Done;
}

uchar Hid_Thread::hidCS(const uchar* cmd)
{
    return frameChecksum(cmd);
}

bool Hid_Thread::chkDeviceIsEnCode(int index)
{
    m_transport.currentIndex = index;
    // A fresh challenge every time, also for two checks within one second.
    const quint32 challenge = QRandomGenerator::global()->generate();
    const uchar r1 = static_cast<uchar>(challenge);
    const uchar r2 = static_cast<uchar>(challenge >> 8);
    const uchar r3 = static_cast<uchar>(challenge >> 16);
    const uchar r4 = static_cast<uchar>(challenge >> 24);
    if (index >= 0 && index < m_transport.devices.size())
        secrecyCodeFromText(m_transport.devices.at(index).sCode, m_transport.secrecyCode);
    uchar b1 = r1, b2 = r2, b3 = r3, b4 = r4;
    // The bytes count only when the exchange happened: a busy link or a
    // failed read leaves them equal to the challenge.
    if (!cmd553::getSecrecyCode(m_transport, b1, b2, b3, b4))
        return false;
    return b1 == r1 && b2 == r2 && b3 == r3 && b4 == r4;
}

void Hid_Thread::USBDataEncryption(uchar* FIFOBuf, const uchar* SecrecyCode)
{
    encryptFrame(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar* FIFOBuf, const uchar* SecrecyCode)
{
    decryptFrame(FIFOBuf, SecrecyCode);
}

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    cmd553::getSecrecyCode(m_transport, byte1, byte2, byte3, byte4);
}

void Hid_Thread::hid553_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    cmd553::getKeyboardOption(m_transport, byte1, byte2, byte3, byte4);
}

void Hid_Thread::hid560_81H_GetKeyboardoption(uchar& byte1, uchar& byte2)
{
    cmd560::getKeyboardOption(m_transport, byte1, byte2);
}

void Hid_Thread::hid560_82H_GetCurrentProfile(uchar& byte1)
{
    cmd560::getCurrentProfile(m_transport, byte1);
}

void Hid_Thread::hid560_84H_GetCurrentDPI(uchar& byte1, uchar& byte2)
{
    cmd560::getCurrentDpi(m_transport, byte1, byte2);
}

void Hid_Thread::hid553_8BH_GetCurrentDPI(uchar& byte1)
{
    cmd553::getCurrentDpi(m_transport, byte1);
}

void Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    note(cmd553::setKeyboardOption(m_transport, byte1, byte2, byte3, byte4));
}

void Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    note(cmd553::setGunData(m_transport, byte1, byte2, byte3, byte4));
}

void Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    note(cmd560::setKeyboardOption(m_transport, byte1, byte2));
}

void Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    note(cmd553::setReportRate(m_transport, rate));
}

void Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    cmd560::setReportRate(m_transport, rate, [this] { return singleProfile(); });
}

void Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    cmd560::setCurrentDpi(m_transport, stage, [this] { return singleProfile(); });
}

void Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    note(cmd553::setCurrentDpi(m_transport, stage));
}

void Hid_Thread::hid553_07H_Lod(uchar stage, uchar en)
{
    Q_UNUSED(en);   // the mouse turns lift-off detection off with stage 0
    note(cmd553::setLiftOff(m_transport, stage));
}

void Hid_Thread::hid553_12H_SetKeyMatrix(const uchar* src64, uchar indexAddOne)
{
    note(cmd553::setKeyMatrix(m_transport, src64, indexAddOne));
}

void Hid_Thread::hid560_0DH_SetKeyMatrix(const uchar* src64, uchar indexAddOne)
{
    note(cmd560::setKeyMatrix(m_transport, src64, indexAddOne));
}

void Hid_Thread::hid560_0CH_setProfile(const uchar* src128, uchar profileData)
{
    writeProfileBlock(src128, profileData);
}

cmd560::BlockWrite Hid_Thread::writeProfileBlock(const uchar* src128, uchar profileData)
{
    const cmd560::BlockWrite result = cmd560::writeProfileChecked(m_transport, src128, profileData);
    if (result == cmd560::BlockWrite::NotReached)
        note(false);
    if (result == cmd560::BlockWrite::NotVerified) {
        if (m_outcome == WriteOutcome::Done)
            m_outcome = WriteOutcome::NotVerified;
        qCWarning(lcHid).nospace() << "profile block " << profileData
                                   << " did not read back as written, also after it was written again";
        if (m_host)
            m_host->writeNotVerified(profileData);
    }
    return result;
}

void Hid_Thread::hid560_8CH_readProfile(uchar* src128, uchar profileNo)
{
    cmd560::readProfile(m_transport, src128, profileNo);
}

void Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    note(cmd560::setCurrentProfile(m_transport, profile));
}

void Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, const uchar* src128)
{
    note(cmd553::setMacroKey(m_transport, macroId, src128));
}

void Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, const uchar* src128)
{
    note(cmd560::setMacroKey(m_transport, macroId, src128));
}

void Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, const uchar* src8)
{
    note(cmd553::setDpiSet(m_transport, dpiStage, src8));
}

void Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    note(cmd553::setCurrentKeyMatrix(m_transport, currentKeyMatrix));
}

void Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    note(cmd553::setRgbLedEffect(m_transport, effect, option1, option2));
}

void Hid_Thread::hid553_0CH_SetFixLEDColor(const uchar* src3)
{
    note(cmd553::setFixLedColor(m_transport, src3));
}

void Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, const uchar* src24)
{
    note(cmd553::setLed8StageColor(m_transport, type, src24));
}
