#include "device/virtual_mouse.h"

#include "device/device_descriptor.h"
#include "device/json_bytes.h"
#include <QSettings>

#include "device/clock.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QSaveFile>
#include <chrono>
#include <cstring>

namespace {

constexpr int kCommandIface = 0;
constexpr int kReportIface = 1;
constexpr int kDpiReportSize = 4;

// What a command handler may touch: the memory of the mouse, its faults and
// the input queue of the command interface (profile reads stream into it).
struct Exec {
    VirtualMouseState& s;
    VirtualFaults& faults;          // a fault that counts down changes here
    int reportLength;
    QQueue<QByteArray>& cmdInput;
};

// Applies one command. `f` is the plain frame, `reply` the reply frame whose
// bytes 1..6 the handler may fill. False: the mouse has no such index.
using Handler = bool (*)(Exec& x, const uchar* f, const QByteArray& payload, uchar* reply);

bool overlay(VirtualBlock& block, const QByteArray& payload)
{
    const int n = qMin(payload.size(), static_cast<int>(block.size()));
    std::memcpy(block.data(), payload.constData(), static_cast<size_t>(n));
    return true;
}

bool inRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Both families
bool handshake(Exec& x, const uchar* f, const QByteArray&, uchar* r)
{
    for (int i = 1; i <= 4; ++i)
        r[i] = x.faults.wrongHandshake ? f[5 - i] : f[i];
    return true;
}
bool setMacro(Exec& x, const uchar* f, const QByteArray& p, uchar*)
{
    // The mouse numbers its twelve macros 1..12.
    return inRange(f[1], 1, 12) && overlay(x.s.macros[f[1] - 1], p);
}

// 553 family
bool setRate553(Exec& x, const uchar* f, const QByteArray&, uchar*) { x.s.reportRate = f[1]; return true; }
bool setCurrentMatrix553(Exec& x, const uchar* f, const QByteArray&, uchar*) { x.s.currentKeyMatrix = f[1]; return true; }
bool setOptions553(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    for (int i = 0; i < 4; ++i)
        x.s.keyboardOptions[i] = f[i + 1];
    return true;
}
bool getOptions553(Exec& x, const uchar*, const QByteArray&, uchar* r)
{
    for (int i = 0; i < 4; ++i)
        r[i + 1] = x.s.keyboardOptions[i];
    return true;
}
bool setRecoil553(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    if (!inRange(f[5], 0, 2))
        return false;
    x.s.recoil[f[5]] = VirtualRecoilSlot{f[2], f[3], f[4]};
    return true;
}
bool setLiftOff553(Exec& x, const uchar* f, const QByteArray&, uchar*) { x.s.liftOff = f[2]; return true; }
bool setDpiStage553(Exec& x, const uchar* f, const QByteArray&, uchar*) { x.s.currentDpiStage = f[1]; return true; }
bool getDpiStage553(Exec& x, const uchar*, const QByteArray&, uchar* r) { r[1] = x.s.currentDpiStage; return true; }
bool setFixedColour553(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    for (int i = 0; i < 3; ++i)
        x.s.fixedColour[i] = f[i + 1];
    return true;
}
bool setEffect553(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    x.s.lightingEffect = f[1];
    x.s.lightingOption1 = f[2];
    x.s.lightingOption2 = f[3];
    return true;
}
bool setLedTable553(Exec& x, const uchar* f, const QByteArray& p, uchar*) { x.s.ledColourTables[f[1]] = p; return true; }
bool setDpiTable553(Exec& x, const uchar* f, const QByteArray& p, uchar*)
{
    x.s.dpiStageCount = f[1];
    std::memcpy(x.s.dpiCodes.data(), p.constData(), static_cast<size_t>(qMin(p.size(), 8)));
    return true;
}
bool setKeyMatrix553(Exec& x, const uchar* f, const QByteArray& p, uchar*)
{
    return inRange(f[1], 1, 4) && overlay(x.s.keyMatrices[f[1] - 1], p.left(64));
}

// 560 family
bool setOptions560(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    x.s.keyboardOptions[0] = f[1];
    x.s.keyboardOptions[1] = f[2];
    return true;
}
bool getOptions560(Exec& x, const uchar*, const QByteArray&, uchar* r)
{
    r[1] = x.s.keyboardOptions[0];
    r[2] = x.s.keyboardOptions[1];
    return true;
}
bool setProfile560(Exec& x, const uchar* f, const QByteArray&, uchar*) { x.s.currentProfile = f[1]; return true; }
bool getProfile560(Exec& x, const uchar*, const QByteArray&, uchar* r) { r[1] = x.s.currentProfile; return true; }
bool setRate560(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    if (!inRange(f[1], 1, 4))
        return false;
    x.s.profileReportRates[f[1] - 1] = f[2];
    return true;
}
bool setDpiStage560(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    if (!inRange(f[1], 1, 4))
        return false;
    x.s.profileDpiStages[f[1] - 1] = f[2];
    return true;
}
bool getDpiStage560(Exec& x, const uchar* f, const QByteArray&, uchar* r)
{
    r[1] = f[1];
    if (!inRange(f[1], 1, 4))
        return false;
    r[2] = x.s.profileDpiStages[f[1] - 1];
    return true;
}
bool setProfileBlock560(Exec& x, const uchar* f, const QByteArray& p, uchar*)
{
    if (!inRange(f[1], 0, 4))
        return false;
    VirtualBlock& block = x.s.profileBlocks[f[1]];
    overlay(block, p);
    if (f[1] == x.faults.corruptBlock && x.faults.corruptWrites != 0) {
        block[block.size() - 1] ^= 0xFF;
        if (x.faults.corruptWrites > 0)
            --x.faults.corruptWrites;
    }
    return true;
}
bool readProfileBlock560(Exec& x, const uchar* f, const QByteArray&, uchar*)
{
    // Input reports left over from an earlier, cut-short read would be taken
    // for this block; the mouse starts the stream afresh.
    x.cmdInput.clear();
    if (!inRange(f[1], 0, 4))
        return false;
    const VirtualBlock& block = x.s.profileBlocks[f[1]];
    const int size = static_cast<int>(block.size());
    const int len = x.reportLength;
    int count = (size + len - 1) / len;
    if (x.faults.inputReports >= 0)
        count = qMin(count, x.faults.inputReports);
    for (int i = 0; i < count; ++i) {
        QByteArray report(len, '\0');
        const int n = qMin(len, size - i * len);
        std::memcpy(report.data(), block.data() + i * len, static_cast<size_t>(n));
        x.cmdInput.enqueue(report);
    }
    return true;
}
bool setKeyMatrix560(Exec& x, const uchar* f, const QByteArray& p, uchar*)
{
    return inRange(f[1], 1, 4) && overlay(x.s.keyMatrices[f[1] - 1], p);
}

struct CommandRow {
    int family;         // 553, 560, or 0 for both
    uchar code;
    bool bulk;          // frame byte 2 bytes of payload follow in output reports
    bool plainReply;    // the reply frame is never ciphered
    Handler run;
};

constexpr CommandRow kCommands[] = {
    {  0, 0x00, false, false, handshake },
    {553, 0x01, false, false, setRate553 },
    {553, 0x02, false, false, setCurrentMatrix553 },
    {553, 0x03, false, false, setOptions553 },
    {553, 0x83, false, false, getOptions553 },
    {553, 0x04, false, false, setRecoil553 },
    {553, 0x07, false, false, setLiftOff553 },
    {553, 0x0B, false, false, setDpiStage553 },
    {553, 0x8B, false, false, getDpiStage553 },
    {553, 0x0C, false, false, setFixedColour553 },
    {553, 0x0D, false, false, setEffect553 },
    {553, 0x10, true,  false, setLedTable553 },
    {553, 0x11, true,  false, setDpiTable553 },
    {553, 0x12, true,  false, setKeyMatrix553 },
    {553, 0x13, true,  false, setMacro },
    {560, 0x01, false, false, setOptions560 },
    {560, 0x81, false, false, getOptions560 },
    {560, 0x02, false, false, setProfile560 },
    {560, 0x82, false, false, getProfile560 },
    {560, 0x03, false, false, setRate560 },
    {560, 0x04, false, false, setDpiStage560 },
    {560, 0x84, false, false, getDpiStage560 },
    {560, 0x0C, true,  false, setProfileBlock560 },
    {560, 0x8C, false, true,  readProfileBlock560 },
    {560, 0x0D, true,  false, setKeyMatrix560 },
    {560, 0x0F, true,  false, setMacro },
};

const CommandRow* findCommand(int family, uchar code)
{
    const int fam = family == 560 ? 560 : 553;
    for (const CommandRow& row : kCommands) {
        if (row.code == code && (row.family == 0 || row.family == fam))
            return &row;
    }
    return nullptr;
}

// ---- JSON -------------------------------------------------------------------

using jsonbytes::byteValue;
using jsonbytes::parseHex;
using jsonbytes::toHex;

template <size_t N>
bool readBytes(const QJsonObject& o, const char* key, std::array<uchar, N>& a)
{
    if (!o.contains(QLatin1String(key)))
        return true;
    QByteArray b;
    if (!parseHex(o.value(QLatin1String(key)), b) || b.size() != static_cast<int>(N))
        return false;
    std::memcpy(a.data(), b.constData(), N);
    return true;
}

bool readByte(const QJsonObject& o, const char* key, uchar& v)
{
    return !o.contains(QLatin1String(key)) || byteValue(o.value(QLatin1String(key)), v);
}

template <size_t N>
QJsonArray blocksToJson(const std::array<VirtualBlock, N>& blocks)
{
    QJsonArray a;
    for (const VirtualBlock& b : blocks)
        a.append(toHex(b.data(), static_cast<int>(b.size())));
    return a;
}

template <size_t N>
bool readBlocks(const QJsonObject& o, const char* key, std::array<VirtualBlock, N>& blocks)
{
    if (!o.contains(QLatin1String(key)))
        return true;
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isArray() || v.toArray().size() != static_cast<int>(N))
        return false;
    const QJsonArray a = v.toArray();
    for (size_t i = 0; i < N; ++i) {
        QByteArray b;
        if (!parseHex(a.at(static_cast<int>(i)), b) || b.size() != static_cast<int>(blocks[i].size()))
            return false;
        std::memcpy(blocks[i].data(), b.constData(), blocks[i].size());
    }
    return true;
}

