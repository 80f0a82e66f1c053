#include "store/name_lists.h"

#include "store/settings_store.h"
#include "store/store_log.h"

#include <QSettings>

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

const NameListKind* kindOf(const QVariant& type)
{
    bool ok = false;
    const uint number = type.toUInt(&ok);
    if (ok) {
        for (const NameListKind& kind : kLists) {
            if (kind.type == number)
                return &kind;
        }
    }
    qCDebug(lcStore) << "name list: no list of type" << type;
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
    const NameListKind* kind = kindOf(type);
    if (!kind)
        return true;
    if (kind->maxEntries >= 0 && nameList.size() > kind->maxEntries) {
        qCDebug(lcStore) << "updataNameList: list of type" << kind->type << "too long:" << nameList.size();
        return false;
    }
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
    return file.status() == QSettings::NoError;
}

QVariantList NameLists::getNameList(const QVariant& type) const
{
    const NameListKind* kind = kindOf(type);
    if (!kind)
        return QVariantList();
    const QSettings file(fileName(), QSettings::IniFormat);
    return SettingsStore::toValueList(file.value(QLatin1String(kind->key), 0));
}
