// The firmware model driven through the HID calls alone, the way the
// transport drives a real mouse.

#include "device/cipher.h"
#include "device/clock.h"
#include "device/frame.h"
#include "device/virtual_mouse.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <thread>

namespace {

using Bytes = QByteArray;

Bytes bytes(std::initializer_list<int> list)
{
    Bytes b;
    for (int v : list)
        b.append(static_cast<char>(v));
    return b;
}

const uchar* u(const Bytes& b) { return reinterpret_cast<const uchar*>(b.constData()); }

// The feature report of a frame given by bytes 0..6, ciphered with `code` if given.
Bytes featureReport(const Bytes& frame0to6, const QString& code = QString())
{
    uchar f[kFrameSize] = {};
    std::memcpy(f, frame0to6.constData(), static_cast<size_t>(qMin(frame0to6.size(), 7)));
    f[7] = frameChecksum(f);
    if (!code.isEmpty()) {
        SecrecyBytes s{};
        secrecyCodeFromText(code, s);
        encryptFrame(f, s.data());
    }
    return Bytes(1, '\0') + Bytes(reinterpret_cast<const char*>(f), kFrameSize);
}

// One command as the transport sends it: a handle of its own for the write
// and for the read. Returns the 9-byte reply, or an empty array when the mouse
// does not answer.
Bytes command(VirtualMouse& m, const Bytes& frame0to6, const QString& code = QString())
{
    const Bytes out = featureReport(frame0to6, code);
    HidHandle h = m.openPath(VirtualMouse::commandPath());
    const int sent = m.sendFeatureReport(h, u(out), static_cast<size_t>(out.size()));
    m.close(h);
    if (sent < 0)
        return Bytes();
    h = m.openPath(VirtualMouse::commandPath());
    Bytes in(kFeatureReportSize, '\0');
    const int got = m.getFeatureReport(h, reinterpret_cast<uchar*>(in.data()), static_cast<size_t>(in.size()));
    m.close(h);
    return got == kFeatureReportSize ? in : Bytes();
}

// Output reports of `reportLength` + 1 bytes for chunks [first, last) of a
// payload; the padding after the payload is 0xEE so a mouse that keeps it shows.
QList<int> writeChunks(VirtualMouse& m, const Bytes& payload, int reportLength, int first, int last)
{
    QList<int> results;
    for (int c = first; c < last; ++c) {
        Bytes report(reportLength + 1, '\xEE');
        report[0] = 0;
        const Bytes chunk = payload.mid(c * reportLength, reportLength);
        std::memcpy(report.data() + 1, chunk.constData(), static_cast<size_t>(chunk.size()));
        HidHandle h = m.openPath(VirtualMouse::commandPath());
        results << m.write(h, u(report), static_cast<size_t>(report.size()));
        m.close(h);
    }
    return results;
}

Bytes pattern(int n, int seed)
{
    Bytes b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = static_cast<char>(seed + i * 7);
    return b;
}

// The stored bytes of one field of the mouse's JSON state: an element of a
// block list, or an entry of the colour tables.
Bytes storedBytes(const VirtualMouse& m, const QString& key, int index)
{
    const QJsonValue v = m.toJson().value(key);
    const QString hex = v.isArray() ? v.toArray().at(index).toString()
                                    : v.toObject().value(QString::number(index)).toString();
    return Bytes::fromHex(hex.toLatin1());
}

VirtualMouseIdentity identity(int family, int reportLength = 32, bool isEncode = false)
{
    VirtualMouseIdentity id;
    id.family = family;
    id.reportLength = reportLength;
    id.isEncode = isEncode;
    return id;
}

} // namespace

