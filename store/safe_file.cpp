#include "store/safe_file.h"

#include "store/store_log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

namespace {

SafeFile::CommitHook& commitHook()
{
    static SafeFile::CommitHook hook;
    return hook;
}

// Settings readers cache a parsed file by its size and modification time (in
// milliseconds). A replacement of the same size written within the same
// millisecond would look unchanged to them, so the new file's time is moved
// past the old one when the clock did not do it already.
void advanceModificationTime(const QString& target, const QDateTime& before)
{
    if (!before.isValid())
        return;
    if (QFileInfo(target).lastModified() > before)
        return;
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(before.addMSecs(1), QFileDevice::FileModificationTime))
        qCDebug(lcStore) << "SafeFile: cannot advance the modification time of" << target;
}

const QLatin1String kTemporaryInfix(".stryde-tmp-");
constexpr int kRandomLength = 6;

QString randomPart()
{
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString text;
    for (int i = 0; i < kRandomLength; ++i)
        text += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof(kChars) - 1))]);
    return text;
}

// The content on the disk before the rename, so that a power cut cannot
// leave the renamed file empty.
bool flushToDisk(QFile& file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()))) != 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// Renames `from` over `to`, replacing it in one step.
bool replaceFile(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

} // namespace

QString SafeFile::temporaryName(const QString& targetFileName, const QString& random)
{
    return QLatin1Char('.') + targetFileName + kTemporaryInfix + random;
}

bool SafeFile::isTemporaryName(const QString& fileName)
{
    // ".<name>.stryde-tmp-XXXXXX" (plain string tests: a regular expression
    // would load its engine at every start).
    const qsizetype nameEnd = fileName.size() - kRandomLength - kTemporaryInfix.size();
    if (nameEnd < 2 || !fileName.startsWith(QLatin1Char('.'))
        || QStringView(fileName).mid(nameEnd, kTemporaryInfix.size()) != kTemporaryInfix)
        return false;
    for (QChar c : QStringView(fileName).right(kRandomLength)) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z')))
            return false;
    }
    return true;
}

std::optional<QByteArray> SafeFile::read(const QString& path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        qCDebug(lcStore) << "SafeFile: not a regular file:" << path;
        return std::nullopt;
    }
    if (info.size() > maxBytes) {
        qCDebug(lcStore) << "SafeFile: file too large:" << path << info.size();
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcStore) << "SafeFile: cannot open" << path << file.errorString();
        return std::nullopt;
    }
    // Read one byte more than allowed, so a file that grew meanwhile is
    // still caught.
    QByteArray data = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || data.size() > maxBytes) {
        qCDebug(lcStore) << "SafeFile: cannot read" << path;
        return std::nullopt;
    }
    return data;
}

bool SafeFile::write(const QString& target, const QByteArray& data)
{
    const QFileInfo old(target);
    const QDateTime before = old.exists() ? old.lastModified() : QDateTime();
    if (old.isDir()) {
        qCDebug(lcStore) << "SafeFile: cannot write" << target << "(a folder of that name is in the way)";
        return false;
    }

    // A name of its own, made with the file, so that nobody else's file is
    // ever opened or removed here.
    QFile temp;
    bool created = false;
    for (int attempt = 0; attempt < 16 && !created; ++attempt) {
        temp.setFileName(old.absoluteDir().filePath(temporaryName(old.fileName(), randomPart())));
        created = temp.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    }
    if (!created) {
        qCDebug(lcStore) << "SafeFile: cannot write" << target << temp.errorString();
        return false;
    }
    const QString tempPath = temp.fileName();
    auto abandon = [&](const char* what) {
        qCDebug(lcStore) << "SafeFile:" << what << target << temp.errorString();
        temp.close();
        QFile::remove(tempPath);
        return false;
    };
    // The replacement keeps the access rights of the file it replaces.
    if (old.exists())
        temp.setPermissions(old.permissions());
    if (temp.write(data) != data.size() || !flushToDisk(temp))
        return abandon("writing failed:");
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        return abandon("writing failed:");
    if (commitHook() && !commitHook()(target))
        return abandon("replacement stopped before commit:");
    if (!replaceFile(tempPath, target))
        return abandon("cannot replace");
    advanceModificationTime(target, before);
    return true;
}

bool SafeFile::copy(const QString& source, const QString& target)
{
    const std::optional<QByteArray> data = read(source);
    if (!data)
        return false;
    return write(target, *data);
}

void SafeFile::setCommitHook(CommitHook hook)
{
    commitHook() = std::move(hook);
}
