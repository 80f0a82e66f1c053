#include "store/operation_failures.h"
#include "store/profile_slots.h"
#include "store/safe_file.h"
#include "store/settings_store.h"
#include "store_files.h"
#include "support/fake_file_dialogs.h"

#include <QSettings>
#include <QtTest>
#include <memory>

using namespace storetest;

class TestProfileSlots : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>();
        QVERIFY(fx->isValid());
        QVERIFY(writeProfiles(*fx));
        dialogs = FakeFileDialogs();
        store = std::make_unique<SettingsStore>(fx->root());
        profiles = std::make_unique<ProfileSlots>(*store, dialogs);
        outside = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        SafeFile::setCommitHook({});
        profiles.reset();
        store.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fx.reset();
    }

    void resetProfileCopiesDefault()
    {
        QVERIFY(store->setCurrentProfile(2));
        const QList<QSettings*> before = store->profileSettings();
        QVERIFY(profiles->resetProfile(2));
        QCOMPARE(fx->readFile(slotFile(2)), profileText("pD"));
        QCOMPARE(store->getData("mouse/dpiCount", false).toString(), QStringLiteral("pD"));
        QCOMPARE(store->currentProfile(), 2);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(store->profileSettings().at(i) == before.at(i), i != 2);
    }

    void copyProfileCopiesSourceSlot_data()
    {
        QTest::addColumn<int>("dest");
        QTest::addColumn<int>("src");
        QTest::newRow("0 from 5") << 0 << 5;
        QTest::newRow("5 from 0") << 5 << 0;
        QTest::newRow("9 from 3") << 9 << 3;
    }
    void copyProfileCopiesSourceSlot()
    {
        QFETCH(int, dest);
        QFETCH(int, src);
        QSettings* source = store->slotSettings(src);
        QVERIFY(profiles->copyProfile(dest, src));
        QCOMPARE(fx->readFile(slotFile(dest)), fx->readFile(slotFile(src)));
        QCOMPARE(fx->readFile(slotFile(src)), profileText("p" + QByteArray::number(src + 1)));
        QCOMPARE(store->slotSettings(src), source);
        QCOMPARE(store->slotSettings(dest)->value("mouse/dpiCount").toString(), QStringLiteral("p%1").arg(src + 1));
    }

    // The source slot's changes that are not yet written back belong in the copy.
    void copyCarriesPendingChangesOfSource()
    {
        QVERIFY(store->setCurrentProfile(5));
        store->setData("mouse/dpiCount", "edited");
        QVERIFY(profiles->copyProfile(0, 5));
        QCOMPARE(store->slotSettings(0)->value("mouse/dpiCount").toString(), QStringLiteral("edited"));
    }

    // A long-lived object with pending changes must not write them over the
    // file that replaced its own, neither now nor when it is finally deleted.
    void pendingChangesNeverReachReplacedFile()
    {
        QVERIFY(store->setCurrentProfile(2));
        store->setData("mouse/stale", 1);
        store->setData("mouse/dpiCount", "stale");
        QVERIFY(profiles->resetProfile(2));
        QVERIFY(!store->getData("mouse/stale", false).isValid());
        QCOMPARE(store->getData("mouse/dpiCount", false).toString(), QStringLiteral("pD"));
        profiles.reset();
        store.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(fx->readFile(slotFile(2)), profileText("pD"));
    }

    // Same size, different content, replaced at once: the cached parse of the
    // old file must not survive.
    void replacementOfSameSizeIsSeen()
    {
        QVERIFY(store->setCurrentProfile(0));
        QCOMPARE(fx->readFile(slotFile(0)).size(), fx->readFile(slotFile(1)).size());
        for (int round = 0; round < 20; ++round) {
            const int src = 1 + round % 2;
            QVERIFY(profiles->copyProfile(0, src));
            QCOMPARE(store->getData("mouse/dpiCount", false).toString(), QStringLiteral("p%1").arg(src + 1));
        }
    }

    void sameSlotChangesNothing()
    {
        QSettings* slot = store->slotSettings(3);
        const QByteArray bytes = fx->readFile(slotFile(3));
        QVERIFY(profiles->copyProfile(3, 3));
        dialogs.answers = {fx->path(slotFile(3))};
        QVERIFY(profiles->loadProfile(3));
        QCOMPARE(store->slotSettings(3), slot);
        QCOMPARE(fx->readFile(slotFile(3)), bytes);
    }

    // A damaged default profile is not spread into a slot by a reset.
    void damagedDefaultIsNotCopied()
    {
        QVERIFY(fx->writeFile(QStringLiteral("modules/setting/pD.bin"), QByteArray(512, '\0')));
        const QByteArray bytes = fx->readFile(slotFile(2));
        QVERIFY(store->setCurrentProfile(2));
        const quint64 failures = OperationFailures::failures();
        QVERIFY(!profiles->resetProfile(2));
        // Reported as a failure, for the command-line tool's exit code.
        QCOMPARE(OperationFailures::failures(), failures + 1);
        QVERIFY(OperationFailures::lastFailure().contains(QLatin1String("damaged")));
        QCOMPARE(fx->readFile(slotFile(2)), bytes);
        QCOMPARE(store->getData("mouse/dpiCount", false).toString(), QStringLiteral("p3"));
    }

    void slotIndexesOutsideRangeIgnored_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("10") << 10;
        QTest::newRow("1000") << 1000;
    }
    void slotIndexesOutsideRangeIgnored()
    {
        QFETCH(int, index);
        const QList<QSettings*> before = store->profileSettings();
        const auto files = snapshot(fx->root());
        dialogs.answers = {fx->path(slotFile(1)), outside->filePath("x.pf")};
        QVERIFY(!profiles->resetProfile(index));
        QVERIFY(!profiles->copyProfile(index, 0));
        QVERIFY(!profiles->copyProfile(0, index));
        QVERIFY(!profiles->loadProfile(index));
        QVERIFY(!profiles->saveProfile(index));
        QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(store->profileSettings(), before);
        QCOMPARE(snapshot(fx->root()), files);
    }

    void loadProfileCancelledChangesNothing()
    {
        const QList<QSettings*> before = store->profileSettings();
        QVERIFY(!profiles->loadProfile(1));
        QCOMPARE(store->profileSettings(), before);
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].save, false);
        QCOMPARE(dialogs.calls[0].caption, QStringLiteral("Open File"));
        QCOMPARE(dialogs.calls[0].filter, QStringLiteral("Profile(*.pf)"));
    }

    void loadProfileImportsFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("LF") << QByteArray("[mouse]\ndpiCount=imported\n");
        QTest::newRow("CRLF") << QByteArray("[mouse]\r\ndpiCount=imported\r\n");
        QTest::newRow("UTF-8 BOM") << QByteArray("\xef\xbb\xbf[mouse]\ndpiCount=imported\n");
    }
    void loadProfileImportsFile()
    {
        QFETCH(QByteArray, content);
        const QString chosen = outside->filePath("import.pf");
        QVERIFY(SafeFile::write(chosen, content));
        QVERIFY(store->setCurrentProfile(1));
        dialogs.answers = {chosen};
        QVERIFY(profiles->loadProfile(1));
        QCOMPARE(fx->readFile(slotFile(1)), content);
        QCOMPARE(store->getData("mouse/dpiCount", false).toString(), QStringLiteral("imported"));
    }

    void loadProfileRefusesForeignFiles_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: the file vanished
        QTest::newRow("binary") << QByteArray("MZ\x90", 3) + QByteArray(5, '\0') + "[mouse]\ndpiCount=x\n";
        QTest::newRow("invalid UTF-8") << QByteArray("[mouse]\ndpiCount=\xff\xfe\xc0\n");
        QTest::newRow("10 MB") << QByteArray("[mouse]\n") + QByteArray(10 * 1024 * 1024, 'a');
        QTest::newRow("vanished") << QByteArray();
    }
    void loadProfileRefusesForeignFiles()
    {
        QFETCH(QByteArray, content);
        const QString chosen = outside->filePath("foreign.pf");
        if (!content.isEmpty())
            QVERIFY(SafeFile::write(chosen, content));
        QSettings* slot = store->slotSettings(1);
        const auto files = snapshot(fx->root());
        dialogs.answers = {chosen};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("import failed"));
        QVERIFY(!profiles->loadProfile(1));
        QCOMPARE(store->slotSettings(1), slot);
        QCOMPARE(snapshot(fx->root()), files);
        QCOMPARE(slot->value("mouse/dpiCount").toString(), QStringLiteral("p2"));
    }

    // A crash or failure in the middle of a replacement cannot tear the
    // slot's file: the new content is complete before the target changes, and
    // an interrupted replacement leaves file and settings object as they were.
    void interruptedReplaceKeepsSlot()
    {
        QSettings* slot = store->slotSettings(1);
        const QByteArray before = fx->readFile(slotFile(1));
        const QStringList folder = QDir(fx->path("modules/setting")).entryList(QDir::Files | QDir::Hidden);
        QByteArray targetAtCommit;
        SafeFile::setCommitHook([&](const QString& target) {
            QFile f(target);
            if (f.open(QIODevice::ReadOnly))
                targetAtCommit = f.readAll();
            return false;
        });
        QVERIFY(!profiles->resetProfile(1));
        QCOMPARE(targetAtCommit, before);
        QCOMPARE(store->slotSettings(1), slot);
        QCOMPARE(fx->readFile(slotFile(1)), before);
        QCOMPARE(QDir(fx->path("modules/setting")).entryList(QDir::Files | QDir::Hidden), folder);
        QVERIFY(store->setCurrentProfile(1));
        QCOMPARE(store->getData("mouse/dpiCount", false).toString(), QStringLiteral("p2"));
    }

    void resetWithoutDefaultProfileKeepsSlot()
    {
        QVERIFY(QFile::remove(fx->path("modules/setting/pD.bin")));
        QSettings* slot = store->slotSettings(4);
        QVERIFY(!profiles->resetProfile(4));
        QCOMPARE(store->slotSettings(4), slot);
        QCOMPARE(fx->readFile(slotFile(4)), profileText("p5"));
    }

    void saveProfileExportsSlot()
    {
        const QString target = outside->filePath("export.pf");
        QVERIFY(SafeFile::write(target, "old export"));
        QVERIFY(store->setCurrentProfile(0));
        store->setData("mouse/dpiCount", "unsaved edit");
        dialogs.answers = {target};
        QVERIFY(profiles->saveProfile(0));
        QCOMPARE(onDisk(target, "mouse/dpiCount").toString(), QStringLiteral("unsaved edit"));
        QCOMPARE(onDisk(target, "mouse/dpiValueArray").toStringList(), (QStringList{"400", "800", "1600"}));
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].save, true);
        QCOMPARE(dialogs.calls[0].caption, QStringLiteral("Save File"));
        QCOMPARE(dialogs.calls[0].filter, QStringLiteral("Profile(*.pf)"));
    }

    void saveProfileFailuresKeepTarget_data()
    {
        QTest::addColumn<QString>("answer");   // see dialogAnswer
        QTest::newRow("cancelled") << QString();
        QTest::newRow("folder missing") << "missing/export.pf";
        for (const QString& target : programFileTargets())
            QTest::addRow("over %s", qPrintable(target)) << target;
    }
    void saveProfileFailuresKeepTarget()
    {
        QFETCH(QString, answer);
        QVERIFY(fx->writeFile(QStringLiteral("modules/macro/other.bin"), "[config]\ntotal=1\n"));
        answer = dialogAnswer(*fx, *outside, answer);
        const auto files = snapshot(fx->root());
        const auto outsideBefore = snapshot(outside->path());
        dialogs.answers = {answer};
        QVERIFY(!profiles->saveProfile(0));
        QCOMPARE(snapshot(fx->root()), files);
        QCOMPARE(snapshot(outside->path()), outsideBefore);
    }

private:
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<SettingsStore> store;
    FakeFileDialogs dialogs;
    std::unique_ptr<ProfileSlots> profiles;
    std::unique_ptr<QTemporaryDir> outside;
};

QTEST_GUILESS_MAIN(TestProfileSlots)
#include "tst_profile_slots.moc"
