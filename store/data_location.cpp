#include "store/data_location.h"

#include "store/installed_defaults.h"
#include "store/store_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The install rules place the defaults relative to the programs' folder (for
// the usual layout ../share/stryde); the build passes the path it computed.
#ifndef STRYDE_DEFAULTS_FROM_BIN
#define STRYDE_DEFAULTS_FROM_BIN "../share/stryde"
#endif

namespace {

QString userDataFolder()
{
    // The window and stryde-cli share one folder, whichever of them asks.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QLatin1String(DataLocation::kApplicationName));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(name);
    return folder;
}

} // namespace

DataLocation DataLocation::choose(const QString& dataDirOption, const QString& programDir, const QString& userDir)
{
    DataLocation location;
    if (!dataDirOption.isEmpty()) {
        location.root = QFileInfo(dataDirOption).absoluteFilePath();
        location.source = Source::Option;
        return location;
    }
    const QFileInfo beside(QDir(programDir).filePath(QStringLiteral("modules")));
    if (beside.isDir() && beside.isWritable()) {
        location.root = QFileInfo(programDir).absoluteFilePath();
        location.source = Source::ProgramFolder;
        return location;
    }
    location.root = QFileInfo(userDir).absoluteFilePath();
    location.source = Source::UserFolder;
    location.defaultsDir = installedDefaults(programDir);
    return location;
}

DataLocation DataLocation::choose(const QString& dataDirOption)
{
    // Only the user's folder needs the application name, so it is looked up
    // only when the other two do not apply.
    const QString programDir = QCoreApplication::applicationDirPath();
    DataLocation location = choose(dataDirOption, programDir, QString());
    if (location.source == Source::UserFolder)
        location = choose(dataDirOption, programDir, userDataFolder());
    return location;
}

QString DataLocation::installedDefaults(const QString& programDir)
{
    const QString folder = QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(STRYDE_DEFAULTS_FROM_BIN)));
    return QFileInfo(folder).isDir() ? folder : QString();
}

bool DataLocation::prepare(QString* error) const
{
    qCInfo(lcStore).noquote() << describe();
    if (source != Source::UserFolder)
        return true;
    const QString modules = QDir(root).filePath(QStringLiteral("modules"));
    if (root.isEmpty() || !QDir().mkpath(modules)) {
        *error = QStringLiteral("cannot make the data folder %1").arg(modules);
        return false;
    }
    if (defaultsDir.isEmpty()) {
        qCWarning(lcStore).noquote() << "no installed defaults beside the program (expected"
                                     << QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                                                        + QLatin1String(STRYDE_DEFAULTS_FROM_BIN))
                                            + QLatin1Char(')');
        return true;
    }
    const InstalledDefaults::Result r = InstalledDefaults(defaultsDir, modules).apply();
    if (r.copied > 0 || r.replaced > 0 || r.keysAdded > 0)
        qCInfo(lcStore).noquote() << QStringLiteral("installed defaults applied: %1 file(s) copied, %2 updated, %3 new key(s)")
                                         .arg(r.copied).arg(r.replaced).arg(r.keysAdded);
    if (!r.ok)
        qCWarning(lcStore) << "some installed defaults could not be applied; the program goes on with what is there";
    return true;
}

QString DataLocation::describe() const
{
    const QString folder = QDir::toNativeSeparators(QDir(root).filePath(QStringLiteral("modules")));
    switch (source) {
    case Source::Option:
        return QStringLiteral("data folder %1 (given with --data-dir)").arg(folder);
    case Source::ProgramFolder:
        return QStringLiteral("data folder %1 (beside the program)").arg(folder);
    case Source::UserFolder:
        break;
    }
    return QStringLiteral("data folder %1 (the user's data folder; installed defaults: %2)")
        .arg(folder, defaultsDir.isEmpty() ? QStringLiteral("none found") : QDir::toNativeSeparators(defaultsDir));
}
