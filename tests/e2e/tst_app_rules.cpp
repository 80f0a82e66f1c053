// The profile follows the program in front: the real program under Xvfb with
// a rule for a small X program (xmessage). Xvfb has no window manager, so the
// test names the front window in the root's _NET_ACTIVE_WINDOW as one would.

#include "support/stryde_session.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

class AppRulesEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void theProgramsProfileFollowsItsWindow();

private:
    quint64 startGame();
    bool waitForOutput(const QString& text, int from);
    bool waitForSettledWindow();

    StrydeSession m_session;
    QProcess m_game;
};

void AppRulesEndToEnd::initTestCase()
{
    StrydeSession::Options o;
    o.files[QStringLiteral("modules/setting/name.bin")] = {{"profile/profileName", QStringList{"Standard0", "Game1"}}};
    // Profile 0 sends a table of 3 stages, profile 1 one of 6 (frame "11 03" / "11 06").
    o.files[QStringLiteral("modules/setting/p1.bin")] = {{"mouse/currentDpiCount", 3}};
    o.files[QStringLiteral("modules/setting/p2.bin")] = {{"mouse/dpiCount", 8}, {"mouse/currentDpiCount", 6}};
    o.files[QStringLiteral("modules/setting/apps.bin")] = {{"programs/xmessage", 1}};
    QVERIFY2(m_session.start(o), qPrintable(m_session.error()));
}

void AppRulesEndToEnd::cleanupTestCase()
{
    if (m_game.state() != QProcess::NotRunning) {
        m_game.kill();
        m_game.waitForFinished(5000);
    }
}

// Starts xmessage on the session's display and returns its window.
quint64 AppRulesEndToEnd::startGame()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_session.display());
    m_game.setProcessEnvironment(env);
    m_game.start(QStringLiteral("xmessage"), {QStringLiteral("-geometry"), QStringLiteral("+1050+20"),
                                              QStringLiteral("a game")});
    if (!m_game.waitForStarted(5000))
        return 0;
    QProcess search;
    search.setProcessEnvironment(env);
    quint64 id = 0;
    m_session.waitFor([&] {
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--class"),
                                                 QStringLiteral("xmessage")});
        search.waitForFinished(5000);
        id = QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n')).value(0).toULongLong();
        return id != 0;
    });
    return id;
}

bool AppRulesEndToEnd::waitForOutput(const QString& text, int from)
{
    return m_session.waitFor([&] { return m_session.programOutput().indexOf(text, from) >= 0; });
}

// The window has not changed for 400 ms: the busy indicator, which pulses
// while the pages are read and sent, is gone.
bool AppRulesEndToEnd::waitForSettledWindow()
{
    QImage last;
    QElapsedTimer unchanged;
    return m_session.waitFor([&] {
        const QImage now = m_session.grabWindow();
        if (now != last || !unchanged.isValid()) {
            last = now;
            unchanged.start();
        }
        return unchanged.elapsed() >= 400;
    });
}

void AppRulesEndToEnd::theProgramsProfileFollowsItsWindow()
{
    const quint64 game = startGame();
    QVERIFY2(game != 0, "xmessage did not show a window");
    const QString profileNo = QStringLiteral("mouse/profileNo");
    const QString apConfig = QStringLiteral("modules/setting/apConfig.bin");

    // The game comes to the front: profile 1 and its DPI table.
    int mark = m_session.traceMark();
    int output = m_session.programOutput().size();
    QVERIFY(m_session.setActiveWindow(game));
    QVERIFY2(waitForOutput(QStringLiteral("profile 1 in use for xmessage"), output), qPrintable(m_session.programOutput()));
    QVERIFY2(m_session.waitForCommand(QStringLiteral("11 06"), mark), qPrintable(m_session.commands(mark).join(QLatin1Char('\n'))));
    QCOMPARE(m_session.readSetting(apConfig, profileNo).toInt(), 1);
    QVERIFY(waitForSettledWindow());
    QVERIFY(m_session.saveScreenshot(QStringLiteral("e2e_app_rules_game")));

    // The program's own window: nothing changes, and back to the game
    // changes nothing either.
    mark = m_session.traceMark();
    output = m_session.programOutput().size();
    QVERIFY(m_session.setActiveWindow(m_session.windowId()));
    QVERIFY(waitForOutput(QStringLiteral("this program's window is in front"), output));
    output = m_session.programOutput().size();
    QVERIFY(m_session.setActiveWindow(game));
    QVERIFY2(waitForOutput(QStringLiteral("in front: xmessage"), output), qPrintable(m_session.programOutput()));
    QCOMPARE(framesStarting(m_session.commands(mark), {QStringLiteral("11")}, 5), QStringList());
    QCOMPARE(m_session.readSetting(apConfig, profileNo).toInt(), 1);

    // The game ends while in front: profile 0 comes back, once.
    mark = m_session.traceMark();
    output = m_session.programOutput().size();
    m_game.kill();
    QVERIFY(m_game.waitForFinished(5000));
    QVERIFY2(waitForOutput(QStringLiteral("profile 0 in use again"), output), qPrintable(m_session.programOutput()));
    QVERIFY(m_session.waitForCommand(QStringLiteral("11 03"), mark));
    QVERIFY(m_session.waitFor([&] { return m_session.readSetting(apConfig, profileNo).toInt() == 0; }));
    QCOMPARE(framesStarting(m_session.commands(mark), {QStringLiteral("11")}, 5), QStringList{"11 03"});
    QVERIFY(waitForSettledWindow());
    QVERIFY(m_session.saveScreenshot(QStringLiteral("e2e_app_rules_back")));
}

QTEST_MAIN(AppRulesEndToEnd)
#include "tst_app_rules.moc"
