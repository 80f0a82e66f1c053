// stryde-cli rules: listing, adding and removing the profiles chosen by the
// program in front, with the usual exit codes and the file left whole when a
// word is refused.

#include "support/data_fixture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>
#include <functional>

class TestCliRules : public QObject {
    Q_OBJECT
    DataFixture m_data;

    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Run cli(const QStringList& args)
    {
        QProcess p;
        p.start(QString::fromLocal8Bit(qgetenv("STRYDE_CLI")), QStringList{"--data-dir", m_data.root(), "rules"} + args);
        p.waitForFinished(60000);
        return Run{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
    QByteArray rulesFile() const { return m_data.readFile(QStringLiteral("modules/setting/apps.bin")); }

private slots:
    void initTestCase()
    {
        QVERIFY(!qgetenv("STRYDE_CLI").isEmpty());
        QVERIFY(m_data.isValid());
        QVERIFY(m_data.writeFile(QStringLiteral("modules/setting/name.bin"),
                                 "[profile]\nprofileName=Standard0, Work2\n"));
    }

    void addListRemove()
    {
        QCOMPARE(cli({}).out, QByteArray());
        QCOMPARE(cli({"add", "2", "krita"}).exitCode, 0);
        QCOMPARE(cli({"add", "0", "Game.exe"}).exitCode, 0);
        const Run list = cli({});
        QCOMPARE(list.exitCode, 0);
        const QList<QByteArray> lines = list.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(QJsonDocument::fromJson(lines.at(0)).object(),
                 (QJsonObject{{"profile", 0}, {"program", "Game.exe"}, {"profileName", "Standard"}}));
        QCOMPARE(QJsonDocument::fromJson(lines.at(1)).object(),
                 (QJsonObject{{"profile", 2}, {"program", "krita"}, {"profileName", "Work"}}));

        QCOMPARE(cli({"remove", "KRITA"}).exitCode, 0);
        const Run gone = cli({"remove", "krita"});
        QCOMPARE(gone.exitCode, 1);
        QVERIFY(gone.err.contains("no rule"));
        QCOMPARE(cli({}).out.trimmed().split('\n').size(), 1);
    }

    void refusedWords_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown verb") << QStringList{"list"} << QByteArray("expected add or remove");
        QTest::newRow("missing program") << QStringList{"add", "2"} << QByteArray("PROFILE (0-5) and PROGRAM");
        QTest::newRow("extra word") << QStringList{"remove", "a", "b"} << QByteArray("takes PROGRAM");
        QTest::newRow("profile out of range") << QStringList{"add", "6", "krita"} << QByteArray("0-5, not 6");
        QTest::newRow("profile not a digit") << QStringList{"add", "2.0", "krita"} << QByteArray("not 2.0");
        QTest::newRow("profile not listed") << QStringList{"add", "1", "krita"} << QByteArray("not in the profile list");
        QTest::newRow("a path") << QStringList{"add", "2", "/usr/bin/krita"} << QByteArray("not a program name");
        QTest::newRow("control character") << QStringList{"add", "2", "kri\tta"} << QByteArray("not a program name");
        QTest::newRow("remove a path") << QStringList{"remove", "../apps"} << QByteArray("not a program name");
    }
    void refusedWords()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        QCOMPARE(cli({"add", "0", "gimp"}).exitCode, 0);
        const QByteArray before = rulesFile();
        const Run r = cli(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message), r.err.constData());
        QCOMPARE(rulesFile(), before);
    }

    // A file that is not text is kept aside whole; the change starts afresh.
    void damagedFile()
    {
        const QByteArray damaged("[programs]\nkrita=2\n\0\xff\xfe", 22);
        QVERIFY(m_data.writeFile(QStringLiteral("modules/setting/apps.bin"), damaged));
        QCOMPARE(cli({}).out, QByteArray());
        const Run r = cli({"add", "2", "gimp"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(m_data.readFile(QStringLiteral("modules/setting/apps.bin.damaged")), damaged);
        QCOMPARE(cli({}).out.trimmed().split('\n').size(), 1);
        QCOMPARE(cli({"add", "0", "krita"}).exitCode, 0);
        QCOMPARE(cli({}).out.trimmed().split('\n').size(), 2);
    }

    // Two loops of rule changes on one data folder, as two shells run them:
    // every rule stays.
    void twoEditorsAtOnceKeepEveryRule()
    {
        DataFixture data;
        QVERIFY(data.isValid());
        QVERIFY(data.writeFile(QStringLiteral("modules/setting/name.bin"), "[profile]\nprofileName=Standard0, Work2\n"));
        constexpr int kEach = 12;
        const QString cliPath = QString::fromLocal8Bit(qgetenv("STRYDE_CLI"));
        QList<QProcess*> running;
        int started[2] = {0, 0};
        int failed = 0;
        // Each loop starts its next change when its last one ended.
        std::function<void(int)> next = [&](int loop) {
            if (started[loop] == kEach)
                return;
            auto* p = new QProcess(this);
            const QString name = QStringLiteral("prog%1-%2").arg(loop).arg(started[loop]++);
            QObject::connect(p, &QProcess::finished, this, [&, p, loop](int code) {
                failed += code != 0;
                running.removeAll(p);
                p->deleteLater();
                next(loop);
            });
            running << p;
            p->start(cliPath, {"--data-dir", data.root(), "rules", "add", loop ? "2" : "0", name});
        };
        next(0);
        next(1);
        QTRY_VERIFY_WITH_TIMEOUT(running.isEmpty() && started[0] == kEach && started[1] == kEach, 120000);
        QCOMPARE(failed, 0);
        QProcess list;
        list.start(cliPath, {"--data-dir", data.root(), "rules"});
        QVERIFY(list.waitForFinished(60000));
        QCOMPARE(list.readAllStandardOutput().trimmed().split('\n').size(), 2 * kEach);
    }
};

QTEST_MAIN(TestCliRules)
#include "tst_cli_rules.moc"
