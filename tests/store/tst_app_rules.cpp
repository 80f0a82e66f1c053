// The rules of the program in front: names refused or taken, matching without
// case and ".exe", one profile per program, and a file that stays whole
// whenever a change is refused or cannot be written.

#include "store/app_rules.h"
#include "store/safe_file.h"
#include "support/data_fixture.h"

#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <QtTest>
#include <memory>

namespace {

const QString kFile = QStringLiteral("modules/setting/apps.bin");

QStringList describe(const QList<AppRules::Rule>& rules)
{
    QStringList out;
    for (const AppRules::Rule& r : rules)
        out << QStringLiteral("%1=%2").arg(r.program).arg(r.profile);
    return out;
}

} // namespace

class TestAppRules : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<AppRules> rules;

private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>();
        QVERIFY(fx->isValid());
        rules = std::make_unique<AppRules>(fx->root());
    }
    void cleanup()
    {
        SafeFile::setCommitHook({});
        rules.reset();
        fx.reset();
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow("plain") << "krita" << true;
        QTest::newRow("Windows executable") << "Game Launcher.exe" << true;
        QTest::newRow("INI characters") << "a=b;c#[d]%e,\"f\"" << true;
        QTest::newRow("not ASCII") << QString::fromUtf8("游戏 ünï") << true;
        QTest::newRow("longest") << QString(255, QLatin1Char('x')) << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "  \t " << false;
        QTest::newRow("a path") << "/usr/bin/krita" << false;
        QTest::newRow("a Windows path") << "C:\\Games\\game.exe" << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("only the extension") << ".EXE" << false;
        QTest::newRow("new line") << "krita\nmalicious=1" << false;
        QTest::newRow("escape") << "kri\x1bta" << false;
        QTest::newRow("delete") << "kri\x7fta" << false;
        QTest::newRow("right-to-left override") << QString::fromUtf8("exe.\u202Ekrita") << false;
        QTest::newRow("too long") << QString(256, QLatin1Char('x')) << false;
    }
    // A taken name comes back unchanged from a fresh read; a refused one
    // leaves the file byte for byte as it was.
    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        QCOMPARE(rules->add(1, QStringLiteral("gimp")), AppRules::Status::Ok);
        const QByteArray before = fx->readFile(kFile);
        const AppRules::Status status = rules->add(3, name);
        if (!taken) {
            QCOMPARE(status, AppRules::Status::BadName);
            QCOMPARE(rules->remove(name), AppRules::Status::BadName);
            QCOMPARE(fx->readFile(kFile), before);
            return;
        }
        QCOMPARE(status, AppRules::Status::Ok);
        QCOMPARE(AppRules(fx->root()).programsOf(3), QStringList{name});
        QCOMPARE(AppRules(fx->root()).match({QStringLiteral("bash"), name.toUpper()})->profile, 3);
    }

    void matchingIgnoresCaseAndExe_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("profile");
        QTest::newRow("exact") << QStringList{"krita"} << 2;
        QTest::newRow("case") << QStringList{"KRITA"} << 2;
        QTest::newRow("Windows name of a Linux rule") << QStringList{"Krita.exe"} << 2;
        QTest::newRow("Linux name of a Windows rule") << QStringList{"game"} << 4;
        QTest::newRow("window class after the executable") << QStringList{"wine64-preloader", "Game.EXE"} << 4;
        QTest::newRow("the first name with a rule wins") << QStringList{"game.exe", "krita"} << 4;
        QTest::newRow("a name only starting alike") << QStringList{"krita2", "kri"} << -1;
        QTest::newRow("no names") << QStringList{} << -1;
    }
    void matchingIgnoresCaseAndExe()
    {
        QFETCH(QStringList, names);
        QFETCH(int, profile);
        QCOMPARE(rules->add(2, QStringLiteral("Krita")), AppRules::Status::Ok);
        QCOMPARE(rules->add(4, QStringLiteral("GAME.exe")), AppRules::Status::Ok);
        const std::optional<AppRules::Rule> rule = rules->match(names);
        QCOMPARE(rule ? rule->profile : -1, profile);
    }

    // One program, one profile: the same program under another spelling moves.
    void aProgramHasOneProfile()
    {
        QCOMPARE(rules->add(2, QStringLiteral("Krita")), AppRules::Status::Ok);
        QCOMPARE(rules->add(1, QStringLiteral("gimp")), AppRules::Status::Ok);
        QCOMPARE(rules->add(3, QStringLiteral(" krita.EXE ")), AppRules::Status::Ok);
        QCOMPARE(describe(AppRules(fx->root()).rules()), (QStringList{"gimp=1", "krita.EXE=3"}));
        QCOMPARE(rules->add(6, QStringLiteral("krita")), AppRules::Status::BadProfile);
        QCOMPARE(rules->add(-1, QStringLiteral("krita")), AppRules::Status::BadProfile);

        QCOMPARE(rules->remove(QStringLiteral("KRITA")), AppRules::Status::Ok);
        QCOMPARE(rules->remove(QStringLiteral("krita")), AppRules::Status::NotFound);
        QCOMPARE(describe(rules->rules()), QStringList{"gimp=1"});
    }

    // A deleted profile takes its rules along and nothing else.
    void removeProfile()
    {
        for (const char* name : {"a", "b", "c"})
            QCOMPARE(rules->add(name[0] == 'c' ? 2 : 5, QString::fromLatin1(name)), AppRules::Status::Ok);
        QCOMPARE(rules->removeProfile(5), AppRules::Status::Ok);
        QCOMPARE(describe(rules->rules()), QStringList{"c=2"});
        QCOMPARE(rules->removeProfile(4), AppRules::Status::Ok);
        QCOMPARE(rules->removeProfile(6), AppRules::Status::BadProfile);
    }

    // What the program does not understand is skipped when matching and kept
    // when the file is rewritten.
    void foreignEntriesAreKept()
    {
        QVERIFY(fx->writeFile(kFile, "[programs]\nkrita=2\nbroken=seven\nfar=9\n[later]\nkey=value\n"));
        QCOMPARE(describe(rules->rules()), QStringList{"krita=2"});
        QCOMPARE(rules->add(1, QStringLiteral("gimp")), AppRules::Status::Ok);
        QSettings file(fx->path(kFile), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("programs/broken")).toString(), QStringLiteral("seven"));
        QCOMPARE(file.value(QStringLiteral("later/key")).toString(), QStringLiteral("value"));
    }

    void fileStaysWholeWhenTheWriteFails()
    {
        const QByteArray content("[programs]\nkrita=2\n");
        QVERIFY(fx->writeFile(kFile, content));
        SafeFile::setCommitHook([](const QString&) { return false; });
        QCOMPARE(rules->add(1, QStringLiteral("gimp")), AppRules::Status::WriteFailed);
        QCOMPARE(rules->remove(QStringLiteral("krita")), AppRules::Status::WriteFailed);
        QCOMPARE(rules->removeProfile(2), AppRules::Status::WriteFailed);
        SafeFile::setCommitHook({});
        QCOMPARE(fx->readFile(kFile), content);
        QVERIFY(!QFileInfo::exists(fx->path(kFile + ".lock")));
    }

    // A damaged file is kept aside whole and the change starts afresh.
    void damagedFileKeptAsideAndStartedAfresh_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary bytes") << QByteArray("[programs]\nkrita=2\n\x00\xff garbage\n", 29);
        QTest::newRow("not UTF-8") << QByteArray("[programs]\nkrit\xe9=2\n");
        QTest::newRow("control bytes") << QByteArray(4096, '\x01');
    }
    void damagedFileKeptAsideAndStartedAfresh()
    {
        QFETCH(QByteArray, content);
        QVERIFY(fx->writeFile(kFile, content));
        QCOMPARE(rules->add(1, QStringLiteral("gimp")), AppRules::Status::Ok);
        QCOMPARE(fx->readFile(kFile + ".damaged"), content);
        QCOMPARE(describe(rules->rules()), QStringList{"gimp=1"});
        QCOMPARE(rules->add(3, QStringLiteral("krita")), AppRules::Status::Ok);
        QCOMPARE(fx->readFile(kFile + ".damaged"), content);
        QCOMPARE(describe(rules->rules()), (QStringList{"gimp=1", "krita=3"}));
    }

    // Two programs adding rules at once: every rule stays. The other one is
    // a child process (the command-line tool's rules command in the CLI
    // tests); here a second thread of changes against the same file with a
    // lock of its own stands in for it, as a QLockFile is per file, not per
    // process.
    void changesAtOnceKeepEveryRule()
    {
        constexpr int kEach = 40;
        auto addMany = [this](const QString& prefix) {
            AppRules mine(fx->root());
            for (int i = 0; i < kEach; ++i) {
                if (mine.add(i % AppRules::ProfileCount, prefix + QString::number(i)) != AppRules::Status::Ok)
                    return false;
            }
            return true;
        };
        bool otherOk = false;
        std::unique_ptr<QThread> other(QThread::create([&] { otherOk = addMany(QStringLiteral("other")); }));
        other->start();
        QVERIFY(addMany(QStringLiteral("mine")));
        QVERIFY(other->wait(60000));
        QVERIFY(otherOk);
        QCOMPARE(rules->rules().size(), 2 * kEach);
    }

    // The profile name list: name + number, the filler entry, repeats.
    void listedProfiles()
    {
        const QVariantList names{"Standard0", "work5", "again5", "x", "", "listpadentry"};
        QCOMPARE(AppRules::listedProfiles(names), (QList<int>{0, 5}));
        QCOMPARE(AppRules::profileName(names, 5), QStringLiteral("work"));
        QCOMPARE(AppRules::profileName(names, 2), QString());
        QCOMPARE(AppRules::listedProfiles({"Standard0", "listpadentry"}), QList<int>{0});
    }
};

QTEST_MAIN(TestAppRules)
#include "tst_app_rules.moc"
