#include "store/language_strings.h"

#include "support/data_fixture.h"

#include <QAtomicInt>
#include <QtConcurrent/QtConcurrent>
#include <QtTest>

// Language files of one fixture: "Test.ini" is written per test from a table.
class TstLanguageStrings : public QObject {
    Q_OBJECT

private slots:
    void readsGroups_data();
    void readsGroups();
    void refusesCodesOutsideTheLanguageFolder_data();
    void refusesCodesOutsideTheLanguageFolder();
    void otherFeedsDpiSwitchTexts_data();
    void otherFeedsDpiSwitchTexts();
    void otherWithoutFileKeepsTexts();
    void onlyExactOtherTouchesTexts();
    void textsAreSafeToReadWhileWritten();
    void hugeTotalIsBounded();
    void installedEnglishIsRead();
};

namespace {

QByteArray testFile()
{
    // Written the way the installed files are: UTF-8, values quoted so that
    // blanks, commas and semicolons are part of the text.
    return QByteArray(
        "; a comment line\n"
        "[three]\n"
        "total=3\n"
        "0=\"first\"\n"
        "1=\"second\"\n"
        "2=\"third\"\n"
        "\n"
        "[short]\n"
        "total=4\n"
        "0=\"a\"\n"
        "2=\"c\"\n"
        "\n"
        "[noTotal]\n"
        "0=\"x\"\n"
        "\n"
        "[punct]\n"
        "total=5\n"
        "0=\";\"\n"
        "1=\",\"\n"
        "2=\"\\\\\"\n"
        "3=\"Key \"\n"
        "4=\"=\"\n"
        "\n"
        "[utf8]\n"
        "total=3\n"
        "0=\"\xe5\xae\x8f\xe7\xbc\x96\xe8\xbe\x91\"\n"   // 宏编辑
        "1=\"\xe2\x96\xba\"\n"                           // ►
        "2=\"DPI \xe5\x88\x87\xe6\x8d\xa2\"\n"           // DPI 切换
        "\n"
        "[other]\n"
        "total=8\n"
        "0=\"S1\"\n1=\"S2\"\n2=\"S3\"\n3=\"S4\"\n4=\"S5\"\n5=\"S6\"\n6=\"S7\"\n7=\"S8\"\n"
        "\n"
        "[Other]\n"
        "total=1\n"
        "0=\"wrong case\"\n");
}

QStringList repeat(const QString& text, int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << text;
    return list;
}

} // namespace

void TstLanguageStrings::readsGroups_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("three in order") << "three" << "Test" << QStringList{"first", "second", "third"};
    QTest::newRow("total beyond entries pads with empty")
        << "short" << "Test" << QStringList{"a", "", "c", ""};
    QTest::newRow("group without total") << "noTotal" << "Test" << QStringList();
    QTest::newRow("missing group") << "nothere" << "Test" << QStringList();
    QTest::newRow("missing file") << "three" << "Klingon" << QStringList();
    QTest::newRow("quoted punctuation stays one text")
        << "punct" << "Test" << QStringList{";", ",", "\\", "Key ", "="};
    QTest::newRow("UTF-8 intact")
        << "utf8" << "Test"
        << QStringList{QString::fromUtf8("宏编辑"), QString::fromUtf8("►"), QString::fromUtf8("DPI 切换")};
}

void TstLanguageStrings::readsGroups()
{
    QFETCH(QString, group);
    QFETCH(QString, language);
    QFETCH(QStringList, expected);

    DataFixture fx;
    QVERIFY(fx.isValid());
    QVERIFY(fx.writeFile("modules/i18n/Test.ini", testFile()));
    LanguageStrings lang(fx.root());
    QCOMPARE(lang.getLangStrings(group, language), expected);
}

void TstLanguageStrings::refusesCodesOutsideTheLanguageFolder_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("parent folder") << "../setting/Test";
    QTest::newRow("backslash") << "..\\setting\\Test";
    QTest::newRow("dot-dot") << "..";
    QTest::newRow("empty") << "";
}

void TstLanguageStrings::refusesCodesOutsideTheLanguageFolder()
{
    QFETCH(QString, code);
    DataFixture fx;
    // A readable language file one folder up: a code escaping i18n/ would find it.
    QVERIFY(fx.writeFile("modules/setting/Test.ini", testFile()));
    QVERIFY(fx.writeFile("modules/Test.ini", testFile()));
    LanguageStrings lang(fx.root());
    QVERIFY(lang.languageFilePath(code).isEmpty());
    QCOMPARE(lang.getLangStrings("three", code), QStringList());
}

void TstLanguageStrings::otherFeedsDpiSwitchTexts_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QStringList>("returned");
    QTest::addColumn<QStringList>("texts");

    const QString d = QStringLiteral("DPI Switch to");
    QTest::newRow("eight texts") << QByteArray("total=8\n0=S1\n1=S2\n2=S3\n3=S4\n4=S5\n5=S6\n6=S7\n7=S8\n")
                                 << QStringList{"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8"}
                                 << QStringList{"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8"};
    QTest::newRow("more than eight: the first eight")
        << QByteArray("total=9\n0=S1\n1=S2\n2=S3\n3=S4\n4=S5\n5=S6\n6=S7\n7=S8\n8=S9\n")
        << QStringList{"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8", "S9"}
        << QStringList{"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8"};
    QTest::newRow("fewer than eight: the rest keep theirs")
        << QByteArray("total=2\n0=S1\n1=S2\n") << QStringList{"S1", "S2"}
        << (QStringList{"S1", "S2"} + repeat(d, 6));
    QTest::newRow("empty entries keep theirs")
        << QByteArray("total=3\n0=S1\n2=S3\n") << QStringList{"S1", "", "S3"}
        << (QStringList{"S1", d, "S3"} + repeat(d, 5));
}

