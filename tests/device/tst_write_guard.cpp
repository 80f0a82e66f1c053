// Before the first write: the write guard, what it can read, and the
// read-back of every profile block written; writing a snapshot back.

#include "device/commands_553.h"
#include "device/commands_560.h"
#include "device/mouse_snapshot.h"
#include "device/write_guard.h"
#include "support/link_rig.h"
#include "support/mouse_patterns.h"

#include <QtTest>

namespace {

// Reads a snapshot when it is called, as the program's backup does.
class SnapshotGuard : public WriteGuard {
public:
    explicit SnapshotGuard(int family) : m_family(family) {}
    void beforeFirstWrite(HidTransport& link) override
    {
        ++calls;
        read = readMouseSnapshot(link, m_family, snapshot, &failed);
        // Not allowed here: the write is refused, the real one still goes out.
        wroteInside = cmd553::setCurrentDpi(link, 9);
    }
    int calls = 0;
    bool read = false;
    bool wroteInside = true;
    QString failed;
    MouseSnapshot snapshot;
private:
    int m_family;
};

class RecordingHost : public FakeLinkHost {
public:
    QList<int> unverified;
    void writeNotVerified(int block) override { unverified << block; }
};

int countOf(const QList<VirtualExchange>& exchanges, uchar code)
{
    int n = 0;
    for (const VirtualExchange& e : exchanges)
        n += uchar(e.frame.at(0)) == code ? 1 : 0;
    return n;
}

} // namespace

