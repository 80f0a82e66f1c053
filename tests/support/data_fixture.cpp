#include "data_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

bool copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir src(from);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString rel = src.relativeFilePath(file);
        if (rel.startsWith(QLatin1String("qml/")) || rel.startsWith(QLatin1String("img/svg/"))
            || rel.endsWith(QLatin1String(".qrc"))
            || rel == QLatin1String("DevInfo.ini"))
            continue;
        const QString dst = to + QLatin1Char('/') + rel;
        QDir().mkpath(QFileInfo(dst).path());
        // A plain copy: QFile::copy syncs every file to disk, which a
        // throw-away fixture does not need and which makes tests slow.
        QFile in(file);
        QFile out(dst);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        if (out.write(in.readAll()) != in.size())
            return false;
    }
    return true;
}

} // namespace

DataFixture::DataFixture()
{
    if (!m_dir.isValid())
        return;
    const QString modules = m_dir.path() + QStringLiteral("/modules");
    QDir().mkpath(modules + QStringLiteral("/macro"));
    m_valid = copyTree(QStringLiteral(STRYDE_SOURCE_DIR "/modules"), modules);
}

QString DataFixture::path(const QString& relative) const
{
    return m_dir.path() + QLatin1Char('/') + relative;
}

bool DataFixture::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(content) == content.size();
}

QByteArray DataFixture::readFile(const QString& relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
