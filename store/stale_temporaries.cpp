#include "store/stale_temporaries.h"

#include "store/store_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The folders the program writes below modules/.
constexpr const char* kWrittenFolders[] = {"setting", "macro", "gun", "backup"};

} // namespace

bool StaleTemporaries::isTemporaryName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^.+\\.(bin|json)\\.([A-Za-z0-9]{6})$"));
    static const QRegularExpression word(QStringLiteral("^([A-Z]?[a-z]+|[A-Z]+)$"));
    const QRegularExpressionMatch m = pattern.match(fileName);
    return m.hasMatch() && !word.match(m.captured(2)).hasMatch();
}

QStringList StaleTemporaries::remove(const QString& dataRoot)
{
    QStringList removed;
    for (const char* folder : kWrittenFolders) {
        const QDir dir(dataRoot + QStringLiteral("/modules/") + QLatin1String(folder));
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& entry : entries) {
            if (!isTemporaryName(entry.fileName()) || entry.isSymLink())
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
