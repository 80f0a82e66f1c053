#include "view/view_facade.h"

#include "device/hid_thread.h"
#include "features/dpi_ops.h"
#include "features/key_matrix_ops.h"
#include "features/lighting_ops.h"
#include "features/macro_upload.h"
#include "features/mouse_backup.h"
#include "features/pointer_backend.h"
#include "features/pointer_settings.h"
#include "features/profile_sync.h"
#include "features/recoil_ops.h"
#include "store/file_dialogs_qt.h"
#include "store/language_strings.h"
#include "store/macro_library.h"
#include "store/name_lists.h"
#include "store/profile_slots.h"
#include "store/settings_store.h"
#include "view/view_log.h"

#include <QJSValue>
#include <QMetaObject>
#include <QThread>

ViewFacade::ViewFacade(QObject* parent) : QObject(parent)
{
    build(QStringLiteral("."), nullptr, nullptr);
}

ViewFacade::ViewFacade(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer,
                       QObject* parent)
    : QObject(parent)
{
    build(dataRoot, dialogs, std::move(pointer));
}

ViewFacade::~ViewFacade()
{
    setHidLink(nullptr);
}

void ViewFacade::build(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer)
{
    m_store = std::make_unique<SettingsStore>(dataRoot);
    m_ctx.store = m_store.get();
    if (!dialogs) {
        m_ownDialogs = std::make_unique<FileDialogsQt>(nullptr);
        dialogs = m_ownDialogs.get();
    }
    m_dialogs = dialogs;
    if (!pointer)
        pointer = makePointerBackend();
    m_profiles = std::make_unique<ProfileSlots>(*m_store, *m_dialogs);
    m_macros = std::make_unique<MacroLibrary>(*m_store, *m_dialogs);
    m_names = std::make_unique<NameLists>(dataRoot);
    m_lang = std::make_unique<LanguageStrings>(dataRoot);
    m_profileSync = std::make_unique<ProfileSync>(m_ctx);
    m_keys = std::make_unique<KeyMatrixOps>(m_ctx);
    m_dpi = std::make_unique<DpiOps>(m_ctx);
    m_lighting = std::make_unique<LightingOps>(m_ctx);
    m_macroUpload = std::make_unique<MacroUpload>(m_ctx);
    m_recoil = std::make_unique<RecoilOps>(m_ctx);
    m_pointer = std::make_unique<PointerSettings>(std::move(pointer));
    m_backup = std::make_unique<MouseBackup>(m_ctx);
}

void ViewFacade::setDialogParent(QWidget* window)
{
    if (m_ownDialogs)
        m_ownDialogs->setParent(window);
}

void ViewFacade::setHidLink(Hid_Thread* link)
{
    if (m_guardedLink && m_guardedLink->transport().writeGuard() == m_backup.get())
        m_guardedLink->transport().setWriteGuard(nullptr);
    hidLink = link;
    m_ctx.hid = link;
    m_guardedLink = link;
    if (link)
        link->transport().setWriteGuard(m_backup.get());
}

bool ViewFacade::onGuiThread() const
{
    return QThread::currentThread() == thread();
}

int ViewFacade::profileNo() const
{
    return m_store->currentProfile();
}

int ViewFacade::keyCount() const
{
    bool ok = false;
    const int count = m_store->getGlobalData(QStringLiteral("mouse/keyCount")).toString().trimmed().toInt(&ok);
    return ok ? count : 0;
}

void ViewFacade::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged();
}

void ViewFacade::setShowGunEditor(bool shown)
{
    if (shown == m_showGunEditor)
        return;
    m_showGunEditor = shown;
    emit showGunEditorChanged();
}

void ViewFacade::releaseMemory()
{
    emit memoryReleaseRequested();
}

void ViewFacade::beginBlockWrites() { m_profileSync->beginBatch(); }
QVariant ViewFacade::notedBlockWrites() { return QVariant(m_profileSync->takeNoted()); }
QVariant ViewFacade::commitBlockWrites() { return QVariant(m_profileSync->commitBatch()); }

void ViewFacade::beginWrites()
{
    if (hidLink)
        hidLink->resetOutcome();
}

void ViewFacade::endWrites(const char* operation, WriteOutcome outcome)
{
    if (outcome == WriteOutcome::Done)
        return;
    const bool reached = outcome == WriteOutcome::NotVerified;
    qCWarning(lcView).nospace() << operation << ": the mouse "
                                << (reached ? "did not keep what was written" : "was not reached");
    emit writeFailed(QString::fromLatin1(operation), reached);
}

void ViewFacade::noteDpi(int stage)
{
    m_currentDpi = stage;
    emit currentDpiChanged();
}

// --- view host -------------------------------------------------------------

void ViewFacade::clearHidBusy()
{
    if (hidLink)
        hidLink->transport().release();
}

void ViewFacade::initUI()
{
    QMetaObject::invokeMethod(this, [this] { emit startRequested(); }, Qt::QueuedConnection);
}

void ViewFacade::runUI()
{
    QMetaObject::invokeMethod(this, [this] { emit runRequested(); }, Qt::QueuedConnection);
}