bool readLedTables(const QJsonObject& o, QMap<int, QByteArray>& tables)
{
    if (!o.contains(QLatin1String("ledColourTables")))
        return true;
    const QJsonValue v = o.value(QLatin1String("ledColourTables"));
    if (!v.isObject())
        return false;
    QMap<int, QByteArray> parsed;
    const QJsonObject t = v.toObject();
    for (auto it = t.begin(); it != t.end(); ++it) {
        bool ok = false;
        const int type = it.key().toInt(&ok);
        QByteArray b;
        if (!ok || !inRange(type, 0, 255) || !parseHex(it.value(), b))
            return false;
        parsed.insert(type, b);
    }
    tables = parsed;
    return true;
}

bool readRecoil(const QJsonObject& o, std::array<VirtualRecoilSlot, 3>& recoil)
{
    if (!o.contains(QLatin1String("recoil")))
        return true;
    const QJsonValue v = o.value(QLatin1String("recoil"));
    if (!v.isArray() || v.toArray().size() != 3)
        return false;
    const QJsonArray a = v.toArray();
    for (int i = 0; i < 3; ++i) {
        if (!a.at(i).isObject())
            return false;
        const QJsonObject s = a.at(i).toObject();
        if (!readByte(s, "times", recoil[i].times) || !readByte(s, "x", recoil[i].x)
            || !readByte(s, "y", recoil[i].y))
            return false;
    }
    return true;
}

