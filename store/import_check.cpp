#include "store/import_check.h"

#include "store/damaged_files.h"
#include "store/safe_file.h"
#include "store/store_log.h"

bool ImportCheck::isPlausibleIniText(const QByteArray& data)
{
    return data.size() <= MaxBytes && !DamagedFiles::isDamagedContent(data);
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
