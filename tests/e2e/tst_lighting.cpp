// The lighting panel of the real program under Xvfb on the virtual mouse:
// an effect and a colour picked with real pointer events, Save pressed, and
// the lighting bytes found in the mouse's HID trace.

#include "support/stryde_session.h"

#include <QtTest>

namespace {

// Window coordinates. The lighting panel lies at (768, 320), under the DPI panel.
const QPoint kEffectHeader(840, 372);
const QPoint kEffectRow0(870, 396);             // "Static", the current row: drawn red while open
const QPoint kEffectNeon(830, 444);             // row 2
const QColor kCurrentRow(0xb2, 0x08, 0x08);
// The list takes no click while it opens: it is open when the bottom border
// (grey) of its five rows is drawn below the header (360 + 24).
const QPoint kEffectListBottom(840, 384 + 5 * 24 - 1);
const QColor kBorder(0x3c, 0x3c, 0x3c);
// With a speed slider shown the colour area starts at y 440.
const QPoint kBlock1(793, 467);
const QPoint kBlock8(975, 467);
// The hue bar starts at x 791; position 75 lies in section 2: 00 ff 7f.
const QPoint kBarAt75(791 + 75, 501);
const QPoint kSaveFace(942, 612);
const QColor kUnsaved(0xff, 0x30, 0x30);

} // namespace

class LightingEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void pickEffectAndColourThenSave();
};

void LightingEndToEnd::pickEffectAndColourThenSave()
{
    StrydeSession s;
    QVERIFY2(s.start(), qPrintable(s.error()));

    QVERIFY(s.click(kEffectHeader.x(), kEffectHeader.y()));
    QVERIFY2(s.waitForPixel(kEffectListBottom.x(), kEffectListBottom.y(), kBorder, 6), "the effect list did not open");
    QVERIFY2(s.waitForPixel(kEffectRow0.x(), kEffectRow0.y(), kCurrentRow, 8), "the current row is not marked");
    QVERIFY(s.saveScreenshot(QStringLiteral("e2e_lighting_effects")));
    QVERIFY(s.click(kEffectNeon.x(), kEffectNeon.y()));
    QVERIFY2(s.waitForPixel(kBlock8.x(), kBlock8.y(), QColor(Qt::white), 8), "Neon did not show the eighth block");

    QVERIFY(s.click(kBarAt75.x(), kBarAt75.y()));
    QVERIFY2(s.waitForPixel(kBlock1.x(), kBlock1.y(), QColor(0x00, 0xff, 0x7f), 8), "block 1 did not take the colour");
    QVERIFY2(s.waitForPixel(kSaveFace.x(), kSaveFace.y(), kUnsaved, 8), "Save did not turn red");
    QVERIFY(s.saveScreenshot(QStringLiteral("e2e_lighting_neon")));

    const int mark = s.traceMark();
    QVERIFY(s.click(kSaveFace.x(), kSaveFace.y()));
    // Neon at speed step 0 (10) on an RGB mouse: effect 3, speed byte 0x0a.
    QVERIFY2(s.waitForCommand(QStringLiteral("0d 03 00 0a"), mark), "the effect did not reach the mouse");
    QVERIFY(s.waitFor([&] { return s.commands(mark).size() >= 4; }));
    QStringList frames;
    for (const QString& f : s.commands(mark))
        frames << f.left(11);
    QCOMPARE(frames, (QStringList{"10 00 18 00", "10 00 18 00", "0d 03 00 0a", "0d 03 00 0a"}));

    // The colour table went out as the payload of the 10H command.
    bool colours = false;
    for (const QString& line : s.traceLines(mark))
        colours = colours || (line.contains(QLatin1String(" write cmd ")) && line.contains(QLatin1String("00 ff 7f 00 ff 00 00 00 ff")));
    QVERIFY2(colours, qPrintable(s.traceLines(mark).join(QLatin1Char('\n'))));
    QCOMPARE(s.readSetting(QStringLiteral("modules/setting/p1.bin"), QStringLiteral("mouse/lightValue")).toStringList(),
             (QStringList{"2", "0", "4"}));
    QCOMPARE(s.readSetting(QStringLiteral("modules/setting/p1.bin"), QStringLiteral("mouse/colorValue"))
                 .toStringList().mid(0, 3),
             (QStringList{"0", "255", "127"}));
}

QTEST_MAIN(LightingEndToEnd)
#include "tst_lighting.moc"
