#pragma once
// Helpers of the store tests: distinct profile files in a DataFixture, and
// reading what reached a file through a fresh settings object on a copy (the
// same path in the same process would answer from Qt's cache).

#include "support/data_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

namespace storetest {

// p<slot>.bin of slot index `index` reads dpiCount "p<index+1>"; pD.bin reads "pD".
inline QByteArray profileText(const QByteArray& tag)
{
    return "[mouse]\ndpiCount=" + tag + "\ndpiValueArray=400, 800, 1600\n"
           "[mouseKeyMatrix]\n0=1, 1, 0, 0\n1=1, 2, 0, 0\n2=1, 4, 0, 0\n3=1, 8, 0, 0\n";
}

inline QString slotFile(int index)
{
    return QStringLiteral("modules/setting/p%1.bin").arg(index + 1);
}

// Writes pD.bin and p1.bin ... p10.bin, whatever the installation holds.
inline bool writeProfiles(const DataFixture& fx)
{
    bool ok = fx.writeFile(QStringLiteral("modules/setting/pD.bin"), profileText("pD"));
    for (int i = 0; i < 10; ++i)
        ok = fx.writeFile(slotFile(i), profileText("p" + QByteArray::number(i + 1))) && ok;
    return ok;
}

// The value under `key` of the file as it is on disk now.
inline QVariant onDisk(const QString& path, const QString& key)
{
    QTemporaryDir dir;
    const QString copy = dir.path() + QStringLiteral("/copy.ini");
    if (!QFile::copy(path, copy))
        return QVariant();
    const QSettings settings(copy, QSettings::IniFormat);
    return settings.value(key);
}

// Every file below `root` with its content, to show that nothing changed.
inline QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files.insert(QDir(root).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

} // namespace storetest
