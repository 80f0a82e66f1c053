#include "store/settings_store.h"

#include "store/argument_check.h"
#include "store/damaged_files.h"
#include "store/operation_failures.h"
#include "store/safe_file.h"
#include "store/stale_temporaries.h"
#include "store/store_log.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QSettings>
#include <QTimer>

namespace {

// Where `path` really is: symbolic links followed, also a link whose target
// does not exist yet (writing there would create the target).
QString resolvedPath(const QString& path)
{
    QString p = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; depth < 32 && QFileInfo(p).isSymLink(); ++depth)
        p = QFileInfo(p).symLinkTarget();
    const QFileInfo info(p);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + QLatin1Char('/') + info.fileName();
}

bool samePath(const QString& a, const QString& b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

} // namespace

void SettingsStore::tidyDataFolder(const QString& dataRoot)
{
    StaleTemporaries::remove(dataRoot);
    const QString setting = dataRoot + QStringLiteral("/modules/setting/");
    const QString global = setting + QStringLiteral("apConfig.bin");
    // The files the program writes; pD.bin and the factory copy it only reads.
    DamagedFiles::keepAside(global);
    for (int i = 0; i < SlotCount; ++i)
        DamagedFiles::keepAside(setting + QStringLiteral("p%1.bin").arg(i + 1));
    // Without its global file the program knows no mouse. One that was kept
    // aside as damaged is started afresh from the factory copy (a global file
    // that is simply missing stays missing: the installation decides that).
    if (!QFileInfo::exists(global) && QFileInfo::exists(DamagedFiles::damagedName(global))) {
        const QString factory = setting + QStringLiteral("apConfigD.bin");
        const std::optional<QByteArray> content = SafeFile::read(factory);
        if (content && !DamagedFiles::isDamagedContent(*content) && SafeFile::write(global, *content))
            qCWarning(lcStore) << "the damaged global settings were started afresh from the factory copy" << factory
                               << "; the damaged file is kept as" << DamagedFiles::damagedName(global);
        else
            OperationFailures::fail("start", QStringLiteral("the damaged global settings %1 cannot be started afresh "
                                                            "from the factory copy %2")
                                                 .arg(QDir::toNativeSeparators(global), QDir::toNativeSeparators(factory)));
    }
}

SettingsStore::SettingsStore(const QString& dataRoot)
    : m_root(dataRoot)
{
    tidyDataFolder(m_root);

    m_currentProfile = 0;
    m_global = open(settingPath(QStringLiteral("apConfig.bin")));
    m_default = open(settingPath(QStringLiteral("pD.bin")));
    for (int i = 0; i < SlotCount; ++i)
        m_slots.append(open(slotFileName(i)));

    m_isColorful = getGlobalData(QStringLiteral("mouse/isColorful")).toBool();
    m_isGun = getGlobalData(QStringLiteral("mouse/isGun")).toBool();
    m_icType = getGlobalData(QStringLiteral("mouse/icType")).toString();
    m_is55328 = getGlobalData(QStringLiteral("mouse/is55328")).toBool();
}

SettingsStore::~SettingsStore()
{
    QList<QSettings*> all = m_slots;
    all << m_global << m_default;
    for (QSettings* object : std::as_const(all)) {
        object->sync();
        if (object->status() != QSettings::NoError)
            OperationFailures::cannotWrite("save settings", object->fileName());
        delete object;
    }
}

QString SettingsStore::modulesPath(const QString& relative) const
{
    return m_root + QStringLiteral("/modules/") + relative;
}

QString SettingsStore::settingPath(const QString& fileName) const
{
    return modulesPath(QStringLiteral("setting/") + fileName);
}

QString SettingsStore::slotFileName(int index) const
{
    if (!isSlotIndex(index))
        return QString();
    return settingPath(QStringLiteral("p%1.bin").arg(index + 1));
}

QSettings* SettingsStore::slotSettings(int index) const
{
    return isSlotIndex(index) ? m_slots.at(index) : nullptr;
}

QVariant SettingsStore::getData(const QVariant& key, bool isRecovery) const
{
    const QSettings* file = isRecovery ? m_default : currentSlot();
    return file->value(key.toString());
}

QVariantList SettingsStore::getDataList(const QVariant& key, bool isRecovery) const
{
    return toValueList(getData(key, isRecovery));
}

QVariant SettingsStore::getGlobalData(const QVariant& key) const
{
    return m_global->value(key.toString());
}

void SettingsStore::setData(const QVariant& key, const QVariant& data)
{
    const QString name = key.toString();
    if (name.isEmpty()) {
        qCDebug(lcStore) << "setData: empty key ignored";
        return;
    }
    currentSlot()->setValue(name, data);
    flushSoon();
}

void SettingsStore::setDataList(const QVariant& key, const QVariantList& datalist)
{
    setData(key, QVariant(datalist));
}

void SettingsStore::setGlobalData(const QVariant& key, const QVariant& tmpdata)
{
    const QString name = key.toString();
    if (name.isEmpty()) {
        qCDebug(lcStore) << "setGlobalData: empty key ignored";
        return;
    }
    m_global->setValue(name, tmpdata);
    flushSoon();
}

