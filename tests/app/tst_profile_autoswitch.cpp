// The profile switch by the program in front, on a virtual clock with a fake
// window source: settling of focus bursts, the program's own window, the
// user's own choice, held switches, and rules of profiles that are gone.

#include "app/profile_autoswitch.h"
#include "device/clock.h"

#include <QSet>
#include <QtTest>

namespace {

constexpr qint64 kOwnPid = 4242;

// The window, the interface and the single-shot timer, as the switcher sees them.
class FakeHost : public ProfileAutoSwitch::Host {
public:
    explicit FakeHost(VirtualClock& clock) : m_clock(clock) {}
    ProfileAutoSwitch* sw = nullptr;
    int current = 0;
    QSet<int> listed{0, 1, 2, 3, 4};
    bool held = false;
    QStringList switches;         // every switch the switcher asked for
    qint64 dueAt = -1;            // the armed timer, -1 when none

    int currentProfile() const override { return current; }
    bool profileExists(int profile) const override { return listed.contains(profile); }
    bool switchHeld() const override { return held; }
    bool switchProfile(int profile) override
    {
        switches << QString::number(profile);
        current = profile;
        // The interface reports its new profile while the switch runs.
        sw->profileChanged(profile);
        return true;
    }
    void schedule(int ms) override { dueAt = m_clock.nowMs() + ms; }
    void ruleChanged() override {}

    // Lets `ms` pass, firing the timer when it comes due.
    void pass(qint64 ms)
    {
        const qint64 end = m_clock.nowMs() + ms;
        while (dueAt >= 0 && dueAt <= end) {
            m_clock.advance(dueAt - m_clock.nowMs());
            dueAt = -1;
            sw->poll();
        }
        m_clock.advance(end - m_clock.nowMs());
    }

private:
    VirtualClock& m_clock;
};

ActiveWindow window(const QString& step)
{
    ActiveWindow w;
    if (step == QLatin1String("none"))
        return w;
    static quint64 nextId = 0x200000;
    w.id = ++nextId;
    if (step == QLatin1String("self")) {
        w.pid = kOwnPid;
        w.program = QStringLiteral("stryde");
        w.classNames = QStringList{"stryde", "stryde"};
    } else if (step.startsWith(QLatin1String("class:"))) {
        // A window without a process id: only its class names it.
        w.classNames = QStringList{step.mid(6), step.mid(6).toUpper()};
    } else {
        w.pid = 1000 + step.size();
        w.program = step;
    }
    return w;
}

std::optional<AppRules::Rule> lookup(const QStringList& names)
{
    const QMap<QString, int> rules{{"krita", 2}, {"gimp", 3}, {"xmessage", 4}, {"old", 5}};
    for (const QString& n : names) {
        if (rules.contains(n))
            return AppRules::Rule{n, rules.value(n)};
    }
    return std::nullopt;
}

} // namespace

