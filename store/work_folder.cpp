#include "store/work_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kOwner = QStringLiteral(".owner");

std::unique_ptr<QLockFile> ownerLock(const QString& folder)
{
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + kOwner);
    // Only an owner that has ended leaves a stale lock, however long the
    // work takes.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

WorkFolder::WorkFolder(const QString& target)
    : m_dir(QFileInfo(target).path() + QStringLiteral("/.") + QFileInfo(target).fileName()
            + QStringLiteral(".work-XXXXXX"))
{
    if (!m_dir.isValid())
        return;
    m_owner = ownerLock(m_dir.path());
    // A start of the program in between may have taken the folder away.
    m_valid = m_owner->tryLock(0);
}

WorkFolder::~WorkFolder()
{
    if (m_owner)
        m_owner->unlock();
}

bool WorkFolder::isWorkFolderName(const QString& fileName)
{
    // ".<name>.work-XXXXXX" with a name of at least one character (plain
    // string tests: a regular expression would load its engine at start).
    const QLatin1String infix(".work-");
    const qsizetype nameEnd = fileName.size() - kRandomLength - infix.size();
    return nameEnd >= 2 && fileName.startsWith(QLatin1Char('.'))
           && QStringView(fileName).mid(nameEnd, infix.size()) == infix && hasRandomEnd(fileName);
}

bool WorkFolder::hasRandomEnd(QStringView name)
{
    if (name.size() < kRandomLength)
        return false;
    for (QChar c : name.right(kRandomLength)) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z')))
            return false;
    }
    return true;
}

bool WorkFolder::removeIfAbandoned(const QString& path)
{
    if (!removeAbandonedLock(path + QLatin1Char('/') + kOwner))
        return false;
    // Taken while the folder goes, so that no program starts work in it.
    std::unique_ptr<QLockFile> owner = ownerLock(path);
    if (!owner->tryLock(0))
        return false;
    owner->unlock();
    return QDir(path).removeRecursively();
}

bool WorkFolder::removeAbandonedLock(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return true;
    // A lock file starts with its owner's process id on a line of its own.
    bool named = false;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray firstLine = file.readLine(32).trimmed();
        firstLine.toLongLong(&named);
        file.close();
    }
    if (!named)
        return QFile::remove(path) || !QFileInfo::exists(path);
    QLockFile lock(path);
    lock.setStaleLockTime(0);      // only an owner that has ended counts
    if (!lock.tryLock(0))
        return false;
    lock.unlock();
    return !QFileInfo::exists(path);
}