void ViewFacade::setBusy(int busyTime)
{
    // The pages run on the GUI thread only; other threads get there queued.
    if (!onGuiThread()) {
        QMetaObject::invokeMethod(this, "setBusy", Qt::QueuedConnection, Q_ARG(int, busyTime));
        return;
    }
    emit lockRequested(busyTime);
}

void ViewFacade::setCurrentDPI(int dpiValue)
{
    if (!onGuiThread()) {
        QMetaObject::invokeMethod(this, "setCurrentDPI", Qt::QueuedConnection, Q_ARG(int, dpiValue));
        return;
    }
    // The mouse reports 1-8; 0 is no stage.
    if (dpiValue != 0)
        noteDpi(dpiValue);
    emit dpiStageReported(dpiValue);
}

void ViewFacade::reloadPages()
{
    emit reloadRequested();
}

void ViewFacade::showBusy(bool busy)
{
    m_busy = busy;
    emit busyChanged();
}

bool ViewFacade::chooseProfile(int profile)
{
    emit profileChoiceRequested(profile);
    return profileNo() == profile;
}

void ViewFacade::notifyKeyboard(bool isDown, int usbCode)
{
    QMetaObject::invokeMethod(this, [this, isDown, usbCode] { emit keyboardCaptured(isDown, usbCode); },
                              Qt::QueuedConnection);
}

void ViewFacade::notifyMouse(bool isDown, uint veskCode, uint x, uint y)
{
    QMetaObject::invokeMethod(this, [this, isDown, veskCode, x, y] { emit mouseCaptured(isDown, veskCode, x, y); },
                              Qt::QueuedConnection);
}

void ViewFacade::startOnFirstProfile()
{
    if (!m_ctx.is560() || !hidLink)
        return;
    if (m_profileSync->mouseReadCurrentProfile().toInt() != 1)
        hidLink->hid560_02H_SetCurrentProfile(1);
}

void ViewFacade::resetReportRate()
{
    // The factory rate, sent as the 553 command on both families.
    if (hidLink)
        hidLink->hid553_01H_SetReportRate(1);
}

// --- settings store --------------------------------------------------------

void ViewFacade::resetApconfig() { m_store->resetApconfig(); }
void ViewFacade::setCurrentProfile(int profile)
{
    const int before = m_store->currentProfile();
    if (m_store->setCurrentProfile(profile) && m_store->currentProfile() != before)
        emit currentProfileChanged(m_store->currentProfile());
}
QVariantList ViewFacade::mouseGetKeydefine(QVariant index, bool isRecovery) { return m_store->mouseGetKeydefine(index, isRecovery); }
QVariant ViewFacade::getData(QVariant key, bool isRecovery) { return m_store->getData(key, isRecovery); }
QVariant ViewFacade::getGlobalData(QVariant key) { return m_store->getGlobalData(key); }
QVariantList ViewFacade::getDataList(QVariant key, bool isRecovery) { return m_store->getDataList(key, isRecovery); }
namespace {

// A JavaScript array or object handed to a QVariant parameter arrives as a
// QJSValue, which QSettings cannot write; store the plain value it holds.
QVariant plainValue(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<QJSValue>() ? value.value<QJSValue>().toVariant() : value;
}

} // namespace

void ViewFacade::setData(QVariant key, QVariant data) { m_store->setData(key, plainValue(data)); }
void ViewFacade::setGlobalData(QVariant key, QVariant tmpdata)
{
    const int count = keyCount();
    m_store->setGlobalData(key, plainValue(tmpdata));
    if (keyCount() != count)
        emit keyCountChanged();
}
void ViewFacade::setDataList(QVariant key, QVariantList datalist) { m_store->setDataList(key, datalist); }

// --- profiles --------------------------------------------------------------

bool ViewFacade::loadProfile(int profile) { return m_profiles->loadProfile(profile); }
void ViewFacade::saveProfile(int profile) { m_profiles->saveProfile(profile); }
void ViewFacade::resetProfile(int profile) { m_profiles->resetProfile(profile); }
void ViewFacade::copyProfile(int destprofile, int srcprofile) { m_profiles->copyProfile(destprofile, srcprofile); }

// --- macro library and name lists ------------------------------------------

bool ViewFacade::loadMacroFile(QVariant macroFileName) { return m_macros->loadMacroFile(macroFileName); }
void ViewFacade::saveMacroFile(QVariant macroFileName) { m_macros->saveMacroFile(macroFileName); }
QVariant ViewFacade::createMacroIni(QVariant name, QVariant macroIndex) { return m_macros->createMacroIni(name, macroIndex); }
QVariant ViewFacade::updataNameList(QVariant type, QStringList nameList) { return m_names->updataNameList(type, nameList); }
QVariant ViewFacade::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname) { return m_macros->modifyMacroNameUpdateProfile(oldname, newname); }
void ViewFacade::deleteMacroUpdateProfile(QVariant macroName) { m_macros->deleteMacroUpdateProfile(macroName); }
QVariant ViewFacade::deleteMacroIni(QVariant name) { return m_macros->deleteMacroIni(name); }
QVariantList ViewFacade::getNameList(QVariant type) { return m_names->getNameList(type); }
QVariant ViewFacade::saveMacroIni(QVariant name, QStringList macros, QVariant repeat) { return m_macros->saveMacroIni(name, macros, repeat); }
QStringList ViewFacade::loadMacroIni(QVariant name) { return m_macros->loadMacroIni(name); }

