#include "cli/rules_command.h"

#include "store/app_rules.h"
#include "store/name_lists.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

QString ruleLine(const AppRules::Rule& rule, const QVariantList& profiles)
{
    QJsonObject o;
    o.insert(QStringLiteral("profile"), rule.profile);
    o.insert(QStringLiteral("program"), rule.program);
    const QString name = AppRules::profileName(profiles, rule.profile);
    // A rule of a profile that is not listed switches to nothing.
    if (name.isEmpty())
        o.insert(QStringLiteral("listed"), false);
    else
        o.insert(QStringLiteral("profileName"), name);
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

int failed(const RulesOutput& io, AppRules::Status status)
{
    io.err(AppRules::statusText(status));
    return status == AppRules::Status::BadName || status == AppRules::Status::BadProfile ? ExitUsage : ExitFailure;
}

} // namespace

int runRulesCommand(const QString& dataRoot, const QStringList& args, const RulesOutput& io)
{
    AppRules rules(dataRoot);
    const QVariantList profiles = NameLists(dataRoot).getNameList(2);
    const QString verb = args.value(0);
    if (args.isEmpty()) {
        for (const AppRules::Rule& r : rules.rules())
            io.out(ruleLine(r, profiles));
        return ExitOk;
    }
    if (verb == QLatin1String("add")) {
        if (args.size() != 3) {
            io.err(QStringLiteral("rules add takes PROFILE (0-5) and PROGRAM"));
            return ExitUsage;
        }
        static const QRegularExpression digit(QStringLiteral("^[0-9]$"));
        const int profile = digit.match(args.at(1)).hasMatch() ? args.at(1).toInt() : -1;
        if (!AppRules::isProfile(profile)) {
            io.err(QStringLiteral("PROFILE must be a profile number 0-5, not %1").arg(args.at(1)));
            return ExitUsage;
        }
        if (!AppRules::listedProfiles(profiles).contains(profile)) {
            io.err(QStringLiteral("profile %1 is not in the profile list").arg(profile));
            return ExitUsage;
        }
        const AppRules::Status status = rules.add(profile, args.at(2));
        if (status != AppRules::Status::Ok)
            return failed(io, status);
        io.out(ruleLine({args.at(2).trimmed(), profile}, profiles));
        return ExitOk;
    }
    if (verb == QLatin1String("remove")) {
        if (args.size() != 2) {
            io.err(QStringLiteral("rules remove takes PROGRAM"));
            return ExitUsage;
        }
        const AppRules::Status status = rules.remove(args.at(1));
        return status == AppRules::Status::Ok ? ExitOk : failed(io, status);
    }
    io.err(QStringLiteral("unknown rules command %1: expected add or remove").arg(verb));
    return ExitUsage;
}