class TestVirtualMouse : public QObject {
    Q_OBJECT
private slots:
    void handshake_data();
    void handshake();
    void bulkPayloadAppliesAfterLastChunk_data();
    void bulkPayloadAppliesAfterLastChunk();
    void newCommandDropsPartialPayload();
    void logLimitKeepsTheNewest();
    void profileReadStreamsBlock_data();
    void profileReadStreamsBlock();
    void commandsTheMouseDoesNotKnowChangeNothing_data();
    void commandsTheMouseDoesNotKnowChangeNothing();
    void readReplyFaults();
    void openFailStillEnumerates();
    void failingChunkLeavesStateUnchanged();
    void shortProfileReadTimesOut();
    void unplugAndPlug();
    void dpiButton_data();
    void dpiButton();
    void dpiReportWakesRealTimeReader();
    void jsonRoundTrip();
    void jsonMissingFieldsKeepValues();
    void jsonMalformedIsRefused_data();
    void jsonMalformedIsRefused();
    void options_data();
    void options();
};

void TestVirtualMouse::handshake_data()
{
    QTest::addColumn<bool>("isEncode");
    QTest::addColumn<QString>("hostCode");
    QTest::addColumn<bool>("wrongHandshake");
    QTest::addColumn<bool>("rejected");
    QTest::addColumn<Bytes>("answer");

    QTest::newRow("plain") << false << QString() << false << false << bytes({0x11, 0x22, 0x33, 0x44});
    QTest::newRow("ciphered with the mouse's code")
        << true << QStringLiteral("386514") << false << false << bytes({0x11, 0x22, 0x33, 0x44});
    QTest::newRow("ciphered with another code")
        << true << QStringLiteral("123456") << false << true << Bytes();
    QTest::newRow("wrong answer fault") << false << QString() << true << false << bytes({0x44, 0x33, 0x22, 0x11});
}

void TestVirtualMouse::handshake()
{
    QFETCH(bool, isEncode);
    QFETCH(QString, hostCode);
    QFETCH(bool, wrongHandshake);
    QFETCH(bool, rejected);
    QFETCH(Bytes, answer);

    VirtualClock clock;
    VirtualMouse m(clock, identity(553, 32, isEncode));
    VirtualFaults faults;
    faults.wrongHandshake = wrongHandshake;
    m.setFaults(faults);

    Bytes reply = command(m, bytes({0x00, 0x11, 0x22, 0x33, 0x44}), hostCode);
    QCOMPARE(reply.size(), kFeatureReportSize);
    QCOMPARE(m.received().size(), 1);
    QCOMPARE(m.received().first().rejected, rejected);
    if (rejected) {
        QCOMPARE(reply, Bytes(kFeatureReportSize, '\0'));
        return;
    }
    QCOMPARE(m.received().first().frame, featureReport(bytes({0x00, 0x11, 0x22, 0x33, 0x44})).mid(1));
    uchar* f = reinterpret_cast<uchar*>(reply.data()) + 1;
    if (isEncode) {
        SecrecyBytes s{};
        secrecyCodeFromText(hostCode, s);
        decryptFrame(f, s.data());
    }
    QCOMPARE(reply.at(0), '\0');
    QCOMPARE(f[0], uchar(0x00));
    QCOMPARE(reply.mid(2, 4), answer);
    QCOMPARE(f[7], frameChecksum(f));
}

void TestVirtualMouse::bulkPayloadAppliesAfterLastChunk_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<Bytes>("frame");
    QTest::addColumn<Bytes>("payload");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("index");
    QTest::addColumn<Bytes>("stored");

    const Bytes p128 = pattern(128, 3);
    const Bytes p64 = pattern(64, 9);
    // The mouse numbers its macros 1..12: macro 5 is the fifth slot.
    QTest::newRow("553 macro, four 32-byte reports")
        << 553 << 32 << bytes({0x13, 5, 0x80}) << p128 << QStringLiteral("macros") << 4 << p128;
    QTest::newRow("553 key matrix, 64 bytes of a 128-byte slot")
        << 553 << 32 << bytes({0x12, 2, 0x40, 0x08}) << p64 << QStringLiteral("keyMatrices") << 1 << p64 + Bytes(64, '\0');
    QTest::newRow("560 profile block, two 64-byte reports")
        << 560 << 64 << bytes({0x0C, 3, 0x80}) << p128 << QStringLiteral("profileBlocks") << 3 << p128;
    QTest::newRow("553 colour table of 4 bytes, padding dropped")
        << 553 << 32 << bytes({0x10, 2, 4}) << bytes({1, 2, 3, 4}) << QStringLiteral("ledColourTables") << 2 << bytes({1, 2, 3, 4});
}

