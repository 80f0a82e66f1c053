#include "store/safe_file.h"
#include "store_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestSafeFile : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SafeFile::setCommitHook({}); }

    void writeCreatesAndReplaces()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("a.bin");
        QVERIFY(SafeFile::write(target, "first"));
        QVERIFY(SafeFile::write(target, "second, longer"));
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("second, longer"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bin"});
    }

    // The new content waits under a name of the program's own (which the
    // clean-up after a crash recognises) and takes the old file's rights.
    void temporaryFileHasTheProgramsOwnName()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("p1.bin");
        QVERIFY(SafeFile::write(target, "first"));
        const QFileDevice::Permissions rights = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(target, rights));
        QStringList during;
        SafeFile::setCommitHook([&](const QString&) {
            during = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
            return true;
        });
        QVERIFY(SafeFile::write(target, "second"));
        QCOMPARE(during.size(), 2);
        during.removeAll(QStringLiteral("p1.bin"));
        QCOMPARE(during.size(), 1);
        QVERIFY2(during.first().startsWith(QLatin1String(".p1.bin.stryde-tmp-")), qPrintable(during.first()));
        QVERIFY(SafeFile::isTemporaryName(during.first()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p1.bin"});
        QCOMPARE(QFileInfo(target).permissions() & 0x7077, rights & 0x7077);
    }

    void failedReplaceLeavesTarget_data()
    {
        QTest::addColumn<QString>("source");   // relative to the temp folder
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("stopBeforeCommit");
        QTest::newRow("source vanished") << "gone.bin" << "t.bin" << false;
        QTest::newRow("source is a folder") << "sub" << "t.bin" << false;
        QTest::newRow("target folder missing") << "src.bin" << "missing/t.bin" << false;
        QTest::newRow("target is a folder") << "src.bin" << "sub" << false;
        QTest::newRow("stopped before commit") << "src.bin" << "t.bin" << true;
    }
    void failedReplaceLeavesTarget()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(bool, stopBeforeCommit);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QVERIFY(SafeFile::write(dir.filePath("src.bin"), "new content"));
        QVERIFY(SafeFile::write(dir.filePath("t.bin"), "old content"));
        const auto before = storetest::snapshot(dir.path());

        bool hookRan = false;
        QByteArray targetAtCommit;
        SafeFile::setCommitHook([&](const QString& path) {
            hookRan = true;
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                targetAtCommit = f.readAll();
            return !stopBeforeCommit;
        });
        QVERIFY(!SafeFile::copy(dir.filePath(source), dir.filePath(target)));
        QCOMPARE(hookRan, stopBeforeCommit);
        if (stopBeforeCommit) // the new content was complete, yet the target still held the old
            QCOMPARE(targetAtCommit, QByteArray("old content"));
        QCOMPARE(storetest::snapshot(dir.path()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"src.bin", "sub", "t.bin"}));
    }

    // Settings readers cache by size and modification time: a replacement
    // must move the time on even when the clock gives the old value.
    void replacementAdvancesModificationTime()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("t.bin");
        QVERIFY(SafeFile::write(target, "aaaa"));
        const QDateTime future = QDateTime::currentDateTime().addDays(1);
        {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(future, QFileDevice::FileModificationTime));
        }
        const QDateTime before = QFileInfo(target).lastModified();
        QVERIFY(SafeFile::write(target, "bbbb"));
        QVERIFY(QFileInfo(target).lastModified() > before);
    }

    void readRefusesWhatIsNotAPlainFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<bool>("ok");
        QTest::newRow("plain file") << "ten.bin" << qint64(10) << true;
        QTest::newRow("larger than allowed") << "ten.bin" << qint64(9) << false;
        QTest::newRow("folder") << "." << qint64(100) << false;
        QTest::newRow("missing") << "nope.bin" << qint64(100) << false;
        QTest::newRow("endless device") << "/dev/zero" << qint64(100) << false;
    }
    void readRefusesWhatIsNotAPlainFile()
    {
        QFETCH(QString, path);
        QFETCH(qint64, maxBytes);
        QFETCH(bool, ok);
        QTemporaryDir dir;
        QVERIFY(SafeFile::write(dir.filePath("ten.bin"), "0123456789"));
        const QString full = path.startsWith('/') ? path : dir.filePath(path);
        const auto data = SafeFile::read(full, maxBytes);
        QCOMPARE(data.has_value(), ok);
        if (ok)
            QCOMPARE(*data, QByteArray("0123456789"));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safe_file.moc"
