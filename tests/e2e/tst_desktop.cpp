// The program on a desktop with and without a tray: the real program under
// Xvfb, a real tray host (trayer) and a real notification daemon (dunst on a
// bus of its own), driven with real pointer events.

#include "support/stryde_session.h"

#include <QtTest>

namespace {

// Window coordinates of the title bar's icons and the help menu (x 724, y 30,
// 200 wide: its own two entries, then the tray menu's, 24 high, with a
// 9-high separator before "Restore mouse backup…").
const QPoint kHelpIcon(928, 24);
const QPoint kCloseIcon(992, 24);
const QPoint kMenuPressDpi(824, 31 + 2 * 24 + 12);
const QPoint kMenuPlugIn(824, 31 + 4 * 24 + 12);
const QPoint kMenuQuit(824, 31 + 6 * 24 + 9 + 12);
// The waiting panel's red accent mark, and the Save button's resting face
// (the main screen is up).
const QPoint kWaitingMark(303, 288);
// The waiting panel's pulse (x 316 to 328) never rests: a wait on the waiting
// screen asks the part of the window left of it to rest, a wait on the help
// menu the menu.
const QRect kLeftOfPulse(0, 0, 314, 640);
const QRect kHelpMenu(724, 30, 200, 220);
const QColor kRed(0xb2, 0x08, 0x08);
const QPoint kSaveFace(942, 612);
const QColor kSaveBlue(0x09, 0x34, 0x7f);
// The tray menu: 22-high entries under a 1-pixel border; "Press DPI button" first.
constexpr int kTrayEntryHeight = 22;

QStringList startUnplugged() { return {QStringLiteral("--virtual-option"), QStringLiteral("plugged=false")}; }

bool hasNotice(const QStringList& notices, const QString& text)
{
    return std::any_of(notices.cbegin(), notices.cend(), [&](const QString& n) { return n.contains(text); });
}

} // namespace

class Desktop : public QObject {
    Q_OBJECT
private slots:
    void withoutATrayTheWindowIsTheProgram();
    void withATrayTheWindowGoesToTheTray();
    void theWindowFollowsATrayThatComesAndGoes();
};

// No tray: a start without the mouse shows the window waiting for it; the
// help menu plays the tray menu's part; the DPI notice reaches the
// notification daemon; the close button ends the program.
void Desktop::withoutATrayTheWindowIsTheProgram()
{
    StrydeSession s;
    StrydeSession::Options o;
    o.ready = StrydeSession::Options::Ready::Window;
    o.notificationDaemon = true;
    o.language = QStringLiteral("English");
    o.arguments = startUnplugged();
    QVERIFY2(s.start(o), qPrintable(s.error()));
    QVERIFY2(s.waitForPixel(kWaitingMark.x(), kWaitingMark.y(), kRed, 24, 5000, kLeftOfPulse), "the window does not say it waits");
    QVERIFY(s.windowShown());
    QVERIFY(s.saveScreenshot(QStringLiteral("desktop_no_tray_waiting")));

    QVERIFY2(s.click(kHelpIcon.x(), kHelpIcon.y()), qPrintable(s.error()));
    // The hover colour under the pointer once it rests on "Plug in".
    QVERIFY(s.moveTo(kMenuPlugIn.x() - 20, kMenuPlugIn.y()));   // then the click moves the pointer on
    QVERIFY2(s.waitForPixel(kMenuPlugIn.x() + 80, kMenuPlugIn.y() - 8, kRed, 24, 5000, kHelpMenu), "the help menu has no tray entries");
    QVERIFY(s.saveScreenshot(QStringLiteral("desktop_no_tray_menu")));
    QVERIFY(s.click(kMenuPlugIn.x(), kMenuPlugIn.y()));
    QVERIFY2(s.waitForPixel(kSaveFace.x(), kSaveFace.y(), kSaveBlue, 24, 30000), "the pages did not come");
    QVERIFY2(s.waitForNotice(QStringLiteral("Info|Detect Device")), qPrintable(s.notices().join(QLatin1Char(';'))));

    QVERIFY(s.click(kHelpIcon.x(), kHelpIcon.y()));
    QVERIFY(s.moveTo(kMenuPressDpi.x() - 20, kMenuPressDpi.y()));   // then the click moves the pointer on
    QVERIFY(s.waitForPixel(kMenuPressDpi.x() + 80, kMenuPressDpi.y() - 8, kRed, 24));
    QVERIFY(s.click(kMenuPressDpi.x(), kMenuPressDpi.y()));
    QVERIFY2(s.waitForNotice(QStringLiteral("Info|DPI Switch to Stage ")), qPrintable(s.notices().join(QLatin1Char(';'))));
    QVERIFY(s.saveScreenScreenshot(QStringLiteral("desktop_no_tray_dpi_notice")));

    QVERIFY(s.click(kCloseIcon.x(), kCloseIcon.y()));
    QCOMPARE(s.waitForExit(10000), 0);
}

