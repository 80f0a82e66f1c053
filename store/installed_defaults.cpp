#include "store/installed_defaults.h"

#include "store/damaged_files.h"
#include "store/safe_file.h"
#include "store/store_log.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <optional>

namespace {

// The setting, profile, name-list, macro, recoil and language files are INI
// text; the rest (the tray icon) is copied as it is.
bool isIniFile(const QString& relative)
{
    return relative.endsWith(QLatin1String(".bin")) || relative.endsWith(QLatin1String(".ini"));
}

QStringList keysOf(const QString& path)
{
    return QSettings(path, QSettings::IniFormat).allKeys();
}

} // namespace

InstalledDefaults::InstalledDefaults(const QString& defaultsDir, const QString& modulesDir)
    : m_defaults(defaultsDir), m_modules(modulesDir)
{
}

InstalledDefaults::Result InstalledDefaults::apply() const
{
    Result result;
    const QDir defaults(m_defaults);
    // Folders first: an empty one (macro/) is part of what a user needs.
    QDirIterator dirs(m_defaults, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (dirs.hasNext()) {
        const QString relative = defaults.relativeFilePath(dirs.next());
        if (!QDir().mkpath(m_modules + QLatin1Char('/') + relative)) {
            qCWarning(lcStore).noquote() << "cannot make the folder" << m_modules + QLatin1Char('/') + relative;
            result.ok = false;
        }
    }
    QDirIterator files(m_defaults, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList relatives;
    while (files.hasNext())
        relatives.append(defaults.relativeFilePath(files.next()));
    relatives.sort();
    for (const QString& relative : relatives) {
        if (!applyFile(relative, result))
            result.ok = false;
    }
    return result;
}

bool InstalledDefaults::applyFile(const QString& relative, Result& result) const
{
    const QString source = m_defaults + QLatin1Char('/') + relative;
    const QString target = m_modules + QLatin1Char('/') + relative;
    const QString snapshot = m_modules + QLatin1Char('/') + QLatin1String(kSnapshotFolder) + QLatin1Char('/') + relative;
    const std::optional<QByteArray> fresh = SafeFile::read(source);
    if (!fresh) {
        qCWarning(lcStore).noquote() << "cannot read the installed default" << source;
        return false;
    }
    const std::optional<QByteArray> previous = SafeFile::read(snapshot);
    const bool ini = isIniFile(relative);

    // A file that is no INI text any more would lose everything to the merge.
    if (ini && DamagedFiles::isDamaged(target) && !DamagedFiles::keepAside(target))
        return false;

    if (!QFileInfo::exists(target)) {
        if (!QDir().mkpath(QFileInfo(target).path()) || !SafeFile::write(target, *fresh)) {
            qCWarning(lcStore).noquote() << "cannot copy the installed default" << source << "to" << target;
            return false;
        }
        ++result.copied;
    } else if (!previous || *previous != *fresh) {
        // Newer defaults (or none applied before): what does the user's file hold?
        const std::optional<QByteArray> current = SafeFile::read(target);
        if (!current) {
            qCWarning(lcStore).noquote() << "cannot read" << target << "to bring it up to date";
            return false;
        }
        if (*current == *fresh) {
            // Already the same.
        } else if (previous && *current == *previous) {
            if (!SafeFile::write(target, *fresh)) {
                qCWarning(lcStore).noquote() << "cannot update" << target << "to the installed default";
                return false;
            }
            ++result.replaced;
        } else if (ini) {
            QStringList added = keysOf(source);
            if (previous) {
                const QStringList old = keysOf(snapshot);
                const QSet<QString> known(old.cbegin(), old.cend());
                added.removeIf([&known](const QString& key) { return known.contains(key); });
            }
            const QSettings defaults(source, QSettings::IniFormat);
            QSettings user(target, QSettings::IniFormat);
            int count = 0;
            for (const QString& key : std::as_const(added)) {
                if (user.contains(key))
                    continue;
                user.setValue(key, defaults.value(key));
                ++count;
            }
            user.sync();
            if (user.status() != QSettings::NoError) {
                qCWarning(lcStore).noquote() << "cannot add the new keys of the installed default to" << target;
                return false;
            }
            if (count > 0)
                qCInfo(lcStore).noquote() << target << "takes" << count << "new key(s) from the installed defaults";
            result.keysAdded += count;
        }
    }

    if (!previous || *previous != *fresh) {
        if (!QDir().mkpath(QFileInfo(snapshot).path()) || !SafeFile::write(snapshot, *fresh)) {
            qCWarning(lcStore).noquote() << "cannot keep a copy of the installed default in" << snapshot;
            return false;
        }
    }
    return true;
}