void TestVirtualMouse::bulkPayloadAppliesAfterLastChunk()
{
    QFETCH(int, family);
    QFETCH(int, reportLength);
    QFETCH(Bytes, frame);
    QFETCH(Bytes, payload);
    QFETCH(QString, field);
    QFETCH(int, index);
    QFETCH(Bytes, stored);

    VirtualClock clock;
    VirtualMouse m(clock, identity(family, reportLength));
    const Bytes before = storedBytes(m, field, index);
    const int chunks = (payload.size() + reportLength - 1) / reportLength;

    QVERIFY(!command(m, frame).isEmpty());
    QCOMPARE(writeChunks(m, payload, reportLength, 0, chunks - 1), QList<int>(chunks - 1, reportLength + 1));
    QCOMPARE(storedBytes(m, field, index), before);
    QVERIFY(m.received().last().incomplete);

    QCOMPARE(writeChunks(m, payload, reportLength, chunks - 1, chunks), QList<int>{reportLength + 1});
    QCOMPARE(storedBytes(m, field, index), stored);
    const VirtualExchange ex = m.received().last();
    QVERIFY(!ex.incomplete && !ex.ignored && !ex.rejected);
    QCOMPARE(ex.payload, payload);
    QCOMPARE(m.openHandles(), 0);
}

void TestVirtualMouse::newCommandDropsPartialPayload()
{
    VirtualClock clock;
    VirtualMouse m(clock);
    const Bytes before = storedBytes(m, "macros", 0);
    command(m, bytes({0x13, 1, 0x80}));
    writeChunks(m, pattern(128, 1), 32, 0, 2);
    command(m, bytes({0x0B, 3}));
    writeChunks(m, pattern(128, 1), 32, 2, 4);   // too late: stray reports

    QCOMPARE(storedBytes(m, "macros", 0), before);
    QCOMPARE(m.state().currentDpiStage, uchar(3));
    const QList<VirtualExchange> log = m.received();
    QCOMPARE(log.size(), 4);
    QVERIFY(log[0].incomplete);
    QCOMPARE(log[0].payload, pattern(128, 1).left(64));
    QVERIFY(!log[1].incomplete);
    QVERIFY(log[2].ignored && log[3].ignored);
}

// A demo session keeps only the newest exchanges; a payload still arriving
// lands in its own entry however many older ones went.
void TestVirtualMouse::logLimitKeepsTheNewest()
{
    VirtualClock clock;
    VirtualMouse m(clock);
    m.setLogLimit(2);
    command(m, bytes({0x0B, 1}));
    command(m, bytes({0x0B, 2}));
    command(m, bytes({0x13, 1, 0x80}));
    writeChunks(m, pattern(128, 1), 32, 0, 4);
    QList<VirtualExchange> log = m.received();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0].frame.left(2), bytes({0x0B, 2}));
    QCOMPARE(log[1].frame.left(1), bytes({0x13}));
    QVERIFY(!log[1].incomplete);
    QCOMPARE(log[1].payload, pattern(128, 1));
    QCOMPARE(storedBytes(m, "macros", 0).left(128), pattern(128, 1));

    writeChunks(m, pattern(96, 2), 32, 0, 3);   // strays
    log = m.received();
    QCOMPARE(log.size(), 2);
    QVERIFY(log[0].ignored && log[1].ignored);
}

void TestVirtualMouse::profileReadStreamsBlock_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<bool>("isEncode");
    QTest::newRow("32-byte reports") << 32 << false;
    QTest::newRow("64-byte reports, ciphered mouse") << 64 << true;
}

