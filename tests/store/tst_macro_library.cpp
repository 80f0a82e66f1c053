#include "store/macro_library.h"
#include "store/safe_file.h"
#include "store/settings_store.h"
#include "store_files.h"
#include "support/fake_file_dialogs.h"

#include <QSettings>
#include <QtTest>
#include <memory>

using namespace storetest;

namespace {

QString macroFile(const QString& name)
{
    return QStringLiteral("modules/macro/") + name + QStringLiteral(".bin");
}

// Slot `index` binds button `button` to macro number `number`, named `name`.
QByteArray bindingText(const QByteArray& tag, int button, int number, const QByteArray& name)
{
    return "[mouse]\ndpiCount=" + tag + "\n[mouseKeyMatrix]\n" + QByteArray::number(button) + "=4, 0, "
           + QByteArray::number(number) + ", 0\n[mouseMacroKey]\n" + QByteArray::number(number) + "=" + name + "\n";
}

} // namespace

class TestMacroLibrary : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>();
        QVERIFY(fx->isValid());
        QVERIFY(writeProfiles(*fx));
        outside = std::make_unique<QTemporaryDir>();
        dialogs = FakeFileDialogs();
    }
    void cleanup()
    {
        lib.reset();
        store.reset();
        fx.reset();
    }

    void createThenLoad()
    {
        open();
        QVERIFY(lib->createMacroIni("m1", 7));
        QCOMPARE(lib->loadMacroIni("m1"), QStringList{"1"});
        const QString path = fx->path(macroFile("m1"));
        QCOMPARE(onDisk(path, "config/index").toString(), QStringLiteral("7"));
        QCOMPARE(onDisk(path, "config/total").toString(), QStringLiteral("0"));
        QCOMPARE(onDisk(path, "config/did").toString(), QStringLiteral("-1"));
    }

    void saveReplacesActions()
    {
        open();
        QVERIFY(lib->createMacroIni("m1", 0));
        QVERIFY(lib->saveMacroIni("m1", {"1,A", "2,A", "0,10"}, 3));
        QCOMPARE(lib->loadMacroIni("m1"), (QStringList{"1,A", "2,A", "0,10", "3"}));
        QVERIFY(lib->saveMacroIni("m1", {"3,MS-L"}, "2"));
        QCOMPARE(lib->loadMacroIni("m1"), (QStringList{"3,MS-L", "2"}));
        const QString path = fx->path(macroFile("m1"));
        QVERIFY(!onDisk(path, "macro/1").isValid());
        QCOMPARE(onDisk(path, "config/index").toString(), QStringLiteral("0"));
    }

    void missingMacroFile()
    {
        open();
        QVERIFY(lib->loadMacroIni("none").isEmpty());
        QVERIFY(!lib->saveMacroIni("none", {"1,A"}, 1));
        QVERIFY(!QFile::exists(fx->path(macroFile("none"))));
        QVERIFY(!lib->deleteMacroIni("none"));
    }

    void deleteRemovesFile()
    {
        open();
        QVERIFY(lib->createMacroIni("m1", 0));
        QVERIFY(lib->deleteMacroIni("m1"));
        QVERIFY(!QFile::exists(fx->path(macroFile("m1"))));
        QVERIFY(lib->loadMacroIni("m1").isEmpty());
    }

    void damagedMacroFileReadsSafely_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("huge total") << QByteArray("[config]\ntotal=2000000000\nrepeat=1\n[macro]\n0=1,A\n")
                                    << QStringList{"1"};
        QTest::newRow("negative total") << QByteArray("[config]\ntotal=-3\nrepeat=2\n") << QStringList{"2"};
        QTest::newRow("missing entries") << QByteArray("[config]\ntotal=2\n[macro]\n1=\"2,B\"\n")
                                         << QStringList{"0", "2,B", "0"};
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe", 5) << QStringList{"0"};
    }
    void damagedMacroFileReadsSafely()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, expected);
        QVERIFY(fx->writeFile(macroFile("bad"), content));
        open();
        QCOMPARE(lib->loadMacroIni("bad"), expected);
    }

    void validNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Macro_0";
        QTest::newRow("space and CJK") << QString::fromUtf8("宏 1");
        QTest::newRow("inner dot") << "a.b";
        QTest::newRow("64 characters") << QString(64, 'x');
        QTest::newRow("device-like but longer") << "Con2";
    }
    void validNames()
    {
        QFETCH(QString, name);
        open();
        QVERIFY(MacroLibrary::isValidMacroName(name));
        QVERIFY(lib->createMacroIni(name, 0));
        QVERIFY(QFileInfo(fx->path(macroFile(name))).isFile());
        QCOMPARE(lib->loadMacroIni(name), QStringList{"1"});
    }

    // Hostile names reach no file: every operation refuses them, shows no
    // dialog, and nothing changes, inside modules/ or beside it.
    void hostileNamesRefused_data()
    {
        QTest::addColumn<QVariant>("name");
        QTest::newRow("empty") << QVariant(QString());
        QTest::newRow("not text") << QVariant(QVariantList{1, 2});
        QTest::newRow("climbs out") << QVariant("../../x");
        QTest::newRow("parent") << QVariant("..");
        QTest::newRow("inner ..") << QVariant("a..b");
        QTest::newRow("slash") << QVariant("a/b");
        QTest::newRow("backslash") << QVariant("a\\b");
        QTest::newRow("absolute") << QVariant("/tmp/x");
        QTest::newRow("drive") << QVariant("C:x");
        QTest::newRow("star") << QVariant("a*");
        QTest::newRow("question") << QVariant("a?");
        QTest::newRow("quote") << QVariant("a\"b");
        QTest::newRow("angle") << QVariant("<a>");
        QTest::newRow("pipe") << QVariant("a|b");
        QTest::newRow("tab") << QVariant("a\tb");
        QTest::newRow("newline") << QVariant("a\nb");
        QTest::newRow("NUL") << QVariant(QString(QChar(0)) + "a");
        QTest::newRow("DEL") << QVariant(QStringLiteral("a\x7f"));
        QTest::newRow("C1 control") << QVariant(QString("a") + QChar(0x85));
        QTest::newRow("lone surrogate") << QVariant(QString("a") + QChar(0xd800));
        QTest::newRow("trailing dot") << QVariant("name.");
        QTest::newRow("trailing space") << QVariant("name ");
        QTest::newRow("device name") << QVariant("con");
        QTest::newRow("device name with extension") << QVariant("LPT1.txt");
        QTest::newRow("65 characters") << QVariant(QString(65, 'x'));
    }
    void hostileNamesRefused()
    {
        QFETCH(QVariant, name);
        // A macro of a sane name, to show renames onto and from it are refused too.
        QVERIFY(fx->writeFile(macroFile("good"), "[config]\ntotal=0\nrepeat=1\n"));
        QVERIFY(fx->writeFile("modules/x.bin", "bystander"));
        open();
        const auto inside = snapshot(fx->root());
        const QString chosen = outside->filePath("in.mc");
        QVERIFY(SafeFile::write(chosen, "[config]\ntotal=0\nrepeat=1\n"));
        const auto beside = snapshot(outside->path());
        dialogs.answers = {chosen, outside->filePath("out.mc")};

        QVERIFY(!MacroLibrary::isValidMacroName(name.toString()));
        QVERIFY(!lib->createMacroIni(name, 0));
        QVERIFY(!lib->saveMacroIni(name, {"1,A"}, 1));
        QVERIFY(lib->loadMacroIni(name).isEmpty());
        QVERIFY(!lib->deleteMacroIni(name));
        QVERIFY(!lib->modifyMacroNameUpdateProfile("good", name));
        QVERIFY(!lib->modifyMacroNameUpdateProfile(name, "good2"));
        QVERIFY(!lib->deleteMacroUpdateProfile(name));
        QVERIFY(!lib->loadMacroFile(name));
        QVERIFY(!lib->saveMacroFile(name));

        QVERIFY(dialogs.calls.isEmpty());
        store.reset();
        QCOMPARE(snapshot(fx->root()), inside);
        QCOMPARE(snapshot(outside->path()), beside);
    }

    void renameFollowsIntoSlotsZeroToFive()
    {
        QVERIFY(fx->writeFile(slotFile(0), bindingText("p1", 0, 0, "m1")));
        QVERIFY(fx->writeFile(slotFile(5), bindingText("p6", 2, 3, "m1")));
        QVERIFY(fx->writeFile(slotFile(7), bindingText("p8", 0, 0, "m1")));
        const QByteArray p8 = fx->readFile(slotFile(7));
        open();
        QVERIFY(lib->createMacroIni("m1", 0));
        QVERIFY(lib->saveMacroIni("m1", {"1,A"}, 2));
        QVERIFY(lib->modifyMacroNameUpdateProfile("m1", "m2"));
        QVERIFY(!QFile::exists(fx->path(macroFile("m1"))));
        QCOMPARE(lib->loadMacroIni("m2"), (QStringList{"1,A", "2"}));
        QCOMPARE(store->slotSettings(0)->value("mouseMacroKey/0").toString(), QStringLiteral("m2"));
        QCOMPARE(store->slotSettings(5)->value("mouseMacroKey/3").toString(), QStringLiteral("m2"));
        QCOMPARE(store->slotSettings(7)->value("mouseMacroKey/0").toString(), QStringLiteral("m1"));
        store.reset();
        QCOMPARE(onDisk(fx->path(slotFile(0)), "mouseMacroKey/0").toString(), QStringLiteral("m2"));
        QCOMPARE(fx->readFile(slotFile(7)), p8);
    }

    void failedRenameChangesNothing_data()
    {
        QTest::addColumn<QString>("oldname");
        QTest::addColumn<QString>("newname");
        QTest::newRow("onto an existing macro") << "m1" << "m2";
        QTest::newRow("onto itself") << "m1" << "m1";
        QTest::newRow("old macro missing") << "gone" << "m3";
    }
    void failedRenameChangesNothing()
    {
        QFETCH(QString, oldname);
        QFETCH(QString, newname);
        QVERIFY(fx->writeFile(slotFile(0), bindingText("p1", 0, 0, oldname.toUtf8())));
        QVERIFY(fx->writeFile(macroFile("m1"), "[config]\ntotal=1\nrepeat=1\n[macro]\n0=1,A\n"));
        QVERIFY(fx->writeFile(macroFile("m2"), "[config]\ntotal=1\nrepeat=1\n[macro]\n0=1,B\n"));
        open();
        const auto before = snapshot(fx->root());
        QVERIFY(!lib->modifyMacroNameUpdateProfile(oldname, newname));
        QCOMPARE(store->slotSettings(0)->value("mouseMacroKey/0").toString(), oldname);
        store.reset();
        QCOMPARE(snapshot(fx->root()), before);
    }

    void deleteRestoresDefaultAssignment()
    {
        // Slot 2 binds button 3 to m1 and button 4 to another macro; slot 7
        // (outside 0-5) binds m1 too; button 5 holds a short, damaged entry.
        QVERIFY(fx->writeFile(slotFile(2), "[mouseKeyMatrix]\n0=1, 1, 0, 0\n3=4, 0, 5, 0\n4=4, 0, 6, 0\n5=4, 0\n"
                                           "[mouseMacroKey]\n5=m1\n6=m9\n"));
        QVERIFY(fx->writeFile(slotFile(7), bindingText("p8", 3, 5, "m1")));
        const QByteArray p8 = fx->readFile(slotFile(7));
        open();
        // The damaged entry is skipped with a debug line.
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("deleteMacroUpdateProfile: damaged entry ignored, profile 2 \"mouseKeyMatrix/5\""));
        QVERIFY(lib->deleteMacroUpdateProfile("m1"));
        QSettings* slot = store->slotSettings(2);
        QCOMPARE(SettingsStore::toValueList(slot->value("mouseKeyMatrix/3")), (QVariantList{"1", "8", "0", "0"}));
        QCOMPARE(SettingsStore::toValueList(slot->value("mouseKeyMatrix/4")), (QVariantList{"4", "0", "6", "0"}));
        QCOMPARE(SettingsStore::toValueList(slot->value("mouseKeyMatrix/5")), (QVariantList{"4", "0"}));
        QCOMPARE(slot->value("mouseMacroKey/5").toString(), QStringLiteral("m1"));
        store.reset();
        QCOMPARE(onDisk(fx->path(slotFile(2)), "mouseKeyMatrix/3").toStringList(), (QStringList{"1", "8", "0", "0"}));
        QCOMPARE(fx->readFile(slotFile(7)), p8);
    }

    void importMacroFile()
    {
        const QByteArray content = "[config]\r\ntotal=1\r\nrepeat=4\r\n[macro]\r\n0=\"1,A\"\r\n";
        const QString chosen = outside->filePath("in.mc");
        QVERIFY(SafeFile::write(chosen, content));
        open();
        dialogs.answers = {chosen};
        QVERIFY(lib->loadMacroFile("Macro_3"));
        QCOMPARE(fx->readFile(macroFile("Macro_3")), content);
        QCOMPARE(lib->loadMacroIni("Macro_3"), (QStringList{"1,A", "4"}));
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].save, false);
        QCOMPARE(dialogs.calls[0].caption, QStringLiteral("Open File"));
        QCOMPARE(dialogs.calls[0].filter, QStringLiteral("Macro(*.mc)"));
    }

    void importRefused_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: no file was chosen or it vanished
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("existing");        // a macro of the target name exists
        QTest::newRow("cancelled") << QByteArray() << false << false;
        QTest::newRow("vanished") << QByteArray() << true << false;
        QTest::newRow("over an existing macro") << QByteArray("[config]\ntotal=0\n") << true << true;
        QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\x00\x00", 9) << true << false;
        QTest::newRow("invalid UTF-8") << QByteArray("[macro]\n0=\xc3\x28\n") << true << false;
        QTest::newRow("10 MB") << QByteArray(10 * 1024 * 1024, '#') << true << false;
    }
    void importRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, chosen);
        QFETCH(bool, existing);
        if (existing)
            QVERIFY(fx->writeFile(macroFile("Macro_0"), "[config]\ntotal=1\n[macro]\n0=1,A\n"));
        const QString path = outside->filePath("in.mc");
        if (!content.isEmpty())
            QVERIFY(SafeFile::write(path, content));
        open();
        const auto before = snapshot(fx->root());
        dialogs.answers = {chosen ? path : QString()};
        QVERIFY(!lib->loadMacroFile("Macro_0"));
        QCOMPARE(snapshot(fx->root()), before);
    }

    void exportMacroFile()
    {
        open();
        QVERIFY(lib->createMacroIni("m1", 0));
        QVERIFY(lib->saveMacroIni("m1", {"1,A"}, 5));
        const QString target = outside->filePath("out.mc");
        QVERIFY(SafeFile::write(target, "previous export"));
        dialogs.answers = {target};
        QVERIFY(lib->saveMacroFile("m1"));
        QCOMPARE(QFileInfo(target).size(), QFileInfo(fx->path(macroFile("m1"))).size());
        QCOMPARE(onDisk(target, "config/repeat").toString(), QStringLiteral("5"));
        QCOMPARE(dialogs.calls[0].save, true);
        QCOMPARE(dialogs.calls[0].caption, QStringLiteral("Save File"));
        QCOMPARE(dialogs.calls[0].filter, QStringLiteral("Macro(*.mc)"));
    }

    void exportFailuresWriteNothing_data()
    {
        QTest::addColumn<QString>("macro");
        QTest::addColumn<QString>("answer");   // see dialogAnswer
        QTest::newRow("cancelled") << "m1" << "";
        QTest::newRow("no such macro") << "gone" << "out.mc";
        for (const QString& target : programFileTargets())
            QTest::addRow("over %s", qPrintable(target)) << "m1" << target;
    }
    void exportFailuresWriteNothing()
    {
        QFETCH(QString, macro);
        QFETCH(QString, answer);
        QVERIFY(fx->writeFile(macroFile("m1"), "[config]\ntotal=0\n"));
        QVERIFY(fx->writeFile(macroFile("other"), "[config]\ntotal=1\n"));
        answer = dialogAnswer(*fx, *outside, answer);
        open();
        const auto before = snapshot(fx->root());
        const auto outsideBefore = snapshot(outside->path());
        dialogs.answers = {answer};
        QVERIFY(!lib->saveMacroFile(macro));
        QCOMPARE(snapshot(fx->root()), before);
        QCOMPARE(snapshot(outside->path()), outsideBefore);
    }

private:
    void open()
    {
        store = std::make_unique<SettingsStore>(fx->root());
        lib = std::make_unique<MacroLibrary>(*store, dialogs);
    }

    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<QTemporaryDir> outside;
    FakeFileDialogs dialogs;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<MacroLibrary> lib;
};

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macro_library.moc"
