#include "store/operation_failures.h"
#include "store/settings_store.h"
#include "store_files.h"

#include <QSettings>
#include <QtTest>
#include <climits>
#include <memory>

using namespace storetest;

namespace {

const QByteArray kGlobal =
    "[common]\nname=Current\n\n[mouse]\nicType=553\nisGun=true\nisColorful=true\nis55328=false\nkeyCount=8\n";
const QByteArray kFactory =
    "[common]\nname=Factory\n\n[mouse]\nicType=560\nisGun=false\nisColorful=false\nis55328=true\nkeyCount=6\n";

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>();
        QVERIFY(fx->isValid());
        QVERIFY(writeProfiles(*fx));
        QVERIFY(fx->writeFile("modules/setting/apConfig.bin", kGlobal));
        QVERIFY(fx->writeFile("modules/setting/apConfigD.bin", kFactory));
    }
    void cleanup() { fx.reset(); }

    void readsChooseFileByRecovery_data()
    {
        QTest::addColumn<int>("profile");
        QTest::newRow("first slot") << 0;
        QTest::newRow("slot 3") << 3;
        QTest::newRow("last slot") << 9;
    }
    void readsChooseFileByRecovery()
    {
        QFETCH(int, profile);
        SettingsStore store(fx->root());
        QVERIFY(store.setCurrentProfile(profile));
        const QString tag = QStringLiteral("p%1").arg(profile + 1);
        QCOMPARE(store.getData("mouse/dpiCount", false).toString(), tag);
        QCOMPARE(store.getData("mouse/dpiCount", true).toString(), QStringLiteral("pD"));
        QCOMPARE(store.getDataList("mouse/dpiValueArray", false), (QVariantList{"400", "800", "1600"}));
        QCOMPARE(store.mouseGetKeydefine(2, false), (QVariantList{"1", "4", "0", "0"}));
        QCOMPARE(store.mouseGetKeydefine(QString("2"), true), (QVariantList{"1", "4", "0", "0"}));
        QCOMPARE(store.currentSlot(), store.profileSettings().at(profile));
    }

    void writesGoToCurrentSlotOnly()
    {
        const QByteArray defaults = fx->readFile("modules/setting/pD.bin");
        const QByteArray first = fx->readFile(slotFile(0));
        {
            SettingsStore store(fx->root());
            QVERIFY(store.setCurrentProfile(2));
            store.setData("mouse/currentDpiCount", 4);
            store.setDataList("mouse/dpiValueArray", {100, 200});
            store.setData(5, "five");
            store.setGlobalData("mouse/profileNo", 2);
            // Reads see the writes at once.
            QCOMPARE(store.getData("mouse/currentDpiCount", false).toInt(), 4);
        }
        const QString p3 = fx->path(slotFile(2));
        QCOMPARE(onDisk(p3, "mouse/currentDpiCount").toString(), QStringLiteral("4"));
        QCOMPARE(onDisk(p3, "mouse/dpiValueArray").toStringList(), (QStringList{"100", "200"}));
        QCOMPARE(onDisk(p3, "5").toString(), QStringLiteral("five"));
        QCOMPARE(onDisk(fx->path("modules/setting/apConfig.bin"), "mouse/profileNo").toString(), QStringLiteral("2"));
        QCOMPARE(fx->readFile("modules/setting/pD.bin"), defaults);
        QCOMPARE(fx->readFile(slotFile(0)), first);
    }

    void absentAndPlainValues()
    {
        SettingsStore store(fx->root());
        QVERIFY(!store.getData("mouse/nothing", false).isValid());
        QVERIFY(!store.getData("mouse/nothing", true).isValid());
        QVERIFY(!store.getGlobalData("mouse/nothing").isValid());
        QVERIFY(store.getDataList("mouse/nothing", false).isEmpty());
        QVERIFY(store.mouseGetKeydefine(15, false).isEmpty());
        // A single plain value is not a list (and not a list of its characters).
        QVERIFY(store.getDataList("mouse/dpiCount", false).isEmpty());
        QVERIFY(store.getDataList("mouse/dpiCount", true).isEmpty());
    }

    void currentProfileOutsideSlotsIgnored_data()
    {
        QTest::addColumn<int>("profile");
        QTest::newRow("-1") << -1;
        QTest::newRow("10") << 10;
        QTest::newRow("INT_MIN") << INT_MIN;
        QTest::newRow("INT_MAX") << INT_MAX;
    }
    void currentProfileOutsideSlotsIgnored()
    {
        QFETCH(int, profile);
        SettingsStore store(fx->root());
        QVERIFY(store.setCurrentProfile(4));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("setCurrentProfile"));
        QVERIFY(!store.setCurrentProfile(profile));
        QCOMPARE(store.currentProfile(), 4);
        QCOMPARE(store.getData("mouse/dpiCount", false).toString(), QStringLiteral("p5"));
        QVERIFY(!store.slotSettings(profile));
        QVERIFY(store.slotFileName(profile).isEmpty());
    }

    void flagsReadOnceAtOpening_data()
    {
        QTest::addColumn<QByteArray>("global");   // empty: no apConfig.bin
        QTest::addColumn<QString>("icType");
        QTest::addColumn<bool>("isColorful");
        QTest::addColumn<bool>("isGun");
        QTest::addColumn<bool>("is55328");
        QTest::newRow("installed") << kGlobal << "553" << true << true << false;
        QTest::newRow("factory") << kFactory << "560" << false << false << true;
        QTest::newRow("no global file") << QByteArray() << "" << false << false << false;
        QTest::newRow("CRLF and numbers") << QByteArray("[mouse]\r\nicType=560\r\nisGun=1\r\nisColorful=0\r\n")
                                          << "560" << false << true << false;
    }
    void flagsReadOnceAtOpening()
    {
        QFETCH(QByteArray, global);
        QFETCH(QString, icType);
        QFETCH(bool, isColorful);
        QFETCH(bool, isGun);
        QFETCH(bool, is55328);
        if (global.isEmpty())
            QVERIFY(QFile::remove(fx->path("modules/setting/apConfig.bin")));
        else
            QVERIFY(fx->writeFile("modules/setting/apConfig.bin", global));
        SettingsStore store(fx->root());
        QCOMPARE(store.icType(), icType);
        QCOMPARE(store.isColorful(), isColorful);
        QCOMPARE(store.isGun(), isGun);
        QCOMPARE(store.is55328(), is55328);
        store.setGlobalData("mouse/icType", "999");
        QCOMPARE(store.icType(), icType);
    }

    void openingCreatesNoFile()
    {
        QTemporaryDir empty;
        {
            SettingsStore store(empty.path());
            QVERIFY(!store.getData("mouse/dpiCount", false).isValid());
            QVERIFY(store.icType().isEmpty());
        }
        QVERIFY(snapshot(empty.path()).isEmpty());
    }

    void resetApconfigRestoresFactoryCopy()
    {
        SettingsStore store(fx->root());
        // A change not yet written back must not end up in the restored file.
        store.setGlobalData("common/name", "Pending");
        QVERIFY(store.resetApconfig());
        QCOMPARE(store.getGlobalData("common/name").toString(), QStringLiteral("Factory"));
        QCOMPARE(store.getGlobalData("mouse/keyCount").toInt(), 6);
        QCOMPARE(store.icType(), QStringLiteral("553"));
        QVERIFY(store.isGun());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(fx->readFile("modules/setting/apConfig.bin"), kFactory);
    }

    void resetApconfigWithoutFactoryKeepsGlobalFile()
    {
        QVERIFY(QFile::remove(fx->path("modules/setting/apConfigD.bin")));
        SettingsStore store(fx->root());
        QSettings* before = store.globalSettings();
        QVERIFY(!store.resetApconfig());
        QCOMPARE(store.globalSettings(), before);
        QCOMPARE(store.getGlobalData("common/name").toString(), QStringLiteral("Current"));
        QCOMPARE(fx->readFile("modules/setting/apConfig.bin"), kGlobal);
    }

    // A write that does not take (here a folder stands where the slot's file
    // would be, which stops root as well as anyone else) is reported, once
    // per attempt, and the change stays pending: the next write puts it in
    // the file once the way is clear. The event loop writes on its own.
    void writeThatDoesNotTakeIsReported()
    {
        SettingsStore store(fx->root());
        QVERIFY(QFile::remove(fx->path(slotFile(1))));
        QVERIFY(QDir().mkpath(fx->path(slotFile(1))));
        QStringList told;
        OperationFailures::setWriteFailureHandler([&](const QString& path) { told << path; });
        const quint64 failures = OperationFailures::failures();
        QVERIFY(store.setCurrentProfile(1));
        store.setData("mouse/dpiCount", 7);
        QTRY_COMPARE(OperationFailures::failures(), failures + 1);
        QCOMPARE(told, QStringList{store.slotFileName(1)});
        QVERIFY(OperationFailures::lastFailure().contains(QLatin1String("p2.bin cannot be written")));
        // Nothing else was written, and a write elsewhere takes.
        store.setGlobalData("common/name", "Other");
        QVERIFY(!store.flush());
        QCOMPARE(onDisk(fx->path("modules/setting/apConfig.bin"), "common/name").toString(), QStringLiteral("Other"));
        QCOMPARE(OperationFailures::failures(), failures + 2);
        OperationFailures::setWriteFailureHandler({});

        QVERIFY(QDir(fx->path(slotFile(1))).removeRecursively());
        QVERIFY(store.flush());
        QCOMPARE(OperationFailures::failures(), failures + 2);
        QCOMPARE(onDisk(fx->path(slotFile(1)), "mouse/dpiCount").toString(), QStringLiteral("7"));
        QCOMPARE(store.getData("mouse/dpiCount", false).toString(), QStringLiteral("7"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    std::unique_ptr<DataFixture> fx;
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
