// Numbers from QML or the command line are taken only when they are exactly
// an integer in range: never wrapped, rounded or cut into it.

#include "store/argument_check.h"

#include <QtTest>

class TestArgumentCheck : public QObject {
    Q_OBJECT
private slots:
    void integer_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("int") << QVariant(3) << true << qint64(3);
        QTest::newRow("uint") << QVariant(3u) << true << qint64(3);
        QTest::newRow("whole double") << QVariant(3.0) << true << qint64(3);
        QTest::newRow("text") << QVariant("3") << true << qint64(3);
        QTest::newRow("lowest") << QVariant(0) << true << qint64(0);
        QTest::newRow("below") << QVariant(-1) << false << qint64(0);
        QTest::newRow("above") << QVariant(4) << false << qint64(0);
        QTest::newRow("fraction") << QVariant(2.5) << false << qint64(0);
        QTest::newRow("2^32 wraps to 0 elsewhere") << QVariant(4294967296.0) << false << qint64(0);
        QTest::newRow("2^32 + 3 as text") << QVariant("4294967299") << false << qint64(0);
        QTest::newRow("-2^33") << QVariant(qlonglong(-8589934592)) << false << qint64(0);
        QTest::newRow("1e200") << QVariant(1e200) << false << qint64(0);
        QTest::newRow("2^63") << QVariant(9223372036854775808.0) << false << qint64(0);
        QTest::newRow("infinity") << QVariant(qInf()) << false << qint64(0);
        QTest::newRow("not a number") << QVariant(qQNaN()) << false << qint64(0);
        QTest::newRow("huge unsigned") << QVariant(qulonglong(18446744073709551615ull)) << false << qint64(0);
        QTest::newRow("text with more") << QVariant("3abc") << false << qint64(0);
        QTest::newRow("text with a fraction") << QVariant("3.0") << false << qint64(0);
        QTest::newRow("boolean") << QVariant(true) << false << qint64(0);
        QTest::newRow("list") << QVariant(QVariantList{3}) << false << qint64(0);
        QTest::newRow("nothing") << QVariant() << false << qint64(0);
    }
    void integer()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, taken);
        QFETCH(qint64, expected);
        const std::optional<qint64> n = ArgumentCheck::integer(value, 0, 3);
        QCOMPARE(n.has_value(), taken);
        if (taken)
            QCOMPARE(*n, expected);
    }

    void refusalsAreCountedAndNamed()
    {
        const quint64 before = ArgumentCheck::refusals();
        QTest::ignoreMessage(QtDebugMsg, "updataNameList: type refused: no list 9");
        ArgumentCheck::refuse("updataNameList", "type", QStringLiteral("no list 9"));
        QCOMPARE(ArgumentCheck::refusals(), before + 1);
        QCOMPARE(ArgumentCheck::lastRefusal(), QStringLiteral("updataNameList: type refused: no list 9"));
    }
};

QTEST_GUILESS_MAIN(TestArgumentCheck)
#include "tst_argument_check.moc"
