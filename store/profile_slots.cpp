#include "store/profile_slots.h"

#include "store/argument_check.h"
#include "store/file_dialogs.h"
#include "store/import_check.h"
#include "store/operation_failures.h"
#include "store/safe_file.h"
#include "store/settings_store.h"
#include "store/store_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

// The dialog texts belong to the view's translation context.
QString viewTr(const char* text)
{
    return QCoreApplication::translate("myQQuickView", text);
}

QString desktop()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace

ProfileSlots::ProfileSlots(SettingsStore& store, FileDialogs& dialogs)
    : m_store(store)
    , m_dialogs(dialogs)
{
}

QString ProfileSlots::fileFilter()
{
    return viewTr("Profile(*.pf)");
}

bool ProfileSlots::loadProfile(int profile)
{
    if (!SettingsStore::isSlotIndex(profile)) {
        ArgumentCheck::refuse("loadProfile", "profile", QStringLiteral("no profile slot %1").arg(profile));
        return false;
    }
    const QString chosen = m_dialogs.getOpenFileName(viewTr("Open File"), desktop(), fileFilter());
    if (chosen.isEmpty())
        return false;
    if (m_store.isSlotFile(profile, chosen))
        return true;
    // A file that could not be imported is answered like a cancel: the
    // profile page then drops the entry it made for the import instead of
    // showing the slot's old contents under a new name.
    const std::optional<QByteArray> content = ImportCheck::readIniText(chosen);
    if (!content) {
        OperationFailures::fail("loadProfile", QStringLiteral("import failed, %1 is no profile file; profile %2 is kept")
                                                   .arg(QDir::toNativeSeparators(chosen)).arg(profile));
        return false;
    }
    if (!m_store.replaceSlotContent(profile, *content)) {
        qCWarning(lcStore) << "loadProfile: profile" << profile << "kept, import failed:" << chosen;
        return false;
    }
    return true;
}

bool ProfileSlots::saveProfile(int profile)
{
    QSettings* slot = m_store.slotSettings(profile);
    if (!slot) {
        ArgumentCheck::refuse("saveProfile", "profile", QStringLiteral("no profile slot %1").arg(profile));
        return false;
    }
    const QString target = m_dialogs.getSaveFileName(viewTr("Save File"), desktop(), fileFilter());
    if (target.isEmpty())
        return false;
    if (m_store.isInDataFolder(target)) {
        ArgumentCheck::refuse("saveProfile", "target",
                              QStringLiteral("%1 lies among the program's own files").arg(target));
        return false;
    }
    // The export holds what the pages stored, also what is not written back
    // yet. Fetched again: the store may have renewed the object meanwhile.
    m_store.slotSettings(profile)->sync();
    if (!SafeFile::copy(m_store.slotFileName(profile), target)) {
        OperationFailures::cannotWrite("saveProfile", target);
        return false;
    }
    return true;
}

bool ProfileSlots::resetProfile(int profile)
{
    return m_store.replaceSlotFile(profile, m_store.settingPath(QStringLiteral("pD.bin")));
}

bool ProfileSlots::copyProfile(int destprofile, int srcprofile)
{
    if (!SettingsStore::isSlotIndex(srcprofile) || !SettingsStore::isSlotIndex(destprofile)) {
        ArgumentCheck::refuse("copyProfile", "profile",
                              QStringLiteral("no profile slot %1 or %2").arg(destprofile).arg(srcprofile));
        return false;
    }
    return m_store.replaceSlotFile(destprofile, m_store.slotFileName(srcprofile));
}
