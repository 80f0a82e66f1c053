// The HID trace: one line per call at the seam, on the clock's time.

#include "device/clock.h"
#include "device/frame.h"
#include "device/tracing_hid_api.h"
#include "device/virtual_mouse.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

class TestTracingHidApi : public QObject {
    Q_OBJECT
private slots:
    void linesOfAnExchange();
    void failuresAndFile();
};

void TestTracingHidApi::linesOfAnExchange()
{
    VirtualClock clock;
    clock.advance(1000);                       // time counts from the tracer's creation
    VirtualMouse mouse(clock);
    TracingHidApi trace(mouse, clock);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    trace.setDevice(&out);
    trace.notePathRole(VirtualMouse::commandPath(), HidRole::Command);
    trace.notePathRole(VirtualMouse::reportPath(), HidRole::Report);

    HidHandle h = trace.openPath(VirtualMouse::commandPath());
    clock.advance(3);
    const FeatureReport send = toFeatureReport(makeFrame({0x0B, 0x03}));
    QCOMPARE(trace.sendFeatureReport(h, send.data(), send.size()), 9);
    clock.advance(128);
    FeatureReport reply{};
    QCOMPARE(trace.getFeatureReport(h, reply.data(), reply.size()), 9);
    trace.close(h);

    h = trace.openPath(VirtualMouse::reportPath());
    trace.setNonblocking(h, 0);                // not traced
    uchar buf[4];
    QCOMPARE(trace.readTimeout(h, buf, 4, 500), 0);
    mouse.setState([&] { auto s = mouse.state(); s.keyboardOptions[3] = 0x40; return s; }());
    mouse.pressDpiButton();                    // stage 3 (set above) becomes 4
    QCOMPARE(trace.readTimeout(h, buf, 4, 500), 4);
    trace.close(h);
    trace.comment("done");

    QCOMPARE(out.data(),
             QByteArray("0 open cmd\n"
                        "3 set-feature cmd 00 0b 03 00 00 00 00 00 f1\n"
                        "131 get-feature cmd 00 0b 00 00 00 00 00 00 f4\n"
                        "131 close cmd\n"
                        "131 open rep\n"
                        "631 read-timeout rep\n"
                        "631 read rep 06 07 00 04\n"
                        "631 close rep\n"
                        "# done\n"));
    QCOMPARE(mouse.openHandles(), 0);
}

void TestTracingHidApi::failuresAndFile()
{
    VirtualClock clock;
    VirtualMouse mouse(clock);
    TracingHidApi trace(mouse, clock);
    QTemporaryDir dir;
    const QString path = dir.filePath("trace.txt");
    QVERIFY(trace.openFile(path));

    HidHandle h = trace.openPath(VirtualMouse::commandPath());   // role never noted: cmd
    uchar buf[33];
    QCOMPARE(trace.read(h, buf, sizeof buf), -1);                 // nothing queued
    mouse.setOption("noAnswer", "true");
    QCOMPARE(trace.getFeatureReport(h, buf, 9), -1);
    mouse.unplug();
    const uchar out[3] = {0, 1, 2};
    QCOMPARE(trace.write(h, out, 3), -1);
    trace.close(h);
    mouse.plug();
    mouse.setOption("openFail", "true");
    QVERIFY(!trace.openPath(VirtualMouse::reportPath()));
    trace.close(nullptr);                                          // ignored, no line

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));                       // flushed line by line
    QCOMPARE(file.readAll(),
             QByteArray("0 open cmd\n"
                        "0 read cmd error\n"
                        "0 get-feature cmd error\n"
                        "0 write cmd 00 01 02 error\n"
                        "0 close cmd\n"
                        "0 open-fail cmd\n"));
}

QTEST_GUILESS_MAIN(TestTracingHidApi)
#include "tst_tracing_hid_api.moc"