QVariantList SettingsStore::mouseGetKeydefine(const QVariant& index, bool isRecovery) const
{
    const std::optional<qint64> button = ArgumentCheck::integer(index, 0, ButtonCount - 1);
    if (!button) {
        ArgumentCheck::refuse("mouseGetKeydefine", "index",
                              QStringLiteral("no button %1 (0-%2)").arg(index.toString()).arg(ButtonCount - 1));
        return QVariantList();
    }
    return getDataList(QStringLiteral("mouseKeyMatrix/") + QString::number(*button), isRecovery);
}

bool SettingsStore::setCurrentProfile(int profile)
{
    if (!isSlotIndex(profile)) {
        ArgumentCheck::refuse("setCurrentProfile", "profile", QStringLiteral("no profile slot %1").arg(profile));
        return false;
    }
    m_currentProfile = profile;
    return true;
}

bool SettingsStore::resetApconfig()
{
    const std::optional<QByteArray> factory = SafeFile::read(settingPath(QStringLiteral("apConfigD.bin")));
    if (!factory) {
        OperationFailures::fail("resetApconfig", QStringLiteral("no factory copy, the global settings stay"));
        return false;
    }
    return replaceObject(m_global, *factory);
}

bool SettingsStore::replaceSlotContent(int index, const QByteArray& content)
{
    if (!isSlotIndex(index)) {
        ArgumentCheck::refuse("replace profile", "profile", QStringLiteral("no profile slot %1").arg(index));
        return false;
    }
    return replaceObject(m_slots[index], content);
}

bool SettingsStore::replaceSlotFile(int index, const QString& source)
{
    if (!isSlotIndex(index)) {
        ArgumentCheck::refuse("replace profile", "profile", QStringLiteral("no profile slot %1").arg(index));
        return false;
    }
    if (isSlotFile(index, source))
        return true;
    // Pending changes of a slot that is the source belong in the copy.
    for (QSettings* slot : std::as_const(m_slots)) {
        if (samePath(slot->fileName(), source))
            slot->sync();
    }
    const std::optional<QByteArray> content = SafeFile::read(source);
    if (!content) {
        OperationFailures::fail("replace profile", QStringLiteral("the source %1 cannot be read, profile %2 stays")
                                                       .arg(QDir::toNativeSeparators(source)).arg(index));
        return false;
    }
    // A damaged default or slot must not spread to another slot.
    if (DamagedFiles::isDamagedContent(*content)) {
        OperationFailures::fail("replace profile", QStringLiteral("the source %1 is damaged, profile %2 stays")
                                                       .arg(QDir::toNativeSeparators(source)).arg(index));
        return false;
    }
    return replaceObject(m_slots[index], *content);
}

bool SettingsStore::isSlotFile(int index, const QString& path) const
{
    return isSlotIndex(index) && samePath(m_slots.at(index)->fileName(), path);
}

bool SettingsStore::isStoreFile(const QString& path) const
{
    if (samePath(m_global->fileName(), path) || samePath(m_default->fileName(), path))
        return true;
    for (const QSettings* slot : m_slots) {
        if (samePath(slot->fileName(), path))
            return true;
    }
    return false;
}

bool SettingsStore::isInDataFolder(const QString& path) const
{
    const QString modules = resolvedPath(m_root + QStringLiteral("/modules"));
    const QString target = resolvedPath(path);
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    return target.compare(modules, cs) == 0 || target.startsWith(modules + QLatin1Char('/'), cs);
}

QVariantList SettingsStore::toValueList(const QVariant& value)
{
    const int type = value.typeId();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
        return value.toList();
    return QVariantList();
}

QSettings* SettingsStore::open(const QString& path) const
{
    return new QSettings(path, QSettings::IniFormat);
}

bool SettingsStore::replaceObject(QSettings*& object, const QByteArray& content)
{
    const QString target = object->fileName();
    DamagedFiles::keepAside(target);
    // Settings objects of one path share their parsed data and their pending
    // changes within the process. Writing the pending changes now, to the
    // file about to be replaced, leaves nothing that a later write-back (of
    // this object or the shared data) could put over the new file.
    object->sync();
    if (!SafeFile::write(target, content)) {
        OperationFailures::cannotWrite("replace", target);
        return false;
    }
    QSettings* fresh = open(target);
    // Someone may still be inside a call that uses the old object.
    object->deleteLater();
    object = fresh;
    return true;
}

bool SettingsStore::flush()
{
    if (m_flushTimer)
        m_flushTimer->stop();
    bool ok = flushObject(m_global);
    for (QSettings*& slot : m_slots)
        ok = flushObject(slot) && ok;
    // Never written through the store, but the pages' objects share it.
    return flushObject(m_default) && ok;
}

bool SettingsStore::flushObject(QSettings*& object)
{
    if (object->status() != QSettings::NoError) {
        // A settings object keeps its first error for good, also one of
        // reading. The changes that did not take stay pending with the
        // file's parsed data, which a new object on the same path shares: it
        // tries them again and tells only what fails from now on.
        QSettings* fresh = open(object->fileName());
        object->deleteLater();
        object = fresh;
    }
    object->sync();
    if (object->status() == QSettings::NoError)
        return true;
    OperationFailures::cannotWrite("save settings", object->fileName());
    return false;
}

void SettingsStore::flushSoon()
{
    if (!m_flushTimer) {
        m_flushTimer = std::make_unique<QTimer>();
        m_flushTimer->setSingleShot(true);
        m_flushTimer->setInterval(0);
        QObject::connect(m_flushTimer.get(), &QTimer::timeout, [this] { flush(); });
    }
    m_flushTimer->start();
}
