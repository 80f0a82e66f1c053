#include "store/stale_temporaries.h"

#include "store/safe_file.h"
#include "store/store_log.h"
#include "store/work_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// The folders the program writes below modules/.
constexpr const char* kWrittenFolders[] = {"setting", "macro", "gun", "backup"};

const QLatin1String kLock(".lock");

// Six-letter words that name a user's own copy of a file (p1.bin.backup):
// kept even beside the lock of an interrupted save.
constexpr const char* kOwnCopyWords[] = {"backup", "before", "latest", "oldest", "recent", "stable"};

bool isOwnCopyWord(QStringView suffix)
{
    for (const char* word : kOwnCopyWords) {
        if (suffix.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Whether `text` is "<name>.bin" or "<name>.json" with a name of at least one
// character.
bool isDataFileName(QStringView text)
{
    for (QLatin1String ext : {QLatin1String(".bin"), QLatin1String(".json")}) {
        if (text.size() > ext.size() && text.endsWith(ext))
            return true;
    }
    return false;
}

bool removeFile(const QString& path, const char* what, QStringList& removed)
{
    if (QFile::remove(path)) {
        qCDebug(lcStore) << "removed" << what << "of an interrupted save:" << path;
        removed << path;
        return true;
    }
    qCWarning(lcStore) << "cannot remove" << what << path;
    return false;
}

} // namespace

bool StaleTemporaries::isTemporaryName(const QString& fileName)
{
    return SafeFile::isTemporaryName(fileName);
}

bool StaleTemporaries::isSettingsTemporaryName(const QString& fileName)
{
    // Plain string tests rather than a regular expression: this runs at every
    // start, and a regular expression would load its engine for it.
    constexpr qsizetype kRandom = WorkFolder::kRandomLength;
    return WorkFolder::hasRandomEnd(fileName) && fileName.size() > kRandom + 1
           && fileName.at(fileName.size() - kRandom - 1) == QLatin1Char('.')
           && isDataFileName(QStringView(fileName).chopped(kRandom + 1))
           && !isOwnCopyWord(QStringView(fileName).right(kRandom));
}

bool StaleTemporaries::isLockName(const QString& fileName)
{
    return fileName.endsWith(kLock) && isDataFileName(QStringView(fileName).chopped(kLock.size()));
}

QStringList StaleTemporaries::remove(const QString& dataRoot)
{
    QStringList removed;
    for (const char* folder : kWrittenFolders) {
        const QDir dir(dataRoot + QStringLiteral("/modules/") + QLatin1String(folder));
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot
                                                        | QDir::Hidden | QDir::System);
        // The settings format's temporary names, by the file they would replace.
        QHash<QString, QFileInfoList> settingsTemporaries;
        QFileInfoList locks;
        for (const QFileInfo& entry : entries) {
            if (entry.isSymLink())
                continue;
            const QString name = entry.fileName();
            if (entry.isDir()) {
                if (WorkFolder::isWorkFolderName(name) && WorkFolder::removeIfAbandoned(entry.filePath())) {
                    qCDebug(lcStore) << "removed the work folder of an interrupted change:" << entry.filePath();
                    removed << entry.filePath();
                }
            } else if (isTemporaryName(name)) {
                removeFile(entry.filePath(), "the temporary file", removed);
            } else if (isLockName(name)) {
                locks << entry;
            } else if (isSettingsTemporaryName(name)) {
                settingsTemporaries[name.chopped(WorkFolder::kRandomLength + 1)] << entry;
            }
        }
        for (const QFileInfo& lock : std::as_const(locks)) {
            // Read before the lock goes: the settings format makes its
            // temporary file only once it holds the lock.
            const QDateTime locked = lock.lastModified();
            if (!WorkFolder::removeAbandonedLock(lock.filePath()))
                continue;
            qCDebug(lcStore) << "removed the lock file of an interrupted save:" << lock.filePath();
            removed << lock.filePath();
            for (const QFileInfo& temp : settingsTemporaries.value(lock.fileName().chopped(kLock.size()))) {
                if (temp.lastModified() >= locked)
                    removeFile(temp.filePath(), "the temporary file", removed);
                else
                    qCDebug(lcStore) << "kept" << temp.filePath() << ": older than the interrupted save";
            }
        }
    }
    return removed;
}
