// stryde-cli refuses what the mouse cannot hold: a value out of range, or junk
// in a list, is a usage error naming the parameter, and nothing reaches the
// mouse or the files. The pages' own values still go through.

#include "support/data_fixture.h"

#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(QString::fromLocal8Bit(qgetenv("STRYDE_CLI")), args);
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return Run{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// A data folder whose catalogue names a mouse of `family` with recoil presets
// (so every recoil path would send).
struct Folder {
    explicit Folder(int family)
    {
        QSettings s(data.path(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
        s.setValue(QStringLiteral("mouse/icType"), QString::number(family));
        s.setValue(QStringLiteral("mouse/isGun"), true);
    }
    QString trace() const { return data.path(QStringLiteral("trace.txt")); }
    Run cli(const QStringList& args, const QByteArray& input = {}) const
    {
        return runCli(QStringList{QStringLiteral("--data-dir"), data.root(), QStringLiteral("--virtual-mouse"),
                                  QStringLiteral("--hid-trace"), trace()}
                          + args,
                      input);
    }
    // The HID calls that sent something (a command frame or a payload) after
    // the first call began.
    QList<QByteArray> sentAfterCall() const
    {
        const QByteArray t = data.readFile(QStringLiteral("trace.txt"));
        const int from = t.indexOf("# call");
        QList<QByteArray> sent;
        for (const QByteArray& line : t.mid(from < 0 ? t.size() : from).split('\n')) {
            if (line.contains(" set-feature ") || line.contains(" write "))
                sent << line;
        }
        return sent;
    }
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> all;
        QDirIterator it(data.path(QStringLiteral("modules")), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            all.insert(path, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        }
        return all;
    }

    DataFixture data;
};

QString defaultMap()
{
    QStringList numbers;
    for (int s = 0; s < 16; ++s)
        numbers << QStringLiteral("1,0,240,0");
    return QLatin1Char('[') + numbers.join(QLatin1Char(',')) + QLatin1Char(']');
}

} // namespace

class TestCliValues : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(!qgetenv("STRYDE_CLI").isEmpty()); }

    void refusedValues_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<QString>("refusal");     // "<operation>: <parameter> refused"

        struct Row {
            const char* name;
            QStringList call;
            const char* refusal;
            int onlyFamily = 0;
        };
        const QString table = QStringLiteral("[400,800,1600,3200,0,0,0,0]");
        const QList<Row> rows = {
            {"stage count -1", {"ui_View.mouseSetDpi", "-1", "\"3360\"", table}, "mouseSetDpi: dpiCount refused"},
            {"stage count 0", {"ui_View.mouseSetDpi", "0", "\"3360\"", table}, "mouseSetDpi: dpiCount refused"},
            {"stage count 9", {"ui_View.mouseSetDpi", "9", "\"3360\"", table}, "mouseSetDpi: dpiCount refused"},
            {"stage count 2^31-1", {"ui_View.mouseSetDpi", "2147483647", "\"3360\"", table}, "mouseSetDpi: dpiCount refused"},
            {"DPI values that are no numbers", {"ui_View.mouseSetDpi", "4", "\"3360\"", "[\"a\",\"b\",null,[1]]"},
             "mouseSetDpi: dpiValueArray refused: element 1 (\"a\")"},
            {"DPI value whose code wraps", {"ui_View.mouseSetDpi", "4", "\"3360\"", "[400,800,1600,30000,0,0,0,0]"},
             "mouseSetDpi: dpiValueArray refused: element 4 (30000)"},
            {"DPI value 0 in use", {"ui_View.mouseSetDpi", "4", "\"3360\"", "[400,800,1600,0,0,0,0,0]"},
             "mouseSetDpi: dpiValueArray refused: element 4 (0)"},
            {"negative unused DPI value", {"ui_View.mouseSetDpi", "4", "\"3360\"", "[400,800,1600,3200,-5,0,0,0]"},
             "mouseSetDpi: dpiValueArray refused: element 5 (-5)"},
            {"stage 255", {"ui_View.mouseSetCurrentDPI", "255"}, "mouseSetCurrentDPI: currentDPI refused"},
            {"stage 9", {"ui_View.mouseSetCurrentDPI", "9"}, "mouseSetCurrentDPI: currentDPI refused"},
            {"stage 0", {"ui_View.mouseSetCurrentDPI", "0"}, "mouseSetCurrentDPI: currentDPI refused"},
            {"lift-off 255", {"ui_View.mouseSetReportRate", "255", "1"}, "mouseSetReportRate: rate refused"},
            {"lift-off 98", {"ui_View.mouseSetReportRate", "98", "1"}, "mouseSetReportRate: rate refused"},
            {"effect 255", {"ui_View.mouseSetRGBEffect", "255", "0", "0"}, "mouseSetRGBEffect: effect refused"},
            {"speed step 5", {"ui_View.mouseSetRGBEffect", "1", "5", "0"}, "mouseSetRGBEffect: option1 refused"},
            {"brightness step 255", {"ui_View.mouseSetRGBEffect", "0", "0", "255"}, "mouseSetRGBEffect: option2 refused"},
            {"colours out of range", {"ui_View.mouseSetRGBColor", "1", "[256,-1,\"a\",null]"},
             "mouseSetRGBColor: src24 refused: element 1 (256)"},
            {"colour as text", {"ui_View.mouseSetRGBColor", "0", "[255,\"a\"]"}, "mouseSetRGBColor: src24 refused: element 2 (\"a\")"},
            {"colour table kind 3", {"ui_View.mouseSetRGBColor", "3", "[1,2,3]"}, "mouseSetRGBColor: type refused"},
            {"560 report rate of profile 0", {"ui_View.mouseSetKeyboardoption", "0", "1", "0", "0"},
             "mouseSetKeyboardoption: byte1 refused", 560},
            {"560 report rate of profile 255", {"ui_View.mouseSetKeyboardoption", "255", "255", "255", "255"},
             "mouseSetKeyboardoption: byte1 refused", 560},
            {"button map byte 256", {"ui_View.mouseSetKeyMatrix", defaultMap().replace(QStringLiteral("240"), QStringLiteral("256")), "true", "[10,20,30]"},
             "mouseSetKeyMatrix: src64 refused"},
            {"button map text", {"ui_View.mouseSetKeyMatrix", defaultMap().replace(QStringLiteral("240"), QStringLiteral("\"x\"")), "false", "[10,20,30]"},
             "mouseSetKeyMatrix: src64 refused"},
            {"preset period 286", {"ui_View.mouseSetKeyMatrix", defaultMap(), "true", "[10,20,286]"},
             "mouseSetKeyMatrix: otherParam refused"},
            {"four preset periods", {"ui_View.mouseSetKeyMatrix", defaultMap(), "true", "[10,20,30,40]"},
             "mouseSetKeyMatrix: otherParam refused"},
            {"macro byte 256", {"ui_View.mouseSendMacroData", "[0,1,256]", "0"}, "mouseSendMacroData: macroData refused"},
            {"two preset values", {"ui_View.mouseSendGundata", "1", "[1,2]"}, "mouseSendGundata: src refused"},
            {"preset value text", {"ui_View.mouseSendGundata", "1", "[\"a\",2,3]"}, "mouseSendGundata: src refused"},
            {"preset Y 300", {"ui_View.mouseSendGundata", "2", "[0,0,300]"}, "mouseSendGundata: src refused"},
            {"preset of two values", {"ui_View.mouseSaveGundata", "1", "[\"a\",\"b\"]"}, "mouseSaveGundata: src6 refused"},
            {"preset period text", {"ui_View.mouseSaveGundata", "1", "[\"M416\",\"L-Click\",\"x\",0,10,0]"}, "mouseSaveGundata: src6 refused"},
            {"preset name a list", {"ui_View.mouseSaveGundata", "1", "[[1],\"L-Click\",10,0,10,0]"}, "mouseSaveGundata: src6 refused"},
            {"renamed preset Y 300", {"ui_View.modifyGundata", "1", "[\"A\",\"L-Click\",10,0,300,0,\"0\"]"}, "modifyGundata: src6 refused"},
            {"sensitivity not a number", {"ui_View.setXYSensitive", "0", "\"notalist\""}, "setXYSensitive: xyData refused"},
            {"sensitivity a list", {"ui_View.setXYSensitive", "1", "[4]"}, "setXYSensitive: xyData refused"},
            {"selected preset a list", {"ui_View.setSelectGun", "1", "[1]"}, "setSelectGun: xyData refused"},
            {"selected preset null", {"ui_View.setSelectGun", "1", "null"}, "setSelectGun: xyData refused"},
            {"macro repeat text", {"ui_View.saveMacroIni", "\"m1\"", "[\"1,A\"]", "\"often\""}, "saveMacroIni: repeat refused"},
            {"macro repeat 65536", {"ui_View.saveMacroIni", "\"m1\"", "[\"1,A\"]", "65536"}, "saveMacroIni: repeat refused"},
            {"profile block 5", {"ui_View.mouseSetProfile", "5"}, "mouseSetProfile: profileNo refused"},
            {"key matrix 0", {"ui_View.mouseSwitchKeyMatrix", "0"}, "mouseSwitchKeyMatrix: indexNo refused"},
        };
        for (int family : {553, 560}) {
            for (const Row& r : rows) {
                if (r.onlyFamily == 0 || r.onlyFamily == family)
                    QTest::addRow("%d %s", family, r.name) << family << r.call << QString::fromLatin1(r.refusal);
            }
        }
    }
    void refusedValues()
    {
        QFETCH(int, family);
        QFETCH(QStringList, call);
        QFETCH(QString, refusal);
        Folder f(family);
        const auto before = f.files();
        const Run r = f.cli(QStringList{QStringLiteral("call")} + call);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(refusal.toUtf8()), r.err.constData());
        QVERIFY(r.out.trimmed().isEmpty());
        QCOMPARE(f.sentAfterCall(), QList<QByteArray>());
        QCOMPARE(f.files(), before);
    }

    // What the pages send stays within every range: the page's own values,
    // and the ends of each range, reach the mouse.
    void pageValuesGoThrough_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }
    void pageValuesGoThrough()
    {
        QFETCH(int, family);
        Folder f(family);
        const QByteArray script =
            "ui_View.mouseSetDpi 4 \"3360\" [800,1600,3200,6400,0,0,0,0]\n"
            "ui_View.mouseSetDpi 8 \"3360\" [100,200,300,400,500,600,700,25699]\n"
            "ui_View.mouseSetDpi 1 \"3050\" [4000,0,0,0,0,0,0,0]\n"
            "ui_View.mouseSetCurrentDPI 1\n"
            "ui_View.mouseSetCurrentDPI 8\n"
            "ui_View.mouseSetReportRate 99 1\n"
            "ui_View.mouseSetReportRate 125 0\n"
            "ui_View.mouseSetRGBEffect 10 4 4\n"
            "ui_View.mouseSetRGBEffect 0 0 0\n"
            "ui_View.mouseSetRGBColor 1 [255,0,0,0,255,0]\n"
            "ui_View.mouseSetKeyboardoption 1 2 0 0\n"
            "ui_View.mouseSendGundata 3 [255,0,64]\n"
            "ui_View.mouseSendMacroData [0,1,5,4,129,4] 11\n"
            "ui_View.setXYSensitive 0 \"7\"\n"
            "ui_View.setSelectGun 1 \"M416\"\n"
            "ui_View.mouseSaveGundata 6 [\"New\",\"L-Click\",\"90\",0,\"64\",255]\n";
        const Run r = f.cli({QStringLiteral("batch"), QStringLiteral("-")}, script);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QVERIFY(!f.sentAfterCall().isEmpty());
    }

    // A data folder that is a file, missing, or holds no modules folder is a
    // usage error for every command, and nothing is made in it.
    void dataFolderThatIsNone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("message");
        const QList<QStringList> commands = {
            {"devices"}, {"rules"}, {"rules", "add", "1", "krita"}, {"slots"},
            {"call", "ui_View.setData", "\"mouse/probe\"", "1"}, {"batch", "-"}, {"restore"},
        };
        const QList<QPair<QString, QString>> kinds = {
            {"file", "is not a folder"}, {"missing", "no such folder"}, {"empty", "holds no modules folder"}};
        for (const auto& kind : kinds) {
            for (const QStringList& c : commands)
                QTest::addRow("%s %s", qPrintable(kind.first), qPrintable(c.join(' '))) << kind.first << c << kind.second;
        }
    }
    void dataFolderThatIsNone()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, command);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString root = dir.filePath(QStringLiteral("data"));
        if (kind == QLatin1String("file")) {
            QFile file(root);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a folder");
        } else if (kind == QLatin1String("empty")) {
            QVERIFY(QDir().mkpath(root));
        }
        const Run r = runCli(QStringList{QStringLiteral("--data-dir"), root, QStringLiteral("--virtual-mouse")} + command,
                             "ui_View.setData \"mouse/probe\" 1\n");
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(("--data-dir " + QDir::toNativeSeparators(root) + ' ').toUtf8())
                     || r.err.contains(("--data-dir " + QDir::toNativeSeparators(root) + ':').toUtf8()),
                 r.err.constData());
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY(r.out.isEmpty());
        // Nothing was made: the folder holds what it held.
        QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, kind == QLatin1String("missing") ? QStringList() : QStringList{QStringLiteral("data")});
        if (kind == QLatin1String("empty"))
            QVERIFY(QDir(root).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliValues)
#include "tst_cli_values.moc"
