#include "store/my_qquick_view.h"

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

#include <QFocusEvent>
#include <QJSValue>
#include <QMetaObject>
#include <QQmlEngine>
#include <QQuickItem>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

myQQuickView::myQQuickView(QWidget* parent) : QQuickWidget(parent)
{
    build(QStringLiteral("."), nullptr, nullptr);
}

myQQuickView::myQQuickView(const QString& dataRoot, FileDialogs* dialogs,
                           std::unique_ptr<PointerBackend> pointer, QWidget* parent)
    : QQuickWidget(parent)
{
    build(dataRoot, dialogs, std::move(pointer));
}

myQQuickView::~myQQuickView()
{
    setHidLink(nullptr);
}

void myQQuickView::build(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer)
{
    m_release = new QTimer(this);
    m_release->setSingleShot(true);
    // Long enough for the deletions the closing dialog queued to have run.
    m_release->setInterval(100);
    connect(m_release, &QTimer::timeout, this, &myQQuickView::returnMemory);
    m_store = std::make_unique<SettingsStore>(dataRoot);
    m_ctx.store = m_store.get();
    if (!dialogs) {
        m_ownDialogs = std::make_unique<FileDialogsQt>(this);
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

void myQQuickView::setHidLink(Hid_Thread* link)
{
    if (m_guardedLink && m_guardedLink->transport().writeGuard() == m_backup.get())
        m_guardedLink->transport().setWriteGuard(nullptr);
    hidLink = link;
    m_ctx.hid = link;
    m_guardedLink = link;
    if (link)
        link->transport().setWriteGuard(m_backup.get());
}

bool myQQuickView::onGuiThread() const
{
    return QThread::currentThread() == thread();
}

void myQQuickView::callRoot(const char* function, Qt::ConnectionType type, const QVariant& arg)
{
    QQuickItem* root = rootObject();
    if (!root)
        return;
    if (arg.isValid())
        QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, arg));
    else
        QMetaObject::invokeMethod(root, function, type);
}

void myQQuickView::changeEvent(QEvent* event)
{
    QQuickWidget::changeEvent(event);
    // The interface unlocks when a Save, Reset, profile switch or the first
    // lock ends: the script objects those left behind are collected now, and
    // the memory freed goes back to the system instead of staying with the
    // program.
    if (event->type() == QEvent::EnabledChange && isEnabled())
        returnMemory();
}

void myQQuickView::releaseMemory()
{
    m_release->start();
}