void TestVirtualMouse::profileReadStreamsBlock()
{
    QFETCH(int, reportLength);
    QFETCH(bool, isEncode);

    VirtualClock clock;
    VirtualMouse m(clock, identity(560, reportLength, isEncode));
    VirtualMouseState s = m.state();
    const Bytes block = pattern(128, 0x40);
    std::memcpy(s.profileBlocks[2].data(), block.constData(), 128);
    m.setState(s);

    // The reply of a profile read is never ciphered.
    const Bytes reply = command(m, bytes({0x8C, 2}), isEncode ? QStringLiteral("386514") : QString());
    QCOMPARE(reply, featureReport(bytes({0x8C})));

    HidHandle h = m.openPath(VirtualMouse::commandPath());
    Bytes streamed;
    Bytes buf(reportLength + 1, '\0');
    for (int i = 0; i < 128 / reportLength; ++i) {
        const int n = m.read(h, reinterpret_cast<uchar*>(buf.data()), static_cast<size_t>(buf.size()));
        QCOMPARE(n, reportLength);
        streamed += buf.left(n);
    }
    QCOMPARE(streamed, block);
    QCOMPARE(m.read(h, reinterpret_cast<uchar*>(buf.data()), static_cast<size_t>(buf.size())), -1);
    QCOMPARE(m.readTimeout(h, reinterpret_cast<uchar*>(buf.data()), static_cast<size_t>(buf.size()), 1000), 0);
    QCOMPARE(clock.nowMs(), qint64(1000));
    m.close(h);
}

void TestVirtualMouse::commandsTheMouseDoesNotKnowChangeNothing_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<Bytes>("frame");
    QTest::newRow("553 gets a profile read") << 553 << bytes({0x8C, 1});
    QTest::newRow("560 gets a 553 DPI stage") << 560 << bytes({0x0B, 3});
    QTest::newRow("unknown command") << 553 << bytes({0x55, 1, 2});
    QTest::newRow("553 recoil slot 3") << 553 << bytes({0x04, 0, 9, 9, 9, 3});
    QTest::newRow("560 DPI stage of profile 5") << 560 << bytes({0x04, 5, 2});
}

void TestVirtualMouse::commandsTheMouseDoesNotKnowChangeNothing()
{
    QFETCH(int, family);
    QFETCH(Bytes, frame);

    VirtualClock clock;
    VirtualMouse m(clock, identity(family));
    const QJsonObject before = m.toJson();
    QVERIFY(!command(m, frame).isEmpty());
    QCOMPARE(m.toJson(), before);
    QVERIFY(m.received().last().ignored);
    HidHandle h = m.openPath(VirtualMouse::commandPath());
    uchar buf[33];
    QCOMPARE(m.readTimeout(h, buf, sizeof buf, 10), 0);
    m.close(h);
}

void TestVirtualMouse::readReplyFaults()
{
    VirtualClock clock;
    VirtualMouse m(clock);
    const Bytes good = command(m, bytes({0x8B}));
    QCOMPARE(good, featureReport(bytes({0x8B, 1})));

    QVERIFY(m.setOption("noAnswer", "true"));
    QVERIFY(command(m, bytes({0x8B})).isEmpty());
    QVERIFY(m.setOption("noAnswer", "false"));

    QVERIFY(m.setOption("garbage", "true"));
    const Bytes garbage = command(m, bytes({0x8B}));
    QCOMPARE(garbage.size(), kFeatureReportSize);
    QCOMPARE(garbage.at(0), '\0');
    QVERIFY(garbage != good);
    VirtualMouse twin(clock);
    twin.setOption("garbage", "true");
    QCOMPARE(command(twin, bytes({0x8B})), garbage);   // reproducible
}

