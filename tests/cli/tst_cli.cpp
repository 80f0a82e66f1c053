// stryde-cli as a script or a support engineer uses it, against the virtual mouse.

#include "support/data_fixture.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QList<QJsonObject> objects() const
    {
        QList<QJsonObject> list;
        for (const QByteArray& line : out.split('\n'))
            if (!line.trimmed().isEmpty())
                list.append(QJsonDocument::fromJson(line).object());
        return list;
    }
};

// stryde-cli on the data folder `root`, with `input` on its standard input.
Run runCli(const QString& root, const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(QString::fromLocal8Bit(qgetenv("STRYDE_CLI")), QStringList{QStringLiteral("--data-dir"), root} + args);
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return Run{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
    DataFixture m_data;

    Run cli(const QStringList& args, const QByteArray& input = {}) { return runCli(m_data.root(), args, input); }

    QString trace() const { return m_data.path(QStringLiteral("trace.txt")); }
    // The program's files in the data folder.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> all;
        QDirIterator it(m_data.path(QStringLiteral("modules")), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            all.insert(path, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        }
        return all;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!qgetenv("STRYDE_CLI").isEmpty());
        QVERIFY(m_data.isValid());
    }

    void setDpiWritesTheFrameToTheTrace()
    {
        const Run r = cli({QStringLiteral("--virtual-mouse"), QStringLiteral("--hid-trace"), trace(),
                           QStringLiteral("call"), QStringLiteral("hid.hid553_0BH_SetCurrentDPI"), QStringLiteral("3")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.trimmed(), QByteArray("{}"));
        const QByteArray t = m_data.readFile(QStringLiteral("trace.txt"));
        QVERIFY2(t.contains("set-feature cmd 00 0b 03 00 00 00 00 00 f1"), t.constData());
        QVERIFY(t.contains("# call hid.hid553_0BH_SetCurrentDPI"));
        QCOMPARE(t.count(" open "), t.count(" close"));
    }

    void resultsAndOutParameters()
    {
        const QByteArray script =
            "# comment lines and blank lines are skipped\n"
            "\n"
            "hid.hidCS [11,3,0,0,0,0,0]\n"
            "call hid.hid553_0BH_SetCurrentDPI 2\n"
            "hid.hid553_8BH_GetCurrentDPI\n"
            "hid.chkDeviceIsEnCode 1\n"
            "hid.USBDataEncryption [11,3,0,0,0,224,0,241] [0,0,0,0,0,0,0,0]\n";
        const Run r = cli({QStringLiteral("--virtual-mouse"), QStringLiteral("batch"), QStringLiteral("-")}, script);
        QCOMPARE(r.exitCode, 0);
        const QList<QJsonObject> o = r.objects();
        QCOMPARE(o.size(), 5);
        QCOMPARE(o.at(0).value(QStringLiteral("result")).toInt(), 0xF1);
        QVERIFY(o.at(1).isEmpty());
        QCOMPARE(o.at(2).value(QStringLiteral("byte1")).toInt(), 2);
        QCOMPARE(o.at(3).value(QStringLiteral("result")).toBool(), true);
        const QJsonArray enc = o.at(4).value(QStringLiteral("FIFOBuf")).toArray();
        QCOMPARE(enc.size(), 8);
        QCOMPARE(enc.at(0).toInt(), 0x65);
        QCOMPARE(enc.at(7).toInt(), 0xDD);
    }

    void virtualStatePersists()
    {
        const QString state = m_data.path(QStringLiteral("mouse.json"));
        const QStringList common{QStringLiteral("--virtual-mouse"), QStringLiteral("--virtual-state"), state,
                                 QStringLiteral("--virtual-option"), QStringLiteral("family=560")};
        QCOMPARE(cli(common + QStringList{QStringLiteral("call"), QStringLiteral("hid.hid560_02H_SetCurrentProfile"), QStringLiteral("3")}).exitCode, 0);
        const Run r = cli(common + QStringList{QStringLiteral("call"), QStringLiteral("hid.hid560_82H_GetCurrentProfile")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.objects().value(0).value(QStringLiteral("byte1")).toInt(), 3);
    }

    // ui_View works on the same data folder the program uses.
    void viewSlotsReadAndWriteTheDataFolder()
    {
        const QStringList vm{QStringLiteral("--virtual-mouse")};
        Run r = cli(vm + QStringList{QStringLiteral("call"), QStringLiteral("ui_View.getGlobalData"), QStringLiteral("\"mouse/icType\"")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.objects().value(0).value(QStringLiteral("result")).toString(), QStringLiteral("553"));
        r = cli(vm + QStringList{QStringLiteral("batch"), QStringLiteral("-")},
                "ui_View.setCurrentProfile 2\nui_View.setData \"mouse/probe\" 42\n");
        QCOMPARE(r.exitCode, 0);
        r = cli(vm + QStringList{QStringLiteral("batch"), QStringLiteral("-")},
                "ui_View.setCurrentProfile 2\nui_View.getData \"mouse/probe\" false\nui_View.getData \"mouse/probe\" true\n");
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.objects().value(1).value(QStringLiteral("result")).toString(), QStringLiteral("42"));
        QVERIFY(r.objects().value(2).value(QStringLiteral("result")).isNull());
    }

    // A 560 mouse: the connect sequence reads its profile blocks, and a DPI
    // table goes out as profile block 1.
    void family560ReadsBlocksAndWritesDpiAsABlock()
    {
        DataFixture data560;
        {
            QSettings s(data560.path(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
            s.setValue(QStringLiteral("mouse/icType"), QStringLiteral("560"));
            s.setValue(QStringLiteral("mouse/isGun"), false);
        }
        const QString t = data560.path(QStringLiteral("trace.txt"));
        QProcess p;
        p.start(QString::fromLocal8Bit(qgetenv("STRYDE_CLI")),
                {QStringLiteral("--data-dir"), data560.root(), QStringLiteral("--virtual-mouse"), QStringLiteral("--hid-trace"), t,
                 QStringLiteral("call"), QStringLiteral("ui_View.mouseSetDpi"), QStringLiteral("4"), QStringLiteral("\"3360\""),
                 QStringLiteral("[800,1600,3200,6400,0,0,0,0]")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray trace = data560.readFile(QStringLiteral("trace.txt"));
        // The connect reads come before the call (which reads every block for the backup).
        const QByteArray connect = trace.left(trace.indexOf("# call"));
        QVERIFY(connect.contains("set-feature cmd 00 8c 00 00"));
        QVERIFY(connect.contains("set-feature cmd 00 8c 01 00"));
        QVERIFY(!connect.contains("set-feature cmd 00 8c 02"));
        QVERIFY(trace.contains("set-feature cmd 00 0c 01 80"));
        QVERIFY(!trace.contains("set-feature cmd 00 0c 02 80"));
    }

    void slotsListsWhatCallReaches()
    {
        const Run r = cli({QStringLiteral("slots")});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 30 + 56);
        QVERIFY(lines.contains("hid.hid553_0BH_SetCurrentDPI(uchar stage)"));
        QVERIFY(lines.contains("ui_View.mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)"));
    }

    void devicesListsTheCatalogue()
    {
        const Run r = cli({QStringLiteral("--virtual-mouse"), QStringLiteral("devices")});
        QCOMPARE(r.exitCode, 0);
        const QList<QJsonObject> o = r.objects();
        QVERIFY(o.size() >= 2);
        QCOMPARE(o.at(0).value(QStringLiteral("present")).toBool(), false);
        QCOMPARE(o.at(1).value(QStringLiteral("present")).toBool(), true);
        QCOMPARE(o.at(1).value(QStringLiteral("handshake")).toBool(), true);
        QCOMPARE(o.at(1).value(QStringLiteral("pid")).toString(), QStringLiteral("a1ee"));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString vm = QStringLiteral("--virtual-mouse");
        QTest::newRow("unknown slot") << QStringList{vm, "call", "hid.noSuchSlot"} << 2 << "no public slot";
        QTest::newRow("unknown object") << QStringList{vm, "call", "mouse.hidCS"} << 2 << "hid.SLOT";
        QTest::newRow("too few arguments") << QStringList{vm, "call", "hid.hid553_07H_Lod", "5"} << 2 << "uchar stage, uchar en";
        QTest::newRow("too many arguments") << QStringList{vm, "call", "hid.hid553_0BH_SetCurrentDPI", "1", "2"} << 2 << "uchar stage";
        QTest::newRow("wrong type") << QStringList{vm, "call", "hid.hid553_0BH_SetCurrentDPI", "\"x\""} << 2 << "integer";
        QTest::newRow("not JSON") << QStringList{vm, "call", "hid.hid553_0BH_SetCurrentDPI", "[1,"} << 2 << "JSON";
        QTest::newRow("buffer not an array") << QStringList{vm, "call", "hid.hid553_11H_SetDPISet", "4", "7"} << 2 << "array";
        QTest::newRow("unknown option") << QStringList{"--frobnicate", "devices"} << 2 << "unknown option";
        QTest::newRow("bad virtual option") << QStringList{vm, "--virtual-option", "colour=red", "devices"} << 2 << "colour";
        QTest::newRow("no mouse") << QStringList{vm, "--virtual-option", "plugged=false", "call", "hid.hid553_0BH_SetCurrentDPI", "1"} << 3 << "no mouse";
        QTest::newRow("handshake refused") << QStringList{vm, "--virtual-option", "wrongHandshake=true", "call", "hid.hid553_0BH_SetCurrentDPI", "1"} << 3 << "no mouse";
        QTest::newRow("garbage answers") << QStringList{vm, "--virtual-option", "garbage=true", "call", "hid.hid553_8BH_GetCurrentDPI"} << 3 << "no mouse";

        // Numbers beyond the parameter's type never wrap to another slot or list.
        QTest::newRow("int 2^32") << QStringList{vm, "call", "ui_View.setCurrentProfile", "4294967296"} << 2 << "(profile)";
        QTest::newRow("int -2^33") << QStringList{vm, "call", "ui_View.resetProfile", "-8589934592"} << 2 << "(profile)";
        QTest::newRow("int 1e200") << QStringList{vm, "call", "ui_View.mouseSwitchKeyMatrix", "1e200"} << 2 << "(indexNo)";
        QTest::newRow("uint 2^32") << QStringList{vm, "call", "ui_View.mouseSetProfile", "4294967297"} << 2 << "(profileNo)";
        QTest::newRow("uchar 256") << QStringList{vm, "call", "hid.hid553_0BH_SetCurrentDPI", "256"} << 2 << "(stage)";
        QTest::newRow("uchar -1") << QStringList{vm, "call", "hid.hid553_02H_SetCurrentKeyMatrix", "-1"} << 2 << "(currentKeyMatrix)";
        QTest::newRow("byte 256") << QStringList{vm, "call", "hid.hid553_11H_SetDPISet", "4", "[1,2,256]"} << 2 << "(src8)";
        QTest::newRow("list type 2^32") << QStringList{vm, "call", "ui_View.updataNameList", "4294967296", "[\"x\",\"y\"]"} << 2 << "(type)";
        QTest::newRow("list type 1e200") << QStringList{vm, "call", "ui_View.getNameList", "1e200"} << 2 << "(type)";
        QTest::newRow("number in a list") << QStringList{vm, "call", "ui_View.mouseSendMacroData", "[1,1e200]", "0"} << 2 << "(macroData)";
        // Values only the operation can judge are refused by it, as usage errors too.
        QTest::newRow("list type 7") << QStringList{vm, "call", "ui_View.updataNameList", "7", "[\"x\",\"y\"]"} << 2 << "type refused";
        QTest::newRow("list type 2^32 as text") << QStringList{vm, "call", "ui_View.updataNameList", "\"4294967296\"", "[\"x\",\"y\"]"} << 2 << "type refused";
        QTest::newRow("macro slot 12") << QStringList{vm, "call", "ui_View.mouseSendMacroData", "[1,2]", "12"} << 2 << "macroIndex refused";
        QTest::newRow("short button map") << QStringList{vm, "call", "ui_View.mouseSetKeyMatrix", "[1,0,240,0]", "true", "[10,20,30]"} << 2 << "src64 refused";
        QTest::newRow("profile slot 10") << QStringList{vm, "call", "ui_View.setCurrentProfile", "10"} << 2 << "profile refused";
        QTest::newRow("macro name") << QStringList{vm, "call", "ui_View.createMacroIni", "\"../x\"", "0"} << 2 << "name refused";
        // Only the slots `slots` lists: never what the objects inherit.
        for (const char* inherited : {"hid.start", "hid.terminate", "hid.quit", "hid.deleteLater", "ui_View.close",
                                      "ui_View.deleteLater", "ui_View.hide", "ui_View.setSource"})
            QTest::addRow("inherited %s", inherited) << QStringList{vm, "call", inherited} << 2 << "no public slot";
        QTest::newRow("slots with a word") << QStringList{"slots", "hid"} << 2 << "no arguments";
        QTest::newRow("devices with a word") << QStringList{vm, "devices", "0"} << 2 << "no arguments";
    }
    void errors()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const auto before = files();
        const Run r = cli(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        QVERIFY(r.out.trimmed().isEmpty());
        QCOMPARE(files(), before);
    }

    // A command that does not reach the mouse is a failure: exit 1, after the
    // result; a batch runs on and names the line.
    void failingCommandsExitOne_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        const QStringList failChunk{QStringLiteral("--virtual-mouse"), QStringLiteral("--virtual-option"), QStringLiteral("failChunk=0")};
        QTest::newRow("device command") << failChunk + QStringList{"call", "hid.hid553_13H_SetMacroKey", "1", "[1,2,3]"} << QByteArray();
        QTest::newRow("view operation") << failChunk + QStringList{"call", "ui_View.mouseSendMacroData", "[0,1,4,1]", "2"} << QByteArray();
        QTest::newRow("short read") << QStringList{"--virtual-mouse", "--virtual-option", "family=560", "--virtual-option", "inputReports=2",
                                                  "call", "hid.hid560_8CH_readProfile", "[]", "1"} << QByteArray();
        // The device check makes five calls; the sixth is the command's.
        QTest::newRow("unplugged midway") << QStringList{"--virtual-mouse", "--virtual-option", "unplugAtCall=6",
                                                        "call", "hid.hid553_0BH_SetCurrentDPI", "2"} << QByteArray();
        QTest::newRow("batch") << failChunk + QStringList{"batch", "-"}
                               << QByteArray("hid.hid553_0BH_SetCurrentDPI 3\nhid.hid553_13H_SetMacroKey 1 [1,2,3]\nhid.hid553_0BH_SetCurrentDPI 2\n");
    }
    void failingCommandsExitOne()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        const Run r = cli(QStringList{QStringLiteral("--hid-trace"), trace()} + args, input);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("did not reach the mouse"), r.err.constData());
        QVERIFY(!r.objects().isEmpty());
        if (!input.isEmpty()) {
            QCOMPARE(r.objects().size(), 3);
            QVERIFY2(r.err.contains("line 2 did not succeed"), r.err.constData());
            QVERIFY(m_data.readFile(QStringLiteral("trace.txt")).contains("set-feature cmd 00 0b 02"));
        }
    }

    // A bad line anywhere in a batch stops it before anything is sent.
    void batchCheckedBeforeSending()
    {
        const QByteArray script = "hid.hid553_0BH_SetCurrentDPI 2\nhid.hid553_0BH_SetCurrentDPI\n";
        const QString t = m_data.path(QStringLiteral("batch-trace.txt"));
        const Run r = cli({QStringLiteral("--virtual-mouse"), QStringLiteral("--hid-trace"), t,
                           QStringLiteral("batch"), QStringLiteral("-")}, script);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("line 2"));
        QVERIFY(!m_data.readFile(QStringLiteral("batch-trace.txt")).contains("set-feature"));
    }

    // A data folder the user cannot write: every operation that writes a
    // file fails (1) after printing its result, names the file, and leaves
    // the folder as it was; reads still succeed. Root passes every permission
    // check, so as root the tool runs as the user "nobody" (setpriv), as
    // another user would on a folder that is not theirs.
    void readOnlyDataFolder_data()
    {
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("setData") << QStringList{"ui_View.setData", "\"mouse/dpiCount\"", "5"} << 1;
        QTest::newRow("setDataList") << QStringList{"ui_View.setDataList", "\"mouse/list\"", "[1,2]"} << 1;
        QTest::newRow("setGlobalData") << QStringList{"ui_View.setGlobalData", "\"common/name\"", "\"x\""} << 1;
        QTest::newRow("resetProfile") << QStringList{"ui_View.resetProfile", "1"} << 1;
        QTest::newRow("copyProfile") << QStringList{"ui_View.copyProfile", "1", "0"} << 1;
        QTest::newRow("createMacroIni") << QStringList{"ui_View.createMacroIni", "\"new\"", "0"} << 1;
        QTest::newRow("updataNameList") << QStringList{"ui_View.updataNameList", "0", "[\"a\",\"b\"]"} << 1;
        QTest::newRow("mouseSaveGundata")
            << QStringList{"ui_View.mouseSaveGundata", "\"AKM\"", "[\"AKM\",\"L-Click\",10,1,2,3]"} << 1;
        QTest::newRow("getData") << QStringList{"ui_View.getData", "\"mouse/dpiCount\"", "false"} << 0;
    }
    void readOnlyDataFolder()
    {
        QFETCH(QStringList, call);
        QFETCH(int, exitCode);
        DataFixture data;
        QVERIFY(data.isValid());
        QStringList program{QString::fromLocal8Bit(qgetenv("STRYDE_CLI"))};
        if (::geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("running as root without setpriv: no way to be a user who cannot write");
            program = QStringList{setpriv, "--reuid=65534", "--regid=65534", "--clear-groups", "--"} + program;
        }
        // Readable by everyone, writable by nobody.
        auto setRights = [&](bool writable) {
            QDirIterator it(data.root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
            QStringList all{data.root()};
            while (it.hasNext())
                all << it.next();
            for (const QString& path : all) {
                const bool dir = QFileInfo(path).isDir();
                QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther
                                                | (dir ? QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther
                                                       : QFileDevice::Permissions())
                                                | (writable ? QFileDevice::WriteOwner : QFileDevice::Permissions()));
            }
        };
        setRights(false);
        QMap<QString, QByteArray> before;
        QDirIterator it(data.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            before.insert(path, data.readFile(QDir(data.root()).relativeFilePath(path)));
        }
        QProcess p;
        p.start(program.first(), program.mid(1) + QStringList{"--data-dir", data.root(), "--virtual-mouse", "call"} + call);
        QVERIFY(p.waitForFinished(60000));
        const QByteArray out = p.readAllStandardOutput();
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY2(out.startsWith("{"), err.constData());
        if (exitCode == 1)
            QVERIFY2(err.contains("cannot be written"), err.constData());
        QMap<QString, QByteArray> after;
        QDirIterator again(data.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (again.hasNext()) {
            const QString path = again.next();
            after.insert(path, data.readFile(QDir(data.root()).relativeFilePath(path)));
        }
        setRights(true);
        QCOMPARE(after, before);
    }

    // An operation that did not do what was asked fails (1) with its result:
    // an edit of a macro that is not there, a reset from a damaged default.
    void operationsThatDidNotHappenExitOne()
    {
        DataFixture data;
        QVERIFY(data.isValid());
        auto run = [&](const QStringList& call) {
            return runCli(data.root(), QStringList{"--virtual-mouse", "call"} + call);
        };
        Run r = run({"ui_View.saveMacroIni", "\"nosuchmacro\"", "[\"1,4,0\"]", "1"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out.trimmed(), QByteArray("{\"result\":false}"));
        QVERIFY2(r.err.contains("no macro file"), r.err.constData());

        QVERIFY(data.writeFile(QStringLiteral("modules/setting/pD.bin"), QByteArray(512, '\0')));
        const QByteArray slot = data.readFile(QStringLiteral("modules/setting/p2.bin"));
        r = run({"ui_View.resetProfile", "1"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out.trimmed(), QByteArray("{}"));
        QVERIFY2(r.err.contains("damaged"), r.err.constData());
        QCOMPARE(data.readFile(QStringLiteral("modules/setting/p2.bin")), slot);
    }

    // Damage is kept aside and the program goes on: a profile of control
    // bytes starts afresh; a damaged global file (also one kept aside by an
    // earlier start) is started afresh from the factory copy, so the mouse is
    // found again.
    void damagedFilesRecover()
    {
        DataFixture data;
        QVERIFY(data.isValid());
        const QString global = QStringLiteral("modules/setting/apConfig.bin");
        const QByteArray factory = data.readFile(QStringLiteral("modules/setting/apConfigD.bin"));
        const QByteArray junk(4096, '\x01');
        QVERIFY(data.writeFile(global, junk));
        QVERIFY(data.writeFile(QStringLiteral("modules/setting/p1.bin"), junk));
        auto run = [&](const QStringList& call) {
            return runCli(data.root(), QStringList{"--virtual-mouse", "call"} + call);
        };
        Run r = run({"ui_View.setData", "\"mouse/dpiCount\"", "4"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QVERIFY2(r.err.contains("factory copy"), r.err.constData());
        QCOMPARE(data.readFile(global), factory);
        QCOMPARE(data.readFile(global + ".damaged"), junk);
        QCOMPARE(data.readFile(QStringLiteral("modules/setting/p1.bin.damaged")), junk);
        QCOMPARE(QSettings(data.path(QStringLiteral("modules/setting/p1.bin")), QSettings::IniFormat)
                     .value(QStringLiteral("mouse/dpiCount")).toString(), QStringLiteral("4"));

        QVERIFY(QFile::remove(data.path(global)));
        r = run({"ui_View.resetApconfig"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(data.readFile(global), factory);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