// ---- options ----------------------------------------------------------------

enum class OptKind { Family, SCode, ReportLength, IdHex, IdFlag, Plugged, FaultFlag, FaultCount };

struct OptionRow {
    const char* key;
    const char* value;
    const char* help;
    OptKind kind;
    quint16 VirtualMouseIdentity::*idHex;
    bool VirtualMouseIdentity::*idFlag;
    bool VirtualFaults::*faultFlag;
    int VirtualFaults::*faultCount;
};

constexpr OptionRow kOptions[] = {
    {"family", "553|560", "command family of the mouse", OptKind::Family, nullptr, nullptr, nullptr, nullptr},
    {"sCode", "CODE", "six-character secrecy code of the mouse", OptKind::SCode, nullptr, nullptr, nullptr, nullptr},
    {"reportLength", "N", "bytes of one output/input report (32 or 64)", OptKind::ReportLength, nullptr, nullptr, nullptr, nullptr},
    {"isEncode", "BOOL", "command frames travel ciphered", OptKind::IdFlag, nullptr, &VirtualMouseIdentity::isEncode, nullptr, nullptr},
    {"vid", "HEX", "USB vendor id", OptKind::IdHex, &VirtualMouseIdentity::vid, nullptr, nullptr, nullptr},
    {"pid", "HEX", "USB product id", OptKind::IdHex, &VirtualMouseIdentity::pid, nullptr, nullptr, nullptr},
    {"usagePage", "HEX", "usage page of the command interface", OptKind::IdHex, &VirtualMouseIdentity::usagePage, nullptr, nullptr, nullptr},
    {"usage", "HEX", "usage of the command interface", OptKind::IdHex, &VirtualMouseIdentity::usage, nullptr, nullptr, nullptr},
    {"usagePage2", "HEX", "usage page of the report interface", OptKind::IdHex, &VirtualMouseIdentity::usagePage2, nullptr, nullptr, nullptr},
    {"usage2", "HEX", "usage of the report interface", OptKind::IdHex, &VirtualMouseIdentity::usage2, nullptr, nullptr, nullptr},
    {"plugged", "BOOL", "the mouse is attached", OptKind::Plugged, nullptr, nullptr, nullptr, nullptr},
    {"noAnswer", "BOOL", "feature-report reads fail", OptKind::FaultFlag, nullptr, nullptr, &VirtualFaults::noAnswer, nullptr},
    {"wrongHandshake", "BOOL", "the handshake answers its bytes in reverse order", OptKind::FaultFlag, nullptr, nullptr, &VirtualFaults::wrongHandshake, nullptr},
    {"openFail", "BOOL", "opening an interface fails", OptKind::FaultFlag, nullptr, nullptr, &VirtualFaults::openFail, nullptr},
    {"failChunk", "N", "output report N (0-based) of every bulk payload fails; -1 off", OptKind::FaultCount, nullptr, nullptr, nullptr, &VirtualFaults::failChunk},
    {"inputReports", "N", "a profile read sends only N input reports; -1 off", OptKind::FaultCount, nullptr, nullptr, nullptr, &VirtualFaults::inputReports},
    {"garbage", "BOOL", "feature-report reads return random bytes", OptKind::FaultFlag, nullptr, nullptr, &VirtualFaults::garbage, nullptr},
    {"corruptBlock", "N", "560: profile block N is stored with its last byte inverted; -1 off", OptKind::FaultCount, nullptr, nullptr, nullptr, &VirtualFaults::corruptBlock},
    {"corruptWrites", "N", "only the next N writes of that block are corrupted; -1 every write", OptKind::FaultCount, nullptr, nullptr, nullptr, &VirtualFaults::corruptWrites},
    {"featureWriteFail", "BOOL", "feature-report writes fail", OptKind::FaultFlag, nullptr, nullptr, &VirtualFaults::featureWriteFail, nullptr},
    {"unplugAtCall", "N", "the mouse is unplugged at call N (0-based) on the command interface; -1 off", OptKind::FaultCount, nullptr, nullptr, nullptr, &VirtualFaults::unplugAtCall},
};