void myQQuickView::returnMemory()
{
    m_release->stop();
    engine()->collectGarbage();
    engine()->trimComponentCache();
    quickWindow()->releaseResources();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void myQQuickView::focusInEvent(QFocusEvent* event)
{
    repaint();
    // The pages' own focus follows the view's: without it no key reaches
    // them (Tab, Space, the arrows of the keyboard-driven controls).
    QQuickWidget::focusInEvent(event);
    event->accept();
}

// --- view host -------------------------------------------------------------

void myQQuickView::clearHidBusy()
{
    if (hidLink)
        hidLink->transport().release();
}

void myQQuickView::initUI()
{
    callRoot("initUI", Qt::QueuedConnection);
}

void myQQuickView::runUI()
{
    callRoot("run", Qt::QueuedConnection);
}

void myQQuickView::setBusy(int busyTime)
{
    // QML runs on the GUI thread only; other threads get there queued.
    if (!onGuiThread()) {
        QMetaObject::invokeMethod(this, "setBusy", Qt::QueuedConnection, Q_ARG(int, busyTime));
        return;
    }
    callRoot("setProtectUI", Qt::DirectConnection, QVariant(busyTime));
}

void myQQuickView::setCurrentDPI(int dpiValue)
{
    if (!onGuiThread()) {
        QMetaObject::invokeMethod(this, "setCurrentDPI", Qt::QueuedConnection, Q_ARG(int, dpiValue));
        return;
    }
    callRoot("setCurrentDPI", Qt::DirectConnection, QVariant(dpiValue));
}

QVariant myQQuickView::unverifiedWrites()
{
    return QVariant(int(hidLink ? hidLink->unverifiedWrites() : 0));
}

void myQQuickView::reloadPages()
{
    callRoot("reloadPages", Qt::DirectConnection);
}

void myQQuickView::showBusy(bool busy)
{
    callRoot("controlUIEnable", Qt::DirectConnection, QVariant(!busy));
}

void myQQuickView::notifyKeyboard(bool isDown, int usbCode)
{
    if (QQuickItem* root = rootObject())
        QMetaObject::invokeMethod(root, "detectKeyboard", Qt::QueuedConnection,
                                  Q_ARG(QVariant, QVariant(isDown)), Q_ARG(QVariant, QVariant(usbCode)));
}

void myQQuickView::notifyMouse(bool isDown, uint veskCode, uint x, uint y)
{
    if (QQuickItem* root = rootObject())
        QMetaObject::invokeMethod(root, "detectMouse", Qt::QueuedConnection,
                                  Q_ARG(QVariant, QVariant(isDown)), Q_ARG(QVariant, QVariant(veskCode)),
                                  Q_ARG(QVariant, QVariant(x)), Q_ARG(QVariant, QVariant(y)));
}

// --- settings store --------------------------------------------------------

void myQQuickView::resetApconfig() { m_store->resetApconfig(); }
void myQQuickView::setCurrentProfile(int profile)
{
    const int before = m_store->currentProfile();
    if (m_store->setCurrentProfile(profile) && m_store->currentProfile() != before)
        emit currentProfileChanged(m_store->currentProfile());
}
QVariantList myQQuickView::mouseGetKeydefine(QVariant index, bool isRecovery) { return m_store->mouseGetKeydefine(index, isRecovery); }
QVariant myQQuickView::getData(QVariant key, bool isRecovery) { return m_store->getData(key, isRecovery); }
QVariant myQQuickView::getGlobalData(QVariant key) { return m_store->getGlobalData(key); }
QVariantList myQQuickView::getDataList(QVariant key, bool isRecovery) { return m_store->getDataList(key, isRecovery); }
namespace {

// A JavaScript array or object handed to a QVariant parameter arrives as a
// QJSValue, which QSettings cannot write; store the plain value it holds.
QVariant plainValue(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<QJSValue>() ? value.value<QJSValue>().toVariant() : value;
}

} // namespace

void myQQuickView::setData(QVariant key, QVariant data) { m_store->setData(key, plainValue(data)); }
void myQQuickView::setGlobalData(QVariant key, QVariant tmpdata) { m_store->setGlobalData(key, plainValue(tmpdata)); }
void myQQuickView::setDataList(QVariant key, QVariantList datalist) { m_store->setDataList(key, datalist); }

// --- profiles --------------------------------------------------------------

bool myQQuickView::loadProfile(int profile) { return m_profiles->loadProfile(profile); }
void myQQuickView::saveProfile(int profile) { m_profiles->saveProfile(profile); }
void myQQuickView::resetProfile(int profile) { m_profiles->resetProfile(profile); }
void myQQuickView::copyProfile(int destprofile, int srcprofile) { m_profiles->copyProfile(destprofile, srcprofile); }

// --- macro library and name lists ------------------------------------------

bool myQQuickView::loadMacroFile(QVariant macroFileName) { return m_macros->loadMacroFile(macroFileName); }
void myQQuickView::saveMacroFile(QVariant macroFileName) { m_macros->saveMacroFile(macroFileName); }
QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex) { return m_macros->createMacroIni(name, macroIndex); }
QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList) { return m_names->updataNameList(type, nameList); }
QVariant myQQuickView::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname) { return m_macros->modifyMacroNameUpdateProfile(oldname, newname); }
void myQQuickView::deleteMacroUpdateProfile(QVariant macroName) { m_macros->deleteMacroUpdateProfile(macroName); }
QVariant myQQuickView::deleteMacroIni(QVariant name) { return m_macros->deleteMacroIni(name); }
QVariantList myQQuickView::getNameList(QVariant type) { return m_names->getNameList(type); }
QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros, QVariant repeat) { return m_macros->saveMacroIni(name, macros, repeat); }
QStringList myQQuickView::loadMacroIni(QVariant name) { return m_macros->loadMacroIni(name); }

