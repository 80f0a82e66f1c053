// The recoil-preset dialog ("Gun Editor") of the real program under Xvfb on
// the virtual mouse. Its entry is hidden in the product; --show-gun-editor
// shows it. Slot 2 gets another preset, whose pull, period and shot count
// are changed with the pointer and the keys; closing the dialog sends the
// three slots, found in the mouse's HID trace, and the preset library and
// the slot choice are read back from their files.

#include "support/stryde_session.h"

#include <QtTest>

namespace {

// Window coordinates. With the Gun Editor entry shown the editor box holds
// two entries; the second one lies at y 433.
const QPoint kGunEditorEntry(140, 433);
// The dialog (640 x 448) opens centred at (192, 96); its title bar is grey.
const QPoint kDialog(192, 96);
const QPoint kTitleBar = kDialog + QPoint(300, 20);
const QPoint kCloseIcon = kDialog + QPoint(616, 20);
// The slot drop-down (96 wide at x 520, y 50) and its rows of 24 beneath it.
// It takes no click while it opens: it is open when its three rows' bottom
// border (grey) is drawn.
const QPoint kSlotHeader = kDialog + QPoint(568, 62);
const QPoint kSlotRow2 = kDialog + QPoint(558, 110);
const QPoint kSlotListBottom = kDialog + QPoint(598, 50 + 24 + 3 * 24 - 1);
const QColor kGrey(0x3c, 0x3c, 0x3c);
const QColor kRed(0xb2, 0x08, 0x08);
// The preset list starts at (24, 82) with rows of 58; the row shown has a red
// bar at its left edge.
QPoint presetRow(int index) { return kDialog + QPoint(24 + 112, 82 + 1 + 58 * index + 29); }
QPoint presetBar(int index) { return kDialog + QPoint(24 + 2, 82 + 1 + 58 * index + 29); }
// The red dot of the target (at 296, 114): its top lies at 89 + 94 x Y / 64,
// 8 pixels high, 8 wide at x 96. Y 10 puts its centre 221.7 below the dialog's top.
const QPoint kDotAtY10 = kDialog + QPoint(296 + 96 + 4, 114 + 104 + 4);
const QColor kDot(0xff, 0x30, 0x30);
// The rate drop-down slider at (368, 356), 120 wide; open, its slider (x 8 of
// the area below the header, 24 high) has its knob at position period - 1.
const QPoint kRateHeader = kDialog + QPoint(368 + 60, 356 + 12);
const QPoint kRateKnobAt9 = kDialog + QPoint(368 + 8 + 9 + 6, 356 + 23 + 12);
// The bottom border of that area (24 high) once it is open.
const QPoint kRateAreaBottom = kDialog + QPoint(408, 356 + 23 + 24 - 1);
const QColor kKnob(0xe6, 0xe6, 0xe6);
// The Times field at (368, 404), 64 x 20, and the Endness box right of it.
const QPoint kTimesField = kDialog + QPoint(368 + 32, 404 + 10);

const QString kLibrary = QStringLiteral("modules/gun/gunData.bin");

} // namespace

class RecoilEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void aPresetEditedForSlot2ReachesTheMouseOnClose();
};

