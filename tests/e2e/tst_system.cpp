// The system settings dialog of the real program under Xvfb: the pointer
// speed and the double-click speed set with the pointer, the wheel's rows
// typed, then "Scroll one Screen" chosen; what the desktop now holds is read
// back with gsettings, what the profile holds from its file. Later the reset
// icon puts the profile's defaults back at once.

#include "support/stryde_session.h"

#include <QtTest>

namespace {

// Window coordinates of the main screen.
const QPoint kSystemSettingButton(140, 520);    // the last entry of the left column
// The dialog (416 x 312) opens centred at (304, 164); its title bar is grey.
const QPoint kDialog(304, 164);
const QPoint kTitleBar = kDialog + QPoint(256, 20);
const QColor kDialogTitle(0x3c, 0x3c, 0x3c);
const QPoint kResetIcon = kDialog + QPoint(359, 20);
const QPoint kCloseIcon = kDialog + QPoint(392, 20);
// Both sliders lie at x 32 of the dialog, 352 wide: a knob at position p has
// its centre at x 32 + p + 6. The profile starts with mouse speed 170.
const int kSliderLeft = kDialog.x() + 32;
const int kMouseSpeedY = kDialog.y() + 82 + 6;
const int kDoubleSpeedY = kDialog.y() + 158 + 6;
const QPoint kMouseSpeedKnob(kSliderLeft + 170 + 6, kMouseSpeedY);
// A click on the track brings the knob's centre under the pointer: position 300.
const QPoint kDoubleSpeedAt300(kSliderLeft + 300 + 6, kDoubleSpeedY);
// The scroll rows: the field right of "Number of Rows", and the two radio
// boxes, filled red when chosen.
const QPoint kRowsField = kDialog + QPoint(193, 254);
const QPoint kRowsRadio = kDialog + QPoint(39, 254);
const QPoint kScreenRadio = kDialog + QPoint(39, 284);
const QColor kChosen(0xb2, 0x08, 0x08);

const QString kSchema = QStringLiteral("org.gnome.desktop.peripherals.mouse");
const QString kProfile = QStringLiteral("modules/setting/p1.bin");
// GNOME has no wheel-lines setting: each scroll change is logged as not applied.
const QString kScrollNotApplied = QStringLiteral("setVerticalScrollLines Failed");

} // namespace

class SystemSettingsEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void pointerSettingsReachTheDesktopAndTheProfile();

private:
    bool desktopSpeedIs(StrydeSession& s, double speed) const
    {
        bool ok = false;
        const double value = s.desktopSetting(kSchema, QStringLiteral("speed")).toDouble(&ok);
        return ok && qAbs(value - speed) < 0.001;
    }
    bool storedIs(StrydeSession& s, const QString& key, int value) const
    {
        return s.readSetting(kProfile, key).toString() == QString::number(value);
    }
};

void SystemSettingsEndToEnd::pointerSettingsReachTheDesktopAndTheProfile()
{
    StrydeSession s;
    QVERIFY2(s.start(), qPrintable(s.error()));
    const int mark = s.traceMark();

    QVERIFY(s.click(kSystemSettingButton.x(), kSystemSettingButton.y()));
    QVERIFY2(s.waitForPixel(kTitleBar.x(), kTitleBar.y(), kDialogTitle, 6), "the dialog did not open");

    // Left by 100: position 70 is level 3, the system's speed 6, GNOME's -0.4.
    QVERIFY(s.drag(kMouseSpeedKnob.x(), kMouseSpeedKnob.y(), kMouseSpeedKnob.x() - 100, kMouseSpeedKnob.y()));
    QVERIFY2(s.waitFor([&] { return desktopSpeedIs(s, -0.4); }),
             qPrintable(s.desktopSetting(kSchema, QStringLiteral("speed"))));
    // Position 300 is level 9: 900 - 9 x 70 ms.
    QVERIFY(s.click(kDoubleSpeedAt300.x(), kDoubleSpeedAt300.y()));
    QVERIFY2(s.waitFor([&] { return s.desktopSetting(kSchema, QStringLiteral("double-click")) == QLatin1String("270"); }),
             qPrintable(s.desktopSetting(kSchema, QStringLiteral("double-click"))));

    const int notApplied = s.programOutput().count(kScrollNotApplied);
    QVERIFY(s.click(kRowsField.x(), kRowsField.y()));
    QVERIFY(s.key(QStringLiteral("ctrl+a")));
    QVERIFY(s.key(QStringLiteral("7")));
    QVERIFY(s.key(QStringLiteral("Return")));
    QVERIFY2(s.waitFor([&] { return storedIs(s, QStringLiteral("mouse/scrollRate"), 7); }), "7 rows were not stored");
    QVERIFY(s.waitFor([&] { return s.programOutput().count(kScrollNotApplied) == notApplied + 1; }));

    QVERIFY(s.click(kScreenRadio.x(), kScreenRadio.y()));
    QVERIFY2(s.waitForPixel(kScreenRadio.x(), kScreenRadio.y(), kChosen, 8), "one screen was not chosen");
    QVERIFY(s.waitFor([&] { return storedIs(s, QStringLiteral("mouse/scrollRate"), 1000); }));
    QVERIFY(s.waitFor([&] { return s.programOutput().count(kScrollNotApplied) == notApplied + 2; }));
    QVERIFY(s.pixel(kRowsRadio.x(), kRowsRadio.y()) != kChosen);
    QVERIFY(s.saveScreenshot(QStringLiteral("e2e_system")));

    QVERIFY(s.click(kCloseIcon.x(), kCloseIcon.y()));
    QVERIFY2(s.waitForPixelGone(kTitleBar.x(), kTitleBar.y(), kDialogTitle, 0), "the dialog did not close");
    QVERIFY(storedIs(s, QStringLiteral("mouse/mouseRate"), 70));
    QVERIFY(storedIs(s, QStringLiteral("mouse/doubleRate"), 300));
    // The pointer settings belong to the system: nothing went to the mouse.
    QVERIFY2(s.commands(mark).isEmpty(), qPrintable(s.commands(mark).join(QLatin1Char('\n'))));

    // Opened again it shows what was chosen; its reset icon applies the
    // profile's defaults at once: position 170 (level 5, speed 10: GNOME's 0),
    // 188 (level 6: 480 ms) and 3 rows.
    QVERIFY(s.click(kSystemSettingButton.x(), kSystemSettingButton.y()));
    QVERIFY(s.waitForPixel(kTitleBar.x(), kTitleBar.y(), kDialogTitle, 6));
    QVERIFY(s.waitForPixel(kScreenRadio.x(), kScreenRadio.y(), kChosen, 8));
    QVERIFY(s.click(kResetIcon.x(), kResetIcon.y()));
    QVERIFY2(s.waitForPixel(kRowsRadio.x(), kRowsRadio.y(), kChosen, 8), "the reset did not choose rows");
    QVERIFY(s.waitFor([&] { return desktopSpeedIs(s, 0.0); }));
    QVERIFY(s.waitFor([&] { return s.desktopSetting(kSchema, QStringLiteral("double-click")) == QLatin1String("480"); }));
    QVERIFY(s.waitFor([&] { return storedIs(s, QStringLiteral("mouse/scrollRate"), 3); }));
    QVERIFY(storedIs(s, QStringLiteral("mouse/mouseRate"), 170));
    QVERIFY(storedIs(s, QStringLiteral("mouse/doubleRate"), 188));
    QVERIFY(s.commands(mark).isEmpty());
}

QTEST_MAIN(SystemSettingsEndToEnd)
#include "tst_system.moc"
