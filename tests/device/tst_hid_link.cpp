// The device link against the virtual mouse: frames and payloads on the wire,
// pacing on the virtual clock, the device check and the failure paths.

#include "device/cipher.h"
#include "support/link_rig.h"

#include <QtTest>
#include <functional>

namespace {

using Call = std::function<void(Hid_Thread&)>;

QByteArray pattern(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + seed) & 0xFF);
    return b;
}

const uchar* u(const QByteArray& b) { return reinterpret_cast<const uchar*>(b.constData()); }

QByteArray frame(std::initializer_list<uchar> bytes)
{
    const CommandFrame f = makeFrame(bytes);
    return QByteArray(reinterpret_cast<const char*>(f.data()), 8);
}

} // namespace

Q_DECLARE_METATYPE(Call)

class TestHidLink : public QObject {
    Q_OBJECT
private slots:
    // Every write command: the frame as the mouse deciphers it, the payload it
    // receives, the number of output reports and the pacing on the clock.
    void writeCommands_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("encode");
        QTest::addColumn<int>("reportLength");
        QTest::addColumn<Call>("call");
        QTest::addColumn<QByteArray>("expectedFrame");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("writes");
        QTest::addColumn<bool>("paced");

        const QByteArray p4 = pattern(4, 1), p8 = pattern(8, 2), p24 = pattern(24, 3),
                         p64 = pattern(64, 4), p128 = pattern(128, 5);
        struct Row { const char* name; int family; Call call; QByteArray frame; QByteArray payload; int writes32; bool paced; };
        const QList<Row> rows = {
            {"553 01H rate", 553, [](Hid_Thread& h) { h.hid553_01H_SetReportRate(3); }, frame({0x01, 3}), {}, 0, true},
            {"553 02H key matrix", 553, [](Hid_Thread& h) { h.hid553_02H_SetCurrentKeyMatrix(2); }, frame({0x02, 2}), {}, 0, true},
            {"553 03H options", 553, [](Hid_Thread& h) { h.hid553_03H_SetKeyboardoption(1, 2, 3, 0x44); }, frame({0x03, 1, 2, 3, 0x44}), {}, 0, false},
            {"553 04H gun", 553, [](Hid_Thread& h) { h.hid553_04H_SetGunData(10, 20, 0xF6, 1); }, frame({0x04, 0, 10, 20, 0xF6, 1}), {}, 0, false},
            {"553 07H lift-off en 0", 553, [](Hid_Thread& h) { h.hid553_07H_Lod(5, 0); }, QByteArray::fromHex("0700057d00000076"), {}, 0, true},
            {"553 07H lift-off en 1", 553, [](Hid_Thread& h) { h.hid553_07H_Lod(5, 1); }, QByteArray::fromHex("0700057d00000076"), {}, 0, true},
            {"553 0BH dpi", 553, [](Hid_Thread& h) { h.hid553_0BH_SetCurrentDPI(3); }, QByteArray::fromHex("0b030000000000f1"), {}, 0, true},
            {"553 0CH colour", 553, [p4](Hid_Thread& h) { h.hid553_0CH_SetFixLEDColor(u(p4)); }, frame({0x0C, uchar(p4[0]), uchar(p4[1]), uchar(p4[2])}), {}, 0, true},
            {"553 0DH effect", 553, [](Hid_Thread& h) { h.hid553_0DH_SetRGBLedEffect(4, 5, 6); }, frame({0x0D, 4, 5, 6}), {}, 0, true},
            {"553 10H type 2", 553, [p24](Hid_Thread& h) { h.hid553_10H_SetLED8StageColor(2, u(p24)); }, frame({0x10, 2, 4}), p24.left(4), 1, true},
            {"553 10H type 0", 553, [p24](Hid_Thread& h) { h.hid553_10H_SetLED8StageColor(0, u(p24)); }, frame({0x10, 0, 24}), p24, 1, true},
            {"553 10H type 1", 553, [p24](Hid_Thread& h) { h.hid553_10H_SetLED8StageColor(1, u(p24)); }, frame({0x10, 1, 24}), p24, 1, true},
            {"553 11H dpi table", 553, [p8](Hid_Thread& h) { h.hid553_11H_SetDPISet(4, u(p8)); }, frame({0x11, 4, 8}), p8, 1, true},
            {"553 12H key matrix", 553, [p64](Hid_Thread& h) { h.hid553_12H_SetKeyMatrix(u(p64), 2); }, frame({0x12, 2, 0x40, 0x08}), p64, 2, true},
            {"553 13H macro", 553, [p128](Hid_Thread& h) { h.hid553_13H_SetMacroKey(5, u(p128)); }, frame({0x13, 5, 0x80}), p128, 4, true},
            {"560 01H options", 560, [](Hid_Thread& h) { h.hid560_01H_SetKeyboardoption(0x08, 1); }, frame({0x01, 0x08, 1}), {}, 0, false},
            {"560 02H profile", 560, [](Hid_Thread& h) { h.hid560_02H_SetCurrentProfile(2); }, frame({0x02, 2}), {}, 0, false},
            {"560 0CH profile block", 560, [p128](Hid_Thread& h) { h.hid560_0CH_setProfile(u(p128), 3); }, frame({0x0C, 3, 0x80}), p128, 4, true},
            {"560 0DH key matrix", 560, [p64](Hid_Thread& h) { h.hid560_0DH_SetKeyMatrix(u(p64), 1); }, frame({0x0D, 1, 0x80}), p64 + QByteArray(64, '\0'), 4, true},
            {"560 0FH macro", 560, [p128](Hid_Thread& h) { h.hid560_0FH_SetMacroKey(7, u(p128)); }, frame({0x0F, 7, 0x80}), p128, 4, true},
        };
        for (const Row& r : rows) {
            for (bool encode : {false, true}) {
                for (int rl : {32, 64}) {
                    const int writes = r.writes32 == 0 ? 0 : (rl == 64 ? (r.writes32 + 1) / 2 : r.writes32);
                    QTest::addRow("%s%s rl%d", r.name, encode ? " ciphered" : "", rl)
                        << r.family << encode << rl << r.call << r.frame << r.payload << writes << r.paced;
                }
            }
        }
    }
    void writeCommands()
    {
        QFETCH(int, family);
        QFETCH(bool, encode);
        QFETCH(int, reportLength);
        QFETCH(Call, call);
        QFETCH(QByteArray, expectedFrame);
        QFETCH(QByteArray, payload);
        QFETCH(int, writes);
        QFETCH(bool, paced);

        LinkRig rig(family, encode, reportLength);
        QCOMPARE(rig.check(), 1);
        rig.mouse->clearReceived();
        const int mark = rig.traceSize();
        const qint64 start = rig.clock.nowMs();
        call(rig.hid);
        const qint64 took = rig.clock.nowMs() - start;

        // A profile block is read back after it is written: that read adds no pause.
        const QList<VirtualExchange> all = rig.mouse->received();
        const QList<VirtualExchange> got = writesOf(all);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.at(0).frame.toHex(' '), expectedFrame.toHex(' '));
        QCOMPARE(got.at(0).payload.toHex(' '), payload.toHex(' '));
        QVERIFY(!got.at(0).incomplete && !got.at(0).rejected);

        const QList<TraceEvent> events = rig.traceSince(mark);
        const QList<TraceEvent> sets = eventsNamed(events, QStringLiteral("set-feature"));
        QCOMPARE(sets.size(), all.size());
        // On the wire: report id 0, then the frame (ciphered when the mouse wants it).
        QByteArray wire = expectedFrame;
        if (encode) {
            SecrecyBytes code{};
            secrecyCodeFromText(QStringLiteral("386514"), code);
            encryptFrame(reinterpret_cast<uchar*>(wire.data()), code.data());
        }
        QCOMPARE(sets.at(0).bytes.toHex(' '), (QByteArray(1, '\0') + wire).toHex(' '));

        const QList<TraceEvent> outs = eventsNamed(events, QStringLiteral("write"));
        QCOMPARE(outs.size(), writes);
        for (const TraceEvent& w : outs)
            QCOMPARE(w.bytes.size(), reportLength + 1);
        // Pacing: 128 ms after a paced feature report and after its payload,
        // 120 ms after each chunk, 8 ms after an unpaced command.
        const qint64 expected = paced ? 128 + writes * 120 + (writes ? 128 : 0) : 8;
        QCOMPARE(took, expected);
        for (int i = 0; i < outs.size(); ++i)
            QCOMPARE(outs.at(i).ms - sets.at(0).ms, qint64(128 + 120 * i));
        QVERIFY(rig.opensClosed());
        QCOMPARE(rig.mouse->openHandles(), 0);
        QVERIFY(rig.hid.transport().isReady());
    }

    // The profile-wide 560 commands go to profiles 1..4, or to profile 1 only
    // on a mouse with recoil presets, claiming the link once.
    void profileWideCommands_data()
    {
        QTest::addColumn<bool>("gun");
        QTest::addColumn<bool>("rate");
        QTest::newRow("dpi, no gun") << false << false;
        QTest::newRow("dpi, gun") << true << false;
        QTest::newRow("rate, no gun") << false << true;
        QTest::newRow("rate, gun") << true << true;
    }
    void profileWideCommands()
    {
        QFETCH(bool, gun);
        QFETCH(bool, rate);
        LinkRig rig(560);
        rig.host.gun = gun;
        QCOMPARE(rig.check(), 1);
        rig.mouse->clearReceived();
        const qint64 start = rig.clock.nowMs();
        if (rate)
            rig.hid.hid560_03H_SetReportRate(2);
        else
            rig.hid.hid560_04H_SetCurrentDPI(2);
        const QList<VirtualExchange> got = rig.mouse->received();
        const int frames = gun ? 1 : 4;
        QCOMPARE(got.size(), frames);
        for (int p = 1; p <= frames; ++p)
            QCOMPARE(got.at(p - 1).frame.toHex(), frame({uchar(rate ? 0x03 : 0x04), uchar(p), 2}).toHex());
        if (gun && !rate)
            QCOMPARE(got.at(0).frame.toHex(' '), QByteArray("04 01 02 00 00 00 00 f8"));
        QCOMPARE(rig.clock.nowMs() - start, qint64(128 * frames));
        const VirtualMouseState st = rig.mouse->state();
        for (int p = 0; p < 4; ++p) {
            const uchar v = rate ? st.profileReportRates[p] : st.profileDpiStages[p];
            if (p < frames)
                QCOMPARE(v, uchar(2));
        }
        QVERIFY(rig.opensClosed());
    }

    void readCommands_data()
    {
        QTest::addColumn<bool>("encode");
        QTest::newRow("plain") << false;
        QTest::newRow("ciphered") << true;
    }
    void readCommands()
    {
        QFETCH(bool, encode);
        {
            LinkRig rig(553, encode);
            VirtualMouseState st = rig.mouse->state();
            st.keyboardOptions = {0x11, 0x22, 0x33, 0x44};
            st.currentDpiStage = 3;
            rig.mouse->setState(st);
            QCOMPARE(rig.check(), 1);
            uchar a = 0, b = 0, c = 0, d = 0;
            rig.hid.hid553_83H_GetKeyboardoption(a, b, c, d);
            const uchar got4[] = {a, b, c, d};
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(got4), 4).toHex(), QByteArray("11223344"));
            uchar stage = 0;
            rig.hid.hid553_8BH_GetCurrentDPI(stage);
            QCOMPARE(stage, uchar(3));
            QVERIFY(rig.opensClosed());
        }
        {
            LinkRig rig(560, encode, 64);
            VirtualMouseState st = rig.mouse->state();
            st.keyboardOptions = {0x05, 0x06, 0, 0};
            st.currentProfile = 3;
            st.profileDpiStages = {1, 2, 4, 1};
            for (int i = 0; i < 128; ++i)
                st.profileBlocks[2][i] = uchar(255 - i);
            rig.mouse->setState(st);
            QCOMPARE(rig.check(), 1);
            uchar a = 0, b = 0;
            rig.hid.hid560_81H_GetKeyboardoption(a, b);
            QCOMPARE(a, uchar(0x05));
            QCOMPARE(b, uchar(0x06));
            uchar profile = 0;
            rig.hid.hid560_82H_GetCurrentProfile(profile);
            QCOMPARE(profile, uchar(3));
            uchar p = 3, stage = 0;
            rig.hid.hid560_84H_GetCurrentDPI(p, stage);
            QCOMPARE(p, uchar(3));
            QCOMPARE(stage, uchar(4));
            QByteArray block(128, '\x55');
            const int mark = rig.traceSize();
            rig.hid.hid560_8CH_readProfile(reinterpret_cast<uchar*>(block.data()), 2);
            QCOMPARE(block, QByteArray(reinterpret_cast<const char*>(st.profileBlocks[2].data()), 128));
            QCOMPARE(eventsNamed(rig.traceSince(mark), QStringLiteral("read")).size(), 2);
            QVERIFY(rig.opensClosed());
        }
    }

    // A mouse that does not answer leaves the caller's values as they were.
    void failedReadsKeepCallerValues_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("no answer") << "noAnswer";
        QTest::newRow("open fails") << "openFail";
        QTest::newRow("unplugged") << "unplugged";
    }
    void failedReadsKeepCallerValues()
    {
        QFETCH(QString, fault);
        LinkRig rig(560);
        QCOMPARE(rig.check(), 1);
        VirtualFaults f;
        if (fault == QLatin1String("noAnswer"))
            f.noAnswer = true;
        else if (fault == QLatin1String("openFail"))
            f.openFail = true;
        else
            rig.mouse->unplug();
        rig.mouse->setFaults(f);
        uchar a = 7, b = 9;
        rig.hid.hid560_81H_GetKeyboardoption(a, b);
        QCOMPARE(a, uchar(7));
        QCOMPARE(b, uchar(9));
        QByteArray block(128, '\x5a');
        const QByteArray before = block;
        rig.hid.hid560_8CH_readProfile(reinterpret_cast<uchar*>(block.data()), 0);
        QCOMPARE(block, before);
        uchar d1 = 1, d2 = 2, d3 = 3, d4 = 4;
        rig.hid.hid553_83H_GetKeyboardoption(d1, d2, d3, d4);
        QCOMPARE(int(d1) * 1000 + int(d2) * 100 + int(d3) * 10 + int(d4), 1234);
        QVERIFY(rig.hid.transport().isReady());
        QVERIFY(rig.opensClosed());
    }

    // A profile read that gets fewer input reports than it needs waits a
    // bounded time for each and leaves the caller's block exactly as it was.
    void shortProfileReadIsBounded()
    {
        LinkRig rig(560);
        VirtualMouseState st = rig.mouse->state();
        for (int i = 0; i < 128; ++i)
            st.profileBlocks[1][i] = uchar(i);
        rig.mouse->setState(st);
        QCOMPARE(rig.check(), 1);
        VirtualFaults f;
        f.inputReports = 2;
        rig.mouse->setFaults(f);
        QByteArray block(128, '\xee');
        const int mark = rig.traceSize();
        rig.hid.hid560_8CH_readProfile(reinterpret_cast<uchar*>(block.data()), 1);
        QCOMPARE(block, QByteArray(128, '\xee'));
        const QList<TraceEvent> events = rig.traceSince(mark);
        QCOMPARE(eventsNamed(events, QStringLiteral("read")).size(), 2);
        QCOMPARE(eventsNamed(events, QStringLiteral("read-timeout")).size(), 1);
        QVERIFY(rig.hid.transport().isReady());
        QVERIFY(rig.opensClosed());
    }

    // A failing chunk stops the payload; the rest is not sent.
    void failingChunkStopsPayload()
    {
        LinkRig rig(553);
        QCOMPARE(rig.check(), 1);
        VirtualFaults f;
        f.failChunk = 1;
        rig.mouse->setFaults(f);
        const int mark = rig.traceSize();
        const QByteArray p = pattern(128, 9);
        rig.hid.hid553_13H_SetMacroKey(2, u(p));
        QCOMPARE(eventsNamed(rig.traceSince(mark), QStringLiteral("write")).size(), 2);
        QVERIFY(rig.hid.transport().isReady());
        QVERIFY(rig.opensClosed());
    }

    // After a failed open the entry is dead: later commands touch nothing
    // until a device check finds the mouse again.
    void failedOpenDisablesEntryUntilNextCheck()
    {
        LinkRig rig(553);
        QCOMPARE(rig.check(), 1);
        VirtualFaults f;
        f.openFail = true;
        rig.mouse->setFaults(f);
        rig.hid.hid553_0BH_SetCurrentDPI(2);
        rig.mouse->setFaults(VirtualFaults{});
        const int mark = rig.traceSize();
        const qint64 t = rig.clock.nowMs();
        rig.hid.hid553_0BH_SetCurrentDPI(2);
        uchar stage = 9;
        rig.hid.hid553_8BH_GetCurrentDPI(stage);
        QCOMPARE(rig.traceSize(), mark);
        QCOMPARE(stage, uchar(9));
        QCOMPARE(rig.clock.nowMs() - t, qint64(0));
        QCOMPARE(rig.check(), 1);
        rig.mouse->clearReceived();
        rig.hid.hid553_0BH_SetCurrentDPI(2);
        QCOMPARE(rig.mouse->received().size(), 1);
        QVERIFY(rig.opensClosed());
    }

    // Before any check the link names no entry: commands fail at once.
    void noEntryMeansNoTraffic()
    {
        LinkRig rig(553);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("no device entry"));
        rig.hid.hid553_0BH_SetCurrentDPI(2);
        QCOMPARE(rig.traceSize(), 0);
        QVERIFY(rig.hid.transport().isReady());
    }

    // A command started from an event handler while another is suspended in
    // its event processing gives up after the busy wait; the first completes.
    void reentrantCommandIsDropped()
    {
        LinkRig rig(553);
        QCOMPARE(rig.check(), 1);
        rig.mouse->clearReceived();
        bool fired = false;
        qint64 nestedTook = 0;
        rig.clock.onProcessEvents = [&] {
            if (fired)
                return;
            fired = true;
            const qint64 t = rig.clock.nowMs();
            rig.hid.hid553_01H_SetReportRate(1);
            nestedTook = rig.clock.nowMs() - t;
        };
        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 01");
        rig.hid.hid553_0BH_SetCurrentDPI(4);
        QVERIFY(fired);
        QCOMPARE(nestedTook, qint64(255 * 8));
        const QList<VirtualExchange> got = rig.mouse->received();
        QCOMPARE(got.size(), 1);
        QCOMPARE(uchar(got.at(0).frame[0]), uchar(0x0B));
        QVERIFY(rig.hid.transport().isReady());
        QVERIFY(rig.opensClosed());
    }

    void handshake_data()
    {
        QTest::addColumn<QList<CatalogueEntry>>("entries");
        QTest::addColumn<bool>("mouseEncodes");
        QTest::addColumn<bool>("wrongOrder");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("busy");
        const CatalogueEntry plain{1, QStringLiteral("386514"), false, 32};
        const CatalogueEntry ciphered{1, QStringLiteral("386514"), true, 32};
        // A wrong code garbles the command byte, so the mouse ignores the frame.
        const CatalogueEntry wrongCode{1, QStringLiteral("999999"), true, 32};
        QTest::newRow("plain") << QList<CatalogueEntry>{plain} << false << false << 0 << false;
        QTest::newRow("ciphered") << QList<CatalogueEntry>{ciphered} << true << false << 0 << false;
        QTest::newRow("wrong code, next entry right") << QList<CatalogueEntry>{wrongCode, ciphered} << true << false << 1 << false;
        QTest::newRow("two good entries: first wins") << QList<CatalogueEntry>{ciphered, ciphered} << true << false << 0 << false;
        QTest::newRow("answer in another order") << QList<CatalogueEntry>{plain, plain} << false << true << -1 << false;
        QTest::newRow("empty catalogue") << QList<CatalogueEntry>{} << false << false << -1 << false;
        // A check while another command holds the link never reaches the
        // mouse, so it must not pass: the bytes still equal the challenge.
        QTest::newRow("link held busy") << QList<CatalogueEntry>{plain} << false << false << -1 << true;
    }
    void handshake()
    {
        QFETCH(QList<CatalogueEntry>, entries);
        QFETCH(bool, mouseEncodes);
        QFETCH(bool, wrongOrder);
        QFETCH(int, selected);
        QFETCH(bool, busy);
        LinkRig rig(553, mouseEncodes);
        rig.writeCatalogue(entries);
        VirtualFaults f;
        f.wrongHandshake = wrongOrder;
        rig.mouse->setFaults(f);
        if (busy) {
            QVERIFY(rig.hid.transport().claim());
            QTest::ignoreMessage(QtDebugMsg, "cmd Failed 00");
        }
        if (selected < 0)
            QTest::ignoreMessage(QtDebugMsg, "Device DisConnect");
        QCOMPARE(rig.check(), selected);
        QCOMPARE(rig.hid.deviceConnected(), selected >= 0);
        if (entries.isEmpty() || busy)
            QCOMPARE(eventsNamed(rig.trace(), QStringLiteral("set-feature")).size(), 0);
        QVERIFY(rig.opensClosed());
    }

    // Every check sends a challenge of its own, also two within one second.
    void challengesDiffer()
    {
        LinkRig rig(553);
        QCOMPARE(rig.check(), 1);
        QCOMPARE(rig.check(), 1);
        const QList<TraceEvent> sent = eventsNamed(rig.trace(), QStringLiteral("set-feature"));
        QCOMPARE(sent.size(), 2);
        QVERIFY(sent.at(0).bytes.mid(2, 4) != sent.at(1).bytes.mid(2, 4));
    }

    // A secrecy code of other than six characters leaves the previous one in
    // force: zeros at start, the last good code afterwards.
    void shortSecrecyCodeKeepsPreviousCode()
    {
        LinkRig rig(553, true);
        rig.writeCatalogue({CatalogueEntry{1, QStringLiteral("38651"), true, 32}});
        QTest::ignoreMessage(QtDebugMsg, "Device DisConnect");
        QCOMPARE(rig.check(), -1);
        QCOMPARE(rig.hid.transport().secrecyCode, SecrecyBytes{});
        rig.writeCatalogue({CatalogueEntry{1, QStringLiteral("386514"), true, 32}});
        QCOMPARE(rig.check(), 0);
        rig.writeCatalogue({CatalogueEntry{1, QStringLiteral("1234567"), true, 32}});
        QCOMPARE(rig.check(), 0);
    }

    void catalogueDefaults()
    {
        LinkRig rig(553);
        rig.writeCatalogue({CatalogueEntry{1, QStringLiteral("386514"), false, 0}});
        const QList<DeviceDescriptor> list = readCatalogue(rig.apConfig());
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.at(0).reportLength, 32);
        QVERIFY(readCatalogue(rig.fixture.path(QStringLiteral("missing.bin"))).isEmpty());
        QTest::ignoreMessage(QtDebugMsg, "Device DisConnect");
        QCOMPARE(rig.hid.checkDevices(rig.fixture.path(QStringLiteral("missing.bin"))), -1);
        QCOMPARE(rig.traceSize(), 0);
    }

    // The installed catalogue: entry 1 is the mouse, with both interfaces.
    void installedCatalogueFindsTheMouse()
    {
        LinkRig rig(553);
        const QList<DeviceDescriptor> list = readCatalogue(
            QStringLiteral(STRYDE_SOURCE_DIR "/modules/setting/apConfig.bin"));
        QVERIFY(list.size() >= 2);
        QCOMPARE(list.at(1).type, 1);
        QCOMPARE(list.at(1).vid, quint16(0x04d9));
        QCOMPARE(list.at(1).pid, quint16(0xa1ee));
        QCOMPARE(rig.hid.checkDevices(QStringLiteral(STRYDE_SOURCE_DIR "/modules/setting/apConfig.bin")), 1);
        QVERIFY(!rig.hid.devices().at(1).path2.isEmpty());
        QVERIFY(rig.hid.devices().at(0).path.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHidLink)
#include "tst_hid_link.moc"