void TestVirtualMouse::openFailStillEnumerates()
{
    VirtualClock clock;
    VirtualMouse m(clock);
    QVERIFY(m.setOption("openFail", "1"));
    QCOMPARE(m.enumerate(0x04d9, 0xa1ee).size(), 2);
    QVERIFY(!m.openPath(VirtualMouse::commandPath()));
    QVERIFY(!m.openPath(VirtualMouse::reportPath()));
    QCOMPARE(m.openHandles(), 0);
}

void TestVirtualMouse::failingChunkLeavesStateUnchanged()
{
    VirtualClock clock;
    VirtualMouse m(clock);
    QVERIFY(m.setOption("failChunk", "1"));
    const Bytes before = storedBytes(m, "macros", 3);
    command(m, bytes({0x13, 4, 0x80}));
    QCOMPARE(writeChunks(m, pattern(128, 5), 32, 0, 2), (QList<int>{33, -1}));
    QCOMPARE(storedBytes(m, "macros", 3), before);
    QVERIFY(m.received().last().incomplete);
    QCOMPARE(m.received().last().payload.size(), 32);
}

void TestVirtualMouse::shortProfileReadTimesOut()
{
    VirtualClock clock;
    VirtualMouse m(clock, identity(560));
    QVERIFY(m.setOption("inputReports", "2"));
    command(m, bytes({0x8C, 0}));
    HidHandle h = m.openPath(VirtualMouse::commandPath());
    uchar buf[33];
    QCOMPARE(m.readTimeout(h, buf, sizeof buf, 1000), 32);
    QCOMPARE(m.readTimeout(h, buf, sizeof buf, 1000), 32);
    QCOMPARE(m.readTimeout(h, buf, sizeof buf, 1000), 0);
    QCOMPARE(clock.nowMs(), qint64(1000));
    m.close(h);
}

void TestVirtualMouse::unplugAndPlug()
{
    VirtualClock clock;
    VirtualMouse m(clock);
    HidHandle old = m.openPath(VirtualMouse::commandPath());
    QVERIFY(old);

    m.unplug();
    QVERIFY(!m.isPlugged());
    QVERIFY(m.enumerate(0, 0).isEmpty());
    QVERIFY(!m.openPath(VirtualMouse::commandPath()));
    const Bytes report = featureReport(bytes({0x0B, 2}));
    QCOMPARE(m.sendFeatureReport(old, u(report), 9), -1);
    uchar buf[9];
    QCOMPARE(m.getFeatureReport(old, buf, 9), -1);
    QCOMPARE(m.readTimeout(old, buf, 9, 100), -1);

    m.plug();
    QCOMPARE(m.enumerate(0x04d9, 0xa1ee).size(), 2);
    QCOMPARE(m.sendFeatureReport(old, u(report), 9), -1);   // the old node is gone for good
    QCOMPARE(command(m, bytes({0x0B, 2})).size(), kFeatureReportSize);
    QCOMPARE(m.state().currentDpiStage, uchar(2));

    m.close(old);
    QCOMPARE(m.openHandles(), 0);
}

void TestVirtualMouse::dpiButton_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QList<Bytes>>("setup");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<int>("stage");

    QTest::newRow("553 enabled") << 553 << QList<Bytes>{bytes({0x03, 0, 0, 0, 0x40})} << true << 2;
    QTest::newRow("553 other option bit") << 553 << QList<Bytes>{bytes({0x03, 0x40, 0, 0, 0x3F})} << false << 2;
    QTest::newRow("553 wraps after the last stage")
        << 553 << QList<Bytes>{bytes({0x03, 0, 0, 0, 0x40}), bytes({0x0B, 4})} << true << 1;
    QTest::newRow("560 enabled") << 560 << QList<Bytes>{bytes({0x01, 0x08, 0})} << true << 2;
    QTest::newRow("560 other option bit") << 560 << QList<Bytes>{bytes({0x01, 0xF7, 0x08})} << false << 2;
    QTest::newRow("560 stage of the current profile")
        << 560 << QList<Bytes>{bytes({0x01, 0x08, 0}), bytes({0x02, 3}), bytes({0x04, 3, 2})} << true << 3;
}