bool parseBool(const QString& text, bool& v)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("yes") || t == QLatin1String("on"))
        v = true;
    else if (t == QLatin1String("false") || t == QLatin1String("0") || t == QLatin1String("no") || t == QLatin1String("off"))
        v = false;
    else
        return false;
    return true;
}

} // namespace

// ---- the mouse --------------------------------------------------------------

struct VirtualMouse::Handle {
    int iface = kCommandIface;
    quint64 generation = 0;
    bool nonblocking = false;
};

VirtualMouseState VirtualMouseState::factoryDefaults()
{
    VirtualMouseState s;
    constexpr uchar codes[8] = {0x07, 0x0F, 0x1F, 0x3F, 0x80, 0x80, 0x80, 0x80};   // 800..6400 DPI
    std::memcpy(s.dpiCodes.data(), codes, 8);
    s.profileReportRates.fill(1);
    s.profileDpiStages.fill(1);
    s.profileBlocks[0][2] = 7;                      // one key-matrix layer
    for (int b = 1; b <= 4; ++b) {
        for (int i = 0; i < 4; ++i) {
            s.profileBlocks[b][84 + i] = codes[i];
            s.profileBlocks[b][92 + i] = codes[i];
        }
        s.profileBlocks[b][100] = 0x0F;             // stages 1..4 enabled
    }
    return s;
}

VirtualMouse::VirtualMouse(Clock& clock, const VirtualMouseIdentity& id)
    : m_clock(clock),
      m_realTime(dynamic_cast<SystemClock*>(&clock) != nullptr),
      m_id(id),
      m_state(VirtualMouseState::factoryDefaults())
{
}

VirtualMouse::~VirtualMouse()
{
    qDeleteAll(m_handles);
}

VirtualMouse::Handle* VirtualMouse::liveHandle(HidHandle h) const
{
    auto* p = reinterpret_cast<Handle*>(h);
    if (!p || !m_handles.contains(p) || !m_plugged || p->generation != m_generation)
        return nullptr;
    return p;
}

QList<HidInterfaceInfo> VirtualMouse::enumerate(quint16 vendorId, quint16 productId)
{
    Lock lock(m_mutex);
    // Like hidapi, 0 matches any id.
    if (!m_plugged || (vendorId && vendorId != m_id.vid) || (productId && productId != m_id.pid))
        return {};
    HidInterfaceInfo cmd;
    cmd.path = commandPath();
    cmd.vendorId = m_id.vid;
    cmd.productId = m_id.pid;
    cmd.usagePage = m_id.usagePage;
    cmd.usage = m_id.usage;
    cmd.interfaceNumber = 0;
    HidInterfaceInfo rep = cmd;
    rep.path = reportPath();
    rep.usagePage = m_id.usagePage2;
    rep.usage = m_id.usage2;
    rep.interfaceNumber = 1;
    return {cmd, rep};
}

HidHandle VirtualMouse::openPath(const QByteArray& path)
{
    Lock lock(m_mutex);
    if (path == commandPath())
        countCommandCall();
    if (!m_plugged || m_faults.openFail)
        return nullptr;
    int iface;
    if (path == commandPath())
        iface = kCommandIface;
    else if (path == reportPath())
        iface = kReportIface;
    else
        return nullptr;
    auto* h = new Handle;
    h->iface = iface;
    h->generation = m_generation;
    m_handles.insert(h);
    return reinterpret_cast<HidHandle>(h);
}

int VirtualMouse::setNonblocking(HidHandle h, int nonblock)
{
    Lock lock(m_mutex);
    Handle* p = liveHandle(h);
    if (!p)
        return -1;
    p->nonblocking = nonblock != 0;
    return 0;
}