void RecoilEndToEnd::aPresetEditedForSlot2ReachesTheMouseOnClose()
{
    StrydeSession s;
    StrydeSession::Options options;
    options.arguments << QStringLiteral("--show-gun-editor");
    QVERIFY2(s.start(options), qPrintable(s.error()));
    const auto preset3 = [&] { return s.readSetting(kLibrary, QStringLiteral("gunData/3")).toStringList(); };
    QCOMPARE(preset3(), (QStringList{"SCAR-L", "L-Click", "10", "0", "10", "0"}));

    QVERIFY(s.click(kGunEditorEntry.x(), kGunEditorEntry.y()));
    QVERIFY2(s.waitForPixel(kTitleBar.x(), kTitleBar.y(), kGrey, 6), "the dialog did not open");
    const int opened = s.traceMark();

    // Slot 2 shows its preset, AKM; then SCAR-L takes its place.
    QVERIFY(s.click(kSlotHeader.x(), kSlotHeader.y()));
    QVERIFY2(s.waitForPixel(kSlotListBottom.x(), kSlotListBottom.y(), kGrey, 6), "the slot list did not open");
    QVERIFY(s.click(kSlotRow2.x(), kSlotRow2.y()));
    QVERIFY2(s.waitForPixel(presetBar(1).x(), presetBar(1).y(), kRed, 8), "slot 2 did not show AKM");
    QVERIFY(s.click(presetRow(3).x(), presetRow(3).y()));
    QVERIFY2(s.waitForPixel(presetBar(3).x(), presetBar(3).y(), kRed, 8), "SCAR-L was not shown");
    QVERIFY(s.waitFor([&] {
        return s.readSetting(QStringLiteral("modules/setting/apConfig.bin"), QStringLiteral("mouse/selectGun"))
                   .toStringList() == QStringList({"0", "3", "2"});
    }));

    // The dot 40 pixels down: Y = floor((103.7 + 40 - 89) / 94 x 64) = 37.
    QVERIFY(s.drag(kDotAtY10.x(), kDotAtY10.y(), kDotAtY10.x(), kDotAtY10.y() + 40));
    QVERIFY2(s.waitFor([&] { return preset3().value(4) == QLatin1String("37"); }), qPrintable(preset3().join(',')));
    QVERIFY2(s.waitForPixel(kDotAtY10.x(), kDotAtY10.y() + 40, kDot, 8), "the dot did not stay where it was dropped");

    // The rate knob 20 pixels right: position 29, "30MS".
    QVERIFY(s.click(kRateHeader.x(), kRateHeader.y()));
    QVERIFY2(s.waitForPixel(kRateAreaBottom.x(), kRateAreaBottom.y(), kGrey, 6), "the rate slider did not open");
    QVERIFY(s.waitForPixel(kRateKnobAt9.x(), kRateKnobAt9.y(), kKnob, 8));
    QVERIFY(s.drag(kRateKnobAt9.x(), kRateKnobAt9.y(), kRateKnobAt9.x() + 20, kRateKnobAt9.y(), 5));
    QVERIFY2(s.waitFor([&] { return preset3().value(2) == QLatin1String("30"); }), qPrintable(preset3().join(',')));

    QVERIFY(s.click(kTimesField.x(), kTimesField.y()));
    QVERIFY(s.key(QStringLiteral("ctrl+a")));
    QVERIFY(s.key(QStringLiteral("2")));
    QVERIFY(s.key(QStringLiteral("5")));
    QVERIFY(s.key(QStringLiteral("Return")));
    QVERIFY2(s.waitFor([&] { return preset3().value(5) == QLatin1String("25"); }), qPrintable(preset3().join(',')));
    QCOMPARE(preset3(), (QStringList{"SCAR-L", "L-Click", "30", "0", "37", "25"}));
    QVERIFY(s.saveScreenshot(QStringLiteral("e2e_recoil")));

    // Editing stores only; the mouse hears of it when the dialog closes.
    const int closing = s.traceMark();
    QVERIFY2(framesStarting(s.commands(opened), {QStringLiteral("04"), QStringLiteral("12")}, 17).isEmpty(),
             qPrintable(s.commands(opened).join(QLatin1Char('\n'))));
    QVERIFY(s.click(kCloseIcon.x(), kCloseIcon.y()));
    QVERIFY2(s.waitForCommand(QStringLiteral("12 01"), closing), "the button map was not sent");
    QVERIFY(s.waitForPixelGone(kTitleBar.x(), kTitleBar.y(), kGrey, 0));
    // Slots 1-3 as times, x, y and slot index (the mouse's third keyboard
    // option is clear, so Y goes out as it is); no button is a recoil button,
    // so the button map is matrix 1 alone.
    QCOMPARE(framesStarting(s.commands(closing), {QStringLiteral("04"), QStringLiteral("12")}, 17),
             (QStringList{"04 00 00 00 0a 00", "04 00 19 00 25 01", "04 00 00 00 0a 02", "12 01 40 08 00 00"}));
    QCOMPARE(preset3(), (QStringList{"SCAR-L", "L-Click", "30", "0", "37", "25"}));
}

QTEST_MAIN(RecoilEndToEnd)
#include "tst_recoil.moc"