void TestVirtualMouse::dpiButton()
{
    QFETCH(int, family);
    QFETCH(QList<Bytes>, setup);
    QFETCH(bool, reported);
    QFETCH(int, stage);

    VirtualClock clock;
    VirtualMouse m(clock, identity(family));
    for (const Bytes& frame : setup)
        command(m, frame);
    QCOMPARE(m.reportsEnabled(), reported);
    m.pressDpiButton();

    // The mouse answers the new stage to its read command too.
    if (family == 553) {
        QCOMPARE(command(m, bytes({0x8B})).at(2), char(stage));
    } else {
        const int profile = command(m, bytes({0x82})).at(2);
        QCOMPARE(command(m, bytes({0x84, profile})).mid(2, 2), bytes({profile, stage}));
    }

    HidHandle h = m.openPath(VirtualMouse::reportPath());
    Bytes buf(4, '\0');
    const qint64 t0 = clock.nowMs();
    const int n = m.readTimeout(h, reinterpret_cast<uchar*>(buf.data()), 4, 500);
    m.close(h);
    if (reported) {
        QCOMPARE(n, 4);
        QCOMPARE(buf, bytes({0x06, 0x07, 0x00, stage}));
        QCOMPARE(clock.nowMs(), t0);
    } else {
        QCOMPARE(n, 0);
        QCOMPARE(clock.nowMs(), t0 + 500);
    }
}

void TestVirtualMouse::dpiReportWakesRealTimeReader()
{
    SystemClock clock;
    VirtualMouse m(clock);
    VirtualMouseState s = m.state();
    s.keyboardOptions[3] = 0x40;
    m.setState(s);

    HidHandle h = m.openPath(VirtualMouse::reportPath());
    QElapsedTimer timer;
    timer.start();
    std::thread presser([&m] { m.pressDpiButton(); });
    uchar buf[4] = {};
    QCOMPARE(m.readTimeout(h, buf, 4, 20000), 4);
    QVERIFY(timer.elapsed() < 20000);
    QCOMPARE(buf[3], uchar(2));
    presser.join();
    m.close(h);
}

