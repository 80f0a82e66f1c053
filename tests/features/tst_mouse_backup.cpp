// Mouse backups: the file format, the folder, the backup before the first
// write of a run, and restoring a backup.

#include "device/hid_transport.h"
#include "features/backup_folder.h"
#include "features/dpi_ops.h"
#include "features/mouse_backup.h"
#include "support/feature_bench.h"
#include "support/mouse_patterns.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

const QDateTime kNoon = QDateTime(QDate(2025, 3, 1), QTime(12, 0), Qt::UTC);

BackupRecord recordOf(int family, quint16 productId = 0xa1ee, uchar seed = 7)
{
    BackupRecord r;
    r.vendorId = 0x04d9;
    r.productId = productId;
    r.taken = kNoon;
    r.snapshot = snapshotOf(patternedMouse(seed), family);
    return r;
}

// A bench whose mouse keeps the program's backups: the view's wiring.
struct BackupBench : FeatureBench {
    explicit BackupBench(int family, bool gun = false) : FeatureBench({family, true, gun}), backup(ctx)
    {
        rig.hid.transport().setWriteGuard(&backup);
        backup.now = [this] { return kNoon.addSecs(++taken); };
    }
    ~BackupBench() { rig.hid.transport().setWriteGuard(nullptr); }
    // The mouse holds `s`, and the view's copy of the blocks is read from it.
    void mouseHolds(const VirtualMouseState& s)
    {
        rig.mouse->setState(s);
        if (ctx.is560())
            ProfileSync(ctx).readAtConnect();
        rig.mouse->clearReceived();
    }
    QStringList backups() const { return backup.folder().list(0x04d9, 0xa1ee); }
    MouseSnapshot mouseNow()
    {
        MouseSnapshot s;
        if (!readMouseSnapshot(rig.hid.transport(), ctx.is560() ? 560 : 553, s))
            qWarning("the mouse did not answer");
        return s;
    }

    MouseBackup backup;
    int taken = 0;
};

const QVariantList kStages{400, 800, 1600, 3200, 0, 0, 0, 0};

} // namespace

