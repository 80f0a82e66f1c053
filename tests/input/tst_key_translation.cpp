// Key transitions to keyboard usages: the scan and usage tables with their
// overrides, the key-state filter, and the Linux sources (evdev codes and the
// window's own key events) that feed the same translation.

#include "input/evdev_scan_codes.h"
#include "input/key_translator.h"
#include "input/qt_input_events.h"

#include <QKeyEvent>
#include <QtTest>

namespace {

KeyTransition key(quint32 scan, bool extended, bool down, bool alt = false)
{
    KeyTransition t;
    t.scanCode = scan;
    t.extended = extended;
    t.altDown = alt;
    t.down = down;
    return t;
}

// Reports as "usage:isDown" pairs, for readable comparisons.
QString report(const std::optional<KeyReport>& r)
{
    return r ? QStringLiteral("%1:%2").arg(r->usage, 2, 16, QLatin1Char('0')).arg(r->isDown) : QStringLiteral("-");
}

} // namespace

class TestKeyTranslation : public QObject {
    Q_OBJECT
private slots:
    void tablesHoldAllTheirEntries()
    {
        const KeyTranslator t;
        QCOMPARE(t.scanTableSize(), 105);
        QCOMPARE(t.usageTableSize(), 121);
    }

    void usageOfKey_data()
    {
        QTest::addColumn<int>("scan");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<int>("usage");   // 0: no report
        QTest::newRow("A") << 0x1E << false << false << 0x04;
        QTest::newRow("Esc") << 0x01 << false << false << 0x29;
        QTest::newRow("Space") << 0x39 << false << false << 0x2C;
        QTest::newRow("F12") << 0x58 << false << false << 0x45;
        QTest::newRow("main Enter") << 0x1C << false << false << 0x28;
        QTest::newRow("keypad Enter") << 0x1C << true << false << 0x58;
        QTest::newRow("Pause") << 0x45 << false << false << 0x48;
        QTest::newRow("Ctrl+Break") << 0x46 << true << false << 0x48;
        QTest::newRow("Scroll Lock") << 0x46 << false << false << 0x47;
        QTest::newRow("Num Lock") << 0x45 << true << false << 0x53;
        QTest::newRow("Print Screen") << 0x37 << true << false << 0x46;
        QTest::newRow("Alt+Print Screen") << 0x54 << false << true << 0x46;
        QTest::newRow("SysRq without Alt") << 0x54 << false << false << 0;
        QTest::newRow("keypad *") << 0x37 << false << false << 0x55;
        QTest::newRow("keypad *, Alt held") << 0x37 << false << true << 0x55;
        QTest::newRow("Left Shift") << 0x2A << false << false << 0xE1;
        QTest::newRow("Right Shift") << 0x36 << true << false << 0xE5;
        QTest::newRow("Right Shift, no extended bit") << 0x36 << false << false << 0;
        QTest::newRow("Left Ctrl") << 0x1D << false << false << 0xE0;
        QTest::newRow("Right Ctrl") << 0x1D << true << false << 0xE4;
        QTest::newRow("Left Alt") << 0x38 << false << true << 0xE2;
        QTest::newRow("Right Alt") << 0x38 << true << true << 0xE6;
        QTest::newRow("Left Windows") << 0x5B << true << false << 0xE3;
        QTest::newRow("Right Windows") << 0x5C << true << false << 0;
        QTest::newRow("Menu") << 0x5D << true << false << 0x65;
        QTest::newRow("Up arrow") << 0x48 << true << false << 0x52;
        QTest::newRow("keypad 8") << 0x48 << false << false << 0x60;
        QTest::newRow("Delete") << 0x53 << true << false << 0x4C;
        QTest::newRow("keypad .") << 0x53 << false << false << 0x63;
        QTest::newRow("keypad /") << 0x35 << true << false << 0x54;
        QTest::newRow("backslash") << 0x2B << false << false << 0x31;
        QTest::newRow("ISO extra key") << 0x56 << false << false << 0x64;
        QTest::newRow("scan 0x6E (F23)") << 0x6E << false << false << 0x72;
        QTest::newRow("scan 0") << 0x00 << false << false << 0;
        QTest::newRow("scan above 0xFF") << 0x11E << false << false << 0;
        QTest::newRow("unlisted extended") << 0x30 << true << false << 0;
    }
    void usageOfKey()
    {
        QFETCH(int, scan);
        QFETCH(bool, extended);
        QFETCH(bool, alt);
        QFETCH(int, usage);
        KeyTranslator t;
        const auto down = t.translate(key(quint32(scan), extended, true, alt));
        const auto up = t.translate(key(quint32(scan), extended, false, alt));
        if (usage == 0) {
            QCOMPARE(report(down), QStringLiteral("-"));
            QCOMPARE(report(up), QStringLiteral("-"));
        } else {
            QCOMPARE(report(down), report(KeyReport{quint8(usage), 1}));
            QCOMPARE(report(up), report(KeyReport{quint8(usage), 0}));
        }
    }

