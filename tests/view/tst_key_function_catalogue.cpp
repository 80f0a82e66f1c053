// The key-function catalogue: the options of the key-assignment dialog, as
// the dialog offered them when they were written in its own file, and as the
// pages reach them through the QML module.

#include "view/key_function_catalogue.h"
#include "view/view_types.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

Q_DECLARE_METATYPE(KeyFunctionGroup)

class TestKeyFunctionCatalogue : public QObject {
    Q_OBJECT
private slots:
    void groups_data();
    void groups();
    void pagesReachTheCatalogue();
};

void TestKeyFunctionCatalogue::groups_data()
{
    QTest::addColumn<KeyFunctionGroup>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("langs");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("mouse") << KeyFunctionGroup::Mouse << "mouse" << QList<int>{2, 3, 4, 5, 6, 7}
                           << QStringList{"0000F000", "0000F200", "0000F100", "0000F400", "0000F300", "00f01e02"};
    QTest::newRow("media") << KeyFunctionGroup::Media << "media" << QList<int>{27, 28, 29, 30, 31, 32, 33, 34}
                           << QStringList{"03008301", "0300b500", "0300b600", "0300b700", "0300e200", "0300cd00",
                                          "0300e900", "0300ea00"};
    QTest::newRow("dpi") << KeyFunctionGroup::Dpi << "dpi" << QList<int>{22, 23, 24, 56}
                         << QStringList{"05000100", "05000200", "05000300", "05000400"};
    QTest::newRow("windows") << KeyFunctionGroup::Windows << "windows" << QList<int>{35, 36, 37, 38, 39, 40, 41}
                             << QStringList{"06009401", "06002302", "06002102", "06042c1b", "06042c11", "0600e307",
                                            "0600e315"};
    QTest::newRow("shortcut") << KeyFunctionGroup::Shortcut << "shortcut"
                              << QList<int>{42, 43, 44, 45, 46, 47, 48, 49, 50, 51}
                              << QStringList{"0700e011", "0700e01b", "0700e006", "0700e019", "0700e016", "0700e013",
                                             "0700e009", "0700e01c", "0700e01d", "0700e004"};
    QTest::newRow("gun") << KeyFunctionGroup::Gun << "gun" << QList<int>{53, 54, 55}
                         << QStringList{"08000100", "08000200", "08000300"};
}

// Same texts, codes and order as the dialog had; the QML property of the
// group gives the same rows.
void TestKeyFunctionCatalogue::groups()
{
    QFETCH(KeyFunctionGroup, group);
    QFETCH(QString, name);
    QFETCH(QList<int>, langs);
    QFETCH(QStringList, codes);

    QList<int> gotLangs;
    QStringList gotCodes;
    for (const KeyFunction& f : keyFunctions(group)) {
        gotLangs.append(f.lang);
        gotCodes.append(QString::fromLatin1(f.code));
    }
    QCOMPARE(gotLangs, langs);
    QCOMPARE(gotCodes, codes);

    KeyFunctionCatalogue catalogue;
    const QVariantList rows = catalogue.property(name.toLatin1()).toList();
    QCOMPARE(rows.size(), langs.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QVariantMap row = rows.at(i).toMap();
        QCOMPARE(row.value("lang").toInt(), langs.at(i));
        QCOMPARE(row.value("code").toString(), codes.at(i));
    }
}

// A page imports the module and reads a group as it read its own table.
void TestKeyFunctionCatalogue::pagesReachTheCatalogue()
{
    registerViewTypes();
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQml\nimport Stryde.View\n"
                      "QtObject { property var media: KeyFunctions.media\n"
                      "           property string next: KeyFunctions.media[1].code\n"
                      "           property int sniper: KeyFunctions.dpi[3].lang }",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    QVERIFY2(object, qPrintable(component.errorString()));
    QCOMPARE(object->property("next").toString(), QStringLiteral("0300b500"));
    QCOMPARE(object->property("sniper").toInt(), 56);
    QCOMPARE(object->property("media").toList().size(), 8);
}

QTEST_GUILESS_MAIN(TestKeyFunctionCatalogue)
#include "tst_key_function_catalogue.moc"
