// The real program on an X server (Xvfb, bare or with Openbox) at scale
// factors 1, 1.5 and 2 (tests/e2e/support/desktop_session.h): the window
// drag, taken over by the window manager or done by the program, and the
// skin's pictures on a high-density screen.

#include "support/desktop_session.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QPoint kTitleBar(500, 24);                // empty title bar: the background
const QPoint kConfigButton(808, 620);
const QColor kDialogTitle(0x3c, 0x3c, 0x3c);
const QPoint kProfileTitle((1024 - 415) / 2 + 120, (640 - 288) / 2 + 20);
const QPoint kProfileClose((1024 - 415) / 2 + 415 - 24, (640 - 288) / 2 + 20);
// The title logo's place in the window and its SVG.
const QPoint kLogoAt(27, 12);
const char kLogoSvg[] = STRYDE_SOURCE_DIR "/modules/img/svg/window/titleLogo.svg";

QImage renderSvg(const QString& svg, double zoom, const QString& dir)
{
    const QString out = dir + QStringLiteral("/render-%1.png").arg(zoom);
    QProcess rsvg;
    rsvg.start(QStringLiteral("rsvg-convert"),
               {QStringLiteral("--zoom=%1").arg(zoom), QStringLiteral("--output=") + out, svg});
    if (!rsvg.waitForFinished(30000) || rsvg.exitCode() != 0)
        return QImage();
    return QImage(out).convertToFormat(QImage::Format_ARGB32);
}

// The mean difference per colour channel between `shot` and the pixels of
// `picture` that are fully opaque (where nothing of what lies under the
// picture shows through).
double opaqueDifference(const QImage& shot, const QImage& picture)
{
    qint64 sum = 0;
    qint64 count = 0;
    for (int y = 0; y < picture.height() && y < shot.height(); ++y) {
        for (int x = 0; x < picture.width() && x < shot.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if (qAlpha(p) != 255)
                continue;
            const QRgb s = shot.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(s)) + qAbs(qGreen(p) - qGreen(s)) + qAbs(qBlue(p) - qBlue(s));
            count += 3;
        }
    }
    return count ? double(sum) / double(count) : 255.0;
}

} // namespace

class X11Desktop : public QObject {
    Q_OBJECT
private slots:
    void withoutWindowManagerTheProgramMovesItsWindow();
    void withAWindowManagerItMovesTheWindow();
    void skinAtScale_data();
    void skinAtScale();
};

void X11Desktop::withoutWindowManagerTheProgramMovesItsWindow()
{
    DesktopSession session;
    QVERIFY2(session.start(DesktopSession::Options{}), qPrintable(session.error()));
    const QRect before = session.windowGeometry();
    // A drag of the background: no window manager takes it, the program
    // follows the pointer itself.
    QVERIFY(session.drag(kTitleBar.x(), kTitleBar.y(), kTitleBar.x() + 150, kTitleBar.y() + 100));
    QVERIFY2(session.waitForWindow([&](const QRect& r) { return r.topLeft() == before.topLeft() + QPoint(150, 100); }),
             qPrintable(QStringLiteral("the window is at %1,%2").arg(session.windowGeometry().x())
                            .arg(session.windowGeometry().y())));
    QVERIFY(session.programOutput().contains(QLatin1String("moved by the program")));
    QVERIFY(session.saveScreen(QStringLiteral("x11_after_drag")));

    // The mask under a dialog drags the window the same way.
    QVERIFY(session.click(kConfigButton.x(), kConfigButton.y()));
    QVERIFY(session.waitForPixel(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 6));
    const QRect withDialog = session.windowGeometry();
    QVERIFY(session.drag(60, 400, 20, 360));
    QVERIFY(session.waitForWindow([&](const QRect& r) { return r.topLeft() == withDialog.topLeft() - QPoint(40, 40); }));
    QVERIFY(session.saveScreen(QStringLiteral("x11_after_mask_drag")));
    QVERIFY(session.click(kProfileClose.x(), kProfileClose.y()));
    QVERIFY(session.waitForPixelGone(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 0));
}

