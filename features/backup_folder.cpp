#include "features/backup_folder.h"

#include "features/features_log.h"
#include "store/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

BackupFolder::BackupFolder(const QString& dataRoot)
    : m_path(QDir(dataRoot).absoluteFilePath(QStringLiteral("modules/backup")))
{
}

QString BackupFolder::fileName(quint16 vendorId, quint16 productId, const QDateTime& taken)
{
    QString name = BackupRecord::mouseName(vendorId, productId);
    name.replace(QLatin1Char(':'), QLatin1Char('-'));   // no colon in a Windows file name
    return name + QLatin1Char('-') + taken.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"))
           + QStringLiteral(".json");
}

QStringList BackupFolder::list(quint16 vendorId, quint16 productId) const
{
    // The names save() makes, and only those: the same length, prefix and suffix.
    const QString sample = fileName(vendorId, productId, QDateTime::fromMSecsSinceEpoch(0, Qt::UTC));
    const QString prefix = sample.left(10);
    QStringList names;
    // Filtered here rather than by a name filter, which would build a regular
    // expression (and load its engine) for a prefix and a suffix.
    const QStringList entries = QDir(m_path).entryList(QDir::Files, QDir::Name);
    for (const QString& name : entries) {
        if (!name.startsWith(prefix, Qt::CaseInsensitive) || !name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
            continue;
        const QString time = name.mid(prefix.size(), sample.size() - prefix.size() - 5);
        if (name.size() == sample.size()
            && QDateTime::fromString(time, QStringLiteral("yyyyMMdd-HHmmss-zzz")).isValid())
            names << QDir(m_path).filePath(name);
    }
    return names;
}

QString BackupFolder::newest(quint16 vendorId, quint16 productId) const
{
    const QStringList all = list(vendorId, productId);
    return all.isEmpty() ? QString() : all.last();
}

QString BackupFolder::save(BackupRecord r, const QString& keep) const
{
    if (!QDir().mkpath(m_path)) {
        qCWarning(lcFeatures) << "cannot make the backup folder" << m_path;
        return QString();
    }
    QString target = QDir(m_path).filePath(fileName(r.vendorId, r.productId, r.taken));
    while (QFileInfo::exists(target)) {
        r.taken = r.taken.addMSecs(1);
        target = QDir(m_path).filePath(fileName(r.vendorId, r.productId, r.taken));
    }
    if (!SafeFile::write(target, r.toJson())) {
        qCWarning(lcFeatures) << "cannot write the mouse backup" << target;
        return QString();
    }
    const QString kept = keep.isEmpty() ? QString() : QFileInfo(keep).absoluteFilePath();
    QStringList all;
    for (const QString& p : list(r.vendorId, r.productId)) {
        if (QFileInfo(p).absoluteFilePath() != kept)
            all << p;
    }
    for (int i = 0; i < all.size() - kKeep; ++i) {
        if (QFile::remove(all.at(i)))
            qCDebug(lcFeatures) << "removed the old mouse backup" << all.at(i);
        else
            qCWarning(lcFeatures) << "cannot remove the old mouse backup" << all.at(i);
    }
    return target;
}

std::optional<BackupRecord> BackupFolder::load(const QString& path, QString* error)
{
    const std::optional<QByteArray> text = SafeFile::read(path, kMaxFileBytes);
    if (!text) {
        if (error)
            *error = QFileInfo(path).isFile() ? QStringLiteral("it cannot be read or is too large for a backup")
                                              : QStringLiteral("there is no such file");
        return std::nullopt;
    }
    return BackupRecord::fromJson(*text, error);
}