    void layoutOptionPicksTheKeyLeftOfEnter()
    {
        KeyTranslator t(0);
        QCOMPARE(int(t.usage(0xDC)), 0x31);
        t.buildTables(1);
        QCOMPARE(int(t.usage(0xDC)), 0x32);
        QCOMPARE(t.usageTableSize(), 121);
        t.buildTables(0);   // built afresh, not patched on top
        QCOMPARE(int(t.usage(0xDC)), 0x31);
        QCOMPARE(int(KeyTranslator(7).usage(0xDC)), 0x32);
    }

    // Events are hex scan codes with "x" for the extended bit, "!" for Alt
    // held, then "+" (down) or "-" (up); the reports are "usage:isDown" in
    // order.
    void keyStateFilter_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("reports");
        QTest::newRow("press and release") << QStringList{"1e+", "1e-"} << QStringList{"04:1", "04:0"};
        QTest::newRow("auto-repeat gives one down") << QStringList{"1e+", "1e+", "1e+", "1e+", "1e-"}
                                                    << QStringList{"04:1", "04:0"};
        QTest::newRow("release never seen down") << QStringList{"1e-"} << QStringList{};
        QTest::newRow("second release") << QStringList{"1e+", "1e-", "1e-"} << QStringList{"04:1", "04:0"};
        QTest::newRow("interleaved keys") << QStringList{"2a+", "1e+", "1e+", "2a-", "1e-"}
                                          << QStringList{"e1:1", "04:1", "e1:0", "04:0"};
        QTest::newRow("left and right Ctrl apart") << QStringList{"1d+", "1dx+", "1d-", "1dx-"}
                                                   << QStringList{"e0:1", "e4:1", "e0:0", "e4:0"};
        // Pause and Ctrl+Break share a usage, so they share a state.
        QTest::newRow("Pause down, Break up") << QStringList{"45+", "46x+", "46x-"} << QStringList{"48:1", "48:0"};
        // Print Screen goes down plain and comes up as Alt+Print Screen.
        QTest::newRow("Print Screen across Alt") << QStringList{"37x+", "54!+", "54!-"}
                                                 << QStringList{"46:1", "46:0"};
        QTest::newRow("unmapped keys change nothing") << QStringList{"5cx+", "1e+", "5cx-", "1e-"}
                                                      << QStringList{"04:1", "04:0"};
    }
    void keyStateFilter()
    {
        QFETCH(QStringList, events);
        QFETCH(QStringList, reports);
        KeyTranslator t;
        QStringList got;
        for (QString e : events) {
            const bool down = e.endsWith('+');
            e.chop(1);
            const bool alt = e.endsWith('!');
            if (alt)
                e.chop(1);
            const bool ext = e.endsWith('x');
            if (ext)
                e.chop(1);
            const auto r = t.translate(key(e.toUInt(nullptr, 16), ext, down, alt));
            if (r)
                got << report(r);
        }
        QCOMPARE(got, reports);
    }

    void hookPressRule_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("message");
        QTest::addColumn<bool>("press");
        QTest::newRow("WM_KEYDOWN") << 0 << 0x100 << true;
        QTest::newRow("WM_SYSKEYDOWN") << 0 << 0x104 << true;
        QTest::newRow("WM_KEYUP") << 0 << 0x101 << false;
        QTest::newRow("WM_SYSKEYUP") << 0 << 0x105 << false;
        QTest::newRow("not HC_ACTION") << 3 << 0x100 << false;
        QTest::newRow("negative code") << -1 << 0x104 << false;
    }
    void hookPressRule()
    {
        QFETCH(int, code);
        QFETCH(int, message);
        QFETCH(bool, press);
        QCOMPARE(KeyTranslator::isPress(code, quint32(message)), press);
    }

    void evdevKeys_data()
    {
        QTest::addColumn<int>("evdev");
        QTest::addColumn<int>("scan");   // -1: no scan code
        QTest::addColumn<bool>("extended");
        QTest::addColumn<int>("usage");  // through the tables; 0: no report
        QTest::newRow("Esc") << 1 << 0x01 << false << 0x29;
        QTest::newRow("A") << 30 << 0x1E << false << 0x04;
        QTest::newRow("Z") << 44 << 0x2C << false << 0x1D;
        QTest::newRow("slash") << 53 << 0x35 << false << 0x38;
        QTest::newRow("Enter") << 28 << 0x1C << false << 0x28;
        QTest::newRow("keypad Enter") << 96 << 0x1C << true << 0x58;
        QTest::newRow("Up") << 103 << 0x48 << true << 0x52;
        QTest::newRow("Down") << 108 << 0x50 << true << 0x51;
        QTest::newRow("Left") << 105 << 0x4B << true << 0x50;
        QTest::newRow("Right") << 106 << 0x4D << true << 0x4F;
        QTest::newRow("keypad 8") << 72 << 0x48 << false << 0x60;
        QTest::newRow("keypad .") << 83 << 0x53 << false << 0x63;
        QTest::newRow("Left Ctrl") << 29 << 0x1D << false << 0xE0;
        QTest::newRow("Right Ctrl") << 97 << 0x1D << true << 0xE4;
        QTest::newRow("Left Alt") << 56 << 0x38 << false << 0xE2;
        QTest::newRow("Right Alt") << 100 << 0x38 << true << 0xE6;
        QTest::newRow("Right Shift") << 54 << 0x36 << true << 0xE5;
        QTest::newRow("Print Screen") << 99 << 0x37 << true << 0x46;
        QTest::newRow("Print") << 210 << 0x37 << true << 0x46;
        QTest::newRow("Pause") << 119 << 0x45 << false << 0x48;
        QTest::newRow("Break") << 411 << 0x46 << true << 0x48;
        QTest::newRow("Num Lock") << 69 << 0x45 << true << 0x53;
        QTest::newRow("Scroll Lock") << 70 << 0x46 << false << 0x47;
        QTest::newRow("F10") << 68 << 0x44 << false << 0x43;
        QTest::newRow("F11") << 87 << 0x57 << false << 0x44;
        QTest::newRow("F23") << 193 << 0x6E << false << 0x72;
        QTest::newRow("F24") << 194 << 0x76 << false << 0;
        QTest::newRow("ISO extra key") << 86 << 0x56 << false << 0x64;
        QTest::newRow("Left Windows") << 125 << 0x5B << true << 0xE3;
        QTest::newRow("Right Windows") << 126 << 0x5C << true << 0;
        QTest::newRow("Menu") << 127 << 0x5D << true << 0x65;
        QTest::newRow("Delete") << 111 << 0x53 << true << 0x4C;
        QTest::newRow("reserved 0") << 0 << -1 << false << 0;
        QTest::newRow("84 (no key)") << 84 << -1 << false << 0;
        QTest::newRow("volume up") << 115 << -1 << false << 0;
    }
    void evdevKeys()
    {
        QFETCH(int, evdev);
        QFETCH(int, scan);
        QFETCH(bool, extended);
        QFETCH(int, usage);
        const auto sc = scanCodeForEvdev(evdev);
        QCOMPARE(sc.has_value(), scan >= 0);
        if (sc) {
            QCOMPARE(int(sc->scan), scan);
            QCOMPARE(sc->extended, extended);
        }
        KeyTranslator t;
        const auto x = keyTransitionFromXKeycode(evdev + 8, true, false);
        const auto r = x ? t.translate(*x) : std::nullopt;
        QCOMPARE(r ? int(r->usage) : 0, usage);
    }

    void qtKeyEvents_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<quint32>("nativeScanCode");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("scan");   // -1: nothing
        QTest::addColumn<bool>("extended");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<bool>("down");
        QTest::newRow("A press") << int(QEvent::KeyPress) << 38u << int(Qt::NoModifier) << 0x1E << false << false << true;
        QTest::newRow("A release") << int(QEvent::KeyRelease) << 38u << int(Qt::NoModifier) << 0x1E << false << false << false;
        QTest::newRow("keypad Enter") << int(QEvent::KeyPress) << 104u << int(Qt::KeypadModifier) << 0x1C << true << false << true;
        QTest::newRow("Print Screen with Alt") << int(QEvent::KeyPress) << 107u << int(Qt::AltModifier) << 0x37 << true << true << true;
        QTest::newRow("synthesised (no scan code)") << int(QEvent::KeyPress) << 0u << int(Qt::NoModifier) << -1 << false << false << true;
        QTest::newRow("X keycode below 8") << int(QEvent::KeyPress) << 5u << int(Qt::NoModifier) << -1 << false << false << true;
    }
    void qtKeyEvents()
    {
        QFETCH(int, type);
        QFETCH(quint32, nativeScanCode);
        QFETCH(int, modifiers);
        QFETCH(int, scan);
        QFETCH(bool, extended);
        QFETCH(bool, alt);
        QFETCH(bool, down);
        const QKeyEvent ev(QEvent::Type(type), Qt::Key_unknown, Qt::KeyboardModifiers(modifiers), nativeScanCode, 0, 0);
        const auto t = keyTransitionFromQt(ev);
        QCOMPARE(t.has_value(), scan >= 0);
        if (t) {
            QCOMPARE(int(t->scanCode), scan);
            QCOMPARE(t->extended, extended);
            QCOMPARE(t->altDown, alt);
            QCOMPARE(t->down, down);
        }
    }
};

QTEST_MAIN(TestKeyTranslation)
#include "tst_key_translation.moc"