void TstLanguageStrings::otherFeedsDpiSwitchTexts()
{
    QFETCH(QByteArray, group);
    QFETCH(QStringList, returned);
    QFETCH(QStringList, texts);

    DataFixture fx;
    QVERIFY(fx.writeFile("modules/i18n/Test.ini", "[other]\n" + group));
    LanguageStrings lang(fx.root());
    QCOMPARE(lang.dpiSwitchTexts(), LanguageStrings::defaultDpiSwitchTexts());

    QList<QStringList> handed;
    lang.setDpiSwitchSink([&handed](const QStringList& t) { handed << t; });
    QCOMPARE(lang.getLangStrings("other", "Test"), returned);
    QCOMPARE(lang.dpiSwitchTexts(), texts);
    QCOMPARE(handed.size(), 1);
    QCOMPARE(handed.first(), texts);
}

void TstLanguageStrings::otherWithoutFileKeepsTexts()
{
    DataFixture fx;
    QVERIFY(fx.writeFile("modules/i18n/Test.ini", testFile()));
    LanguageStrings lang(fx.root());
    int calls = 0;
    lang.setDpiSwitchSink([&calls](const QStringList&) { ++calls; });

    QCOMPARE(lang.getLangStrings("other", "Test").size(), 8);
    const QStringList loaded = lang.dpiSwitchTexts();
    QCOMPARE(loaded.first(), QStringLiteral("S1"));

    // A later language without the file, or without the group, changes nothing.
    QCOMPARE(lang.getLangStrings("other", "Missing"), QStringList());
    QVERIFY(fx.writeFile("modules/i18n/Bare.ini", "[main]\ntotal=1\n0=x\n"));
    QCOMPARE(lang.getLangStrings("other", "Bare"), QStringList());
    QCOMPARE(lang.dpiSwitchTexts(), loaded);
    QCOMPARE(calls, 1);
}

void TstLanguageStrings::onlyExactOtherTouchesTexts()
{
    DataFixture fx;
    QVERIFY(fx.writeFile("modules/i18n/Test.ini", testFile()));
    LanguageStrings lang(fx.root());
    int calls = 0;
    lang.setDpiSwitchSink([&calls](const QStringList&) { ++calls; });

    QCOMPARE(lang.getLangStrings("Other", "Test"), QStringList{"wrong case"});
    QCOMPARE(lang.getLangStrings("three", "Test").size(), 3);
    QCOMPARE(lang.dpiSwitchTexts(), LanguageStrings::defaultDpiSwitchTexts());
    QCOMPARE(calls, 0);
}

void TstLanguageStrings::textsAreSafeToReadWhileWritten()
{
    // The listener reads the texts on a pool thread while the GUI thread
    // loads a language; every read must see eight whole texts of one load.
    DataFixture fx;
    QVERIFY(fx.writeFile("modules/i18n/A.ini", "[other]\ntotal=8\n0=a\n1=a\n2=a\n3=a\n4=a\n5=a\n6=a\n7=a\n"));
    QVERIFY(fx.writeFile("modules/i18n/B.ini", "[other]\ntotal=8\n0=b\n1=b\n2=b\n3=b\n4=b\n5=b\n6=b\n7=b\n"));
    LanguageStrings lang(fx.root());

    QAtomicInt stop(0);
    QAtomicInt torn(0);
    QAtomicInt reads(0);
    QFuture<void> reader = QtConcurrent::run([&] {
        while (!stop.loadAcquire()) {
            const QStringList t = lang.dpiSwitchTexts();
            if (t.size() != LanguageStrings::DpiSwitchTextCount || t.count(t.first()) != t.size())
                torn.storeRelease(1);
            reads.fetchAndAddRelaxed(1);
        }
    });
    // Keep loading until the reader has really overlapped with the writes.
    QString last;
    for (int i = 0; i < 200 || (reads.loadRelaxed() < 200 && i < 100000); ++i) {
        last = (i % 2) ? "a" : "b";
        lang.getLangStrings("other", last.toUpper());
    }
    stop.storeRelease(1);
    reader.waitForFinished();
    QVERIFY(reads.loadRelaxed() > 0);
    QCOMPARE(torn.loadRelaxed(), 0);
    QCOMPARE(lang.dpiSwitchTexts(), repeat(last, 8));
}

void TstLanguageStrings::hugeTotalIsBounded()
{
    DataFixture fx;
    QVERIFY(fx.writeFile("modules/i18n/Test.ini", "[g]\ntotal=2000000000\n0=x\n"));
    LanguageStrings lang(fx.root());
    const QStringList list = lang.getLangStrings("g", "Test");
    QCOMPARE(list.size(), LanguageStrings::MaxGroupSize);
    QCOMPARE(list.first(), QStringLiteral("x"));
}

void TstLanguageStrings::installedEnglishIsRead()
{
    // The installed file through the real reader: the title prefix keeps its
    // blank and the DPI notice texts reach the sink.
    DataFixture fx;
    LanguageStrings lang(fx.root());
    QStringList handed;
    lang.setDpiSwitchSink([&handed](const QStringList& t) { handed = t; });
    QCOMPARE(lang.getLangStrings("keyMatrix", "English"), (QStringList{"Key ", "Key Function"}));
    QCOMPARE(lang.getLangStrings("other", "English").size(), 8);
    QCOMPARE(handed.size(), 8);
    QVERIFY(!handed.contains(QString()));
}

QTEST_GUILESS_MAIN(TstLanguageStrings)
#include "tst_language_strings.moc"
