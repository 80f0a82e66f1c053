// The events of one macro: how stored entries read, and that edits reach the
// macro's file as the editor made them.

#include "view/macro_event_model.h"

#include "store/macro_library.h"
#include "store/settings_store.h"
#include "support/data_fixture.h"
#include "support/fake_file_dialogs.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

class TestMacroEventModel : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void editsReachTheFile();
    void missingMacro();
};

void TestMacroEventModel::parse_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("info");
    QTest::newRow("delay") << "0,40" << 0 << "40";
    QTest::newRow("key press") << "1,A" << 1 << "A";
    QTest::newRow("mouse release") << "4,MS-L" << 4 << "MS-L";
    QTest::newRow("comma in the name") << "2,," << 2 << ",";
    QTest::newRow("type out of range") << "5,A" << -1 << "5,A";
    QTest::newRow("no comma") << "1A" << -1 << "1A";
    QTest::newRow("no type") << "x,A" << -1 << "x,A";
    QTest::newRow("empty") << "" << -1 << "";
}

// A damaged entry is kept as it stands and written back unchanged.
void TestMacroEventModel::parse()
{
    QFETCH(QString, stored);
    QFETCH(int, type);
    QFETCH(QString, info);
    const MacroEvent e = MacroEventModel::parse(stored);
    QCOMPARE(e.type, type);
    QCOMPARE(e.info, info);
    QCOMPARE(MacroEventModel::text(e), stored);
}

void TestMacroEventModel::editsReachTheFile()
{
    DataFixture fx;
    QVERIFY(fx.isValid());
    SettingsStore store(fx.root());
    FakeFileDialogs dialogs;
    MacroLibrary lib(store, dialogs);
    QVERIFY(lib.createMacroIni("m", 0));
    QVERIFY(lib.saveMacroIni("m", {"1,A", "0,40", "bad", "2,A"}, 3));

    MacroEventModel model;
    model.setLibrary(&lib);
    QSignalSpy counted(&model, &MacroEventModel::countChanged);
    QCOMPARE(model.load("m"), 3);
    QCOMPARE(model.count(), 4);
    QCOMPARE(counted.count(), 1);
    QCOMPARE(model.get(2).toMap().value("type").toInt(), -1);
    QCOMPARE(model.data(model.index(1), MacroEventModel::InfoRole).toString(), QStringLiteral("40"));

    model.insert(1, {{"type", 3}, {"info", "MS-L"}});
    model.append({{"type", 0}, {"info", "10"}});
    model.insert(99, {{"type", 4}, {"info", "MS-L"}});   // out of range: appended
    model.remove(3);                                     // "bad"
    model.remove(42);                                    // no such row: nothing
    model.setInfo(2, "65535");
    QVERIFY(model.save("m", 7));
    QCOMPARE(lib.loadMacroIni("m"), (QStringList{"1,A", "3,MS-L", "0,65535", "2,A", "0,10", "4,MS-L", "7"}));
    QCOMPARE(model.events().size(), 6);

    const QVariantMap stored = model.read("m").toMap();
    QVERIFY(stored.value("found").toBool());
    QCOMPARE(stored.value("repeat").toInt(), 7);
    QCOMPARE(stored.value("events").toList().at(1).toMap().value("info").toString(), QStringLiteral("MS-L"));
}

// No file: no events, a repeat count of 1, and nothing written.
void TestMacroEventModel::missingMacro()
{
    DataFixture fx;
    SettingsStore store(fx.root());
    FakeFileDialogs dialogs;
    MacroLibrary lib(store, dialogs);
    MacroEventModel model;
    model.setLibrary(&lib);
    model.append({{"type", 1}, {"info", "A"}});
    QCOMPARE(model.load("gone"), 1);
    QCOMPARE(model.count(), 0);
    QVERIFY(!model.read("gone").toMap().value("found").toBool());
    model.append({{"type", 1}, {"info", "A"}});
    QVERIFY(!model.save("gone", 1));
    QVERIFY(!QFile::exists(fx.path("modules/macro/gone.bin")));
    QVERIFY(!model.save("", 1));
}

QTEST_GUILESS_MAIN(TestMacroEventModel)
#include "tst_macro_event_model.moc"