int VirtualMouse::sendFeatureReport(HidHandle h, const unsigned char* data, size_t length)
{
    Lock lock(m_mutex);
    countCommandCall(h);
    Handle* p = liveHandle(h);
    if (!p || p->iface != kCommandIface || !data || length < static_cast<size_t>(kFeatureReportSize)
        || m_faults.featureWriteFail)
        return -1;
    onFeatureReport(data + 1);
    return static_cast<int>(length);
}

int VirtualMouse::getFeatureReport(HidHandle h, unsigned char* data, size_t length)
{
    Lock lock(m_mutex);
    countCommandCall(h);
    Handle* p = liveHandle(h);
    if (!p || p->iface != kCommandIface || !data || length == 0 || m_faults.noAnswer)
        return -1;
    FeatureReport out = m_reply;
    if (m_faults.garbage) {
        for (uchar& b : out) {
            // xorshift32: the same garbage on every run
            m_noise ^= m_noise << 13;
            m_noise ^= m_noise >> 17;
            m_noise ^= m_noise << 5;
            b = static_cast<uchar>(m_noise);
        }
        out[0] = 0;
    }
    const size_t n = qMin(length, out.size());
    std::memcpy(data, out.data(), n);
    return static_cast<int>(n);
}

int VirtualMouse::write(HidHandle h, const unsigned char* data, size_t length)
{
    Lock lock(m_mutex);
    countCommandCall(h);
    Handle* p = liveHandle(h);
    if (!p || p->iface != kCommandIface || !data || length == 0)
        return -1;
    if (!m_pending.active) {
        // An output report nobody announced: the mouse drops it.
        VirtualExchange stray;
        stray.payload = QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<int>(length) - 1);
        stray.ignored = true;
        logExchange(stray);
        return static_cast<int>(length);
    }
    const int chunk = m_pending.chunks++;
    if (chunk == m_faults.failChunk)
        return -1;
    const int missing = m_pending.length - m_pending.data.size();
    const int n = qMin(qMin(static_cast<int>(length) - 1, m_id.reportLength), missing);
    m_pending.data.append(reinterpret_cast<const char*>(data + 1), n);
    if (m_pending.logIndex >= 0)
        m_received[m_pending.logIndex].payload = m_pending.data;
    if (m_pending.data.size() >= m_pending.length)
        finishPayload();
    return static_cast<int>(length);
}

int VirtualMouse::takeInput(Handle* h, unsigned char* data, size_t length)
{
    QQueue<QByteArray>& queue = h->iface == kCommandIface ? m_cmdInput : m_repInput;
    if (queue.isEmpty())
        return 0;
    const QByteArray r = queue.dequeue();
    const size_t n = qMin(length, static_cast<size_t>(r.size()));
    std::memcpy(data, r.constData(), n);
    return static_cast<int>(n);
}

int VirtualMouse::read(HidHandle h, unsigned char* data, size_t length)
{
    Lock lock(m_mutex);
    countCommandCall(h);
    Handle* p = liveHandle(h);
    if (!p || !data || length == 0)
        return -1;
    const int n = takeInput(p, data, length);
    if (n > 0)
        return n;
    // Blocking with nothing to come would hang the caller for good.
    return p->nonblocking ? 0 : -1;
}

int VirtualMouse::readTimeout(HidHandle h, unsigned char* data, size_t length, int milliseconds)
{
    if (milliseconds < 0)
        return read(h, data, length);
    Lock lock(m_mutex);
    countCommandCall(h);
    Handle* p = liveHandle(h);
    if (!p || !data || length == 0)
        return -1;
    const int n = takeInput(p, data, length);
    if (n > 0 || milliseconds == 0)
        return n;
    return waitForInput(lock, h, data, length, milliseconds);
}

// Called with `lock` held; releases it while waiting.
int VirtualMouse::waitForInput(Lock& lock, HidHandle h, unsigned char* data, size_t length, int milliseconds)
{
    if (m_realTime || m_waitsForReports.load()) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            Handle* p = liveHandle(h);
            if (!p)
                return -1;
            const int n = takeInput(p, data, length);
            if (n > 0)
                return n;
            if (m_inputArrived.wait_until(lock, deadline) == std::cv_status::timeout) {
                p = liveHandle(h);
                return p ? takeInput(p, data, length) : -1;
            }
        }
    }
    lock.unlock();
    m_clock.sleepMs(milliseconds);
    lock.lock();
    Handle* p = liveHandle(h);
    if (!p)
        return -1;
    return takeInput(p, data, length);
}

void VirtualMouse::close(HidHandle h)
{
    Lock lock(m_mutex);
    auto* p = reinterpret_cast<Handle*>(h);
    if (p && m_handles.remove(p))
        delete p;
}

void VirtualMouse::setWaitsForReports(bool wait)
{
    m_waitsForReports = wait;
}

