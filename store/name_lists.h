#pragma once
// The ordered name lists the pages show, in <data root>/modules/setting/
// name.bin: type 0 macro names, 1 recoil preset names, 2 profile entries,
// 3 recoil selection. The file is opened for each call.
//
// A stored list never has exactly one entry: the settings format would read
// it back as plain text, so a one-entry list is stored with the filler entry
// "listpadentry" appended, and the pages drop it again.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

class NameLists {
public:
    // "listpadentry"
    static const QString& padEntry();

    explicit NameLists(const QString& dataRoot);

    // Stores `nameList` under the key of `type` (a one-entry list padded, an
    // empty list by removing the key). A type that is not exactly 0-3 is
    // refused (ArgumentCheck): it stores nothing and still succeeds. A list
    // longer than its type allows (100 macros, 10 profiles) is refused
    // (false). A damaged name.bin is kept aside before it is rewritten.
    bool updataNameList(const QVariant& type, const QStringList& nameList);
    // The stored list of `type`, filler entry included; empty when absent,
    // not a list, or for another type.
    QVariantList getNameList(const QVariant& type) const;

    QString fileName() const;

private:
    QString m_root;
};
