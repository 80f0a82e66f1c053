#include "store/argument_check.h"
#include "store/name_lists.h"
#include "store_files.h"

#include <QtTest>
#include <memory>

using namespace storetest;

class TestNameLists : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>();
        QVERIFY(fx->isValid());
        QFile::remove(fx->path("modules/setting/name.bin"));
        lists = std::make_unique<NameLists>(fx->root());
    }
    void cleanup()
    {
        lists.reset();
        fx.reset();
    }

    void storeAndRead_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("one macro is padded") << QVariant(0) << "macro/macroName"
            << QStringList{"Macro_0"} << QStringList{"Macro_0", "listpadentry"};
        QTest::newRow("recoil presets") << QVariant(1) << "gun/gunName"
            << QStringList{"M416", "AKM", "UMP"} << QStringList{"M416", "AKM", "UMP"};
        QTest::newRow("profiles, type as text") << QVariant("2") << "profile/profileName"
            << QStringList{"profile_00", "work1"} << QStringList{"profile_00", "work1"};
        QTest::newRow("recoil selection padded") << QVariant(3u) << "gun/selectGun"
            << QStringList{"AKM"} << QStringList{"AKM", "listpadentry"};
        QTest::newRow("awkward text") << QVariant(0) << "macro/macroName"
            << QStringList{"a, b", "c\"d", QString::fromUtf8("é=;#")} << QStringList{"a, b", "c\"d", QString::fromUtf8("é=;#")};
    }
    void storeAndRead()
    {
        QFETCH(QVariant, type);
        QFETCH(QString, key);
        QFETCH(QStringList, names);
        QFETCH(QStringList, stored);
        QVERIFY(lists->updataNameList(type, names));
        QCOMPARE(lists->getNameList(type), QVariant(stored).toList());
        QCOMPARE(onDisk(lists->fileName(), key).toStringList(), stored);
    }

    void emptyListRemovesKeyOnly()
    {
        QVERIFY(lists->updataNameList(0, {"m1", "m2"}));
        QVERIFY(lists->updataNameList(2, {"p0", "q1"}));
        QVERIFY(lists->updataNameList(2, {}));
        QVERIFY(lists->getNameList(2).isEmpty());
        QVERIFY(!onDisk(lists->fileName(), "profile/profileName").isValid());
        QCOMPARE(lists->getNameList(0), (QVariantList{"m1", "m2"}));
    }

    void otherTypesChangeNothing_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::newRow("7") << QVariant(7);
        QTest::newRow("-1") << QVariant(-1);
        QTest::newRow("text") << QVariant("abc");
        QTest::newRow("invalid") << QVariant();
        // Numbers that wrap to 0 (the macro list) when cut to 32 bits, or
        // round to 2, must not reach a list.
        QTest::newRow("2^32") << QVariant(4294967296.0);
        QTest::newRow("2^32 as text") << QVariant("4294967296");
        QTest::newRow("-2^33") << QVariant(qlonglong(-8589934592));
        QTest::newRow("1e200") << QVariant(1e200);
        QTest::newRow("fraction") << QVariant(1.5);
    }
    void otherTypesChangeNothing()
    {
        QFETCH(QVariant, type);
        QVERIFY(lists->updataNameList(0, {"m1", "m2"}));
        const QByteArray before = fx->readFile("modules/setting/name.bin");
        const quint64 refusals = ArgumentCheck::refusals();
        QVERIFY(lists->updataNameList(type, {"x", "y"}));
        QVERIFY(lists->getNameList(type).isEmpty());
        QCOMPARE(fx->readFile("modules/setting/name.bin"), before);
        QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(2));
    }

    void listsLongerThanAllowedRefused_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("allowed");
        QTest::newRow("macros") << 0 << 100;
        QTest::newRow("profiles") << 2 << 10;
    }
    void listsLongerThanAllowedRefused()
    {
        QFETCH(int, type);
        QFETCH(int, allowed);
        QStringList names;
        for (int i = 0; i < allowed; ++i)
            names << QStringLiteral("n%1").arg(i);
        QVERIFY(lists->updataNameList(type, names));
        QVERIFY(!lists->updataNameList(type, names + QStringList{"one more"}));
        QCOMPARE(lists->getNameList(type).size(), allowed);
    }

    void damagedFileReadsEmpty()
    {
        QVERIFY(fx->writeFile("modules/setting/name.bin",
                              QByteArray("[macro]\nmacroName=single\n[profile]\x00\xff\n", 37)));
        QVERIFY(lists->getNameList(0).isEmpty());
        QVERIFY(lists->getNameList(2).isEmpty());
    }

private:
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<NameLists> lists;
};

QTEST_GUILESS_MAIN(TestNameLists)
#include "tst_name_lists.moc"