int VirtualMouse::openHandles() const
{
    Lock lock(m_mutex);
    return m_handles.size();
}

SecrecyBytes VirtualMouse::secrecy() const
{
    SecrecyBytes code{};
    secrecyCodeFromText(m_id.sCode, code);
    return code;
}

void VirtualMouse::setReply(const uchar* frame8, bool cipher)
{
    uchar f[kFrameSize];
    std::memcpy(f, frame8, kFrameSize);
    f[7] = frameChecksum(f);
    if (cipher && m_id.isEncode)
        encryptFrame(f, secrecy().data());
    m_reply[0] = 0;
    std::memcpy(m_reply.data() + 1, f, kFrameSize);
}

void VirtualMouse::onFeatureReport(const uchar* frame8)
{
    dropPayload();
    uchar f[kFrameSize];
    std::memcpy(f, frame8, kFrameSize);
    if (m_id.isEncode)
        decryptFrame(f, secrecy().data());

    VirtualExchange ex;
    ex.frame = QByteArray(reinterpret_cast<const char*>(f), kFrameSize);
    if (frameChecksum(f) != f[7]) {
        // Garbled or ciphered with another code: the mouse does nothing and
        // has nothing to answer.
        ex.rejected = true;
        logExchange(ex);
        m_reply.fill(0);
        return;
    }

    uchar reply[kFrameSize] = {f[0]};
    const CommandRow* row = findCommand(m_id.family, f[0]);
    if (!row) {
        ex.ignored = true;
        logExchange(ex);
        setReply(reply, true);
        return;
    }
    if (row->bulk) {
        ex.incomplete = true;
        m_pending = Pending{};
        m_pending.active = true;
        std::memcpy(m_pending.frame.data(), f, kFrameSize);
        m_pending.length = f[2];
        logExchange(ex);
        m_pending.logIndex = m_received.size() - 1;
        setReply(reply, !row->plainReply);
        if (m_pending.length == 0)
            finishPayload();
        return;
    }
    Exec x{m_state, m_faults, m_id.reportLength, m_cmdInput};
    ex.ignored = !row->run(x, f, QByteArray(), reply);
    logExchange(ex);
    setReply(reply, !row->plainReply);
    if (!m_cmdInput.isEmpty())
        m_inputArrived.notify_all();
}

void VirtualMouse::finishPayload()
{
    const CommandRow* row = findCommand(m_id.family, m_pending.frame[0]);
    m_pending.active = false;
    bool handled = false;
    if (row) {
        uchar unused[kFrameSize] = {};
        Exec x{m_state, m_faults, m_id.reportLength, m_cmdInput};
        handled = row->run(x, m_pending.frame.data(), m_pending.data, unused);
    }
    if (m_pending.logIndex >= 0) {
        VirtualExchange& ex = m_received[m_pending.logIndex];
        ex.payload = m_pending.data;
        ex.incomplete = false;
        ex.ignored = !handled;
    }
}

void VirtualMouse::dropPayload()
{
    // The exchange stays in the log marked incomplete.
    m_pending.active = false;
}

VirtualMouseIdentity VirtualMouse::identity() const
{
    Lock lock(m_mutex);
    return m_id;
}

void VirtualMouse::setIdentity(const VirtualMouseIdentity& id)
{
    Lock lock(m_mutex);
    m_id = id;
}

VirtualFaults VirtualMouse::faults() const
{
    Lock lock(m_mutex);
    return m_faults;
}

void VirtualMouse::setFaults(const VirtualFaults& faults)
{
    Lock lock(m_mutex);
    m_faults = faults;
    m_commandCalls = 0;
}

void VirtualMouse::countCommandCall()
{
    if (m_faults.unplugAtCall >= 0 && m_commandCalls++ == m_faults.unplugAtCall)
        unplugLocked();
}

void VirtualMouse::countCommandCall(HidHandle h)
{
    // Handles of the report interface (the listener's) do not count.
    const auto* p = reinterpret_cast<Handle*>(h);
    if (p && m_handles.contains(const_cast<Handle*>(p)) && p->iface == kCommandIface)
        countCommandCall();
}

bool VirtualMouse::reportsEnabled() const
{
    Lock lock(m_mutex);
    return reportsEnabledLocked();
}

bool VirtualMouse::reportsEnabledLocked() const
{
    return m_id.family == 560 ? (m_state.keyboardOptions[0] & 0x08) != 0
                              : (m_state.keyboardOptions[3] & 0x40) != 0;
}

