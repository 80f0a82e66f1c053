// The listener on the mouse's report interface, one turn at a time on the
// virtual clock, and the DPI-switch notice texts.

#include "support/link_rig.h"

#include <QSettings>
#include <QtTest>

namespace {

// Called on the listener's thread, read on the test's.
class RecordingHost : public LinkHost {
public:
    bool isGun() const override { return false; }
    void dpiSwitched(int stage, const QString& notice) override
    {
        QMutexLocker lock(&mutex);
        m_switches << qMakePair(stage, notice);
    }
    void deviceRemoved() override { ++removed; }
    QList<QPair<int, QString>> switches() const
    {
        QMutexLocker lock(&mutex);
        return m_switches;
    }
    std::atomic<int> removed{0};
private:
    mutable QMutex mutex;
    QList<QPair<int, QString>> m_switches;
};

} // namespace

class TestListener : public QObject {
    Q_OBJECT
private slots:
    void noticeTextPerStage_data()
    {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("entry");
        QTest::newRow("1") << 1 << 0;
        QTest::newRow("3") << 3 << 2;
        QTest::newRow("7") << 7 << 6;
        QTest::newRow("0") << 0 << 7;
        QTest::newRow("8") << 8 << 7;
        QTest::newRow("255") << 255 << 7;
    }
    void noticeTextPerStage()
    {
        QFETCH(int, stage);
        QFETCH(int, entry);
        LinkRig rig;
        QCOMPARE(rig.hid.dpiSwitchNotice(stage), QStringLiteral("DPI Switch to "));
        QStringList texts;
        for (int i = 0; i < 8; ++i)
            texts << QStringLiteral("text %1").arg(i);
        rig.hid.setDpiSwitchTexts(texts);
        QCOMPARE(rig.hid.dpiSwitchNotice(stage), texts.at(entry) + QLatin1Char(' '));
    }

    void shortOrEmptyTextListsKeepValidTexts()
    {
        LinkRig rig;
        rig.hid.setDpiSwitchTexts({QStringLiteral("A"), QString()});
        const QStringList t = rig.hid.dpiSwitchTexts();
        QCOMPARE(t.size(), 8);
        QCOMPARE(t.at(0), QStringLiteral("A"));
        QCOMPARE(t.at(1), QStringLiteral("DPI Switch to"));
        QCOMPARE(t.at(7), QStringLiteral("DPI Switch to"));
    }

    void dpiReportReachesTheHost_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }
    void dpiReportReachesTheHost()
    {
        QFETCH(int, family);
        LinkRig rig(family);
        RecordingHost host;
        rig.hid.setHost(&host);
        VirtualMouseState st = rig.mouse->state();
        st.currentDpiStage = 2;
        st.profileDpiStages = {2, 2, 2, 2};
        rig.mouse->setState(st);
        QCOMPARE(rig.check(), 1);
        // Reports are off until the listener turns them on.
        rig.mouse->pressDpiButton();
        QVERIFY(!rig.mouse->reportsEnabled());
        rig.hid.startListen(1, family == 560);
        rig.hid.stopListening();
        QVERIFY(rig.mouse->reportsEnabled());
        rig.mouse->pressDpiButton();    // 3 -> 4
        rig.hid.listening = true;
        QVERIFY(rig.hid.listenTurn(1));
        QCOMPARE(host.switches().size(), 1);
        QCOMPARE(host.switches().first().first, 4);
        QCOMPARE(host.switches().first().second, QStringLiteral("DPI Switch to "));
        // A turn without a report waits its 500 ms and reports nothing.
        const qint64 t = rig.clock.nowMs();
        QVERIFY(rig.hid.listenTurn(1));
        QCOMPARE(rig.clock.nowMs() - t, qint64(500));
        QCOMPARE(host.switches().size(), 1);
        QVERIFY(rig.opensClosed());
    }

    void removalEndsTheListener()
    {
        LinkRig rig;
        RecordingHost host;
        rig.hid.setHost(&host);
        QCOMPARE(rig.check(), 1);
        rig.hid.startListen(1, false);
        rig.hid.stopListening();
        rig.hid.listening = true;
        rig.mouse->unplug();
        QTest::ignoreMessage(QtDebugMsg, "Device removed");
        QVERIFY(!rig.hid.listenTurn(1));
        QVERIFY(!rig.hid.isListening());
        QCOMPARE(host.removed.load(), 1);
        QCoreApplication::processEvents();
        QVERIFY(rig.hid.devices().at(1).path2.isEmpty());
        QVERIFY(rig.opensClosed());
    }

    // A mouse without a report interface connects; the listener has nothing
    // to read and returns at once, and `listening` keeps its value.
    void noReportInterface()
    {
        LinkRig rig;
        QSettings s(rig.apConfig(), QSettings::IniFormat);
        s.setValue(QStringLiteral("1/usage2"), QStringLiteral("beef"));
        s.sync();
        QCOMPARE(rig.check(), 1);
        QVERIFY(rig.hid.devices().at(1).path2.isEmpty());
        rig.hid.startListen(1, false);
        QTRY_VERIFY(rig.hid.isListening());
        rig.hid.listenDevice(1);
        QVERIFY(rig.hid.isListening());
        rig.hid.stopListening();
    }

    // The listener on the thread pool, stopped from the GUI thread.
    void listenerThreadStopsOnRequest()
    {
        LinkRig rig;
        rig.mouse->setWaitsForReports(true);
        RecordingHost host;
        rig.hid.setHost(&host);
        QCOMPARE(rig.check(), 1);
        rig.hid.startListen(1, false);
        rig.mouse->pressDpiButton();
        QTRY_COMPARE(host.switches().size(), 1);
        rig.hid.stopListening();
        QVERIFY(!rig.hid.isListening());
        QCOMPARE(host.removed.load(), 0);
    }
};

QTEST_GUILESS_MAIN(TestListener)
#include "tst_listener.moc"