class TestWriteGuard : public QObject {
    Q_OBJECT
private slots:
    void guardReadsTheMouseOnceBeforeTheFirstWrite_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("encode");
        QTest::newRow("553") << 553 << false;
        QTest::newRow("553 ciphered") << 553 << true;
        QTest::newRow("560") << 560 << false;
    }
    void guardReadsTheMouseOnceBeforeTheFirstWrite()
    {
        QFETCH(int, family);
        QFETCH(bool, encode);
        LinkRig rig(family, encode);
        const VirtualMouseState before = patternedMouse(5);
        rig.mouse->setState(before);
        SnapshotGuard guard(family);
        rig.hid.transport().setWriteGuard(&guard);
        QCOMPARE(rig.check(), 1);

        // The handshake and reads are not writes.
        uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        cmd553::getKeyboardOption(rig.hid.transport(), b1, b2, b3, b4);
        QCOMPARE(guard.calls, 0);

        rig.mouse->clearReceived();
        const qint64 start = rig.clock.nowMs();
        const quint64 failedBefore = rig.hid.transport().failedCommands();
        QTest::ignoreMessage(QtWarningMsg, "a write was asked for while the write guard runs; not sent");
        if (family == 560)
            rig.hid.hid560_02H_SetCurrentProfile(2);
        else
            rig.hid.hid553_0BH_SetCurrentDPI(2);
        QCOMPARE(guard.calls, 1);
        QVERIFY2(guard.read, qPrintable(guard.failed));
        QVERIFY(guard.snapshot == snapshotOf(before, family));
        QVERIFY(!guard.wroteInside);
        // Only reads before the write itself, which went out as usual: the
        // backup adds no pause and leaves the link free.
        const QList<VirtualExchange> got = rig.mouse->received();
        QCOMPARE(writesOf(got).size(), 1);
        QCOMPARE(writesOf(got).first().frame.toHex(' '), got.last().frame.toHex(' '));
        QCOMPARE(rig.clock.nowMs() - start, qint64(family == 560 ? 8 : 128));
        QCOMPARE(rig.hid.transport().failedCommands(), failedBefore);
        QVERIFY(rig.hid.transport().isReady());
        QVERIFY(rig.opensClosed());
        const VirtualMouseState after = rig.mouse->state();
        QCOMPARE(int(family == 560 ? after.currentProfile : after.currentDpiStage), 2);

        rig.hid.hid553_01H_SetReportRate(1);
        QCOMPARE(guard.calls, 1);
    }

    // A profile block is read back after it is written; a difference is
    // written again once, then reported.
    void profileBlockReadBack_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("reads");
        QTest::addColumn<qint64>("pausesMs");
        QTest::newRow("reads back") << QStringList{} << int(cmd560::BlockWrite::Verified) << 1 << 1 << qint64(736);
        QTest::newRow("corrupted once") << QStringList{"corruptBlock=3", "corruptWrites=1"}
                                        << int(cmd560::BlockWrite::Verified) << 2 << 2 << qint64(2 * 736);
        QTest::newRow("corrupted always") << QStringList{"corruptBlock=3"}
                                          << int(cmd560::BlockWrite::NotVerified) << 2 << 2 << qint64(2 * 736);
        QTest::newRow("another block corrupted") << QStringList{"corruptBlock=2"}
                                                 << int(cmd560::BlockWrite::Verified) << 1 << 1 << qint64(736);
        // The missing input report is awaited for its time-out each time.
        QTest::newRow("short read-back") << QStringList{"inputReports=3"}
                                         << int(cmd560::BlockWrite::NotVerified) << 2 << 2 << qint64(2 * (736 + 1000));
        QTest::newRow("write fails") << QStringList{"failChunk=1"} << int(cmd560::BlockWrite::NotReached)
                                     << 1 << 0 << qint64(128 + 120);
    }
    void profileBlockReadBack()
    {
        QFETCH(QStringList, options);
        QFETCH(int, result);
        QFETCH(int, writes);
        QFETCH(int, reads);
        QFETCH(qint64, pausesMs);
        LinkRig rig(560);
        RecordingHost host;
        rig.hid.setHost(&host);
        QCOMPARE(rig.check(), 1);
        for (const QString& o : options)
            QVERIFY(rig.mouse->setOption(o.section(QLatin1Char('='), 0, 0), o.section(QLatin1Char('='), 1)));
        rig.mouse->clearReceived();
        const quint64 failedBefore = rig.hid.transport().failedCommands();
        const qint64 start = rig.clock.nowMs();
        std::array<uchar, 128> block{};
        for (int i = 0; i < 128; ++i)
            block[size_t(i)] = uchar(3 * i + 1);

        if (result == int(cmd560::BlockWrite::NotVerified))
            QTest::ignoreMessage(QtWarningMsg, "profile block 3 did not read back as written, also after it was written again");
        QCOMPARE(int(rig.hid.writeProfileBlock(block.data(), 3)), result);

        const QList<VirtualExchange> got = rig.mouse->received();
        QCOMPARE(countOf(got, 0x0C), writes);
        QCOMPARE(countOf(got, 0x8C), reads);
        QCOMPARE(rig.clock.nowMs() - start, pausesMs);
        const bool verified = result == int(cmd560::BlockWrite::Verified);
        QCOMPARE(rig.hid.transport().failedCommands() - failedBefore, quint64(verified ? 0 : 1));
        const bool reported = result == int(cmd560::BlockWrite::NotVerified);
        QCOMPARE(host.unverified, reported ? QList<int>{3} : QList<int>{});
        const WriteOutcome outcome = verified ? WriteOutcome::Done
                                              : reported ? WriteOutcome::NotVerified : WriteOutcome::NotReached;
        QCOMPARE(int(rig.hid.outcome()), int(outcome));
        rig.hid.resetOutcome();
        QCOMPARE(int(rig.hid.outcome()), int(WriteOutcome::Done));
        QVERIFY(rig.hid.transport().isReady());
        QVERIFY(rig.opensClosed());
    }

    void snapshotWrittenBackRestoresTheMouse_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }
    void snapshotWrittenBackRestoresTheMouse()
    {
        QFETCH(int, family);
        LinkRig rig(family, false, 64);
        rig.mouse->setState(patternedMouse(9));
        QCOMPARE(rig.check(), 1);
        MouseSnapshot saved;
        QVERIFY(readMouseSnapshot(rig.hid.transport(), family, saved));

        rig.mouse->setState(patternedMouse(40));
        const RestoreReport report = writeMouseSnapshot(rig.hid, saved);
        QVERIFY2(report.ok(), qPrintable(report.text()));
        QVERIFY(report.notSent.isEmpty());
        QCOMPARE(rig.mouse->state().keyboardOptions == patternedMouse(9).keyboardOptions, family == 553);
        MouseSnapshot now;
        QVERIFY(readMouseSnapshot(rig.hid.transport(), family, now));
        QVERIFY(now == saved);
    }

    // A write that does not take stops the restore, and the report says
    // exactly what reached the mouse and what did not.
    void restoreStopsAtTheFirstFailure()
    {
        LinkRig rig(560);
        rig.mouse->setState(patternedMouse(9));
        QCOMPARE(rig.check(), 1);
        MouseSnapshot saved;
        QVERIFY(readMouseSnapshot(rig.hid.transport(), 560, saved));
        const VirtualMouseState changed = patternedMouse(40);
        rig.mouse->setState(changed);
        QVERIFY(rig.mouse->setOption(QStringLiteral("corruptBlock"), QStringLiteral("2")));

        QTest::ignoreMessage(QtWarningMsg, "profile block 2 did not read back as written, also after it was written again");
        const RestoreReport report = writeMouseSnapshot(rig.hid, saved);
        QCOMPARE(report.text(),
                 QStringLiteral("the mouse is only partly restored: profile block 0, profile block 1 written; "
                                "profile block 2 did not take; not sent: profile block 3, profile block 4, "
                                "DPI stage of profile 1, DPI stage of profile 2, DPI stage of profile 3, "
                                "DPI stage of profile 4, current profile, keyboard options"));
        const VirtualMouseState after = rig.mouse->state();
        QVERIFY(after.profileBlocks[1] == saved.profileBlocks[1]);
        QVERIFY(after.profileBlocks[3] == changed.profileBlocks[3]);
        QCOMPARE(after.currentProfile, changed.currentProfile);
    }

    void snapshotReadNamesWhatFailed()
    {
        LinkRig rig(560);
        QCOMPARE(rig.check(), 1);
        QVERIFY(rig.mouse->setOption(QStringLiteral("inputReports"), QStringLiteral("1")));
        MouseSnapshot s;
        s.currentProfile = 77;
        QString failed;
        QVERIFY(!readMouseSnapshot(rig.hid.transport(), 560, s, &failed));
        QCOMPARE(failed, QStringLiteral("profile block 0"));
        QCOMPARE(int(s.currentProfile), 77);
    }
};

QTEST_GUILESS_MAIN(TestWriteGuard)
#include "tst_write_guard.moc"