void VirtualMouse::pressDpiButton()
{
    Lock lock(m_mutex);
    if (!m_plugged)
        return;
    const int count = inRange(m_state.dpiStageCount, 1, 8) ? m_state.dpiStageCount : 4;
    uchar* stage = &m_state.currentDpiStage;
    if (m_id.family == 560) {
        const int profile = inRange(m_state.currentProfile, 1, 4) ? m_state.currentProfile : 1;
        stage = &m_state.profileDpiStages[profile - 1];
    }
    *stage = static_cast<uchar>(inRange(*stage, 1, count - 1) ? *stage + 1 : 1);
    if (reportsEnabledLocked()) {
        const char report[kDpiReportSize] = {0x06, 0x07, 0x00, static_cast<char>(*stage)};
        m_repInput.enqueue(QByteArray(report, kDpiReportSize));
        m_inputArrived.notify_all();
    }
}

void VirtualMouse::unplug()
{
    Lock lock(m_mutex);
    unplugLocked();
}

void VirtualMouse::unplugLocked()
{
    m_plugged = false;
    ++m_generation;
    m_cmdInput.clear();
    m_repInput.clear();
    dropPayload();
    m_reply.fill(0);
    m_inputArrived.notify_all();
}

void VirtualMouse::plug()
{
    Lock lock(m_mutex);
    m_plugged = true;
}

bool VirtualMouse::isPlugged() const
{
    Lock lock(m_mutex);
    return m_plugged;
}

VirtualMouseState VirtualMouse::state() const
{
    Lock lock(m_mutex);
    return m_state;
}

void VirtualMouse::setState(const VirtualMouseState& state)
{
    Lock lock(m_mutex);
    m_state = state;
}

QJsonObject VirtualMouse::toJson() const
{
    const VirtualMouseState s = state();
    QJsonObject o;
    o.insert(QStringLiteral("keyboardOptions"), toHex(s.keyboardOptions.data(), 4));
    o.insert(QStringLiteral("reportRate"), s.reportRate);
    o.insert(QStringLiteral("currentKeyMatrix"), s.currentKeyMatrix);
    o.insert(QStringLiteral("keyMatrices"), blocksToJson(s.keyMatrices));
    o.insert(QStringLiteral("macros"), blocksToJson(s.macros));
    o.insert(QStringLiteral("dpiStageCount"), s.dpiStageCount);
    o.insert(QStringLiteral("dpiCodes"), toHex(s.dpiCodes.data(), 8));
    o.insert(QStringLiteral("currentDpiStage"), s.currentDpiStage);
    o.insert(QStringLiteral("liftOff"), s.liftOff);
    o.insert(QStringLiteral("fixedColour"), toHex(s.fixedColour.data(), 3));
    o.insert(QStringLiteral("lightingEffect"), s.lightingEffect);
    o.insert(QStringLiteral("lightingOption1"), s.lightingOption1);
    o.insert(QStringLiteral("lightingOption2"), s.lightingOption2);
    QJsonObject tables;
    for (auto it = s.ledColourTables.cbegin(); it != s.ledColourTables.cend(); ++it)
        tables.insert(QString::number(it.key()), QString::fromLatin1(it.value().toHex()));
    o.insert(QStringLiteral("ledColourTables"), tables);
    QJsonArray recoil;
    for (const VirtualRecoilSlot& r : s.recoil)
        recoil.append(QJsonObject{{QStringLiteral("times"), r.times}, {QStringLiteral("x"), r.x}, {QStringLiteral("y"), r.y}});
    o.insert(QStringLiteral("recoil"), recoil);
    o.insert(QStringLiteral("currentProfile"), s.currentProfile);
    o.insert(QStringLiteral("profileReportRates"), toHex(s.profileReportRates.data(), 4));
    o.insert(QStringLiteral("profileDpiStages"), toHex(s.profileDpiStages.data(), 4));
    o.insert(QStringLiteral("profileBlocks"), blocksToJson(s.profileBlocks));
    return o;
}

bool VirtualMouse::fromJson(const QJsonObject& o)
{
    VirtualMouseState s = state();
    const bool ok = readBytes(o, "keyboardOptions", s.keyboardOptions)
        && readByte(o, "reportRate", s.reportRate)
        && readByte(o, "currentKeyMatrix", s.currentKeyMatrix)
        && readBlocks(o, "keyMatrices", s.keyMatrices)
        && readBlocks(o, "macros", s.macros)
        && readByte(o, "dpiStageCount", s.dpiStageCount)
        && readBytes(o, "dpiCodes", s.dpiCodes)
        && readByte(o, "currentDpiStage", s.currentDpiStage)
        && readByte(o, "liftOff", s.liftOff)
        && readBytes(o, "fixedColour", s.fixedColour)
        && readByte(o, "lightingEffect", s.lightingEffect)
        && readByte(o, "lightingOption1", s.lightingOption1)
        && readByte(o, "lightingOption2", s.lightingOption2)
        && readLedTables(o, s.ledColourTables)
        && readRecoil(o, s.recoil)
        && readByte(o, "currentProfile", s.currentProfile)
        && readBytes(o, "profileReportRates", s.profileReportRates)
        && readBytes(o, "profileDpiStages", s.profileDpiStages)
        && readBlocks(o, "profileBlocks", s.profileBlocks);
    if (!ok)
        return false;
    setState(s);
    return true;
}