// With a tray: the icon docks; the close button hides the window and the
// program stays; the tray menu presses the DPI button and the notice is the
// tray's balloon, not a desktop notification; a double click brings the
// window back.
void Desktop::withATrayTheWindowGoesToTheTray()
{
    StrydeSession s;
    StrydeSession::Options o;
    o.trayHost = true;
    o.notificationDaemon = true;
    o.language = QStringLiteral("English");
    QVERIFY2(s.start(o), qPrintable(s.error()));
    QRect icon;
    QVERIFY2(s.waitFor([&] { return !(icon = s.trayIconGeometry()).isEmpty(); }), "no icon in the tray");
    QVERIFY(s.saveScreenScreenshot(QStringLiteral("desktop_tray")));

    QVERIFY(s.click(kCloseIcon.x(), kCloseIcon.y()));
    QVERIFY2(s.waitFor([&] { return !s.windowShown(); }), "the window stayed");
    QVERIFY(s.programRunning());

    const int mark = s.traceMark();
    QVERIFY2(s.clickAt(icon.center(), 3), qPrintable(s.error()));
    QRect menu;
    QVERIFY2(s.waitFor([&] {
        for (const QRect& r : s.programWindows()) {
            if (r.width() > 64 && r.height() > 5 * kTrayEntryHeight && r != s.windowGeometry())
                menu = r;
        }
        return !menu.isEmpty();
    }), "the tray menu did not open");
    QVERIFY(s.saveScreenScreenshot(QStringLiteral("desktop_tray_menu")));
    QVERIFY(s.clickAt(QPoint(menu.x() + 40, menu.y() + 1 + kTrayEntryHeight / 2)));
    // The DPI-switch report reached the program; its notice is the tray's balloon.
    QVERIFY2(s.waitFor([&] {
        const QStringList lines = s.traceLines(mark);
        return std::any_of(lines.cbegin(), lines.cend(), [](const QString& l) { return l.contains(QStringLiteral(" read rep 06 07")); });
    }), "the DPI button's report was not read");
    QVERIFY2(s.waitFor([&] {
        const QList<QRect> shown = s.programWindows();
        return std::any_of(shown.cbegin(), shown.cend(), [&](const QRect& r) { return r.width() > 64 && r != menu; });
    }), "no balloon from the tray");
    QVERIFY(s.saveScreenScreenshot(QStringLiteral("desktop_tray_dpi_balloon")));
    QVERIFY2(!hasNotice(s.notices(), QStringLiteral("DPI")), qPrintable(s.notices().join(QLatin1Char(';'))));
    QVERIFY(!s.windowShown());

    QVERIFY(s.clickAt(icon.center(), 1, 2));
    QVERIFY2(s.waitFor([&] { return s.windowShown(); }), "a double click did not bring the window back");
    QVERIFY(s.waitForPixel(kSaveFace.x(), kSaveFace.y(), kSaveBlue, 24));
}

// Started without a tray and without the mouse; a tray host starts: the
// icon docks and the window's close now puts it in the tray. The tray host
// ends: the window comes back out of the tray, still waiting; with no
// notification service the notices are logged.
void Desktop::theWindowFollowsATrayThatComesAndGoes()
{
    StrydeSession s;
    StrydeSession::Options o;
    o.ready = StrydeSession::Options::Ready::Window;
    o.language = QStringLiteral("ChineseSimplified");
    o.arguments = startUnplugged();
    QVERIFY2(s.start(o), qPrintable(s.error()));
    QVERIFY(s.waitForPixel(kWaitingMark.x(), kWaitingMark.y(), kRed, 24, 5000, kLeftOfPulse));
    QVERIFY(s.saveScreenshot(QStringLiteral("desktop_no_tray_waiting_zh")));

    QVERIFY2(s.startTrayHost(), qPrintable(s.error()));
    QVERIFY2(s.waitFor([&] { return !s.trayIconGeometry().isEmpty(); }), "the icon did not dock");
    QVERIFY2(s.waitFor([&] { return s.programOutput().contains(QStringLiteral("a system tray appeared")); }),
             qPrintable(s.programOutput()));
    QVERIFY(s.saveScreenScreenshot(QStringLiteral("desktop_tray_came")));
    QVERIFY(s.click(kCloseIcon.x(), kCloseIcon.y()));
    QVERIFY2(s.waitFor([&] { return !s.windowShown(); }), "the window stayed");
    QVERIFY(s.programRunning());

    s.stopTrayHost();
    QVERIFY2(s.waitForWindow(), "the window did not come back when the tray went");
    QVERIFY(s.waitForPixel(kWaitingMark.x(), kWaitingMark.y(), kRed, 24, 5000, kLeftOfPulse));
    // No notification service on this session's bus: the notices are logged.
    QVERIFY(s.click(kHelpIcon.x(), kHelpIcon.y()));
    QVERIFY(s.moveTo(kMenuPlugIn.x() - 20, kMenuPlugIn.y()));
    QVERIFY(s.waitForPixel(kMenuPlugIn.x() + 80, kMenuPlugIn.y() - 8, kRed, 24, 5000, kHelpMenu));
    QVERIFY(s.click(kMenuPlugIn.x(), kMenuPlugIn.y()));
    QVERIFY2(s.waitFor([&] {
        const QString out = s.programOutput();
        return out.contains(QStringLiteral("no notification service took it")) && out.contains(QStringLiteral("Detect Device"));
    }, 30000), qPrintable(s.programOutput()));
    QVERIFY(s.waitForPixel(kSaveFace.x(), kSaveFace.y(), kSaveBlue, 24, 30000));
    QVERIFY(s.click(kHelpIcon.x(), kHelpIcon.y()));
    QVERIFY(s.moveTo(kMenuQuit.x() - 20, kMenuQuit.y()));   // then the click moves the pointer on
    QVERIFY(s.waitForPixel(kMenuQuit.x() + 80, kMenuQuit.y() - 8, kRed, 24));
    QVERIFY(s.click(kMenuQuit.x(), kMenuQuit.y()));
    QCOMPARE(s.waitForExit(10000), 0);
}

QTEST_MAIN(Desktop)
#include "tst_desktop.moc"