void TestVirtualMouse::jsonRoundTrip()
{
    VirtualClock clock;
    VirtualMouse m(clock, identity(553));
    VirtualMouseState s = m.state();
    s.keyboardOptions = {1, 2, 3, 0x40};
    s.liftOff = 5;
    s.macros[11][127] = 0x99;
    s.ledColourTables[1] = pattern(24, 2);
    s.recoil[2] = VirtualRecoilSlot{7, 8, 9};
    s.currentProfile = 4;
    s.profileDpiStages = {1, 2, 3, 4};
    s.profileBlocks[4][0] = 0xAB;
    m.setState(s);

    QTemporaryDir dir;
    const QString path = dir.filePath("mouse.json");
    QVERIFY(m.saveState(path));
    VirtualMouse copy(clock, identity(560));
    QVERIFY(copy.loadState(path));
    QCOMPARE(copy.toJson(), m.toJson());
    QCOMPARE(copy.state().recoil[2].y, uchar(9));
    QCOMPARE(copy.state().ledColourTables.value(1), pattern(24, 2));
    QCOMPARE(copy.state().macros[11][127], uchar(0x99));

    QVERIFY(!copy.loadState(dir.filePath("missing.json")));
    QFile broken(dir.filePath("broken.json"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("{\"liftOff\": ");
    broken.close();
    QVERIFY(!copy.loadState(broken.fileName()));
    QCOMPARE(copy.toJson(), m.toJson());
}

void TestVirtualMouse::jsonMissingFieldsKeepValues()
{
    VirtualClock clock;
    VirtualMouse m(clock);
    QJsonObject expected = m.toJson();
    QVERIFY(m.fromJson(QJsonObject{{"liftOff", 6}, {"dpiCodes", "0102030405060708"}}));
    expected["liftOff"] = 6;
    expected["dpiCodes"] = "0102030405060708";
    QCOMPARE(m.toJson(), expected);
}

void TestVirtualMouse::jsonMalformedIsRefused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("number as text") << QByteArray(R"({"liftOff": "5"})");
    QTest::newRow("byte out of range") << QByteArray(R"({"liftOff": 256})");
    QTest::newRow("not hex") << QByteArray(R"({"dpiCodes": "zz02030405060708"})");
    QTest::newRow("odd hex") << QByteArray(R"({"fixedColour": "01020"})");
    QTest::newRow("wrong byte count") << QByteArray(R"({"dpiCodes": "01020304050607"})");
    QTest::newRow("too few blocks") << QByteArray(R"({"profileBlocks": []})");
    QTest::newRow("recoil slot not an object") << QByteArray(R"({"recoil": [1, 2, 3]})");
    QTest::newRow("colour table type not a number") << QByteArray(R"({"ledColourTables": {"x": "00"}})");
}

void TestVirtualMouse::jsonMalformedIsRefused()
{
    QFETCH(QByteArray, json);
    VirtualClock clock;
    VirtualMouse m(clock);
    const QJsonObject before = m.toJson();
    QJsonObject o = QJsonDocument::fromJson(json).object();
    QVERIFY(!o.isEmpty());
    o.insert("reportRate", 9);     // a good field beside the bad one is not applied either
    QVERIFY(!m.fromJson(o));
    QCOMPARE(m.toJson(), before);
}

void TestVirtualMouse::options_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("ok");
    QTest::newRow("family 560") << QStringLiteral("family") << QStringLiteral("560") << true;
    QTest::newRow("family 554") << QStringLiteral("family") << QStringLiteral("554") << false;
    QTest::newRow("sCode of six") << QStringLiteral("sCode") << QStringLiteral("abcdef") << true;
    QTest::newRow("sCode of five") << QStringLiteral("sCode") << QStringLiteral("abcde") << false;
    QTest::newRow("reportLength 64") << QStringLiteral("reportLength") << QStringLiteral("64") << true;
    QTest::newRow("reportLength 0") << QStringLiteral("reportLength") << QStringLiteral("0") << false;
    QTest::newRow("vid with prefix") << QStringLiteral("vid") << QStringLiteral("0x1234") << true;
    QTest::newRow("vid too large") << QStringLiteral("vid") << QStringLiteral("12345") << false;
    QTest::newRow("isEncode yes") << QStringLiteral("isEncode") << QStringLiteral("yes") << true;
    QTest::newRow("garbage maybe") << QStringLiteral("garbage") << QStringLiteral("maybe") << false;
    QTest::newRow("failChunk -2") << QStringLiteral("failChunk") << QStringLiteral("-2") << false;
    QTest::newRow("unknown key") << QStringLiteral("colour") << QStringLiteral("1") << false;
}

void TestVirtualMouse::options()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, ok);

    VirtualClock clock;
    VirtualMouse m(clock);
    const VirtualMouseIdentity before = m.identity();
    QString error;
    QCOMPARE(m.setOption(key, value, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    const VirtualMouseIdentity after = m.identity();
    if (!ok) {
        QCOMPARE(after.family, before.family);
        QCOMPARE(after.sCode, before.sCode);
        QCOMPARE(after.vid, before.vid);
        QCOMPARE(after.reportLength, before.reportLength);
        return;
    }
    if (key == "vid") {
        QCOMPARE(m.enumerate(0x1234, 0xa1ee).size(), 2);   // at once
        QVERIFY(m.enumerate(0x04d9, 0xa1ee).isEmpty());
    }
    const QStringList help = VirtualMouse::optionHelp();
    QVERIFY(std::any_of(help.cbegin(), help.cend(),
                        [&](const QString& line) { return line.startsWith(key + '='); }));
}

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtual_mouse.moc"