bool VirtualMouse::saveState(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = QJsonDocument(toJson()).toJson(QJsonDocument::Indented);
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool VirtualMouse::loadState(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    return fromJson(doc.object());
}

bool VirtualMouse::setOption(const QString& key, const QString& value, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const OptionRow* row = nullptr;
    for (const OptionRow& r : kOptions) {
        if (key == QLatin1String(r.key))
            row = &r;
    }
    if (!row)
        return fail(QStringLiteral("unknown virtual mouse option \"%1\"").arg(key));
    const QString bad = QStringLiteral("bad value \"%1\" for %2 (expected %3)").arg(value, key, QLatin1String(row->value));

    bool ok = false;
    bool flag = false;
    const QString v = value.trimmed();
    switch (row->kind) {
    case OptKind::Family: {
        const int family = v.toInt(&ok);
        if (!ok || (family != 553 && family != 560))
            return fail(bad);
        Lock lock(m_mutex);
        m_id.family = family;
        return true;
    }
    case OptKind::SCode: {
        if (value.size() != 6)
            return fail(bad);
        Lock lock(m_mutex);
        m_id.sCode = value;
        return true;
    }
    case OptKind::ReportLength: {
        const int len = v.toInt(&ok);
        if (!ok || len < 1 || len > 1024)
            return fail(bad);
        Lock lock(m_mutex);
        m_id.reportLength = len;
        return true;
    }
    case OptKind::IdHex: {
        QString digits = v;
        if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            digits = digits.mid(2);
        const uint id = digits.toUInt(&ok, 16);
        if (!ok || id > 0xFFFF)
            return fail(bad);
        Lock lock(m_mutex);
        m_id.*(row->idHex) = static_cast<quint16>(id);
        return true;
    }
    case OptKind::IdFlag: {
        if (!parseBool(v, flag))
            return fail(bad);
        Lock lock(m_mutex);
        m_id.*(row->idFlag) = flag;
        return true;
    }
    case OptKind::Plugged:
        if (!parseBool(v, flag))
            return fail(bad);
        flag ? plug() : unplug();
        return true;
    case OptKind::FaultFlag: {
        if (!parseBool(v, flag))
            return fail(bad);
        Lock lock(m_mutex);
        m_faults.*(row->faultFlag) = flag;
        return true;
    }
    case OptKind::FaultCount: {
        const int n = v.toInt(&ok);
        if (!ok || n < -1)
            return fail(bad);
        Lock lock(m_mutex);
        m_faults.*(row->faultCount) = n;
        m_commandCalls = 0;
        return true;
    }
    }
    return fail(bad);
}

QStringList VirtualMouse::optionHelp()
{
    int width = 0;
    for (const OptionRow& r : kOptions)
        width = qMax(width, static_cast<int>(std::strlen(r.key) + 1 + std::strlen(r.value)));
    QStringList lines;
    for (const OptionRow& r : kOptions) {
        const QString left = QLatin1String(r.key) + QLatin1Char('=') + QLatin1String(r.value);
        lines << left.leftJustified(width) + QLatin1String("  ") + QLatin1String(r.help);
    }
    return lines;
}

QList<VirtualExchange> VirtualMouse::received() const
{
    Lock lock(m_mutex);
    return m_received;
}

void VirtualMouse::setLogLimit(int exchanges)
{
    Lock lock(m_mutex);
    m_logLimit = qMax(0, exchanges);
}

void VirtualMouse::logExchange(const VirtualExchange& exchange)
{
    m_received.append(exchange);
    if (m_logLimit <= 0 || m_received.size() <= m_logLimit)
        return;
    // The oldest go; the entry of a payload still arriving moves with them.
    const qsizetype drop = m_received.size() - m_logLimit;
    m_received.remove(0, drop);
    if (m_pending.logIndex >= 0)
        m_pending.logIndex = m_pending.logIndex >= drop ? int(m_pending.logIndex - drop) : -1;
}

void VirtualMouse::clearReceived()
{
    Lock lock(m_mutex);
    m_received.clear();
    m_pending.logIndex = -1;
}

VirtualMouseIdentity identityFromCatalogue(const QString& apConfigPath)
{
    VirtualMouseIdentity id;
    for (const DeviceDescriptor& d : readCatalogue(apConfigPath)) {
        if (d.type != 1)
            continue;
        id.vid = d.vid;
        id.pid = d.pid;
        id.usagePage = d.usagePage;
        id.usage = d.usage;
        id.usagePage2 = d.usagePage2;
        id.usage2 = d.usage2;
        id.reportLength = d.reportLength;
        id.isEncode = d.isEncode;
        id.sCode = d.sCode;
        break;
    }
    QSettings s(apConfigPath, QSettings::IniFormat);
    id.family = s.value(QStringLiteral("mouse/icType")).toString() == QLatin1String("560") ? 560 : 553;
    return id;
}
