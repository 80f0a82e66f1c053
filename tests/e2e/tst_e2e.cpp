// The real program under Xvfb on the virtual mouse, driven with real pointer
// events at its window's geometry (tests/e2e/support/stryde_session.h).

#include "support/stryde_session.h"

#include <QtTest>

namespace {

// Window coordinates of the main screen (1024 x 640).
const QPoint kConfigButton(808, 620);
const QPoint kResetButton(888, 620);
const QPoint kSaveFace(942, 612);               // the Save button, away from its text
const QColor kUnsaved(0xff, 0x30, 0x30);
const QColor kDialogTitle(0x3c, 0x3c, 0x3c);
// The reset confirmation (427 x 102) opens centred at (299, 269).
const QPoint kResetOk(299 + 267 + 32, 269 + 68 + 12);
const QPoint kResetCancel(299 + 347 + 32, 269 + 68 + 12);
// A point of the confirmation's Cancel button, whose face is grey (#3c3c3c).
const QPoint kResetShown(kResetCancel.x() - 28, kResetCancel.y() - 10);
// The knob of DPI stage 1 (500 DPI: position 12 of 3 ... 161, 4 stages shown).
const QPoint kStage1Knob(806, 252);

} // namespace

class EndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void configOpensTheProfileManager();
    void movingADpiKnobMarksSaveAndSaveSendsTheTable();
    void resetCancelSendsNothingAndOkResetsTheMouse();

private:
    StrydeSession m_session;
};

void EndToEnd::initTestCase()
{
    QVERIFY2(m_session.start(), qPrintable(m_session.error()));
    QVERIFY(m_session.saveScreenshot(QStringLiteral("e2e_main")));
}

void EndToEnd::configOpensTheProfileManager()
{
    // The profile manager (415 x 288) opens centred; its title bar is grey.
    const QPoint title((1024 - 415) / 2 + 120, (640 - 288) / 2 + 20);
    QVERIFY(m_session.pixel(title.x(), title.y()) != kDialogTitle);
    QVERIFY2(m_session.click(kConfigButton.x(), kConfigButton.y()), qPrintable(m_session.error()));
    QVERIFY2(m_session.waitForPixel(title.x(), title.y(), kDialogTitle, 6), "the profile manager did not open");
    QVERIFY(m_session.saveScreenshot(QStringLiteral("e2e_profile_manager")));
    // Its close icon (right end of the title bar).
    QVERIFY(m_session.click((1024 - 415) / 2 + 415 - 24, (640 - 288) / 2 + 20));
    QVERIFY2(m_session.waitForPixelGone(title.x(), title.y(), kDialogTitle, 0),
             "the profile manager did not close");
}

void EndToEnd::movingADpiKnobMarksSaveAndSaveSendsTheTable()
{
    QVERIFY(m_session.pixel(kSaveFace.x(), kSaveFace.y()) != kUnsaved);
    // Up by 132 pixels: position 144, 5350 DPI.
    QVERIFY2(m_session.drag(kStage1Knob.x(), kStage1Knob.y(), kStage1Knob.x(), kStage1Knob.y() - 132),
             qPrintable(m_session.error()));
    QVERIFY2(m_session.waitForPixel(kSaveFace.x(), kSaveFace.y(), kUnsaved, 8), "Save did not turn red");
    QVERIFY(m_session.saveScreenshot(QStringLiteral("e2e_dpi_unsaved")));

    const int mark = m_session.traceMark();
    QVERIFY(m_session.click(kSaveFace.x(), kSaveFace.y()));
    QVERIFY2(m_session.waitForCommand(QStringLiteral("11"), mark), "the DPI table did not reach the mouse");
    QVERIFY(m_session.waitFor([&] {
        const QStringList v = m_session.readSetting(QStringLiteral("modules/setting/p1.bin"),
                                                    QStringLiteral("mouse/dpiValueArray")).toStringList();
        return v.value(0) == QLatin1String("5350") && v.value(1) == QLatin1String("1000");
    }));
    QCOMPARE(framesStarting(m_session.commands(mark), {QStringLiteral("11")}).size(), 1);
    QVERIFY(m_session.moveTo(500, 600));
    QVERIFY2(m_session.waitForPixelGone(kSaveFace.x(), kSaveFace.y(), kUnsaved, 0),
             "Save stayed red");
}

void EndToEnd::resetCancelSendsNothingAndOkResetsTheMouse()
{
    const int mark = m_session.traceMark();
    QVERIFY(m_session.click(kResetButton.x(), kResetButton.y()));
    QVERIFY(m_session.waitForPixel(kResetShown.x(), kResetShown.y(), kDialogTitle, 8));
    QVERIFY(m_session.saveScreenshot(QStringLiteral("e2e_reset")));
    QVERIFY(m_session.click(kResetCancel.x(), kResetCancel.y()));
    QVERIFY(m_session.waitForPixelGone(kResetShown.x(), kResetShown.y(), kDialogTitle, 0));

    QVERIFY(m_session.click(kResetButton.x(), kResetButton.y()));
    QVERIFY(m_session.waitForPixel(kResetShown.x(), kResetShown.y(), kDialogTitle, 8));
    QVERIFY(m_session.click(kResetOk.x(), kResetOk.y()));
    QVERIFY2(m_session.waitForCommand(QStringLiteral("01 01"), mark), "the report rate was not reset");
    const QStringList sent = m_session.commands(mark);
    // Only the OK sent anything: one reset, ending with stage 3 and report rate 1.
    QCOMPARE(framesStarting(sent, {QStringLiteral("01 01")}).size(), 1);
    QCOMPARE(framesStarting(sent, {QStringLiteral("0b 03")}).size(), 1);
    QVERIFY2(sent.last().startsWith(QStringLiteral("01 01")), qPrintable(sent.join(QLatin1Char('|'))));
    QCOMPARE(m_session.readSetting(QStringLiteral("modules/setting/p1.bin"), QStringLiteral("mouse/dpiValueArray"))
                 .toStringList().value(0), QStringLiteral("500"));
}

QTEST_MAIN(EndToEnd)
#include "tst_e2e.moc"
