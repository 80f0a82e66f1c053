// stryde-cli keeps a backup of the mouse before its first write, writes a
// backup back with `restore`, and reports a profile block that does not take.

#include "device/clock.h"
#include "device/virtual_mouse.h"
#include "support/data_fixture.h"
#include "support/mouse_patterns.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject object() const { return QJsonDocument::fromJson(out.trimmed().split('\n').last()).object(); }
};

// A data folder whose catalogue names a mouse of `family`, and that mouse's
// memory in mouse.json, holding patternedMouse(3).
struct Folder {
    explicit Folder(int family)
    {
        QSettings s(data.path(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
        s.setValue(QStringLiteral("mouse/icType"), QString::number(family));
        s.setValue(QStringLiteral("mouse/isGun"), false);
        s.sync();
        VirtualClock clock;
        VirtualMouse mouse(clock);
        mouse.setState(patternedMouse(3));
        mouse.saveState(state());
    }
    QString state() const { return data.path(QStringLiteral("mouse.json")); }
    QJsonObject mouseState() const { return QJsonDocument::fromJson(data.readFile(QStringLiteral("mouse.json"))).object(); }
    QString trace() const { return data.path(QStringLiteral("trace.txt")); }
    QStringList backups() const
    {
        const QDir dir(data.path(QStringLiteral("modules/backup")));
        QStringList paths;
        for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
            paths << dir.filePath(name);
        return paths;
    }
    // The first bytes of the write frames in the trace ("0c 01 80", ...).
    QStringList writes() const
    {
        QStringList frames;
        for (const QByteArray& line : data.readFile(QStringLiteral("trace.txt")).split('\n')) {
            const QList<QByteArray> w = line.split(' ');
            if (w.size() >= 7 && w.at(1) == "set-feature") {
                const int code = w.at(4).toInt(nullptr, 16);
                if (code != 0 && code < 0x80)
                    frames << QString::fromLatin1(w.mid(4, 3).join(' '));
            }
        }
        return frames;
    }
    Run cli(const QStringList& args) const
    {
        QProcess p;
        p.start(QString::fromLocal8Bit(qgetenv("STRYDE_CLI")),
                QStringList{QStringLiteral("--data-dir"), data.root(), QStringLiteral("--virtual-mouse"),
                            QStringLiteral("--virtual-state"), state(), QStringLiteral("--hid-trace"), trace()}
                    + args);
        p.waitForFinished(60000);
        return Run{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
    Run batch(const QByteArray& script) const
    {
        const QString file = data.path(QStringLiteral("calls.txt"));
        data.writeFile(QStringLiteral("calls.txt"), script);
        return cli({QStringLiteral("batch"), file});
    }

    DataFixture data;
};

} // namespace

class TestCliBackup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(!qgetenv("STRYDE_CLI").isEmpty()); }

    void firstWriteIsBackedUpAndRestored_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("changes");
        QTest::newRow("553") << 553 << QByteArray("hid.hid553_0BH_SetCurrentDPI 6\nhid.hid553_03H_SetKeyboardoption 9 9 9 9\n");
        QTest::newRow("560") << 560 << QByteArray("ui_View.mouseSetDpi 4 \"3360\" [800,1600,3200,6400,0,0,0,0]\n"
                                                  "hid.hid560_02H_SetCurrentProfile 3\nhid.hid560_04H_SetCurrentDPI 4\n"
                                                  "hid.hid560_01H_SetKeyboardoption 7 7\n");
    }
    void firstWriteIsBackedUpAndRestored()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, changes);
        Folder f(family);
        const QJsonObject original = f.mouseState();
        Run r = f.batch(changes);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(f.backups().size(), 1);
        const QString backup = f.backups().first();
        QVERIFY(f.mouseState() != original);

        r = f.cli({QStringLiteral("restore")});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(r.object().value(QStringLiteral("restored")).toString(), QDir::toNativeSeparators(backup));
        QCOMPARE(r.object().value(QStringLiteral("complete")).toBool(), true);
        QCOMPARE(f.mouseState(), original);
        // What the mouse held before the restore was kept first.
        QCOMPARE(f.backups().size(), 2);
        QCOMPARE(r.object().value(QStringLiteral("backupBeforeRestore")).toString(), QDir::toNativeSeparators(f.backups().last()));
        QVERIFY(f.writes().size() >= 2);
    }

    // Nothing is written for a backup that is damaged, of another mouse, or missing.
    void refusedBackupsSendNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged") << "damaged" << "is not a usable mouse backup: not a JSON object; nothing was sent";
        QTest::newRow("profile 99") << "profile" << "is not a usable mouse backup: \"currentProfile\" is missing or not a profile from 1 to 4; nothing was sent";
        QTest::newRow("another mouse") << "product" << "is a backup of the mouse 04d9:1234, not of the connected mouse 04d9:a1ee; nothing was sent";
        QTest::newRow("no backup") << "none" << "there is no backup of the mouse 04d9:a1ee";
        QTest::newRow("two files") << "two" << "restore takes at most one FILE";
    }
    void refusedBackupsSendNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        Folder f(560);
        QStringList args{QStringLiteral("restore")};
        if (kind != QLatin1String("none")) {
            QCOMPARE(f.cli({QStringLiteral("call"), QStringLiteral("hid.hid560_02H_SetCurrentProfile"), QStringLiteral("2")}).exitCode, 0);
            const QString file = f.backups().value(0);
            QByteArray text = f.data.readFile(QDir(f.data.root()).relativeFilePath(file));
            if (kind == QLatin1String("damaged"))
                text = text.left(40);
            else if (kind == QLatin1String("profile"))
                text.replace(QRegularExpression(QStringLiteral("\"currentProfile\": \\d+")).match(QString::fromUtf8(text)).captured().toUtf8(),
                             "\"currentProfile\": 99");
            else
                text.replace("\"a1ee\"", "\"1234\"");
            QVERIFY(f.data.writeFile(QDir(f.data.root()).relativeFilePath(file), text));
            args << file;
            if (kind == QLatin1String("two"))
                args << file;
        }
        const QJsonObject before = f.mouseState();
        const QStringList backups = f.backups();
        QFile::remove(f.trace());
        const Run r = f.cli(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QCOMPARE(f.writes(), QStringList());
        QCOMPARE(f.mouseState(), before);
        QCOMPARE(f.backups(), backups);
    }

    // A restore that loses the mouse after the device check is a failure (1),
    // on either family, and writes nothing; no mouse at all is 3.
    void restoreThatLosesTheMouse_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        for (int family : {553, 560}) {
            QTest::addRow("%d unplugged after the check", family) << family << "unplugAtCall=6" << 1 << "";
            QTest::addRow("%d no mouse", family) << family << "plugged=false" << 3 << "no mouse passed the device check";
        }
    }
    void restoreThatLosesTheMouse()
    {
        QFETCH(int, family);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        Folder f(family);
        QCOMPARE(f.cli({QStringLiteral("call"), QStringLiteral("hid.hid553_03H_SetKeyboardoption"), QStringLiteral("1"),
                        QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}).exitCode, 0);
        const QString backup = f.backups().value(0);
        QVERIFY(!backup.isEmpty());
        const QJsonObject before = f.mouseState();
        QFile::remove(f.trace());
        const Run r = f.cli({QStringLiteral("--virtual-option"), fault, QStringLiteral("restore"), backup});
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QCOMPARE(f.writes(), QStringList());
        QCOMPARE(f.mouseState(), before);
    }

    // A profile block that does not read back as written is written once
    // more, then reported, and the tool exits with 1; so does a restore it stops.
    void blockThatDoesNotTakeIsReported()
    {
        Folder f(560);
        const QStringList corrupt{QStringLiteral("--virtual-option"), QStringLiteral("corruptBlock=1")};
        Run r = f.cli(corrupt + QStringList{QStringLiteral("call"), QStringLiteral("ui_View.mouseSetDpi"), QStringLiteral("4"),
                                            QStringLiteral("\"3360\""), QStringLiteral("[800,1600,3200,6400,0,0,0,0]")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("profile block 1 did not read back as written, also after a second write"), r.err.constData());
        QCOMPARE(f.writes(), (QStringList{QStringLiteral("0c 01 80"), QStringLiteral("0c 01 80")}));
        // Block 1 is read at connect, for the backup, and back twice.
        QCOMPARE(f.data.readFile(QStringLiteral("trace.txt")).count("set-feature cmd 00 8c 01 00"), 4);

        r = f.cli({QStringLiteral("--virtual-option"), QStringLiteral("corruptBlock=0"), QStringLiteral("restore")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.object().value(QStringLiteral("complete")).toBool(), false);
        QVERIFY2(r.err.contains("nothing was restored: profile block 0 did not take; not sent: profile block 1"), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestCliBackup)
#include "tst_cli_backup.moc"