class TestMouseBackup : public QObject {
    Q_OBJECT
private slots:
    void recordIsReadBackOrRefused_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("value");     // undefined: the field is removed
        QTest::addColumn<QString>("error");        // empty: the record is read back as written
        const QJsonValue gone(QJsonValue::Undefined);
        QTest::newRow("553 as written") << 553 << QString() << gone << QString();
        QTest::newRow("560 as written") << 560 << QString() << gone << QString();
        QTest::newRow("another format") << 553 << "format" << QJsonValue("settings") << "not a mouse backup of this program";
        QTest::newRow("another version") << 560 << "version" << QJsonValue(2) << "a backup of another version (expected 1)";
        QTest::newRow("vendor id of five digits") << 553 << "vendorId" << QJsonValue("04d9a") << "\"vendorId\" is missing or not four hexadecimal digits";
        QTest::newRow("product id missing") << 553 << "productId" << gone << "\"productId\" is missing or not four hexadecimal digits";
        QTest::newRow("unknown family") << 560 << "family" << QJsonValue(554) << "\"family\" is missing or not 553 or 560";
        QTest::newRow("no time") << 553 << "taken" << gone << "\"taken\" is missing or not a date and time";
        QTest::newRow("a 553 field in a 560 backup") << 560 << "currentDpiStage" << QJsonValue(2) << "\"currentDpiStage\" does not belong in a backup of a 560 mouse";
        QTest::newRow("four option bytes on a 560") << 560 << "keyboardOptions" << QJsonValue("01020304") << "\"keyboardOptions\" is missing or not 2 bytes in hexadecimal";
        QTest::newRow("options not hexadecimal") << 553 << "keyboardOptions" << QJsonValue("0102030g") << "\"keyboardOptions\" is missing or not 4 bytes in hexadecimal";
        // Every field holds only what the mouse can: DPI stages 1-8, profiles 1-4.
        const QString stage553 = "\"currentDpiStage\" is missing or not a DPI stage from 1 to 8";
        const QString profile560 = "\"currentProfile\" is missing or not a profile from 1 to 4";
        const QString stages560 = "\"profileDpiStages\" is missing or not four DPI stages from 1 to 8";
        QTest::newRow("553 stage 1") << 553 << "currentDpiStage" << QJsonValue(1) << QString();
        QTest::newRow("553 stage 8") << 553 << "currentDpiStage" << QJsonValue(8) << QString();
        QTest::newRow("553 stage 9") << 553 << "currentDpiStage" << QJsonValue(9) << stage553;
        QTest::newRow("553 stage 0") << 553 << "currentDpiStage" << QJsonValue(0) << stage553;
        QTest::newRow("stage above a byte") << 553 << "currentDpiStage" << QJsonValue(256) << stage553;
        QTest::newRow("stage with a fraction") << 553 << "currentDpiStage" << QJsonValue(1.5) << stage553;
        QTest::newRow("stage as text") << 553 << "currentDpiStage" << QJsonValue("2") << stage553;
        QTest::newRow("560 profile 4") << 560 << "currentProfile" << QJsonValue(4) << QString();
        QTest::newRow("560 profile 99") << 560 << "currentProfile" << QJsonValue(99) << profile560;
        QTest::newRow("560 profile 0") << 560 << "currentProfile" << QJsonValue(0) << profile560;
        QTest::newRow("negative profile") << 560 << "currentProfile" << QJsonValue(-1) << profile560;
        QTest::newRow("560 stages 1 and 8") << 560 << "profileDpiStages" << QJsonValue(QJsonArray{1, 8, 8, 1}) << QString();
        QTest::newRow("560 stage 9") << 560 << "profileDpiStages" << QJsonValue(QJsonArray{1, 2, 9, 4}) << stages560;
        QTest::newRow("560 stage 0") << 560 << "profileDpiStages" << QJsonValue(QJsonArray{0, 2, 3, 4}) << stages560;
        QTest::newRow("profile stage as text") << 560 << "profileDpiStages" << QJsonValue(QJsonArray{1, 2, "3", 4}) << stages560;
        QTest::newRow("three stages") << 560 << "profileDpiStages" << QJsonValue(QJsonArray{1, 2, 3}) << stages560;
        // The option bytes are the mouse's own flags: any byte is what it handed out.
        QTest::newRow("553 options ff") << 553 << "keyboardOptions" << QJsonValue("ffffffff") << QString();
        QTest::newRow("four blocks") << 560 << "profileBlocks" << QJsonValue(QJsonArray{"", "", "", ""}) << "\"profileBlocks\" is missing or not five blocks";
        const QString shortBlock(254, QLatin1Char('0'));
        QTest::newRow("short block") << 560 << "profileBlocks"
                                     << QJsonValue(QJsonArray{QString(256, '0'), QString(256, '0'), shortBlock, QString(256, '0'), QString(256, '0')})
                                     << "profile block 2 is not 128 bytes in hexadecimal";
    }
    void recordIsReadBackOrRefused()
    {
        QFETCH(int, family);
        QFETCH(QString, field);
        QFETCH(QJsonValue, value);
        QFETCH(QString, error);
        const BackupRecord r = recordOf(family);
        QJsonObject o = QJsonDocument::fromJson(r.toJson()).object();
        if (value.isUndefined())
            o.remove(field);
        else if (!field.isEmpty())
            o.insert(field, value);
        QString why;
        const std::optional<BackupRecord> back = BackupRecord::fromJson(QJsonDocument(o).toJson(), &why);
        if (!error.isEmpty()) {
            QVERIFY(!back);
            QCOMPARE(why, error);
            return;
        }
        QVERIFY2(back, qPrintable(why));
        QCOMPARE(back->vendorId, r.vendorId);
        QCOMPARE(back->productId, r.productId);
        QCOMPARE(back->taken, r.taken);
        // Read back as written, and written out the same again.
        QCOMPARE(QJsonDocument::fromJson(back->toJson()).object(), o);
    }

    void textThatIsNoBackupIsRefused()
    {
        QString why;
        for (const QByteArray& text : {QByteArray("{\"format\": "), QByteArray("[]"), QByteArray("\xff\xfe\x00", 3)}) {
            QVERIFY(!BackupRecord::fromJson(text, &why));
            QCOMPARE(why, QStringLiteral("not a JSON object"));
        }
        DataFixture data;
        const QString big = data.path(QStringLiteral("big.json"));
        QVERIFY(data.writeFile(QStringLiteral("big.json"), QByteArray(BackupFolder::kMaxFileBytes + 1, ' ')));
        QVERIFY(!BackupFolder::load(big, &why));
        QCOMPARE(why, QStringLiteral("it cannot be read or is too large for a backup"));
        QVERIFY(!BackupFolder::load(data.path(QStringLiteral("none.json")), &why));
        QCOMPARE(why, QStringLiteral("there is no such file"));
    }

    // The newest ten backups of each mouse are kept; names in use move on by
    // a millisecond; files the program did not name are left alone.
    void folderKeepsTheNewestTenOfEachMouse()
    {
        DataFixture data;
        const BackupFolder folder(data.root());
        const QStringList strays{QStringLiteral("notes.json"), QStringLiteral("04d9-a1ee-latest.json"),
                                 QStringLiteral("04d9-a1ee-20200101-000000-000.json.Ab3xQ9")};
        for (const QString& name : strays)
            QVERIFY(data.writeFile(QStringLiteral("modules/backup/") + name, "x"));
        BackupRecord other = recordOf(553, 0x1234);
        QVERIFY(!folder.save(other).isEmpty());

        QStringList written;
        BackupRecord r = recordOf(560);
        for (int i = 0; i < 12; ++i) {
            r.taken = kNoon.addSecs(i);
            written << folder.save(r);
        }
        // The same moment again (a second run within the millisecond).
        const QString twin = folder.save(r);
        QCOMPARE(QFileInfo(twin).fileName(), QStringLiteral("04d9-a1ee-20250301-120011-001.json"));
        const std::optional<BackupRecord> moved = BackupFolder::load(twin);
        QVERIFY(moved);
        QCOMPARE(moved->taken, kNoon.addSecs(11).addMSecs(1));

        QStringList kept = written.mid(3);
        kept << twin;
        QCOMPARE(folder.list(0x04d9, 0xa1ee), kept);
        QCOMPARE(folder.newest(0x04d9, 0xa1ee), twin);
        QCOMPARE(folder.list(0x04d9, 0x1234).size(), 1);
        for (const QString& name : strays)
            QVERIFY(QFileInfo::exists(folder.path() + QLatin1Char('/') + name));

        // A backup being restored is never pruned under it.
        r.taken = kNoon.addSecs(60);
        QVERIFY(!folder.save(r, kept.first()).isEmpty());
        QVERIFY(QFileInfo::exists(kept.first()));
        QCOMPARE(folder.list(0x04d9, 0xa1ee).size(), BackupFolder::kKeep + 1);
    }

    // The first write of a run makes one backup of what the mouse held, and
    // costs no pause beyond the write's own.
    void firstWriteBacksUpTheMouse_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<qint64>("saveMs");
        QTest::newRow("553") << 553 << false << qint64(128 + 120 + 128);
        QTest::newRow("560") << 560 << false << qint64(736);
        QTest::newRow("560 with recoil presets") << 560 << true << qint64(4 * 736);
    }
    void firstWriteBacksUpTheMouse()
    {
        QFETCH(int, family);
        QFETCH(bool, gun);
        QFETCH(qint64, saveMs);
        BackupBench b(family, gun);
        QVERIFY(b.connected);
        const VirtualMouseState before = patternedMouse(3);
        b.mouseHolds(before);
        QVERIFY(b.backups().isEmpty());

        const qint64 start = b.rig.clock.nowMs();
        DpiOps(b.ctx).mouseSetDpi(4, QStringLiteral("3360"), kStages);
        QCOMPARE(b.rig.clock.nowMs() - start, saveMs);
        QCOMPARE(b.backups(), QStringList{b.backup.lastBackup()});
        const std::optional<BackupRecord> r = BackupFolder::load(b.backup.lastBackup());
        QVERIFY(r);
        QCOMPARE(BackupRecord::mouseName(r->vendorId, r->productId), QStringLiteral("04d9:a1ee"));
        QCOMPARE(r->taken, kNoon.addSecs(1));
        QVERIFY(r->snapshot == snapshotOf(before, family));

        DpiOps(b.ctx).mouseSetCurrentDPI(2);
        DpiOps(b.ctx).mouseSetDpi(2, QStringLiteral("3360"), kStages);
        QCOMPARE(b.backups().size(), 1);
    }

    void restoreBringsTheMouseBack_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }
    void restoreBringsTheMouseBack()
    {
        QFETCH(int, family);
        BackupBench b(family);
        const VirtualMouseState before = patternedMouse(3);
        b.mouseHolds(before);
        DpiOps(b.ctx).mouseSetDpi(4, QStringLiteral("3360"), kStages);
        const QString backup = b.backup.lastBackup();
        b.mouseHolds(patternedMouse(50));

        const MouseBackup::Result r = b.backup.restore();
        QCOMPARE(int(r.outcome), int(MouseBackup::Outcome::Restored));
        QCOMPARE(r.message, QStringLiteral("the backup of 2025-03-01 12:00:01 (UTC) is back on the mouse 04d9:a1ee"));
        QVERIFY(b.mouseNow() == snapshotOf(before, family));
        // What the mouse held before the restore was kept first.
        QCOMPARE(b.backups().size(), 2);
        const std::optional<BackupRecord> beforeRestore = BackupFolder::load(b.backup.lastBackup());
        QVERIFY(beforeRestore);
        QVERIFY(beforeRestore->snapshot == snapshotOf(patternedMouse(50), family));
        QCOMPARE(b.backup.newestBackup(), b.backup.lastBackup());
        // The view's copy of the blocks is the mouse's again.
        if (family == 560) {
            for (int n = 0; n < 2; ++n)
                QVERIFY(*b.ctx.blocks.block(n) == before.profileBlocks[size_t(n)]);
        }
        QCOMPARE(int(b.backup.restore(backup).outcome), int(MouseBackup::Outcome::Restored));
    }

    // Nothing is sent for a backup that is missing, damaged, or of another mouse.
    void restoreRefusesWithoutSendingAnything_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("no backup yet") << "none" << "there is no backup of the mouse 04d9:a1ee in %2; nothing was sent";
        QTest::newRow("missing file") << "missing" << "%1 is not a usable mouse backup: there is no such file; nothing was sent";
        QTest::newRow("damaged") << "damaged" << "%1 is not a usable mouse backup: not a JSON object; nothing was sent";
        QTest::newRow("another mouse") << "product" << "%1 is a backup of the mouse 04d9:1234, not of the connected mouse 04d9:a1ee; nothing was sent";
        QTest::newRow("another family") << "family" << "%1 is a backup of a mouse with the 553 commands; this one takes the 560 commands; nothing was sent";
    }
    void restoreRefusesWithoutSendingAnything()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        BackupBench b(560);
        const QString folder = b.backup.folder().path();
        QString file;
        if (kind == QLatin1String("missing")) {
            file = folder + QStringLiteral("/04d9-a1ee-20250301-120000-000.json");
        } else if (kind == QLatin1String("damaged")) {
            file = b.backup.folder().save(recordOf(560));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("{\"format\": \"korvex-stryde-mouse-backup\", \"vers");
        } else if (kind == QLatin1String("product")) {
            file = b.backup.folder().save(recordOf(560, 0x1234));
        } else if (kind == QLatin1String("family")) {
            file = b.backup.folder().save(recordOf(553));
        }
        const QStringList before = b.backups();
        b.rig.mouse->clearReceived();

        const MouseBackup::Result r = b.backup.restore(file);
        QCOMPARE(int(r.outcome), int(MouseBackup::Outcome::Refused));
        QCOMPARE(r.message, QString(message).replace(QStringLiteral("%1"), QDir::toNativeSeparators(file))
                                .replace(QStringLiteral("%2"), QDir::toNativeSeparators(folder)));
        QVERIFY(b.rig.mouse->received().isEmpty());
        QCOMPARE(b.backups(), before);
    }
};

QTEST_GUILESS_MAIN(TestMouseBackup)
#include "tst_mouse_backup.moc"
