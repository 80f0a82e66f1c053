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

// Export targets that lie among the program's own files: every one must be
// refused. "link:" names a link outside the data folder that points there.
inline QStringList programFileTargets()
{
    return {QStringLiteral("modules/setting/p1.bin"), QStringLiteral("modules/setting/apConfigD.bin"),
            QStringLiteral("modules/setting/name.bin"), QStringLiteral("modules/i18n/English.ini"),
            QStringLiteral("modules/gun/gunData.bin"), QStringLiteral("modules/macro/other.bin"),
            QStringLiteral("modules/setting/new.pf"), QStringLiteral("link:modules/setting/pD.bin")};
}

// The path a file dialog answers for `answer`: empty (cancelled), a path
// below the data folder ("modules/..."), a link made in `outside` ("link:..."),
// or a file name in `outside`.
inline QString dialogAnswer(const DataFixture& fx, const QTemporaryDir& outside, const QString& answer)
{
    if (answer.startsWith(QLatin1String("modules/")))
        return fx.path(answer);
    if (answer.startsWith(QLatin1String("link:"))) {
        const QString link = outside.filePath(QStringLiteral("link.out"));
        QFile::link(fx.path(answer.mid(5)), link);
        return link;
    }
    return answer.isEmpty() ? answer : outside.filePath(answer);
}

} // namespace storetest