// --- language strings ------------------------------------------------------

QStringList ViewFacade::getLangStrings(QString typeStr, QString langCode) { return m_lang->getLangStrings(typeStr, langCode); }

// --- feature operations ----------------------------------------------------

QVariant ViewFacade::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    beginWrites();
    const QVariant sent = m_macroUpload->mouseSendMacroData(macroData, macroIndex);
    endWrites("mouseSendMacroData", m_ctx.writesOutcome());
    return sent;
}
void ViewFacade::mouseSaveGundata(QVariant index, QVariantList src6) { m_recoil->mouseSaveGundata(index, src6); }
void ViewFacade::mouseSendGundata(int index, QVariantList src)
{
    beginWrites();
    endWrites("mouseSendGundata", m_recoil->mouseSendGundata(index, src));
}
void ViewFacade::modifyGundata(QVariant modifyType, QVariantList src6) { m_recoil->modifyGundata(modifyType, src6); }
QVariantList ViewFacade::getGunData(QVariant name) { return m_recoil->getGunData(name); }
QStringList ViewFacade::getGunDataKey() { return m_recoil->getGunDataKey(); }
QVariant ViewFacade::getXYSensitive(QVariant index) { return m_recoil->getXYSensitive(index); }
QVariant ViewFacade::getselectGun(QVariant index) { return m_recoil->getselectGun(index); }
void ViewFacade::setXYSensitive(QVariant index, QVariant xyData) { m_recoil->setXYSensitive(index, xyData); }
void ViewFacade::setSelectGun(QVariant index, QVariant xyData) { m_recoil->setSelectGun(index, xyData); }
void ViewFacade::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    beginWrites();
    endWrites("mouseSetKeyboardoption", m_dpi->mouseSetKeyboardoption(byte1, byte2, byte3, byte4));
}
void ViewFacade::mouseSetReportRate(uchar rate, uchar en)
{
    beginWrites();
    endWrites("mouseSetReportRate", m_dpi->mouseSetReportRate(rate, en));
}
void ViewFacade::mouseSetCurrentDPI(uchar currentDPI)
{
    beginWrites();
    const WriteOutcome outcome = m_dpi->mouseSetCurrentDPI(currentDPI);
    if (outcome == WriteOutcome::Done && currentDPI >= 1 && currentDPI <= 8)
        noteDpi(currentDPI);
    endWrites("mouseSetCurrentDPI", outcome);
}
void ViewFacade::mouseResetKeyMatrix()
{
    beginWrites();
    endWrites("mouseResetKeyMatrix", m_keys->mouseResetKeyMatrix());
}
QVariant ViewFacade::mouseGetCurrentDPI()
{
    const QVariant stage = m_dpi->mouseGetCurrentDPI();
    if (stage.toInt() != 0)
        noteDpi(stage.toInt());
    return stage;
}
void ViewFacade::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    beginWrites();
    endWrites("mouseSetKeyMatrix", m_keys->mouseSetKeyMatrix(src64, isSendData, otherParam));
}
void ViewFacade::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    beginWrites();
    endWrites("mouseSetDpi", m_dpi->mouseSetDpi(dpiCount, sensorType, dpiValueArray));
}
void ViewFacade::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    beginWrites();
    endWrites("mouseSetRGBEffect", m_lighting->mouseSetRGBEffect(effect, option1, option2));
}
void ViewFacade::mouseSetRGBColor(uchar type, QVariantList src24)
{
    beginWrites();
    endWrites("mouseSetRGBColor", m_lighting->mouseSetRGBColor(type, src24));
}
void ViewFacade::mouseSetProfile(uint profileNo)
{
    beginWrites();
    m_profileSync->mouseSetProfile(profileNo);
    endWrites("mouseSetProfile", m_ctx.writesOutcome());
}
void ViewFacade::mouseReadProfile(uint profileNo) { m_profileSync->mouseReadProfile(profileNo); }
QVariant ViewFacade::mouseReadCurrentProfile() { return m_profileSync->mouseReadCurrentProfile(); }
void ViewFacade::mouseSwitchKeyMatrix(int indexNo)
{
    beginWrites();
    endWrites("mouseSwitchKeyMatrix", m_keys->mouseSwitchKeyMatrix(indexNo));
}
QVariantList ViewFacade::GetKeyboardoption() { return m_dpi->GetKeyboardoption(); }
void ViewFacade::mouseSetCursorSpeed(uint cursorSpeed) { m_pointer->mouseSetCursorSpeed(cursorSpeed); }
void ViewFacade::mouseSetVerticalScrollLines(uint lines) { m_pointer->mouseSetVerticalScrollLines(lines); }
void ViewFacade::mouseSetDoubleClickSpeed(uint speed) { m_pointer->mouseSetDoubleClickSpeed(speed); }
