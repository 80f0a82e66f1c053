#include "features/recoil_ops.h"

#include "device/commands_553.h"
#include "device/hid_thread.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "features/mouse_values.h"
#include "features/profile_sync.h"
#include "features/recoil_data.h"
#include "store/argument_check.h"
#include "store/damaged_files.h"
#include "store/operation_failures.h"
#include "store/safe_file.h"
#include "store/settings_store.h"
#include "store/work_folder.h"

#include <QFileInfo>
#include <QSettings>
#include <limits>

namespace {

const QString kGroup = QStringLiteral("gunData");
const QString kXYSensitive = QStringLiteral("XYSensitive");
const QString kSelectGun = QStringLiteral("selectGun");
constexpr int kXYSensitiveDefault = 4;
constexpr int kLastAxis = 1;            // XYSensitive/0 is X, /1 is Y
constexpr int kLastSelectGun = 3;       // preset slots, counted from 0 or from 1
constexpr int kRenameValues = 7;    // new name, five values, old name
constexpr int kSaveValues = 6;      // name, five values
// The XY-sensitivity is a slider position: a pixel of the 1024-wide window.
constexpr int kLastSliderPosition = 1024;

} // namespace

QString RecoilOps::libraryPath() const
{
    return m_ctx.store ? m_ctx.store->modulesPath(QStringLiteral("gun/gunData.bin")) : QString();
}

bool RecoilOps::editLibrary(const char* operation, const std::function<bool(QSettings&)>& change)
{
    const QString path = libraryPath();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        OperationFailures::fail(operation, QStringLiteral("there is no preset library %1").arg(path));
        return false;
    }
    // A library that is no INI text is kept aside for the user; like a
    // missing library it then takes no changes.
    if (DamagedFiles::keepAside(path)) {
        OperationFailures::fail(operation, QStringLiteral("the preset library %1 was damaged").arg(path));
        return false;
    }
    const std::optional<QByteArray> old = SafeFile::read(path);
    if (!old) {
        OperationFailures::fail(operation, QStringLiteral("the preset library %1 cannot be read").arg(path));
        return false;
    }
    // The change is made on a private copy: a reader of the library's own path
    // would reuse what this process parsed before and could not tell that the
    // file is damaged. Only a complete, parsed result replaces the library.
    // Beside the library, not in the system's temporary folder: a copy left
    // by a killed program is removed at the next start.
    WorkFolder work(path);
    const QString copy = work.filePath(QStringLiteral("gunData.bin"));
    if (!work.isValid() || !SafeFile::write(copy, *old)) {
        OperationFailures::cannotWrite(operation, path);
        return false;
    }
    {
        QSettings file(copy, QSettings::IniFormat);
        if (file.status() != QSettings::NoError) {
            OperationFailures::fail(operation, QStringLiteral("the preset library %1 is damaged and is left as it is").arg(path));
            return false;
        }
        if (!change(file))
            return false;
        file.sync();
        if (file.status() != QSettings::NoError) {
            OperationFailures::cannotWrite(operation, path);
            return false;
        }
    }
    const std::optional<QByteArray> updated = SafeFile::read(copy);
    if (!updated || !SafeFile::write(path, *updated)) {
        OperationFailures::cannotWrite(operation, path);
        return false;
    }
    return true;
}

void RecoilOps::mouseSaveGundata(QVariant index, QVariantList src6)
{
    const QString name = index.toString();
    if (!recoil::isUsableName(name)) {
        ArgumentCheck::refuse("mouseSaveGundata", "index", QStringLiteral("no preset key: \"%1\"").arg(name));
        return;
    }
    // Exactly a name and the five values: a short list would store defaults
    // the page never chose, text where a number belongs a preset no page can show.
    if (src6.size() != kSaveValues) {
        ArgumentCheck::refuse("mouseSaveGundata", "src6",
                              QStringLiteral("%1 values; a preset has %2 (name, key, period, X, Y, times)")
                                  .arg(src6.size()).arg(kSaveValues));
        return;
    }
    if (!mousevalues::isText(src6.at(0)) || src6.at(0).toString().trimmed().isEmpty()) {
        ArgumentCheck::refuse("mouseSaveGundata", "src6",
                              QStringLiteral("the name %1 is no text").arg(mousevalues::shown(src6.at(0))));
        return;
    }
    if (const QString problem = recoil::presetValuesProblem(src6, 1); !problem.isEmpty()) {
        ArgumentCheck::refuse("mouseSaveGundata", "src6", problem);
        return;
    }
    const QStringList entry = QStringList{src6.at(0).toString()} + recoil::presetValues(src6, 1);
    editLibrary("mouseSaveGundata", [&](QSettings& file) {
        file.setValue(recoil::presetKey(name), entry);
        return true;
    });
}

