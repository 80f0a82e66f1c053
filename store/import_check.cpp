#include "store/import_check.h"

#include "store/safe_file.h"
#include "store/store_log.h"

#include <QStringDecoder>

bool ImportCheck::isPlausibleIniText(const QByteArray& data)
{
    if (data.size() > MaxBytes || data.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(data);
    Q_UNUSED(text);
    return !decoder.hasError();
}

std::optional<QByteArray> ImportCheck::readIniText(const QString& path)
{
    std::optional<QByteArray> data = SafeFile::read(path, MaxBytes);
    if (!data)
        return std::nullopt;
    if (!isPlausibleIniText(*data)) {
        qCDebug(lcStore) << "import refused, not INI text:" << path;
        return std::nullopt;
    }
    return data;
}
