#include "app/app_rules_bridge.h"

#include "app/app_log.h"

AppRulesBridge::AppRulesBridge(const QString& dataRoot, QObject* parent) : QObject(parent), m_rules(dataRoot) {}

bool AppRulesBridge::available() const
{
    return m_available;
}

QStringList AppRulesBridge::programsOf(int profile) const
{
    return AppRules::isProfile(profile) ? m_rules.programsOf(profile) : QStringList();
}

int AppRulesBridge::addProgram(int profile, const QString& program)
{
    const AppRules::Status status = m_rules.add(profile, program);
    switch (status) {
    case AppRules::Status::Ok:
        emit rulesChanged();
        return Added;
    case AppRules::Status::BadName:
        qCDebug(lcApp) << "addProgram: refused" << program;
        return NotAProgramName;
    case AppRules::Status::BadProfile:
        qCDebug(lcApp) << "addProgram: refused profile" << profile;
        return NotAProfile;
    default:
        qCDebug(lcApp).noquote() << "addProgram:" << AppRules::statusText(status);
        return NotSaved;
    }
}

bool AppRulesBridge::removeProgram(const QString& program)
{
    const AppRules::Status status = m_rules.remove(program);
    if (status != AppRules::Status::Ok) {
        qCDebug(lcApp).noquote() << "removeProgram:" << program << AppRules::statusText(status);
        return false;
    }
    emit rulesChanged();
    return true;
}

bool AppRulesBridge::removeProfile(int profile)
{
    const AppRules::Status status = m_rules.removeProfile(profile);
    if (status != AppRules::Status::Ok) {
        qCDebug(lcApp).noquote() << "removeProfile:" << profile << AppRules::statusText(status);
        return false;
    }
    emit rulesChanged();
    return true;
}

QStringList AppRulesBridge::runningPrograms() const
{
    return m_running ? m_running() : QStringList();
}
