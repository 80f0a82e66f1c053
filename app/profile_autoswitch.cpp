#include "app/profile_autoswitch.h"

#include "app/app_log.h"
#include "device/clock.h"

ProfileAutoSwitch::ProfileAutoSwitch(Clock& clock, Host& host, RuleLookup rules, qint64 ownPid)
    : m_clock(clock), m_host(host), m_rules(std::move(rules)), m_ownPid(ownPid)
{
}

void ProfileAutoSwitch::windowChanged(const ActiveWindow& window)
{
    if (window.pid != 0 && window.pid == m_ownPid) {
        qCDebug(lcApp) << "this program's window is in front: the profile stays";
        m_pending.reset();
        return;
    }
    m_lastOther = window;
    m_pending = window;
    m_dueMs = m_clock.nowMs() + SettleMs;
    m_host.schedule(SettleMs);
}

void ProfileAutoSwitch::reconsider()
{
    windowChanged(m_lastOther);
}

void ProfileAutoSwitch::profileChanged(int profile)
{
    if (m_switching || m_ruleProfile < 0 || profile == m_ruleProfile)
        return;
    qCDebug(lcApp) << "profile" << profile << "chosen by hand while the rule of" << m_ruleProgram << "was in force";
    endRule();
}

void ProfileAutoSwitch::poll()
{
    if (!m_pending)
        return;
    const qint64 now = m_clock.nowMs();
    if (now < m_dueMs) {
        m_host.schedule(int(m_dueMs - now));
        return;
    }
    if (m_host.switchHeld()) {
        m_host.schedule(RetryMs);
        return;
    }
    const ActiveWindow window = *m_pending;
    m_pending.reset();
    decide(window);
}

void ProfileAutoSwitch::decide(const ActiveWindow& window)
{
    const int current = m_host.currentProfile();
    // A choice by hand that was not reported still ends the rule's turn.
    if (m_ruleProfile >= 0 && current != m_ruleProfile)
        endRule();

    std::optional<AppRules::Rule> rule = m_rules ? m_rules(window.names()) : std::nullopt;
    if (rule && !m_host.profileExists(rule->profile)) {
        qCDebug(lcApp) << "the rule of" << rule->program << "names profile" << rule->profile << "which is not listed";
        rule.reset();
    }
    qCDebug(lcApp).noquote() << "in front:" << (window.id ? window.names().join(QStringLiteral(", ")) : QStringLiteral("no window"))
                       << "- rule:" << (rule ? QStringLiteral("%1 profile %2").arg(rule->program).arg(rule->profile)
                                             : QStringLiteral("none"))
                       << "- profile in use:" << current;

    if (rule) {
        const int restore = m_ruleProfile >= 0 ? m_restoreProfile : current;
        if (rule->profile != current) {
            m_switching = true;
            const bool switched = m_host.switchProfile(rule->profile);
            m_switching = false;
            if (!switched) {
                qCDebug(lcApp) << "the switch to profile" << rule->profile << "for" << rule->program << "did not happen";
                return;
            }
            qCDebug(lcApp).noquote() << "profile" << rule->profile << "in use for" << rule->program;
        }
        m_restoreProfile = restore;
        m_ruleProfile = rule->profile;
        m_ruleProgram = rule->program;
        m_host.ruleChanged();
        return;
    }

    if (m_ruleProfile < 0)
        return;
    const int restore = m_restoreProfile;
    endRule();
    if (restore >= 0 && restore != current && m_host.profileExists(restore)) {
        m_switching = true;
        const bool switched = m_host.switchProfile(restore);
        m_switching = false;
        qCDebug(lcApp).noquote() << "profile" << restore << (switched ? "in use again" : "could not be used again");
    }
}

void ProfileAutoSwitch::endRule()
{
    m_ruleProgram.clear();
    m_ruleProfile = -1;
    m_restoreProfile = -1;
    m_host.ruleChanged();
}
