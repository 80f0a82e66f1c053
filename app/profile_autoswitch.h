#pragma once
// Switches the profile by the program in front. When a program with a rule
// comes to the front, its profile becomes current; when the user leaves it
// for a program without one, the profile that was current before comes back.
//
// - Focus changes settle first: a decision is taken once the front window
//   has not changed for SettleMs, so a quick alt-tab through several windows
//   causes at most one switch.
// - While a device operation runs or a dialog is open (the host says so),
//   the decision waits and is tried again every RetryMs.
// - This program's own window changes nothing: the profile in use stays, and
//   a decision still waiting is dropped.
// - The user has the last word: a profile chosen by hand while a rule is in
//   force ends the rule's turn, and leaving its program then restores nothing.
// - A rule for a profile the profile manager no longer lists is ignored, and
//   a profile to come back to that was deleted meanwhile is not switched to.

#include "app/active_window.h"
#include "store/app_rules.h"

#include <QString>
#include <functional>
#include <optional>

class Clock;

class ProfileAutoSwitch {
public:
    static constexpr int SettleMs = 500;
    static constexpr int RetryMs = 500;

    // What the window does for the switcher. GUI thread.
    class Host {
    public:
        virtual ~Host() = default;
        // The profile in use now.
        virtual int currentProfile() const = 0;
        // Whether the profile manager lists `profile`.
        virtual bool profileExists(int profile) const = 0;
        // A device operation runs, a dialog is open or the interface is locked.
        virtual bool switchHeld() const = 0;
        // Switches to `profile` as a choice in the title-bar drop-down does;
        // false when it did not happen.
        virtual bool switchProfile(int profile) = 0;
        // Calls poll() after `ms` (one single-shot timer: a new call replaces
        // a waiting one).
        virtual void schedule(int ms) = 0;
        // The rule in force changed (see ruleProgram()).
        virtual void ruleChanged() = 0;
    };

    // The rule of the first of the names that has one.
    using RuleLookup = std::function<std::optional<AppRules::Rule>(const QStringList& names)>;

    // `ownPid`: this program, whose windows never switch anything.
    ProfileAutoSwitch(Clock& clock, Host& host, RuleLookup rules, qint64 ownPid);

    // The source reported another front window.
    void windowChanged(const ActiveWindow& window);
    // The profile in use changed (by hand or by this switcher).
    void profileChanged(int profile);
    // The timer of schedule() fired.
    void poll();
    // Weighs the last front window of another program again after SettleMs
    // (a mouse was connected, the rules changed).
    void reconsider();

    // The rule in force: its program as the rule names it and its profile;
    // empty and -1 when none is.
    QString ruleProgram() const { return m_ruleProgram; }
    int ruleProfile() const { return m_ruleProfile; }
    bool isPending() const { return m_pending.has_value(); }

private:
    void decide(const ActiveWindow& window);
    void endRule();

    Clock& m_clock;
    Host& m_host;
    RuleLookup m_rules;
    qint64 m_ownPid;
    std::optional<ActiveWindow> m_pending;
    qint64 m_dueMs = 0;
    ActiveWindow m_lastOther;
    QString m_ruleProgram;
    int m_ruleProfile = -1;
    int m_restoreProfile = -1;
    bool m_switching = false;
};
