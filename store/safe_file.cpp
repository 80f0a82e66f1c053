#include "store/safe_file.h"

#include "store/store_log.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

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

    QSaveFile out(target);
    // Never fall back to writing the target in place.
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly)) {
        qCDebug(lcStore) << "SafeFile: cannot write" << target << out.errorString();
        return false;
    }
    if (out.write(data) != data.size() || !out.flush()) {
        qCDebug(lcStore) << "SafeFile: writing failed:" << target << out.errorString();
        out.cancelWriting();
        return false;
    }
    if (commitHook() && !commitHook()(target)) {
        qCDebug(lcStore) << "SafeFile: replacement stopped before commit:" << target;
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        qCDebug(lcStore) << "SafeFile: cannot replace" << target << out.errorString();
        return false;
    }
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
