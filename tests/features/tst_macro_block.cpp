// The byte stream of a device macro built from the editor's events.

#include "features/macro_block.h"
#include "support/macro_stream_js.h"

#include <QtTest>

namespace {

// Events written compactly: "p04" key press of usage 04, "r04" its release,
// "P f0" / "Rf0" mouse button press / release, "d50" a delay of 50 ms.
QList<MacroAction> events(const QString& text)
{
    QList<MacroAction> out;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        MacroAction a;
        const QChar k = word.at(0);
        const QString rest = word.mid(1);
        if (k == QLatin1Char('d')) {
            a.kind = MacroAction::Delay;
            a.value = rest.toUInt();
        } else {
            a.kind = k == QLatin1Char('p') ? MacroAction::KeyPress
                   : k == QLatin1Char('r') ? MacroAction::KeyRelease
                   : k == QLatin1Char('P') ? MacroAction::ButtonPress
                                           : MacroAction::ButtonRelease;
            a.value = rest.toUInt(nullptr, 16);
        }
        out.append(a);
    }
    return out;
}

} // namespace

class TestMacroBlock : public QObject {
    Q_OBJECT
private slots:
    void stream_data()
    {
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QByteArray>("expected");

        const auto row = [](const char* name, int repeat, const char* actions, const char* hex) {
            QTest::newRow(name) << repeat << QString::fromLatin1(actions) << QByteArray::fromHex(hex);
        };
        row("press, 50 ms, release", 1, "p04 d50 r04", "0001 0504 8104 0000");
        row("repeat count high byte first", 300, "p04 d50 r04", "012c 0504 8104 0000");
        row("repeat count held at 65535", 0x12345, "p04 d50 r04", "ffff 0504 8104 0000");
        row("negative repeat count is 0", -3, "p04 d50 r04", "0000 0504 8104 0000");
        row("no event", 1, "", "0001");
        row("delays only", 1, "d10 d20", "0001");
        row("one action alone", 7, "p04", "0007");
        row("leading delays, then one action", 1, "d100 d30 p04", "0001");
        row("leading delays dropped", 1, "d100 p04 d50 r04", "0001 0504 8104 0000");
        row("trailing delay dropped", 1, "p04 d50", "0001 0104 0000");
        row("no pause becomes 1", 1, "p04 r04 p05", "0001 0104 8104 0105 0000");
        row("delays summed", 1, "p04 d30 d20 d700 r04", "0001 4b04 8104 0000");
        row("parts of 10 ms summed first", 1, "p04 d15 d15 r04", "0001 0304 8104 0000");
        row("mouse buttons", 1, "Pf0 d10 Rf0 d20 Pf1", "0001 01f0 82f0 01f1 0000");
        row("longest short pause", 1, "p04 d1260 r04", "0001 7e04 8104 0000");
        row("127 units in 20 ms", 1, "p04 d1270 r04", "0001 0004 0001 003f 8104 0000");
        row("2 s after a press", 1, "p04 d2000 p05", "0001 0004 0001 0064 0105 0000");
        row("long pause after a release", 1, "r04 d2000 p05", "0001 8004 0001 0064 0105 0000");
        row("99999 units in 20 ms", 1, "p04 d999990 r04", "0001 0004 0001 c34f 8104 0000");
        row("100000 units in 50 ms", 1, "p04 d1000000 r04", "0001 0004 0002 4e20 8104 0000");
        row("300000 units in 100 ms", 1, "p04 d3000000 r04", "0001 0004 0003 7530 8104 0000");
        row("600000 units stay in 100 ms", 1, "p04 d6000000 r04", "0001 0004 0003 ea60 8104 0000");
        row("beyond: the longest count", 1, "p04 d4000000000 r04", "0001 0004 0003 ffff 8104 0000");
    }
    void stream()
    {
        QFETCH(int, repeat);
        QFETCH(QString, actions);
        QFETCH(QByteArray, expected);
        QCOMPARE(macroblock::buildStream(repeat, events(actions)).toHex(' '), expected.toHex(' '));
    }

    // The macro editor builds the stream in JavaScript; both builders give
    // the same bytes for every case above.
    void editorBuildsTheSameStream_data() { stream_data(); }
    void editorBuildsTheSameStream()
    {
        QFETCH(int, repeat);
        QFETCH(QString, actions);
        QFETCH(QByteArray, expected);
        static MacroStreamJs js(QStringLiteral(STRYDE_SOURCE_DIR "/modules/qml/basic/MacroStream.js"));
        QVERIFY(js.isValid());
        QString error;
        QCOMPARE(js.build(events(actions), repeat, &error).toHex(' '), expected.toHex(' '));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(js.length(events(actions)), int(macroblock::buildStream(0, events(actions)).size()));
    }

    // The block holds the stream and zeros; a stream longer than a block is
    // cut, and the caller is told.
    void block()
    {
        bool cut = true;
        MacroBlock b = macroblock::blockFromStream(QByteArray::fromHex("0001 0504 8104 0000"), &cut);
        QVERIFY(!cut);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.data()), 128),
                 QByteArray::fromHex("0001 0504 8104 0000") + QByteArray(120, '\0'));

        QByteArray longStream(130, '\x11');
        b = macroblock::blockFromStream(longStream, &cut);
        QVERIFY(cut);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.data()), 128), longStream.left(128));

        b = macroblock::blockFromValues({0x1FF, QStringLiteral("18"), -1, 3.0}, &cut);
        QVERIFY(!cut);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.data()), 5).toHex(' '), QByteArray("ff 12 ff 03 00"));
    }
};

QTEST_GUILESS_MAIN(TestMacroBlock)
#include "tst_macro_block.moc"