// --- language strings ------------------------------------------------------

QStringList myQQuickView::getLangStrings(QString typeStr, QString langCode) { return m_lang->getLangStrings(typeStr, langCode); }

// --- feature operations ----------------------------------------------------

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex) { return m_macroUpload->mouseSendMacroData(macroData, macroIndex); }
void myQQuickView::mouseSaveGundata(QVariant index, QVariantList src6) { m_recoil->mouseSaveGundata(index, src6); }
void myQQuickView::mouseSendGundata(int index, QVariantList src) { m_recoil->mouseSendGundata(index, src); }
void myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6) { m_recoil->modifyGundata(modifyType, src6); }
QVariantList myQQuickView::getGunData(QVariant name) { return m_recoil->getGunData(name); }
QStringList myQQuickView::getGunDataKey() { return m_recoil->getGunDataKey(); }
QVariant myQQuickView::getXYSensitive(QVariant index) { return m_recoil->getXYSensitive(index); }
QVariant myQQuickView::getselectGun(QVariant index) { return m_recoil->getselectGun(index); }
void myQQuickView::setXYSensitive(QVariant index, QVariant xyData) { m_recoil->setXYSensitive(index, xyData); }
void myQQuickView::setSelectGun(QVariant index, QVariant xyData) { m_recoil->setSelectGun(index, xyData); }
void myQQuickView::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) { m_dpi->mouseSetKeyboardoption(byte1, byte2, byte3, byte4); }
void myQQuickView::mouseSetReportRate(uchar rate, uchar en) { m_dpi->mouseSetReportRate(rate, en); }
void myQQuickView::mouseSetCurrentDPI(uchar currentDPI) { m_dpi->mouseSetCurrentDPI(currentDPI); }
void myQQuickView::mouseResetKeyMatrix() { m_keys->mouseResetKeyMatrix(); }
QVariant myQQuickView::mouseGetCurrentDPI() { return m_dpi->mouseGetCurrentDPI(); }
void myQQuickView::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam) { m_keys->mouseSetKeyMatrix(src64, isSendData, otherParam); }
void myQQuickView::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray) { m_dpi->mouseSetDpi(dpiCount, sensorType, dpiValueArray); }
void myQQuickView::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2) { m_lighting->mouseSetRGBEffect(effect, option1, option2); }
void myQQuickView::mouseSetRGBColor(uchar type, QVariantList src24) { m_lighting->mouseSetRGBColor(type, src24); }
void myQQuickView::mouseSetProfile(uint profileNo) { m_profileSync->mouseSetProfile(profileNo); }
void myQQuickView::mouseReadProfile(uint profileNo) { m_profileSync->mouseReadProfile(profileNo); }
QVariant myQQuickView::mouseReadCurrentProfile() { return m_profileSync->mouseReadCurrentProfile(); }
void myQQuickView::mouseSwitchKeyMatrix(int indexNo) { m_keys->mouseSwitchKeyMatrix(indexNo); }
QVariantList myQQuickView::GetKeyboardoption() { return m_dpi->GetKeyboardoption(); }
void myQQuickView::mouseSetCursorSpeed(uint cursorSpeed) { m_pointer->mouseSetCursorSpeed(cursorSpeed); }
void myQQuickView::mouseSetVerticalScrollLines(uint lines) { m_pointer->mouseSetVerticalScrollLines(lines); }
void myQQuickView::mouseSetDoubleClickSpeed(uint speed) { m_pointer->mouseSetDoubleClickSpeed(speed); }
