#include "store/damaged_files.h"

#include "store/store_log.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

bool DamagedFiles::isDamagedContent(const QByteArray& data)
{
    if (data.size() > MaxBytes)
        return true;
    // INI text holds no control characters below 0x20 but tab, line feed and
    // carriage return: the settings format writes the others escaped. (It
    // writes DEL as it is, so that one may occur.)
    for (const char c : data) {
        const uchar u = uchar(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            return true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(data);
    Q_UNUSED(text);
    return decoder.hasError();
}

bool DamagedFiles::isDamaged(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return false;
    if (info.size() > MaxBytes)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Unreadable is not the same as damaged: the settings object will
        // not read it either, and nothing is moved without seeing the bytes.
        qCDebug(lcStore) << "cannot read" << path << file.errorString();
        return false;
    }
    return isDamagedContent(file.read(MaxBytes + 1));
}

QString DamagedFiles::damagedName(const QString& path)
{
    return path + QStringLiteral(".damaged");
}

bool DamagedFiles::keepAside(const QString& path)
{
    if (!isDamaged(path))
        return false;
    const QString aside = damagedName(path);
    if (QFileInfo::exists(aside)) {
        qCWarning(lcStore) << "an older damaged copy is replaced:" << aside;
        QFile::remove(aside);
    }
    if (!QFile::rename(path, aside)) {
        qCWarning(lcStore) << "damaged file" << path << "could not be kept aside as" << aside;
        return false;
    }
    qCWarning(lcStore) << "damaged file kept aside:" << path << "is now" << aside;
    return true;
}