void RecoilOps::modifyGundata(QVariant modifyType, QVariantList src6)
{
    // Exactly 0 or 1: a larger number must not wrap around to a delete or a rename.
    const std::optional<qint64> type = ArgumentCheck::integer(modifyType, 0, 1);
    if (!type) {
        ArgumentCheck::refuse("modifyGundata", "modifyType",
                              QStringLiteral("%1 is neither 0 (delete) nor 1 (rename)").arg(modifyType.toString()));
        return;
    }

    if (*type == 0) {
        const QString name = src6.isEmpty() ? QString() : src6.at(0).toString();
        if (!recoil::isUsableName(name)) {
            ArgumentCheck::refuse("modifyGundata", "src6", QStringLiteral("no preset named \"%1\" to delete").arg(name));
            return;
        }
        editLibrary("modifyGundata", [&](QSettings& file) {
            if (!file.contains(recoil::presetKey(name))) {
                OperationFailures::fail("modifyGundata", QStringLiteral("there is no preset named \"%1\"").arg(name));
                return false;
            }
            file.remove(recoil::presetKey(name));
            return true;
        });
        return;
    }

    const QString newName = src6.isEmpty() ? QString() : src6.at(0).toString();
    const QString oldName = src6.size() >= kRenameValues ? src6.at(kRenameValues - 1).toString() : QString();
    if (src6.size() != kRenameValues || !recoil::isUsableName(newName) || !recoil::isUsableName(oldName)
        || !mousevalues::isText(src6.at(0)) || !mousevalues::isText(src6.at(kRenameValues - 1))) {
        ArgumentCheck::refuse("modifyGundata", "src6",
                              QStringLiteral("a rename needs the new name, the five values and the old name"));
        return;
    }
    if (const QString problem = recoil::presetValuesProblem(src6, 1); !problem.isEmpty()) {
        ArgumentCheck::refuse("modifyGundata", "src6", problem);
        return;
    }
    const QStringList values = recoil::presetValues(src6, 1);
    editLibrary("modifyGundata", [&](QSettings& file) {
        const QString newKey = recoil::presetKey(newName);
        if (newName != oldName && file.contains(newKey)) {
            OperationFailures::fail("modifyGundata", QStringLiteral("a preset named \"%1\" exists already").arg(newName));
            return false;
        }
        file.remove(recoil::presetKey(oldName));
        file.setValue(newKey, values);
        return true;
    });
}

QVariantList RecoilOps::getGunData(QVariant name)
{
    const QString path = libraryPath();
    const QString key = name.toString();
    if (path.isEmpty() || !QFileInfo(path).isFile() || !recoil::isUsableName(key))
        return QVariantList();
    const QSettings file(path, QSettings::IniFormat);
    return SettingsStore::toValueList(file.value(recoil::presetKey(key), 0));
}

QStringList RecoilOps::getGunDataKey()
{
    const QString path = libraryPath();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QStringList();
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(kGroup);
    const QStringList keys = file.allKeys();
    file.endGroup();
    return keys;
}

WriteOutcome RecoilOps::mouseSendGundata(int index, QVariantList src)
{
    if (!recoil::isPresetSlot(index)) {
        ArgumentCheck::refuse("mouseSendGundata", "index", QStringLiteral("no preset slot %1 (1-3)").arg(index));
        return m_ctx.writesOutcome();
    }
    // Times, X and Y, each one byte of the mouse: nothing is made up or cut.
    const QString problem = src.size() != recoil::kStepValues
                                ? QStringLiteral("%1 values; a preset is sent as %2 (times, X, Y)")
                                      .arg(src.size())
                                      .arg(recoil::kStepValues)
                                : mousevalues::listProblem(src, 0, recoil::kLastStepValue);
    if (!problem.isEmpty()) {
        ArgumentCheck::refuse("mouseSendGundata", "src", problem);
        return m_ctx.writesOutcome();
    }
    if (!m_ctx.store || !m_ctx.store->isGun())
        return m_ctx.writesOutcome();
    if (m_ctx.is560())
        sendPreset560(index, src);
    else
        sendPreset553(index, src);
    return m_ctx.writesOutcome();
}

