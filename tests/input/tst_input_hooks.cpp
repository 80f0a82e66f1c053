// InputHooks hands translated events to its function + context pairs, keeps
// the key state while nobody listens, and reports a missing system-wide
// capture; the window's own events reach it through FallbackCapture.

#include "input/copy_data.h"
#include "input/fallback_capture.h"
#include "input/input_hooks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QtTest>

namespace {

struct Recorder {
    QStringList calls;
    QList<QByteArray> copyData;
};

void onKey(quint8 usage, quint8 isDown, void* context)
{
    static_cast<Recorder*>(context)->calls << QStringLiteral("key %1 %2").arg(usage, 0, 16).arg(isDown);
}

void onMouse(quint8 code, quint8 isDown, qint32 x, qint32 y, void* context)
{
    static_cast<Recorder*>(context)->calls
        << QStringLiteral("mouse %1 %2 %3,%4").arg(code, 0, 16).arg(isDown).arg(x).arg(y);
}

void onCopyData(const CopyDataMessage* message, void* context)
{
    static_cast<Recorder*>(context)->copyData
        << QByteArray::number(qulonglong(message->dwData), 16) + ' '
               + QByteArray(static_cast<const char*>(message->lpData), int(message->cbData));
}

KeyTransition key(quint32 scan, bool down)
{
    KeyTransition t;
    t.scanCode = scan;
    t.down = down;
    return t;
}

} // namespace

class TestInputHooks : public QObject {
    Q_OBJECT
private slots:
    // Between installation and registration the key state moves but nothing
    // is reported: a key pressed then is released without a report only if
    // it was never seen down.
    void keysBeforeRegistrationOnlyMoveTheState()
    {
        InputHooks hooks(0);
        Recorder rec;
        hooks.feedKey(key(0x1E, true));    // A down, unseen by anyone
        hooks.setKeyboardCallback(onKey, &rec);
        hooks.feedKey(key(0x1E, true));    // auto-repeat
        hooks.feedKey(key(0x1E, false));
        hooks.feedKey(key(0x30, false));   // B: released, never seen down
        hooks.feedKey(key(0x30, true));
        QCOMPARE(rec.calls, (QStringList{"key 4 0", "key 5 1"}));

        hooks.setKeyboardCallback(nullptr, nullptr);
        hooks.feedKey(key(0x30, false));
        QCOMPARE(rec.calls.size(), 2);
        QVERIFY(!hooks.translator().isDown(0x05));
    }

    void clickReachesTheMouseCallback()
    {
        InputHooks hooks(0);
        Recorder rec;
        hooks.feedMouse({0x201, 10, 20});   // before registration: dropped
        hooks.setMouseCallback(onMouse, &rec);
        for (quint32 m : {0x201u, 0x202u, 0x203u, 0x20Au, 0x20Bu, 0x207u, 0x207u})
            hooks.feedMouse({m, -1920, 300});
        QCOMPARE(rec.calls, (QStringList{"mouse f0 1 -1920,300", "mouse f0 0 -1920,300",
                                         "mouse f2 1 -1920,300", "mouse f2 1 -1920,300"}));
    }

    void layoutOptionReachesTheTables()
    {
        InputHooks iso(1);
        QCOMPARE(int(iso.layoutOption()), 1);
        QCOMPARE(int(iso.translator().usage(0xDC)), 0x32);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^Input capture: "));
        iso.installInputHooks();   // builds afresh with the same option
        QCOMPARE(int(iso.translator().usage(0xDC)), 0x32);
        iso.removeInputHooks();
    }

    // Under the offscreen platform there is no system-wide source: install
    // says so, installs nothing, and removal stays harmless.
    void installWithoutX11ReportsFailure()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        InputHooks hooks(0);
        QCOMPARE(InputHooks::live(), &hooks);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^Input capture: .*window's own"));
        QVERIFY(!hooks.installInputHooks());
        QVERIFY(!hooks.hooksInstalled());
        hooks.removeInputHooks();
        hooks.removeInputHooks();
    }

    void liveInstanceFollowsLifetime()
    {
        auto first = std::make_unique<InputHooks>(0);
        {
            InputHooks second(0);
            QCOMPARE(InputHooks::live(), &second);
        }
        QCOMPARE(InputHooks::live(), nullptr);
        first.reset();
        QCOMPARE(InputHooks::live(), nullptr);
    }

    void copyDataText_data()
    {
        QTest::addColumn<quint64>("dwData");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("text");
        QTest::newRow("five letters, cbData 5") << quint64(0x250F) << QByteArray("Hello") << true << "Hello";
        QTest::newRow("five letters, cbData 6") << quint64(0x250F) << QByteArray("Hello", 6) << false << "";
        QTest::newRow("NUL inside") << quint64(0x250F) << QByteArray("He\0lo", 5) << false << "";
        QTest::newRow("other dwData") << quint64(0x2510) << QByteArray("Hello") << false << "";
        QTest::newRow("UTF-8 text") << quint64(0x250F) << QByteArray("Gr\xc3\xbc\xc3\x9f" "e") << true
                                    << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e");
        QTest::newRow("not UTF-8") << quint64(0x250F) << QByteArray("Gr\xfc" "e") << false << "";
        QTest::newRow("empty") << quint64(0x250F) << QByteArray() << true << "";
    }
    void copyDataText()
    {
        QFETCH(quint64, dwData);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        QFETCH(QString, text);
        const CopyDataMessage msg{quintptr(dwData), quint32(bytes.size()), bytes.constData()};
        const std::optional<QString> got = ::copyDataText(msg);
        QCOMPARE(got.has_value(), shown);
        if (got)
            QCOMPARE(*got, text);
    }

    void copyDataIsConsumedOnlyWithACallback()
    {
        InputHooks hooks(0);
        const QByteArray hello("Hello", 6);
        const CopyDataMessage msg{0x250F, 6, hello.constData()};
        QVERIFY(!hooks.deliverCopyData(msg));
        Recorder rec;
        hooks.installCopyDataFilter(onCopyData, QCoreApplication::instance(), &rec);
        QVERIFY(hooks.deliverCopyData(msg));   // consumed even though no text is shown for it
        QCOMPARE(rec.copyData, (QList<QByteArray>{QByteArray("250f Hello", 11)}));
    }

    void fallbackCaptureFeedsTheWindowsEvents()
    {
        InputHooks hooks(0);
        Recorder rec;
        hooks.setKeyboardCallback(onKey, &rec);
        hooks.setMouseCallback(onMouse, &rec);
        QObject window;
        FallbackCapture capture(hooks);

        const quint32 xKeyA = 30 + 8;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, xKeyA, 0, 0, "a");
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, xKeyA, 0, 0, "a", true);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, xKeyA, 0, 0, "a");
        QKeyEvent synthetic(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
        const QPointF at(3, 4);
        const QPointF global(640, 480);
        QMouseEvent click(QEvent::MouseButtonPress, at, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent side(QEvent::MouseButtonPress, at, at, global, Qt::ForwardButton, Qt::ForwardButton,
                         Qt::NoModifier);
        for (QEvent* e : std::initializer_list<QEvent*>{&press, &repeat, &release, &synthetic, &click, &side})
            QVERIFY(!capture.eventFilter(&window, e));   // the window still gets every event
        QCOMPARE(rec.calls, (QStringList{"key 4 1", "key 4 0", "mouse f0 1 640,480"}));
    }
};

QTEST_MAIN(TestInputHooks)
#include "tst_input_hooks.moc"
