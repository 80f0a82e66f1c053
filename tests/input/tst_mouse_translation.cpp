// Mouse messages to button codes, and the Linux sources (X11 button numbers
// and the window's own mouse events) that feed the same table.

#include "input/mouse_translation.h"
#include "input/qt_input_events.h"

#include <QMouseEvent>
#include <QtTest>

class TestMouseTranslation : public QObject {
    Q_OBJECT
private slots:
    void buttonTable_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<int>("code");   // 0: no report
        QTest::addColumn<int>("isDown");
        QTest::newRow("move 0x200") << 0x200 << 0 << 0;
        QTest::newRow("left down") << 0x201 << 0xF0 << 1;
        QTest::newRow("left up") << 0x202 << 0xF0 << 0;
        QTest::newRow("left double-click") << 0x203 << 0 << 0;
        QTest::newRow("right down") << 0x204 << 0xF1 << 1;
        QTest::newRow("right up") << 0x205 << 0xF1 << 0;
        QTest::newRow("right double-click") << 0x206 << 0 << 0;
        QTest::newRow("middle down") << 0x207 << 0xF2 << 1;
        QTest::newRow("middle up") << 0x208 << 0xF2 << 0;
        QTest::newRow("middle double-click 0x209") << 0x209 << 0 << 0;
        QTest::newRow("wheel 0x20A") << 0x20A << 0 << 0;
        QTest::newRow("side button down 0x20B") << 0x20B << 0 << 0;
        QTest::newRow("horizontal wheel 0x20E") << 0x20E << 0 << 0;
        QTest::newRow("key down 0x100") << 0x100 << 0 << 0;
    }
    void buttonTable()
    {
        QFETCH(int, message);
        QFETCH(int, code);
        QFETCH(int, isDown);
        // A click left of and above the primary monitor: the position passes
        // through as it is, negative.
        const auto r = translateMouseMessage(MouseMessage{quint32(message), -1280, -20});
        QCOMPARE(r.has_value(), code != 0);
        if (r) {
            QCOMPARE(int(r->buttonCode), code);
            QCOMPARE(int(r->isDown), isDown);
            QCOMPARE(r->x, -1280);
            QCOMPARE(r->y, -20);
        }
    }

    void xButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("down");   // 0: no message
        QTest::addColumn<int>("up");
        QTest::newRow("left") << 1 << 0x201 << 0x202;
        QTest::newRow("middle") << 2 << 0x207 << 0x208;
        QTest::newRow("right") << 3 << 0x204 << 0x205;
        QTest::newRow("wheel up") << 4 << 0 << 0;
        QTest::newRow("wheel right") << 7 << 0 << 0;
        QTest::newRow("back") << 8 << 0 << 0;
        QTest::newRow("forward") << 9 << 0 << 0;
    }
    void xButtons()
    {
        QFETCH(int, button);
        QFETCH(int, down);
        QFETCH(int, up);
        QCOMPARE(int(messageForXButton(button, true).value_or(0)), down);
        QCOMPARE(int(messageForXButton(button, false).value_or(0)), up);
    }

    void qtMouseEvents_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("message");   // 0: nothing
        QTest::newRow("left press") << int(QEvent::MouseButtonPress) << int(Qt::LeftButton) << 0x201;
        QTest::newRow("left release") << int(QEvent::MouseButtonRelease) << int(Qt::LeftButton) << 0x202;
        QTest::newRow("left double-click") << int(QEvent::MouseButtonDblClick) << int(Qt::LeftButton) << 0x203;
        QTest::newRow("right press") << int(QEvent::MouseButtonPress) << int(Qt::RightButton) << 0x204;
        QTest::newRow("right release") << int(QEvent::MouseButtonRelease) << int(Qt::RightButton) << 0x205;
        QTest::newRow("middle press") << int(QEvent::MouseButtonPress) << int(Qt::MiddleButton) << 0x207;
        QTest::newRow("middle release") << int(QEvent::MouseButtonRelease) << int(Qt::MiddleButton) << 0x208;
        QTest::newRow("middle double-click") << int(QEvent::MouseButtonDblClick) << int(Qt::MiddleButton) << 0;
        QTest::newRow("back press") << int(QEvent::MouseButtonPress) << int(Qt::BackButton) << 0;
        QTest::newRow("move") << int(QEvent::MouseMove) << int(Qt::NoButton) << 0;
    }
    void qtMouseEvents()
    {
        QFETCH(int, type);
        QFETCH(int, button);
        QFETCH(int, message);
        const QPointF local(5, 6);
        const QPointF global(-300, 1000);
        const QMouseEvent ev(QEvent::Type(type), local, local, global, Qt::MouseButton(button),
                             Qt::MouseButtons(button), Qt::NoModifier);
        const auto m = mouseMessageFromQt(ev);
        QCOMPARE(int(m ? m->message : 0), message);
        if (m) {
            QCOMPARE(m->x, -300);
            QCOMPARE(m->y, 1000);
        }
    }
};

QTEST_MAIN(TestMouseTranslation)
#include "tst_mouse_translation.moc"
