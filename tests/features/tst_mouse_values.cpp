// The checks of what the mouse can hold: lists of numbers element by element,
// the DPI table by stage, a recoil preset's values. Pure.

#include "features/mouse_values.h"
#include "features/recoil_data.h"

#include <QtTest>

class TestMouseValues : public QObject {
    Q_OBJECT
private slots:
    // One element of a byte list: taken when it is exactly an integer within
    // the range, as QML or the command line hands it over.
    void byteElements_data()
    {
        QTest::addColumn<QVariant>("element");
        QTest::addColumn<QString>("problem");      // empty: taken
        const QString no = QStringLiteral("element 2 (%1) is not an integer from 0 to 255");
        QTest::newRow("0") << QVariant(0) << QString();
        QTest::newRow("255") << QVariant(255) << QString();
        QTest::newRow("whole double") << QVariant(17.0) << QString();
        QTest::newRow("decimal text") << QVariant(QStringLiteral("200")) << QString();
        QTest::newRow("uint") << QVariant(uint(3)) << QString();
        QTest::newRow("256") << QVariant(256) << no.arg("256");
        QTest::newRow("-1") << QVariant(-1) << no.arg("-1");
        QTest::newRow("fraction") << QVariant(1.5) << no.arg("1.5");
        QTest::newRow("2^32 + 1") << QVariant(4294967297.0) << no.arg("4294967297");
        QTest::newRow("text") << QVariant(QStringLiteral("a")) << no.arg("\"a\"");
        QTest::newRow("hex text") << QVariant(QStringLiteral("0x10")) << no.arg("\"0x10\"");
        QTest::newRow("empty text") << QVariant(QString()) << no.arg("\"\"");
        QTest::newRow("null") << QVariant() << no.arg("null");
        QTest::newRow("true") << QVariant(true) << no.arg("true");
        QTest::newRow("list") << QVariant(QVariantList{1}) << no.arg("[1]");
        QTest::newRow("map") << QVariant(QVariantMap{{"a", 1}}) << no.arg("{\"a\":1}");
    }
    void byteElements()
    {
        QFETCH(QVariant, element);
        QFETCH(QString, problem);
        QCOMPARE(mousevalues::listProblem(QVariantList{1, element, 2}, 0, 255), problem);
    }

    // The first element that fails is named; an empty list has none.
    void firstFailingElementIsNamed()
    {
        QCOMPARE(mousevalues::listProblem(QVariantList{256, -1, "a", QVariant()}, 0, 255),
                 QStringLiteral("element 1 (256) is not an integer from 0 to 255"));
        QVERIFY(mousevalues::listProblem(QVariantList{}, 0, 255).isEmpty());
        // A long value is shortened in the message.
        const QString longText(100, QLatin1Char('x'));
        QVERIFY(mousevalues::listProblem(QVariantList{longText}, 0, 1).size() < 100);
    }

    // Stages in use need a DPI value of the sensor's range; the others may
    // also be 0 (no value), but nothing else.
    void dpiTable_data()
    {
        QTest::addColumn<int>("dpiCount");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("problem");
        const QString inUse = QStringLiteral("element %1 (%2) is not a DPI value from 100 to 25699 (stage %1 is in use)");
        const QString unused = QStringLiteral("element %1 (%2) is not 0 or a DPI value from 100 to 25699");
        QTest::newRow("page table") << 4 << QVariantList{400, 800, 1600, 3200, 0, 0, 0, 0} << QString();
        QTest::newRow("ends") << 2 << QVariantList{100, 25699} << QString();
        QTest::newRow("0 in use") << 4 << QVariantList{400, 800, 1600, 0} << inUse.arg(4).arg("0");
        QTest::newRow("99 in use") << 1 << QVariantList{99} << inUse.arg(1).arg("99");
        QTest::newRow("wraps") << 1 << QVariantList{25700} << inUse.arg(1).arg("25700");
        QTest::newRow("text") << 4 << QVariantList{"a", "b", QVariant(), QVariantList{1}} << inUse.arg(1).arg("\"a\"");
        QTest::newRow("unused negative") << 1 << QVariantList{400, -5} << unused.arg(2).arg("-5");
        QTest::newRow("unused 50") << 1 << QVariantList{400, 50} << unused.arg(2).arg("50");
        QTest::newRow("unused null") << 1 << QVariantList{400, QVariant()} << unused.arg(2).arg("null");
    }
    void dpiTable()
    {
        QFETCH(int, dpiCount);
        QFETCH(QVariantList, values);
        QFETCH(QString, problem);
        QCOMPARE(mousevalues::dpiTableProblem(dpiCount, dpi::Sensor::Model3360, values), problem);
    }

    // A preset's five values after its name: a key text, then four bytes.
    void presetValues_data()
    {
        QTest::addColumn<QVariantList>("src");
        QTest::addColumn<QString>("problem");
        QTest::newRow("page values as text") << QVariantList{"M416", "L-Click", "10", "0", "10", "0"} << QString();
        QTest::newRow("numbers") << QVariantList{"M416", "L-Click", 90, 0, 64.0, 255} << QString();
        QTest::newRow("two values") << QVariantList{"a", "b"} << QStringLiteral("2 values; a preset has 6");
        QTest::newRow("blank key") << QVariantList{"a", " ", 1, 2, 3, 4} << QStringLiteral("the key text \" \" is no text");
        QTest::newRow("key a list") << QVariantList{"a", QVariantList{}, 1, 2, 3, 4} << QStringLiteral("the key text [] is no text");
        QTest::newRow("period text") << QVariantList{"a", "K", "x", 2, 3, 4}
                                     << QStringLiteral("the period (\"x\") is not an integer from 0 to 255");
        QTest::newRow("Y 256") << QVariantList{"a", "K", 1, 2, 256, 4} << QStringLiteral("Y (256) is not an integer from 0 to 255");
        QTest::newRow("times -1") << QVariantList{"a", "K", 1, 2, 3, -1} << QStringLiteral("times (-1) is not an integer from 0 to 255");
    }
    void presetValues()
    {
        QFETCH(QVariantList, src);
        QFETCH(QString, problem);
        QCOMPARE(recoil::presetValuesProblem(src, 1), problem);
    }
};

QTEST_GUILESS_MAIN(TestMouseValues)
#include "tst_mouse_values.moc"
