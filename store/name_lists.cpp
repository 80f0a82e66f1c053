#include "store/name_lists.h"

#include "store/argument_check.h"
#include "store/damaged_files.h"
#include "store/operation_failures.h"
#include "store/settings_store.h"
#include "store/store_log.h"

#include <QSettings>
#include <iterator>

namespace {

struct NameListKind {
    uint type;
    const char* key;
    int maxEntries; // -1: no limit
};

// The macro editor keeps at most 100 macros; profile entries carry a
// one-digit slot number, so there are at most ten.
constexpr NameListKind kLists[] = {
    {0, "macro/macroName", 100},
    {1, "gun/gunName", -1},
    {2, "profile/profileName", 10},
    {3, "gun/selectGun", -1},
};

// The list of `type`. Only the exact numbers 0-3 name one: a larger number
// must not wrap around to another list.
const NameListKind* kindOf(const QVariant& type, const char* operation)
{
    const std::optional<qint64> number = ArgumentCheck::integer(type, 0, qint64(std::size(kLists)) - 1);
    if (number) {
        for (const NameListKind& kind : kLists) {
            if (kind.type == uint(*number))
                return &kind;
        }
    }
    ArgumentCheck::refuse(operation, "type", QStringLiteral("no name list of type %1 (0-3)").arg(type.toString()));
    return nullptr;
}

} // namespace

const QString& NameLists::padEntry()
{
    static const QString pad = QStringLiteral("listpadentry");
    return pad;
}

NameLists::NameLists(const QString& dataRoot)
    : m_root(dataRoot)
{
}

QString NameLists::fileName() const
{
    return m_root + QStringLiteral("/modules/setting/name.bin");
}

bool NameLists::updataNameList(const QVariant& type, const QStringList& nameList)
{
    const NameListKind* kind = kindOf(type, "updataNameList");
    if (!kind)
        return true;
    if (kind->maxEntries >= 0 && nameList.size() > kind->maxEntries) {
        ArgumentCheck::refuse("updataNameList", "nameList",
                              QStringLiteral("%1 names for list %2, at most %3")
                                  .arg(nameList.size()).arg(kind->type).arg(kind->maxEntries));
        return false;
    }
    // The file is rewritten whole: a damaged one is kept aside first.
    DamagedFiles::keepAside(fileName());
    QStringList stored = nameList;
    if (stored.size() == 1)
        stored.append(padEntry());
    QSettings file(fileName(), QSettings::IniFormat);
    const QString key = QLatin1String(kind->key);
    if (stored.isEmpty())
        file.remove(key);
    else
        file.setValue(key, stored);
    file.sync();
    if (file.status() != QSettings::NoError) {
        OperationFailures::cannotWrite("updataNameList", fileName());
        return false;
    }
    return true;
}

QVariantList NameLists::getNameList(const QVariant& type) const
{
    const NameListKind* kind = kindOf(type, "getNameList");
    if (!kind)
        return QVariantList();
    const QSettings file(fileName(), QSettings::IniFormat);
    return SettingsStore::toValueList(file.value(QLatin1String(kind->key), 0));
}
