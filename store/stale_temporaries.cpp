#include "store/stale_temporaries.h"

#include "store/store_log.h"
#include "store/work_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The folders the program writes below modules/.
constexpr const char* kWrittenFolders[] = {"setting", "macro", "gun", "backup"};

// Six-letter words that name a user's own copy of a file (p1.bin.backup).
constexpr const char* kOwnCopyWords[] = {"backup", "before", "latest", "oldest", "recent", "stable"};

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

} // namespace

bool StaleTemporaries::isTemporaryName(const QString& fileName)
{
    // Plain string tests rather than a regular expression: this runs at every
    // start, and a regular expression would load its engine for it.
    constexpr qsizetype kRandom = WorkFolder::kRandomLength;
    if (!WorkFolder::hasRandomEnd(fileName) || fileName.size() < kRandom + 1
        || fileName.at(fileName.size() - kRandom - 1) != QLatin1Char('.')
        || !isDataFileName(QStringView(fileName).chopped(kRandom + 1)))
        return false;
    const QString suffix = fileName.right(kRandom);
    // Qt names its temporary files with six random letters, and one in
    // twenty of those is all lower case, all upper case or capitalised: such
    // a name alone does not tell a temporary file from a copy the user made.
    // The words people name their copies with do.
    for (const char* word : kOwnCopyWords) {
        if (suffix.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

bool StaleTemporaries::isLockName(const QString& fileName)
{
    const QLatin1String lock(".lock");
    return fileName.endsWith(lock) && isDataFileName(QStringView(fileName).chopped(lock.size()));
}

QStringList StaleTemporaries::remove(const QString& dataRoot)
{
    QStringList removed;
    for (const char* folder : kWrittenFolders) {
        const QDir dir(dataRoot + QStringLiteral("/modules/") + QLatin1String(folder));
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot
                                                        | QDir::Hidden | QDir::System);
        for (const QFileInfo& entry : entries) {
            if (entry.isSymLink())
                continue;
            if (entry.isDir()) {
                if (WorkFolder::isWorkFolderName(entry.fileName()) && WorkFolder::removeIfAbandoned(entry.filePath())) {
                    qCDebug(lcStore) << "removed the work folder of an interrupted change:" << entry.filePath();
                    removed << entry.filePath();
                }
                continue;
            }
            if (isLockName(entry.fileName())) {
                if (WorkFolder::removeAbandonedLock(entry.filePath())) {
                    qCDebug(lcStore) << "removed the lock file of an interrupted save:" << entry.filePath();
                    removed << entry.filePath();
                }
                continue;
            }
            if (!isTemporaryName(entry.fileName()))
                continue;
            if (QFile::remove(entry.filePath())) {
                qCDebug(lcStore) << "removed the temporary file of an interrupted save:" << entry.filePath();
                removed << entry.filePath();
            } else {
                qCWarning(lcStore) << "cannot remove the temporary file" << entry.filePath();
            }
        }
    }
    return removed;
}
