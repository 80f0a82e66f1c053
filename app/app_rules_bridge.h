#pragma once
// The rules of the program in front as the profile manager reaches them
// (published to QML as appRules): the programs of each profile, adding and
// removing them, the running programs to pick from, and whether this session
// can watch the program in front at all.

#include "store/app_rules.h"

#include <QObject>
#include <QStringList>
#include <functional>

class AppRulesBridge : public QObject {
    Q_OBJECT
public:
    // What addProgram returns.
    enum AddResult { Added = 0, NotAProgramName = 1, NotAProfile = 2, NotSaved = 3 };
    Q_ENUM(AddResult)

    explicit AppRulesBridge(const QString& dataRoot, QObject* parent = nullptr);

    void setAvailable(bool available) { m_available = available; }
    // Where runningPrograms() comes from (none: an empty list).
    void setRunningPrograms(std::function<QStringList()> provider) { m_running = std::move(provider); }
    AppRules& rules() { return m_rules; }

public slots:
    // Whether the program in front is watched in this session.
    bool available() const;
    // The programs of profile 0-5, by name; empty for another number.
    QStringList programsOf(int profile) const;
    // Gives `program` (an executable's file name) the profile `profile`; a
    // rule of the same program elsewhere moves here. An AddResult.
    int addProgram(int profile, const QString& program);
    // Removes the rule of `program`; false when it had none or the file
    // could not be written.
    bool removeProgram(const QString& program);
    // Drops every rule of a deleted (or new) profile.
    bool removeProfile(int profile);
    QStringList runningPrograms() const;

signals:
    // A rule was added or removed through this object.
    void rulesChanged();

private:
    AppRules m_rules;
    bool m_available = false;
    std::function<QStringList()> m_running;
};
