// The data folder as an unlucky user leaves it: files that are no INI text
// any more are kept aside before the program rewrites them, and temporary
// files of a save that was killed are gone after the next start.

#include "features/feature_context.h"
#include "features/recoil_ops.h"
#include "store/damaged_files.h"
#include "store/macro_library.h"
#include "store/name_lists.h"
#include "store/settings_store.h"
#include "store/work_folder.h"
#include "store_files.h"
#include "support/fake_file_dialogs.h"

#include <QLockFile>
#include <QtTest>
#include <functional>

using namespace storetest;

namespace {

// One way the program writes one of its files.
struct Writer {
    const char* file;
    std::function<void(const DataFixture&)> write;
    const char* key;        // what the write stored, read back from the new file; null: nothing is written
    const char* value;      // a list joined with commas
};

const QList<Writer>& writers()
{
    static const QList<Writer> list = {
        {"modules/setting/apConfig.bin", [](const DataFixture& fx) {
             SettingsStore(fx.root()).setGlobalData(QStringLiteral("mouse/profileNo"), 3);
         }, "mouse/profileNo", "3"},
        {"modules/setting/p3.bin", [](const DataFixture& fx) {
             SettingsStore store(fx.root());
             store.setCurrentProfile(2);
             store.setData(QStringLiteral("mouse/dpiCount"), 6);
         }, "mouse/dpiCount", "6"},
        {"modules/setting/name.bin", [](const DataFixture& fx) {
             NameLists(fx.root()).updataNameList(2, {QStringLiteral("work1"), QStringLiteral("game2")});
         }, "profile/profileName", "work1,game2"},
        {"modules/macro/m1.bin", [](const DataFixture& fx) {
             SettingsStore store(fx.root());
             FakeFileDialogs dialogs;
             MacroLibrary(store, dialogs).saveMacroIni(QStringLiteral("m1"), {QStringLiteral("1,4,0")}, 2);
         }, "config/repeat", "2"},
        // The recoil library is never created by the program: once kept
        // aside it stays missing.
        {"modules/gun/gunData.bin", [](const DataFixture& fx) {
             SettingsStore store(fx.root());
             FeatureContext ctx;
             ctx.store = &store;
             RecoilOps(ctx).mouseSaveGundata(0, {QStringLiteral("AKM"), QStringLiteral("L-Click"), 10, 1, 2, 3});
         }, nullptr, nullptr},
    };
    return list;
}

QByteArray oversized()
{
    QByteArray text("[mouse]\n");
    while (text.size() <= DamagedFiles::MaxBytes)
        text += "k" + QByteArray::number(text.size()) + "=1\n";
    return text;
}

} // namespace

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void damagedFilesAreKeptAside_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<QByteArray>("damage");
        const QList<QPair<const char*, QByteArray>> damages = {
            {"binary", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452fffe")},
            {"zero-filled", QByteArray(4096, '\0')},
            {"not UTF-8", QByteArray("[mouse]\nname=\xe9t\xe9\n")},
            {"oversized", oversized()},
            {"control bytes", QByteArray(4096, '\x01')},
            {"escape in text", QByteArray("[mouse]\nname=a\x1b[31mb\n")},
        };
        for (int w = 0; w < writers().size(); ++w)
            for (const auto& d : damages)
                QTest::addRow("%s, %s", writers().at(w).file, d.first) << w << d.second;
    }
    void damagedFilesAreKeptAside()
    {
        QFETCH(int, writer);
        QFETCH(QByteArray, damage);
        const Writer& w = writers().at(writer);
        DataFixture fx;
        QVERIFY(fx.writeFile(QString::fromLatin1(w.file), damage));
        const QString aside = QString::fromLatin1(w.file) + QStringLiteral(".damaged");

        w.write(fx);
        QCOMPARE(fx.readFile(aside), damage);
        if (w.key)
            QCOMPARE(onDisk(fx.path(QString::fromLatin1(w.file)), QString::fromLatin1(w.key)).toStringList().join(','),
                     QString::fromLatin1(w.value));
        else
            QVERIFY(!QFileInfo::exists(fx.path(QString::fromLatin1(w.file))));

        // Once: the next write finds a sound file (or none) and leaves the copy alone.
        w.write(fx);
        QCOMPARE(fx.readFile(aside), damage);
    }

    // Text that is merely incomplete or odd is the user's and stays where it is.
    void soundFilesStay_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<QByteArray>("content");
        for (int w = 0; w < writers().size(); ++w) {
            QTest::addRow("%s, empty", writers().at(w).file) << w << QByteArray();
            QTest::addRow("%s, missing keys", writers().at(w).file) << w << QByteArray("[other]\nx=1\n");
            QTest::addRow("%s, odd text", writers().at(w).file)
                << w << QByteArray("just words\n[unclosed\n\xc3\xa9=\"open quote\n");
        }
    }
    void soundFilesStay()
    {
        QFETCH(int, writer);
        QFETCH(QByteArray, content);
        const Writer& w = writers().at(writer);
        DataFixture fx;
        QVERIFY(fx.writeFile(QString::fromLatin1(w.file), content));
        w.write(fx);
        QVERIFY(!QFileInfo::exists(fx.path(QString::fromLatin1(w.file) + QStringLiteral(".damaged"))));
        QVERIFY(QFileInfo::exists(fx.path(QString::fromLatin1(w.file))));
    }

    // The program's own temporary files of interrupted saves go at the next
    // start. The settings format's go only with the lock of the ended save
    // that made them; a name that merely looks like a temporary one is the
    // user's and stays.
    void staleTemporariesRemovedAtStart()
    {
        DataFixture fx;
        const QByteArray deadOwner = "2147480000\nstryde\n" + QSysInfo::machineHostName().toUtf8() + "\n";
        const QDateTime lockTime = QDateTime::currentDateTime().addSecs(-60);
        auto setTime = [&](const QString& f, const QDateTime& t) {
            QFile file(fx.path(f));
            return file.open(QIODevice::ReadWrite) && file.setFileTime(t, QFileDevice::FileModificationTime);
        };
        // Saves of an ended program: its locks, and what the settings format
        // wrote while it held them.
        for (const char* lock : {"modules/setting/p1.bin.lock", "modules/setting/p3.bin.lock",
                                 "modules/macro/m2.bin.lock"}) {
            QVERIFY(fx.writeFile(QLatin1String(lock), deadOwner));
            QVERIFY(setTime(QLatin1String(lock), lockTime));
        }
        // A save under way in a running program (this one).
        QLockFile held(fx.path("modules/setting/p2.bin.lock"));
        QVERIFY(held.tryLock(0));
        const QStringList stale = {
            "modules/setting/.p1.bin.stryde-tmp-PybiwR", "modules/setting/.apConfig.bin.stryde-tmp-a8Xk2q",
            "modules/macro/.m1.bin.stryde-tmp-xyz123", "modules/gun/.gunData.bin.stryde-tmp-AbCdEf",
            "modules/backup/.04d9-a1ee-20250301-093000-125.json.stryde-tmp-Zq9WeR",
            "modules/setting/p1.bin.lock", "modules/setting/p1.bin.PybiwR",
            "modules/setting/p3.bin.lock", "modules/macro/m2.bin.lock", "modules/macro/m2.bin.QWZRTV",
        };
        const QStringList kept = {
            // The user's copies, with or without a lock beside them.
            "modules/gun/gunData.bin.saved1", "modules/setting/p1.bin.old123", "modules/macro/m1.bin.mine01",
            "modules/setting/apps.bin.keep01", "modules/setting/p1.bin.backup", "modules/setting/p4.bin.Latest", "modules/setting/p2.bin.qwzrtv",
            "modules/setting/p3.bin.Old123",
            "modules/setting/p1.bin.damaged", "modules/setting/p1.bin.AbC12", "modules/setting/p1.binAbCdEf",
            // Not quite the program's own name, or not in a folder it writes.
            "modules/setting/.p1.bin.stryde-tmp-AbC12", "modules/setting/p1.bin.stryde-tmp-AbCdEf",
            "modules/setting/..stryde-tmp-AbCdEf", "modules/setting/.p1.bin.stryde-tmp-AbC-ef",
            "modules/i18n/.English.ini.stryde-tmp-AbCdEf", "stryde.bin.AbCdEf",
        };
        for (const QString& f : stale + kept) {
            if (!f.endsWith(QLatin1String(".lock")))
                QVERIFY(fx.writeFile(f, "partial"));
        }
        // Older than the lock beside it: not made by that save.
        QVERIFY(setTime("modules/setting/p3.bin.Old123", lockTime.addSecs(-3600)));
        QVERIFY(setTime("modules/setting/p1.bin.old123", lockTime.addSecs(-1)));
        const auto before = snapshot(fx.root());

        SettingsStore store(fx.root());
        auto expected = before;
        for (const QString& f : stale)
            expected.remove(f);
        const auto after = snapshot(fx.root());
        QStringList wrong;
        for (const QString& f : stale + kept) {
            if (after.contains(f) != kept.contains(f))
                wrong << f;
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char(' '))));
        QCOMPARE(after, expected);
    }

    // A global file kept aside as damaged is started afresh from the factory
    // copy, at once or at a later start: the mouse is found again.
    void damagedGlobalFileStartsFromTheFactoryCopy()
    {
        const QString global = QStringLiteral("modules/setting/apConfig.bin");
        DataFixture fx;
        const QByteArray factory = fx.readFile("modules/setting/apConfigD.bin");
        QVERIFY(!factory.isEmpty());
        QVERIFY(fx.writeFile(global, QByteArray(4096, '\x01')));
        {
            SettingsStore store(fx.root());
            QCOMPARE(fx.readFile(global), factory);
            QCOMPARE(fx.readFile(global + ".damaged"), QByteArray(4096, '\x01'));
            QVERIFY(store.getGlobalData(QStringLiteral("mouse/icType")).isValid());
        }
        // Left kept aside by an earlier version of the program.
        QVERIFY(QFile::remove(fx.path(global)));
        SettingsStore::tidyDataFolder(fx.root());
        QCOMPARE(fx.readFile(global), factory);
        // Simply missing: the installation's business, it stays missing.
        QVERIFY(QFile::remove(fx.path(global)) && QFile::remove(fx.path(global + ".damaged")));
        SettingsStore::tidyDataFolder(fx.root());
        QVERIFY(!QFileInfo::exists(fx.path(global)));
    }

    // A save killed while the settings format held its lock, or while the
    // recoil library was changed on a copy, leaves a lock file or a work
    // folder. The next start removes them once their owner has ended; what a
    // running program holds stays.
    void abandonedLocksAndWorkFoldersRemovedAtStart()
    {
        DataFixture fx;
        // An owner that has ended (no such process), and one killed before it
        // could write its name.
        QVERIFY(fx.writeFile("modules/setting/p1.bin.lock", "2147480000\nstryde\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
        QVERIFY(fx.writeFile("modules/macro/m1.bin.lock", ""));
        QVERIFY(fx.writeFile("modules/gun/.gunData.bin.work-AbCdEf/gunData.bin", "[gunData]\n"));
        QVERIFY(fx.writeFile("modules/gun/.gunData.bin.work-AbCdEf/.owner", ""));
        QVERIFY(fx.writeFile("modules/gun/.gunData.bin.work-XyZ123/gunData.bin", "[gunData]\n"));
        // Held by this program, and a user's files of similar names.
        QLockFile held(fx.path("modules/setting/p2.bin.lock"));
        QVERIFY(held.tryLock(0));
        WorkFolder busy(fx.path("modules/gun/gunData.bin"));
        QVERIFY(busy.isValid());
        QVERIFY(fx.writeFile("modules/setting/notes.lock", "mine"));
        QVERIFY(fx.writeFile("modules/setting/.bin.lock", "mine"));
        QVERIFY(QDir().mkpath(fx.path("modules/gun/work-AbCdEf")));
        QVERIFY(QDir().mkpath(fx.path("modules/gun/..work-AbCdEf")));
        QVERIFY(QDir().mkpath(fx.path("modules/gun/.gunData.bin.work-AbC-ef")));

        { SettingsStore store(fx.root()); }

        for (const char* gone : {"modules/setting/p1.bin.lock", "modules/macro/m1.bin.lock",
                                 "modules/gun/.gunData.bin.work-AbCdEf", "modules/gun/.gunData.bin.work-XyZ123"})
            QVERIFY2(!QFileInfo::exists(fx.path(QLatin1String(gone))), gone);
        for (const char* kept : {"modules/setting/p2.bin.lock", "modules/setting/notes.lock", "modules/setting/.bin.lock",
                                 "modules/gun/work-AbCdEf", "modules/gun/..work-AbCdEf",
                                 "modules/gun/.gunData.bin.work-AbC-ef"})
            QVERIFY2(QFileInfo::exists(fx.path(QLatin1String(kept))), kept);
        QVERIFY(QFileInfo::exists(busy.filePath(QStringLiteral(".owner"))));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_data_folder.moc"
