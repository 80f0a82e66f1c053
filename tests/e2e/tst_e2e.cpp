// The real program under Xvfb on the virtual mouse, driven with real pointer
// events at its window's geometry (tests/e2e/support/stryde_session.h).

#include "support/stryde_session.h"

#include <QtTest>

namespace {

// Window coordinates of the main screen.
const QPoint kConfigButton(1024 - 24 - 64 - 16 - 64 - 16 - 32, 640 - 8 - 12);
const QColor kDialogTitle(0x3c, 0x3c, 0x3c);

} // namespace

class EndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void configOpensTheProfileManager();

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
}

QTEST_MAIN(EndToEnd)
#include "tst_e2e.moc"
