#include "store/app_rules.h"

#include "store/damaged_files.h"
#include "store/name_lists.h"
#include "store/operation_failures.h"
#include "store/safe_file.h"
#include "store/store_log.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("programs/");

// How long a change waits for another program's change of the rules.
constexpr int kLockWaitMs = 10000;

bool lessByName(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// The profile number at the end of a name-list entry; -1 when there is none.
int digitAtEnd(const QString& entry)
{
    const QChar last = entry.isEmpty() ? QChar() : entry.back();
    return last >= QLatin1Char('0') && last <= QLatin1Char('9') ? last.unicode() - '0' : -1;
}

} // namespace

AppRules::AppRules(const QString& dataRoot) : m_root(dataRoot) {}

QString AppRules::fileName() const
{
    return m_root + QStringLiteral("/modules/setting/apps.bin");
}

AppRules::Status AppRules::checkName(const QString& program)
{
    const QString name = program.trimmed();
    if (name.isEmpty() || name.size() > MaxNameLength || name == QLatin1String(".") || name == QLatin1String("..")
        || comparable(name).isEmpty())
        return Status::BadName;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return Status::BadName;
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return Status::BadName;
        default:
            break;
        }
    }
    return Status::Ok;
}

QString AppRules::comparable(const QString& program)
{
    QString name = program.trimmed().toCaseFolded();
    if (name.endsWith(QLatin1String(".exe")))
        name.chop(4);
    return name;
}

QString AppRules::statusText(Status status)
{
    switch (status) {
    case Status::Ok: return QStringLiteral("ok");
    case Status::BadName: return QStringLiteral("not a program name (empty, a path, or control characters)");
    case Status::BadProfile: return QStringLiteral("not a profile number 0-5");
    case Status::NotFound: return QStringLiteral("no rule for that program");
    case Status::Damaged: return QStringLiteral("the rules file cannot be read, or is damaged and cannot be kept aside");
    case Status::WriteFailed: return QStringLiteral("the rules file cannot be written");
    }
    return QString();
}

AppRules::Read AppRules::readAll(QList<QPair<QString, QVariant>>* entries, QList<Rule>* rules) const
{
    const QFileInfo info(fileName());
    if (!info.exists())
        return Read::Missing;
    // Bytes that cannot be INI text: the settings format would drop them on
    // the next write, so the file is left alone.
    const std::optional<QByteArray> bytes = SafeFile::read(fileName(), DamagedFiles::MaxBytes);
    if (!bytes || DamagedFiles::isDamagedContent(*bytes)) {
        qCDebug(lcStore) << "app rules: not a rules file:" << fileName();
        return Read::Damaged;
    }
    const QSettings file(fileName(), QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        qCDebug(lcStore) << "app rules: cannot read" << fileName() << file.status();
        return Read::Damaged;
    }
    for (const QString& key : file.allKeys()) {
        const QVariant value = file.value(key);
        if (entries)
            entries->append({key, value});
        if (!rules || !key.startsWith(kGroup))
            continue;
        const QString program = key.mid(kGroup.size());
        bool ok = false;
        const int profile = value.toString().toInt(&ok);
        if (!ok || !isProfile(profile) || checkName(program) != Status::Ok) {
            qCDebug(lcStore) << "app rules: entry skipped:" << key << value;
            continue;
        }
        rules->append({program, profile});
    }
    return Read::Ok;
}

AppRules::Status AppRules::write(const QList<QPair<QString, QVariant>>& entries) const
{
    // The settings format writes the new content into a file of its own
    // first; only a complete file replaces the rules.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return Status::WriteFailed;
    const QString draft = scratch.filePath(QStringLiteral("apps.bin"));
    {
        QSettings out(draft, QSettings::IniFormat);
        for (const auto& e : entries)
            out.setValue(e.first, e.second);
        out.sync();
        if (out.status() != QSettings::NoError)
            return Status::WriteFailed;
    }
    QByteArray content;
    if (!entries.isEmpty()) {
        const std::optional<QByteArray> data = SafeFile::read(draft);
        if (!data)
            return Status::WriteFailed;
        content = *data;
    }
    if (!SafeFile::write(fileName(), content)) {
        OperationFailures::cannotWrite("app rules", fileName());
        return Status::WriteFailed;
    }
    return Status::Ok;
}

QList<AppRules::Rule> AppRules::rules() const
{
    QList<Rule> list;
    readAll(nullptr, &list);
    std::sort(list.begin(), list.end(), [](const Rule& a, const Rule& b) {
        return a.profile != b.profile ? a.profile < b.profile : lessByName(a.program, b.program);
    });
    return list;
}