void RecoilOps::sendPreset560(int slot, const QVariantList& src)
{
    const int n = recoil::blockForSlot(slot);
    m_ctx.blocks.noteUseBeforeRead("mouseSendGundata");
    recoil::writePreset(*m_ctx.blocks.block(n), recoil::stepFromValues(src));
    ProfileSync(m_ctx).mouseSetProfile(uint(n));
}

void RecoilOps::sendPreset553(int slot, const QVariantList& src)
{
    if (!m_ctx.hid)
        return;
    uchar option1 = 0, option2 = 0, option3 = 0, option4 = 0;
    // Without the options the direction of Y is unknown, and a preset pulling
    // the wrong way is worse than none.
    if (!cmd553::getKeyboardOption(m_ctx.hid->transport(), option1, option2, option3, option4)) {
        qCDebug(lcFeatures) << "mouseSendGundata: keyboard options not read; preset for slot" << slot << "not sent";
        return;
    }
    const std::array<uchar, 4> bytes = recoil::gunData553(recoil::stepFromValues(src), slot, option3 != 0);
    m_ctx.hid->hid553_04H_SetGunData(bytes[0], bytes[1], bytes[2], bytes[3]);
}

std::optional<QString> RecoilOps::profileKey(const char* operation, const QString& group, const QVariant& index,
                                             int last)
{
    const std::optional<qint64> n = ArgumentCheck::integer(index, 0, last);
    if (!n) {
        ArgumentCheck::refuse(operation, "index", QStringLiteral("no entry %1 (0-%2)").arg(index.toString()).arg(last));
        return std::nullopt;
    }
    return group + QLatin1Char('/') + QString::number(*n);
}

QVariant RecoilOps::profileValue(const std::optional<QString>& key, const QVariant& fallback) const
{
    if (!m_ctx.store || !key)
        return fallback;
    const QVariant value = m_ctx.store->getData(*key, false);
    return value.isValid() ? value : fallback;
}

void RecoilOps::setProfileValue(const std::optional<QString>& key, const QVariant& value)
{
    if (m_ctx.store && key)
        m_ctx.store->setData(*key, value);
}

QVariant RecoilOps::getXYSensitive(QVariant index)
{
    return profileValue(profileKey("getXYSensitive", kXYSensitive, index, kLastAxis), QVariant(kXYSensitiveDefault));
}

void RecoilOps::setXYSensitive(QVariant index, QVariant xyData)
{
    const std::optional<QString> key = profileKey("setXYSensitive", kXYSensitive, index, kLastAxis);
    if (!key)
        return;
    const std::optional<qint64> position = ArgumentCheck::integer(xyData, 0, kLastSliderPosition);
    if (!position) {
        ArgumentCheck::refuse("setXYSensitive", "xyData",
                              QStringLiteral("%1 is no slider position (0-%2)")
                                  .arg(mousevalues::shown(xyData))
                                  .arg(kLastSliderPosition));
        return;
    }
    setProfileValue(key, QVariant(int(*position)));
}

QVariant RecoilOps::getselectGun(QVariant index)
{
    return profileValue(profileKey("getselectGun", kSelectGun, index, kLastSelectGun), QVariant(QString()));
}

void RecoilOps::setSelectGun(QVariant index, QVariant xyData)
{
    const std::optional<QString> key = profileKey("setSelectGun", kSelectGun, index, kLastSelectGun);
    if (!key)
        return;
    // A preset: its name, or its number in the library (a whole number).
    const bool isName = xyData.typeId() == QMetaType::QString;
    if (!isName && !ArgumentCheck::integer(xyData, 0, std::numeric_limits<int>::max())) {
        ArgumentCheck::refuse("setSelectGun", "xyData",
                              QStringLiteral("%1 names no preset").arg(mousevalues::shown(xyData)));
        return;
    }
    setProfileValue(key, xyData);
}
