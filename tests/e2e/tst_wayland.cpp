// The real program as a Wayland client (QT_QPA_PLATFORM=wayland) of Weston 10
// nested in Xvfb, on the virtual mouse (tests/e2e/support/desktop_session.h).
// A Wayland client cannot place its own window: dragging the background
// hands the move to the compositor.

#include "support/desktop_session.h"

#include <QtTest>

namespace {

// Window coordinates of the main screen (1024 x 640).
const QPoint kTitleBar(500, 24);                // empty title bar: the background
const QPoint kMinimizeIcon(960, 24);
const QPoint kConfigButton(808, 620);
const QPoint kSaveFace(942, 612);
const QColor kUnsaved(0xff, 0x30, 0x30);
const QColor kDialogTitle(0x3c, 0x3c, 0x3c);
// The profile manager (415 x 288) opens centred; a point of its grey title bar, and its close icon.
const QPoint kProfileTitle((1024 - 415) / 2 + 120, (640 - 288) / 2 + 20);
const QPoint kProfileClose((1024 - 415) / 2 + 415 - 24, (640 - 288) / 2 + 20);
const QPoint kStage1Knob(806, 252);
const QSize kDesktop(1600, 1000);

} // namespace

class Wayland : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void backgroundDragMovesTheWindow();
    void dialogOpensAndCloses();
    void saveReachesTheMouse();
    void secondStartBringsTheWindowBack();

private:
    DesktopSession m_session;
};

void Wayland::initTestCase()
{
    DesktopSession::Options options;
    options.desktop = DesktopSession::Weston;
    options.screen = kDesktop;
    QVERIFY2(m_session.start(options), qPrintable(m_session.error()));
    QVERIFY(m_session.saveScreen(QStringLiteral("wayland_desktop")));
    QVERIFY(m_session.saveScreenshot(QStringLiteral("wayland_main")));
}

void Wayland::backgroundDragMovesTheWindow()
{
    // Towards the middle of the desktop, so that the window stays whole on it.
    const QRect before = m_session.windowGeometry();
    const QRect desktop(QPoint(0, 0), kDesktop);
    const QPoint delta(before.center().x() < desktop.center().x() ? 150 : -150,
                       before.center().y() < desktop.center().y() ? 100 : -100);

    QVERIFY2(m_session.press(kTitleBar.x(), kTitleBar.y()), qPrintable(m_session.error()));
    // The first move hands the drag to the compositor.
    QVERIFY(m_session.moveTo(kTitleBar.x() + delta.x() / 10, kTitleBar.y() + delta.y() / 10));
    QVERIFY2(m_session.waitFor([&] {
        return m_session.programOutput().contains(QLatin1String("moved by the window system"));
    }), qPrintable(m_session.programOutput()));
    for (int i = 2; i <= 10; ++i)
        QVERIFY(m_session.moveTo(kTitleBar.x() + delta.x() * i / 10, kTitleBar.y() + delta.y() * i / 10));
    // The compositor moves the window by the pointer's way from the press.
    const bool moved = m_session.waitForWindow([&](const QRect& r) { return r.topLeft() == before.topLeft() + delta; });
    QVERIFY(m_session.release());
    QVERIFY(m_session.saveScreen(QStringLiteral("wayland_after_drag")));
    QVERIFY2(moved, qPrintable(QStringLiteral("the window is at %1,%2, was at %3,%4")
                                   .arg(m_session.windowGeometry().x()).arg(m_session.windowGeometry().y())
                                   .arg(before.x()).arg(before.y())));
}

void Wayland::dialogOpensAndCloses()
{
    QVERIFY(m_session.pixel(kProfileTitle.x(), kProfileTitle.y()) != kDialogTitle);
    QVERIFY2(m_session.click(kConfigButton.x(), kConfigButton.y()), qPrintable(m_session.error()));
    QVERIFY2(m_session.waitForPixel(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 6),
             "the profile manager did not open");
    QVERIFY(m_session.saveScreenshot(QStringLiteral("wayland_profile_manager")));
    QVERIFY(m_session.click(kProfileClose.x(), kProfileClose.y()));
    QVERIFY2(m_session.waitForPixelGone(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 0),
             "the profile manager did not close");
}

void Wayland::saveReachesTheMouse()
{
    // A drag on a knob moves the knob, not the window.
    const QRect before = m_session.windowGeometry();
    QVERIFY(m_session.drag(kStage1Knob.x(), kStage1Knob.y(), kStage1Knob.x(), kStage1Knob.y() - 132));
    QVERIFY2(m_session.waitForPixel(kSaveFace.x(), kSaveFace.y(), kUnsaved, 8), "Save did not turn red");
    QVERIFY(m_session.waitForWindow([&](const QRect& r) { return r == before; }));
    QVERIFY(m_session.saveScreenshot(QStringLiteral("wayland_dpi_unsaved")));

    const int mark = m_session.traceMark();
    QVERIFY(m_session.click(kSaveFace.x(), kSaveFace.y()));
    QVERIFY2(m_session.waitForCommand(QStringLiteral("11"), mark), "the DPI table did not reach the mouse");
    QVERIFY(m_session.moveTo(500, 600));
    QVERIFY2(m_session.waitForPixelGone(kSaveFace.x(), kSaveFace.y(), kUnsaved, 0),
             "Save stayed red");
}

void Wayland::secondStartBringsTheWindowBack()
{
    // Minimized, the window leaves Weston's desktop.
    QVERIFY(m_session.click(kMinimizeIcon.x(), kMinimizeIcon.y()));
    QVERIFY2(m_session.waitForNoWindow(), "the window did not minimize");
    QVERIFY(m_session.saveScreen(QStringLiteral("wayland_minimized")));

    // A second start, with the token a launcher would give it, hands it on and ends.
    QString output;
    const int rc = m_session.runSecondCopy({{QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("e2e-token-1")}},
                                           &output);
    QCOMPARE(rc, 1);
    QVERIFY2(m_session.waitForWindow([](const QRect&) { return true; }),
             qPrintable(QStringLiteral("the window did not come back: ") + output + m_session.programOutput()));
    QVERIFY(m_session.waitForPixel(kSaveFace.x(), kSaveFace.y(), QColor(0x09, 0x34, 0x7f), 24));
    QVERIFY(m_session.waitFor([&] {
        return m_session.programOutput().contains(QLatin1String("to the front from minimized with an activation token"));
    }));
    QVERIFY(m_session.saveScreen(QStringLiteral("wayland_second_start")));
    // Still the same program, whole and working: a click opens a dialog.
    QVERIFY(m_session.click(kConfigButton.x(), kConfigButton.y()));
    QVERIFY(m_session.waitForPixel(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 6));
    QVERIFY(m_session.click(kProfileClose.x(), kProfileClose.y()));
}

QTEST_MAIN(Wayland)
#include "tst_wayland.moc"
