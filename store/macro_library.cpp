#include "store/macro_library.h"

#include "store/argument_check.h"
#include "store/damaged_files.h"
#include "store/file_dialogs.h"
#include "store/import_check.h"
#include "store/operation_failures.h"
#include "store/safe_file.h"
#include "store/settings_store.h"
#include "store/store_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cstring>
#include <limits>

namespace {

QString viewTr(const char* text)
{
    return QCoreApplication::translate("myQQuickView", text);
}

QString desktop()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

// Windows rejects these characters in file names on every file system.
constexpr char kReservedChars[] = "<>:\"/\\|?*";

// Device names Windows reserves, with or without an extension.
constexpr const char* kReservedNames[] = {
    "CON", "PRN", "AUX", "NUL",
    "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9",
    "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

bool isReservedName(const QString& name)
{
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed();
    for (const char* reserved : kReservedNames) {
        if (base.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

MacroLibrary::MacroLibrary(SettingsStore& store, FileDialogs& dialogs)
    : m_store(store)
    , m_dialogs(dialogs)
{
}

QString MacroLibrary::fileFilter()
{
    return viewTr("Macro(*.mc)");
}

bool MacroLibrary::isValidMacroName(const QString& name)
{
    if (name.isEmpty() || name.size() > MaxNameLength)
        return false;
    if (!QStringView(name).isValidUtf16())
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.category() == QChar::Other_Control)
            return false;
        if (c.unicode() < 0x80 && std::strchr(kReservedChars, char(c.unicode())))
            return false;
    }
    if (name.contains(QLatin1String("..")))
        return false;
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return false;
    return !isReservedName(name);
}

QString MacroLibrary::macroPath(const QString& name) const
{
    return m_store.modulesPath(QStringLiteral("macro/") + name + QStringLiteral(".bin"));
}

std::optional<QString> MacroLibrary::checkedPath(const QVariant& name, const char* operation) const
{
    const QString text = name.toString();
    if (!isValidMacroName(text)) {
        // No control characters in the log.
        ArgumentCheck::refuse(operation, "name", QString::fromLatin1(text.toUtf8().toPercentEncoding(" _-.")));
        return std::nullopt;
    }
    return macroPath(text);
}

bool MacroLibrary::createMacroIni(const QVariant& name, const QVariant& macroIndex)
{
    const std::optional<QString> path = checkedPath(name, "createMacroIni");
    if (!path)
        return false;
    const std::optional<qint64> index = ArgumentCheck::integer(macroIndex, 0, std::numeric_limits<uint>::max());
    if (!index) {
        ArgumentCheck::refuse("createMacroIni", "macroIndex",
                              QStringLiteral("%1 is no unsigned 32-bit number").arg(macroIndex.toString()));
        return false;
    }
    DamagedFiles::keepAside(*path);
    QSettings file(*path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("config"));
    file.setValue(QStringLiteral("index"), uint(*index));
    file.setValue(QStringLiteral("total"), 0);
    file.setValue(QStringLiteral("repeat"), 1);
    file.setValue(QStringLiteral("did"), -1);
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError) {
        OperationFailures::cannotWrite("createMacroIni", *path);
        return false;
    }
    return true;
}

bool MacroLibrary::saveMacroIni(const QVariant& name, const QStringList& macros, const QVariant& repeat)
{
    const std::optional<QString> path = checkedPath(name, "saveMacroIni");
    if (!path)
        return false;
    if (macros.size() > MaxActions) {
        ArgumentCheck::refuse("saveMacroIni", "macros",
                              QStringLiteral("%1 actions, at most %2").arg(macros.size()).arg(MaxActions));
        return false;
    }
    // The mouse counts repeats in 16 bits; anything else is no repeat count.
    const std::optional<qint64> repeats = ArgumentCheck::integer(repeat, 0, MaxRepeat);
    if (!repeats) {
        ArgumentCheck::refuse("saveMacroIni", "repeat",
                              QStringLiteral("%1 is no repeat count (0-%2)").arg(repeat.toString()).arg(MaxRepeat));
        return false;
    }
    // A damaged macro file is kept aside; the edit then goes to a fresh one.
    if (!DamagedFiles::keepAside(*path) && !QFileInfo(*path).isFile()) {
        OperationFailures::fail("saveMacroIni", QStringLiteral("there is no macro file %1").arg(*path));
        return false;
    }
    QSettings file(*path, QSettings::IniFormat);
    file.remove(QStringLiteral("macro"));
    file.setValue(QStringLiteral("config/total"), int(macros.size()));
    file.setValue(QStringLiteral("config/repeat"), int(*repeats));
    file.beginGroup(QStringLiteral("macro"));
    for (int i = 0; i < macros.size(); ++i)
        file.setValue(QString::number(i), macros.at(i));
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError) {
        OperationFailures::cannotWrite("saveMacroIni", *path);
        return false;
    }
    return true;
}

QStringList MacroLibrary::loadMacroIni(const QVariant& name) const
{
    const std::optional<QString> path = checkedPath(name, "loadMacroIni");
    if (!path || !QFileInfo(*path).isFile())
        return QStringList();
    const QSettings file(*path, QSettings::IniFormat);
    int total = file.value(QStringLiteral("config/total"), 0).toInt();
    if (total < 0 || total > MaxActions) {
        qCDebug(lcStore) << "loadMacroIni: damaged action count" << total << "in" << *path;
        total = 0;
    }
    QStringList result;
    result.reserve(total + 1);
    for (int i = 0; i < total; ++i)
        result.append(file.value(QStringLiteral("macro/") + QString::number(i), 0).toString());
    result.append(file.value(QStringLiteral("config/repeat"), 0).toString());
    return result;
}

bool MacroLibrary::deleteMacroIni(const QVariant& name)
{
    const std::optional<QString> path = checkedPath(name, "deleteMacroIni");
    if (!path)
        return false;
    if (!QFileInfo(*path).isFile()) {
        OperationFailures::fail("deleteMacroIni", QStringLiteral("there is no macro file %1").arg(*path));
        return false;
    }
    if (!QFile::remove(*path)) {
        OperationFailures::cannotWrite("deleteMacroIni", *path);
        return false;
    }
    return true;
}

bool MacroLibrary::modifyMacroNameUpdateProfile(const QVariant& oldname, const QVariant& newname)
{
    const std::optional<QString> oldPath = checkedPath(oldname, "modifyMacroNameUpdateProfile");
    const std::optional<QString> newPath = checkedPath(newname, "modifyMacroNameUpdateProfile");
    if (!oldPath || !newPath)
        return false;
    if (!QFileInfo(*oldPath).isFile()) {
        OperationFailures::fail("modifyMacroNameUpdateProfile", QStringLiteral("there is no macro file %1").arg(*oldPath));
        return false;
    }
    if (QFileInfo::exists(*newPath)) {
        OperationFailures::fail("modifyMacroNameUpdateProfile", QStringLiteral("a macro of the new name exists: %1").arg(*newPath));
        return false;
    }
    if (!QFile::rename(*oldPath, *newPath)) {
        OperationFailures::cannotWrite("modifyMacroNameUpdateProfile", *newPath);
        return false;
    }
    // Profiles refer to macros by name: follow the file.
    const QString from = oldname.toString();
    const QString to = newname.toString();
    for (int slot = 0; slot < ProfileSlotsWithMacros; ++slot) {
        QSettings* profile = m_store.slotSettings(slot);
        profile->beginGroup(QStringLiteral("mouseMacroKey"));
        const QStringList keys = profile->allKeys();
        for (const QString& key : keys) {
            if (profile->value(key, QString()).toString() == from)
                profile->setValue(key, to);
        }
        profile->endGroup();
    }
    return true;
}

bool MacroLibrary::deleteMacroUpdateProfile(const QVariant& macroName)
{
    if (!checkedPath(macroName, "deleteMacroUpdateProfile"))
        return false;
    const QString name = macroName.toString();
    const QSettings* defaults = m_store.defaultProfileSettings();
    for (int slot = 0; slot < ProfileSlotsWithMacros; ++slot) {
        QSettings* profile = m_store.slotSettings(slot);
        for (int button = 0; button < ButtonCount; ++button) {
            const QString key = QStringLiteral("mouseKeyMatrix/") + QString::number(button);
            const QVariantList entry = SettingsStore::toValueList(profile->value(key));
            // A macro binding is (4, -, macro number, -); anything shorter binds nothing.
            if (entry.size() < 3) {
                if (profile->contains(key))
                    qCDebug(lcStore) << "deleteMacroUpdateProfile: damaged entry ignored, profile" << slot << key;
                continue;
            }
            if (entry.at(0).toInt() != 4)
                continue;
            const QString bound = profile->value(
                QStringLiteral("mouseMacroKey/") + QString::number(entry.at(2).toInt())).toString();
            if (bound != name)
                continue;
            const QVariantList original = SettingsStore::toValueList(defaults->value(key));
            if (original.isEmpty())
                profile->remove(key);
            else
                profile->setValue(key, original);
        }
    }
    return true;
}

bool MacroLibrary::loadMacroFile(const QVariant& macroFileName)
{
    const std::optional<QString> path = checkedPath(macroFileName, "loadMacroFile");
    if (!path)
        return false;
    const QString chosen = m_dialogs.getOpenFileName(viewTr("Open File"), desktop(), fileFilter());
    if (chosen.isEmpty())
        return false;
    if (QFileInfo::exists(*path)) {
        OperationFailures::fail("loadMacroFile", QStringLiteral("a macro of that name exists, import refused: %1").arg(*path));
        return false;
    }
    const std::optional<QByteArray> content = ImportCheck::readIniText(chosen);
    if (!content) {
        OperationFailures::fail("loadMacroFile", QStringLiteral("%1 is no macro file that can be imported").arg(chosen));
        return false;
    }
    QDir().mkpath(QFileInfo(*path).path());
    if (!SafeFile::write(*path, *content)) {
        OperationFailures::cannotWrite("loadMacroFile", *path);
        return false;
    }
    return true;
}

bool MacroLibrary::saveMacroFile(const QVariant& macroFileName)
{
    const std::optional<QString> path = checkedPath(macroFileName, "saveMacroFile");
    if (!path)
        return false;
    if (!QFileInfo(*path).isFile()) {
        OperationFailures::fail("saveMacroFile", QStringLiteral("there is no macro file %1").arg(*path));
        return false;
    }
    const QString target = m_dialogs.getSaveFileName(viewTr("Save File"), desktop(), fileFilter());
    if (target.isEmpty())
        return false;
    if (m_store.isInDataFolder(target)) {
        ArgumentCheck::refuse("saveMacroFile", "target",
                              QStringLiteral("%1 lies among the program's own files").arg(target));
        return false;
    }
    if (!SafeFile::copy(*path, target)) {
        OperationFailures::cannotWrite("saveMacroFile", target);
        return false;
    }
    return true;
}
