// The macro list model over a data folder: what it shows of the stored name
// list, and that a rename or a deletion is one step that keeps the macro
// files, the profiles' bindings and the name list in agreement.

#include "view/macro_list_model.h"

#include "store/macro_library.h"
#include "store/name_lists.h"
#include "store/settings_store.h"
#include "store/store_files.h"
#include "support/fake_file_dialogs.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace storetest;

namespace {

QString macroFile(const QString& name)
{
    return QStringLiteral("modules/macro/") + name + QStringLiteral(".bin");
}

} // namespace

class TestMacroListModel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void reloadShowsTheStoredNames();
    void renameIsOneStep();
    void refusedRenameChangesNothing_data();
    void refusedRenameChangesNothing();
    void removeDeletesFileAndRow();
    void addKeepsNamesUnique();

private:
    // Macros "a", "b", "c" with files, "a" bound to button 1 of profile 1.
    void openLibrary();
    QStringList storedNames() const;

    std::unique_ptr<DataFixture> fx;
    FakeFileDialogs dialogs;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<MacroLibrary> lib;
    std::unique_ptr<NameLists> lists;
    std::unique_ptr<MacroListModel> model;
};

void TestMacroListModel::init()
{
    fx = std::make_unique<DataFixture>();
    QVERIFY(fx->isValid());
    QVERIFY(writeProfiles(*fx));
}

void TestMacroListModel::cleanup()
{
    model.reset();
    lib.reset();
    lists.reset();
    store.reset();
    fx.reset();
}

void TestMacroListModel::openLibrary()
{
    QVERIFY(fx->writeFile(slotFile(0), "[mouseKeyMatrix]\n1=4, 0, 1, 0\n[mouseMacroKey]\n1=a\n"));
    store = std::make_unique<SettingsStore>(fx->root());
    lib = std::make_unique<MacroLibrary>(*store, dialogs);
    lists = std::make_unique<NameLists>(fx->root());
    for (const char* name : {"a", "b", "c"}) {
        QVERIFY(lib->createMacroIni(name, 0));
        QVERIFY(lib->saveMacroIni(name, {"1,A", "2,A"}, 1));
    }
    QVERIFY(lists->updataNameList(0, {"a", "b", "c"}));
    model = std::make_unique<MacroListModel>();
    model->setBackends(lib.get(), lists.get());
    model->reload();
}

QStringList TestMacroListModel::storedNames() const
{
    QStringList names;
    for (const QVariant& v : NameLists(fx->root()).getNameList(0))
        names.append(v.toString());
    return names;
}

// The pad entry of a one-name list, empty and repeated names are not rows.
void TestMacroListModel::reloadShowsTheStoredNames()
{
    openLibrary();
    QCOMPARE(model->names(), (QStringList{"a", "b", "c"}));
    QCOMPARE(model->get(1).toMap().value("textValue").toString(), QStringLiteral("b"));
    QVERIFY(model->get(3).toMap().isEmpty());

    QVERIFY(lists->updataNameList(0, {"a", "", "a", "c"}));
    model->reload();
    QCOMPARE(model->names(), (QStringList{"a", "c"}));
    QVERIFY(lists->updataNameList(0, {"solo"}));
    QCOMPARE(storedNames(), (QStringList{"solo", NameLists::padEntry()}));
    model->reload();
    QCOMPARE(model->names(), QStringList{"solo"});
    QCOMPARE(model->rowCount(), 1);
}

// File, binding, name list and row follow; one signal says so.
void TestMacroListModel::renameIsOneStep()
{
    openLibrary();
    QSignalSpy renamed(model.get(), &MacroListModel::renamed);
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(model->rename(0, QStringLiteral("  Burst  ")));
    QCOMPARE(renamed.count(), 1);
    QCOMPARE(renamed.at(0), (QVariantList{"a", "Burst"}));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model->names(), (QStringList{"Burst", "b", "c"}));
    QCOMPARE(storedNames(), (QStringList{"Burst", "b", "c"}));
    QVERIFY(!QFile::exists(fx->path(macroFile("a"))));
    QCOMPARE(lib->loadMacroIni("Burst"), (QStringList{"1,A", "2,A", "1"}));
    store.reset();
    QCOMPARE(onDisk(fx->path(slotFile(0)), "mouseMacroKey/1").toString(), QStringLiteral("Burst"));
}

void TestMacroListModel::refusedRenameChangesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("newName");
    QTest::newRow("empty") << 0 << "   ";
    QTest::newRow("unchanged") << 0 << "a";
    QTest::newRow("in use") << 0 << "b";
    QTest::newRow("pad entry") << 0 << NameLists::padEntry();
    QTest::newRow("leaves the folder") << 0 << "../a";
    QTest::newRow("path") << 0 << "x/y";
    QTest::newRow("device name") << 0 << "CON";
    QTest::newRow("no such row") << 3 << "z";
}

void TestMacroListModel::refusedRenameChangesNothing()
{
    QFETCH(int, row);
    QFETCH(QString, newName);
    openLibrary();
    const QByteArray binding = fx->readFile(slotFile(0));
    QSignalSpy renamed(model.get(), &MacroListModel::renamed);
    QVERIFY(!model->rename(row, newName));
    QCOMPARE(renamed.count(), 0);
    QCOMPARE(model->names(), (QStringList{"a", "b", "c"}));
    QCOMPARE(storedNames(), (QStringList{"a", "b", "c"}));
    for (const char* name : {"a", "b", "c"})
        QVERIFY(QFile::exists(fx->path(macroFile(name))));
    QCOMPARE(fx->readFile(slotFile(0)), binding);
}

// A macro whose file is gone already still leaves the list.
void TestMacroListModel::removeDeletesFileAndRow()
{
    openLibrary();
    QVERIFY(model->remove(1));
    QVERIFY(!QFile::exists(fx->path(macroFile("b"))));
    QCOMPARE(model->names(), (QStringList{"a", "c"}));
    QCOMPARE(storedNames(), (QStringList{"a", "c"}));
    QVERIFY(QFile::remove(fx->path(macroFile("c"))));
    QVERIFY(model->remove(1));
    QCOMPARE(storedNames(), (QStringList{"a", NameLists::padEntry()}));
    QVERIFY(!model->remove(5));
    QCOMPARE(model->count(), 1);
}

void TestMacroListModel::addKeepsNamesUnique()
{
    openLibrary();
    QCOMPARE(model->freeName(), QStringLiteral("Macro_0"));
    QVERIFY(model->add(1, QStringLiteral("Macro_0")));
    QVERIFY(!model->add(0, QStringLiteral("Macro_0")));
    QCOMPARE(model->freeName(), QStringLiteral("Macro_1"));
    QVERIFY(model->add(-1, QStringLiteral("last")));
    QCOMPARE(model->names(), (QStringList{"a", "Macro_0", "b", "c", "last"}));
    QCOMPARE(storedNames(), model->names());
}

QTEST_GUILESS_MAIN(TestMacroListModel)
#include "tst_macro_list_model.moc"
