#pragma once
// Ties the program in front to the window: the active-window source feeds the
// switcher, whose switches run through the interface's own profile switch
// (the title-bar drop-down's path), and the tray tool tip names the profile
// in use and why. It also publishes the rules to QML as appRules.

#include "app/active_window.h"
#include "app/app_rules_bridge.h"
#include "app/profile_autoswitch.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class Clock;
class Hid_Thread;
class myQQuickView;

class AppRulesWatcher : public QObject, private ProfileAutoSwitch::Host {
    Q_OBJECT
public:
    // Publishes appRules in the view's QML context. `source` null: the
    // platform's. `toolTip` receives the line that names the profile in use.
    AppRulesWatcher(myQQuickView& view, Hid_Thread& hid, Clock& clock, std::unique_ptr<ActiveWindowSource> source,
                    std::function<void(const QString&)> toolTip, QObject* parent = nullptr);
    ~AppRulesWatcher() override;

    // Starts watching; false when this session cannot (the profile manager says so).
    bool start();
    // A mouse was connected: the program in front counts again.
    void deviceConnected();
    // "Standard", "profile_1 — for krita": the profile in use and why.
    QString toolTipLine() const;

    AppRulesBridge& bridge() { return m_bridge; }
    ProfileAutoSwitch& switcher() { return m_switch; }
    ActiveWindowSource& source() { return *m_source; }

private:
    int currentProfile() const override;
    bool profileExists(int profile) const override;
    bool switchHeld() const override;
    bool switchProfile(int profile) override;
    void schedule(int ms) override;
    void ruleChanged() override;
    void updateToolTip();

    myQQuickView& m_view;
    Hid_Thread& m_hid;
    std::unique_ptr<ActiveWindowSource> m_source;
    std::function<void(const QString&)> m_toolTip;
    AppRulesBridge m_bridge;
    ProfileAutoSwitch m_switch;
    QTimer m_timer;
};
