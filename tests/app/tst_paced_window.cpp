// The window while the mouse is written: the pauses of a command keep the GUI
// thread's event loop running, so animations move on, while the pacing the
// mouse needs stays exactly as it was.

#include "support/link_rig.h"

#include <QAbstractAnimation>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>
#include <memory>

namespace {

// Animation time is the virtual clock's. The animations step whenever the GUI
// thread runs its events (a zero-interval timer), as a display's frames would.
class VirtualAnimationDriver : public QAnimationDriver {
public:
    explicit VirtualAnimationDriver(const VirtualClock& clock) : m_clock(clock) {}
    qint64 elapsed() const override { return m_clock.nowMs(); }
    std::function<void()> onFrame;

protected:
    void start() override
    {
        QAnimationDriver::start();
        m_timer = startTimer(0);
    }
    void stop() override
    {
        killTimer(m_timer);
        QAnimationDriver::stop();
    }
    void timerEvent(QTimerEvent*) override
    {
        advance();
        if (onFrame)
            onFrame();
    }

private:
    const VirtualClock& m_clock;
    int m_timer = 0;
};

} // namespace

class TestPacedWindow : public QObject {
    Q_OBJECT
private slots:
    void animationMovesWhileAMacroIsWritten()
    {
        LinkRig rig(553);
        QCOMPARE(rig.check(), 1);
        rig.mouse->clearReceived();
        rig.clock.setGuiFrameMs(16);
        VirtualAnimationDriver driver(rig.clock);
        driver.install();

        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick\n"
                          "Item { property real pos: 0\n"
                          "       NumberAnimation on pos { from: 0; to: 100000; duration: 100000 } }\n",
                          QUrl());
        std::unique_ptr<QObject> item(component.create());
        QVERIFY2(item, qPrintable(component.errorString()));
        QCoreApplication::processEvents();
        const qreal before = item->property("pos").toReal();

        QList<qreal> positions;
        driver.onFrame = [&] { positions.append(item->property("pos").toReal()); };
        const QByteArray macro(128, '\x21');
        const int mark = rig.traceSize();
        const qint64 start = rig.clock.nowMs();
        rig.hid.hid553_13H_SetMacroKey(3, reinterpret_cast<const uchar*>(macro.constData()));
        const qint64 took = rig.clock.nowMs() - start;
        driver.onFrame = nullptr;

        // The pauses are what they always were: 128 ms after the frame, 120 ms
        // after each of the four chunks, 128 ms after the payload.
        QCOMPARE(took, qint64(128 + 4 * 120 + 128));
        const QList<TraceEvent> events = rig.traceSince(mark);
        const QList<TraceEvent> frames = eventsNamed(events, QStringLiteral("set-feature"));
        const QList<TraceEvent> chunks = eventsNamed(events, QStringLiteral("write"));
        QCOMPARE(frames.size(), 1);
        QCOMPARE(chunks.size(), 4);
        for (int i = 0; i < chunks.size(); ++i)
            QCOMPARE(chunks.at(i).ms - frames.at(0).ms, qint64(128 + 120 * i));
        QCOMPARE(rig.mouse->received().size(), 1);
        QCOMPARE(rig.mouse->received().at(0).payload, macro);

        // Meanwhile the animation moved on, frame by frame, with the time that passed.
        QVERIFY2(positions.size() >= took / 16, qPrintable(QString::number(positions.size())));
        for (int i = 1; i < positions.size(); ++i)
            QVERIFY(positions.at(i) >= positions.at(i - 1));
        const qreal moved = item->property("pos").toReal() - before;
        QVERIFY2(moved >= took - 16 && moved <= took, qPrintable(QString::number(moved)));

        item.reset();
        driver.uninstall();
    }
};

QTEST_MAIN(TestPacedWindow)
#include "tst_paced_window.moc"