QStringList AppRules::programsOf(int profile) const
{
    QStringList names;
    for (const Rule& r : rules()) {
        if (r.profile == profile)
            names.append(r.program);
    }
    return names;
}

std::optional<AppRules::Rule> AppRules::match(const QStringList& names) const
{
    const QList<Rule> list = rules();
    for (const QString& name : names) {
        const QString wanted = comparable(name);
        if (wanted.isEmpty())
            continue;
        for (const Rule& r : list) {
            if (comparable(r.program) == wanted)
                return r;
        }
    }
    return std::nullopt;
}

AppRules::Status AppRules::edit(const std::function<Status(QList<QPair<QString, QVariant>>&)>& change) const
{
    QLockFile lock(fileName() + QStringLiteral(".lock"));
    // Only a holder that has ended leaves a stale lock.
    lock.setStaleLockTime(0);
    if (!lock.tryLock(kLockWaitMs)) {
        qCWarning(lcStore) << "app rules: the rules file is locked by another program:" << fileName() << lock.error();
        return Status::WriteFailed;
    }
    QList<QPair<QString, QVariant>> entries;
    if (readAll(&entries, nullptr) == Read::Damaged) {
        if (!DamagedFiles::keepAside(fileName()))
            return Status::Damaged;
        qCWarning(lcStore) << "app rules: started afresh after the damaged rules file";
        entries.clear();
    }
    const Status status = change(entries);
    return status == Status::Ok ? write(entries) : status;
}

AppRules::Status AppRules::add(int profile, const QString& program)
{
    if (checkName(program) != Status::Ok)
        return Status::BadName;
    if (!isProfile(profile))
        return Status::BadProfile;
    const QString name = program.trimmed();
    const QString wanted = comparable(name);
    return edit([&](QList<QPair<QString, QVariant>>& entries) {
        entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const QPair<QString, QVariant>& e) {
            return e.first.startsWith(kGroup) && comparable(e.first.mid(kGroup.size())) == wanted;
        }), entries.end());
        entries.append({kGroup + name, profile});
        return Status::Ok;
    });
}

AppRules::Status AppRules::remove(const QString& program)
{
    if (checkName(program) != Status::Ok)
        return Status::BadName;
    const QString wanted = comparable(program);
    return edit([&](QList<QPair<QString, QVariant>>& entries) {
        const auto kept = std::remove_if(entries.begin(), entries.end(), [&](const QPair<QString, QVariant>& e) {
            return e.first.startsWith(kGroup) && comparable(e.first.mid(kGroup.size())) == wanted;
        });
        if (kept == entries.end())
            return Status::NotFound;
        entries.erase(kept, entries.end());
        return Status::Ok;
    });
}

AppRules::Status AppRules::removeProfile(int profile)
{
    if (!isProfile(profile))
        return Status::BadProfile;
    bool removedAny = false;
    const Status status = edit([&](QList<QPair<QString, QVariant>>& entries) {
        const auto kept = std::remove_if(entries.begin(), entries.end(), [&](const QPair<QString, QVariant>& e) {
            bool ok = false;
            return e.first.startsWith(kGroup) && e.second.toString().toInt(&ok) == profile && ok;
        });
        if (kept == entries.end())
            return Status::NotFound;
        removedAny = true;
        entries.erase(kept, entries.end());
        return Status::Ok;
    });
    return !removedAny && status == Status::NotFound ? Status::Ok : status;
}

namespace {

// The entries of the profile name list: (number, name), first entry of a number only.
QList<QPair<int, QString>> listedEntries(const QVariantList& nameList)
{
    QList<QPair<int, QString>> entries;
    for (const QVariant& v : nameList) {
        const QString entry = v.toString();
        if (entry == NameLists::padEntry())
            continue;
        const int number = digitAtEnd(entry);
        const bool seen = std::any_of(entries.cbegin(), entries.cend(),
                                      [number](const QPair<int, QString>& e) { return e.first == number; });
        if (AppRules::isProfile(number) && !seen)
            entries.append({number, entry.left(entry.size() - 1)});
    }
    return entries;
}

} // namespace

QList<int> AppRules::listedProfiles(const QVariantList& nameList)
{
    QList<int> numbers;
    for (const auto& e : listedEntries(nameList))
        numbers.append(e.first);
    return numbers;
}

QString AppRules::profileName(const QVariantList& nameList, int profile)
{
    for (const auto& e : listedEntries(nameList)) {
        if (e.first == profile)
            return e.second;
    }
    return QString();
}