void X11Desktop::withAWindowManagerItMovesTheWindow()
{
    DesktopSession session;
    DesktopSession::Options options;
    options.desktop = DesktopSession::X11Openbox;
    QVERIFY2(session.start(options), qPrintable(session.error()));
    const QRect before = session.windowGeometry();
    const QPoint delta(before.x() < 300 ? 150 : -150, before.y() < 180 ? 100 : -100);
    const QPoint first = delta / 10;
    QVERIFY(session.press(kTitleBar.x(), kTitleBar.y()));
    // The first move hands the drag to the window manager, which moves the
    // window from where the pointer is then.
    QVERIFY(session.moveTo(kTitleBar.x() + first.x(), kTitleBar.y() + first.y()));
    QVERIFY2(session.waitFor([&] { return session.programOutput().contains(QLatin1String("moved by the window system")); }),
             qPrintable(session.programOutput()));
    for (int i = 2; i <= 10; ++i)
        QVERIFY(session.moveTo(kTitleBar.x() + delta.x() * i / 10, kTitleBar.y() + delta.y() * i / 10));
    const bool moved = session.waitForWindow([&](const QRect& r) { return r.topLeft() == before.topLeft() + delta - first; });
    QVERIFY(session.release());
    QVERIFY(session.saveScreen(QStringLiteral("x11_openbox_after_drag")));
    QVERIFY2(moved, qPrintable(QStringLiteral("the window is at %1,%2, was at %3,%4").arg(session.windowGeometry().x())
                                   .arg(session.windowGeometry().y()).arg(before.x()).arg(before.y())));
    // The program takes clicks as before: a dialog opens.
    QVERIFY(session.click(kConfigButton.x(), kConfigButton.y()));
    QVERIFY(session.waitForPixel(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 6));
}

void X11Desktop::skinAtScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("1") << 1.0;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
}

// At a scale above 1 the window is drawn from the pictures rendered at twice
// the size: at 2 the title logo on screen is the SVG's own rendering at that
// size, pixel for pixel, not the small picture enlarged.
void X11Desktop::skinAtScale()
{
    QFETCH(double, scale);
    DesktopSession session;
    DesktopSession::Options options;
    options.scale = scale;
    options.screen = QSize(2200, 1400);
    QVERIFY2(session.start(options), qPrintable(session.error()));
    QCOMPARE(session.windowGeometry().size(), QSize(qRound(1024 * scale), qRound(640 * scale)));
    const QString name = QStringLiteral("x11_scale_%1").arg(QString::number(scale).replace(QLatin1Char('.'), QLatin1Char('_')));
    QVERIFY(session.saveScreenshot(name));

    // Open a dialog too, to look at.
    QVERIFY(session.click(kConfigButton.x(), kConfigButton.y()));
    QVERIFY(session.waitForPixel(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 6));
    QVERIFY(session.saveScreenshot(name + QStringLiteral("_dialog")));
    QVERIFY(session.click(kProfileClose.x(), kProfileClose.y()));
    QVERIFY(session.waitForPixelGone(kProfileTitle.x(), kProfileTitle.y(), kDialogTitle, 0));

    if (scale == 1.5)
        return;     // drawn from the 2x pictures made smaller: no rendering to match exactly
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QImage exact = renderSvg(QString::fromLatin1(kLogoSvg), scale, dir.path());
    const QImage small = renderSvg(QString::fromLatin1(kLogoSvg), 1, dir.path());
    QVERIFY(!exact.isNull() && !small.isNull());
    const QImage enlarged = small.scaled(exact.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage shot = session.grabWindow().copy(QRect(kLogoAt * scale, exact.size()));
    shot.save(QStringLiteral(STRYDE_BIN_DIR "/../screenshots/") + name + QStringLiteral("_logo.png"));
    const double toExact = opaqueDifference(shot, exact);
    const double toEnlarged = opaqueDifference(shot, enlarged);
    qInfo("scale %g: the logo differs by %.2f from the SVG rendered at that scale, by %.2f from the 1x picture enlarged",
          scale, toExact, toEnlarged);
    QVERIFY2(toExact < 1.0, qPrintable(QString::number(toExact)));
    if (scale == 2.0)
        QVERIFY2(toEnlarged > 4 * toExact + 2.0, qPrintable(QString::number(toEnlarged)));
}

QTEST_MAIN(X11Desktop)
#include "tst_x11_desktop.moc"
