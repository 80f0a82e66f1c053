#pragma once
// The mouse backups of a data folder: modules/backup/, one JSON file per
// backup, named by the mouse and the time it was taken (UTC, to the
// millisecond), so that names sort oldest first:
//
//   04d9-a1ee-20250301-093000-125.json
//
// Files are written atomically; the newest kKeep of each mouse are kept.
// Other files in the folder are left alone.

#include "features/backup_record.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class BackupFolder {
public:
    static constexpr int kKeep = 10;
    // A backup is about 1.5 KB; anything far larger is not one.
    static constexpr qint64 kMaxFileBytes = 64 * 1024;

    // The folder below `dataRoot` (the folder that holds modules/).
    explicit BackupFolder(const QString& dataRoot);
    QString path() const { return m_path; }

    static QString fileName(quint16 vendorId, quint16 productId, const QDateTime& taken);

    // Writes `r` under its name, the folder created when needed; a name in
    // use moves on by a millisecond (and so does the record's time). Then
    // removes that mouse's backups beyond the newest kKeep, oldest first,
    // except the file `keep`. The path written; empty when nothing could be
    // written (nothing is removed then).
    QString save(BackupRecord r, const QString& keep = QString()) const;
    // The backups of a mouse, oldest first.
    QStringList list(quint16 vendorId, quint16 productId) const;
    // The newest of them; empty when there is none.
    QString newest(quint16 vendorId, quint16 productId) const;

    // Reads a backup. nullopt, with `error` saying why, when the file is
    // missing, not a plain file, too large or not a backup.
    static std::optional<BackupRecord> load(const QString& path, QString* error = nullptr);

private:
    QString m_path;
};