class TestProfileAutoSwitch : public QObject {
    Q_OBJECT
private slots:
    void scripts_data()
    {
        // Steps: a program name focuses its window ("class:NAME" a window
        // known by its class only, "self" this program, "none" no window);
        // "+N" lets N ms pass; "hand:N" is the user's choice of profile N;
        // "hold"/"free" hold switches back (a device operation, a dialog);
        // "delete:N" removes profile N from the profile manager.
        // Rules: krita 2, gimp 3, xmessage 4, old 5 (not listed).
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("switches");
        QTest::addColumn<QString>("ruleProgram");
        QTest::newRow("not before the focus has settled") << "krita +499" << "" << "";
        QTest::newRow("after 500 ms of stillness") << "krita +500" << "2" << "krita";
        QTest::newRow("leaving brings the old profile back") << "hand:1 krita +500 bash +500" << "2,1" << "";
        QTest::newRow("closing the program does too") << "krita +500 none +500" << "2,0" << "";
        QTest::newRow("a burst of focus changes: one switch") << "krita +100 gimp +100 bash +100 krita +499 +1"
                                                              << "2" << "krita";
        QTest::newRow("a burst ending elsewhere: none") << "krita +300 gimp +300 bash +500" << "" << "";
        QTest::newRow("window class when the process is unknown") << "class:xmessage +500" << "4" << "xmessage";
        QTest::newRow("program to program: back to the first profile") << "hand:1 krita +500 gimp +500 bash +500"
                                                                        << "2,3,1" << "";
        QTest::newRow("own window: the profile stays") << "krita +500 self +500" << "2" << "krita";
        QTest::newRow("own window, then another program") << "krita +500 self +500 bash +500" << "2,0" << "";
        QTest::newRow("own window drops a waiting switch") << "krita +200 self +500" << "" << "";
        QTest::newRow("own window before leaving counts as staying") << "krita +500 bash +200 self +500"
                                                                     << "2" << "krita";
        QTest::newRow("the user's choice is not undone") << "krita +500 hand:3 bash +500" << "2" << "";
        QTest::newRow("back to the program after the user's choice") << "krita +500 hand:3 bash +500 krita +500"
                                                                     << "2,2" << "krita";
        QTest::newRow("held: waits") << "hold krita +5000" << "" << "";
        QTest::newRow("held: switches once free") << "hold krita +5000 free +499 +1" << "2" << "krita";
        QTest::newRow("a rule of a profile not listed") << "old +500" << "" << "";
        QTest::newRow("a deleted profile is not switched to") << "krita +200 delete:2 +300" << "" << "";
        QTest::newRow("the old profile deleted meanwhile: stay") << "hand:1 krita +500 delete:1 bash +500"
                                                                 << "2" << "";
        QTest::newRow("the rule's profile already in use") << "hand:2 krita +500 bash +500" << "" << "";
    }
    void scripts()
    {
        QFETCH(QString, script);
        QFETCH(QString, switches);
        QFETCH(QString, ruleProgram);
        VirtualClock clock;
        FakeHost host(clock);
        ProfileAutoSwitch sw(clock, host, lookup, kOwnPid);
        host.sw = &sw;
        for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step.startsWith(QLatin1Char('+'))) {
                host.pass(step.mid(1).toInt());
            } else if (step.startsWith(QLatin1String("hand:"))) {
                host.current = step.mid(5).toInt();
                sw.profileChanged(host.current);
            } else if (step.startsWith(QLatin1String("delete:"))) {
                host.listed.remove(step.mid(7).toInt());
            } else if (step == QLatin1String("hold") || step == QLatin1String("free")) {
                host.held = step == QLatin1String("hold");
            } else {
                sw.windowChanged(window(step));
            }
        }
        QCOMPARE(host.switches.join(QLatin1Char(',')), switches);
        QCOMPARE(sw.ruleProgram(), ruleProgram);
        QCOMPARE(sw.ruleProfile(), ruleProgram.isEmpty() ? -1 : host.current);
    }

    // While held, the switcher asks again every RetryMs and not more often:
    // idle without a waiting decision, it asks nothing at all.
    void heldRetriesAtItsPace()
    {
        VirtualClock clock;
        FakeHost host(clock);
        ProfileAutoSwitch sw(clock, host, lookup, kOwnPid);
        host.sw = &sw;
        int polls = 0;
        host.held = true;
        sw.windowChanged(window(QStringLiteral("krita")));
        while (clock.nowMs() < 5000 && host.dueAt >= 0) {
            clock.advance(host.dueAt - clock.nowMs());
            host.dueAt = -1;
            sw.poll();
            ++polls;
        }
        QCOMPARE(polls, 10);                      // at 500, 1000, ... 5000 ms
        host.held = false;
        host.pass(ProfileAutoSwitch::RetryMs);
        QCOMPARE(host.switches, QStringList{"2"});
        QCOMPARE(host.dueAt, -1);
        QVERIFY(!sw.isPending());
    }

    // A switch the interface refused (not started yet) leaves no rule in force.
    void refusedSwitch()
    {
        VirtualClock clock;
        struct Refusing : FakeHost {
            using FakeHost::FakeHost;
            bool switchProfile(int) override { return false; }
        } host(clock);
        ProfileAutoSwitch sw(clock, host, lookup, kOwnPid);
        host.sw = &sw;
        sw.windowChanged(window(QStringLiteral("krita")));
        host.pass(500);
        QCOMPARE(sw.ruleProfile(), -1);
        QCOMPARE(host.current, 0);
    }
};

QTEST_MAIN(TestProfileAutoSwitch)
#include "tst_profile_autoswitch.moc"
