#pragma once
// The QML view of the main window and the object the pages reach as ui_View.
// Every slot is a few lines that call the store, the libraries or a feature
// operation; the slot table's order is what QML and the tools rely on.

#include "features/feature_context.h"

#include <QPointer>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

class QTimer;
class FileDialogs;
class Hid_Thread;
class KeyMatrixOps;
class DpiOps;
class LightingOps;
class MacroLibrary;
class MouseBackup;
class MacroUpload;
class NameLists;
class LanguageStrings;
class PointerBackend;
class PointerSettings;
class ProfileSlots;
class ProfileSync;
class RecoilOps;
class SettingsStore;

class myQQuickView : public QQuickWidget {
    Q_OBJECT
public:
    // Opens the settings store in the current directory (the executable's folder).
    explicit myQQuickView(QWidget* parent = nullptr);
    // The same on `dataRoot`, with the dialogs and the pointer backend given
    // (null: the real ones). For the command-line tool and the tests.
    myQQuickView(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer,
                 QWidget* parent = nullptr);
    ~myQQuickView() override;

    // The device link; the window host sets it right after the window set-up.
    // The view's mouse backup becomes the link's write guard.
    void setHidLink(Hid_Thread* link);
    Hid_Thread* hidLinkPtr() const { return hidLink; }

    SettingsStore& store() { return *m_store; }
    LanguageStrings& languageStrings() { return *m_lang; }
    FeatureContext& featureContext() { return m_ctx; }
    ProfileSync& profileSync() { return *m_profileSync; }
    MouseBackup& mouseBackup() { return *m_backup; }
    FileDialogs& fileDialogs() { return *m_dialogs; }
    MacroLibrary& macroLibrary() { return *m_macros; }
    NameLists& nameLists() { return *m_names; }
    // The mouse was changed behind the pages' back (a backup was restored):
    // every page reads its values again and forgets its unsaved edits; nothing is sent.
    void reloadPages();
    // Locks the pages and shows the busy indicator (true), or ends that (false).
    void showBusy(bool busy);

    // Captured input, queued into the QML root (never run inside the capture).
    void notifyKeyboard(bool isDown, int usbCode);
    void notifyMouse(bool isDown, uint veskCode, uint x, uint y);

public slots:
    void clearHidBusy();
    void initUI();
    void runUI();
    void resetApconfig();
    bool loadMacroFile(QVariant macroFileName);
    void saveMacroFile(QVariant macroFileName);
    bool loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QStringList getLangStrings(QString typeStr, QString langCode);
    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname);
    void deleteMacroUpdateProfile(QVariant macroName);
    QVariant deleteMacroIni(QVariant name);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariant repeat);
    QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex);
    QStringList loadMacroIni(QVariant name);
    void mouseSaveGundata(QVariant index, QVariantList src6);
    void mouseSendGundata(int, QVariantList);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();
    QVariant getXYSensitive(QVariant index);
    QVariant getselectGun(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    void setSelectGun(QVariant index, QVariant xyData);
    void setCurrentProfile(int profile);
    void mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void mouseSetReportRate(uchar rate, uchar en);
    void mouseSetCurrentDPI(uchar currentDPI);
    void mouseResetKeyMatrix();
    QVariant mouseGetCurrentDPI();
    void mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam);
    void mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray);
    void mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    void mouseSetRGBColor(uchar type, QVariantList src24);
    void mouseSetProfile(uint profileNo);
    void mouseReadProfile(uint profileNo);
    QVariant mouseReadCurrentProfile();
    void mouseSwitchKeyMatrix(int indexNo);
    QVariantList GetKeyboardoption();
    void mouseSetCursorSpeed(uint cursorSpeed);
    void mouseSetVerticalScrollLines(uint lines);
    void mouseSetDoubleClickSpeed(uint speed);
    QVariantList mouseGetKeydefine(QVariant index, bool);
    QVariant getData(QVariant key, bool isRecovery);
    QVariant getGlobalData(QVariant key);
    QVariantList getDataList(QVariant key, bool isRecovery);
    void setData(QVariant key, QVariant data);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setDataList(QVariant key, QVariantList datalist);
    void setBusy(int busyTime);
    void setCurrentDPI(int dpiValue);

signals:
    // The current profile slot changed (setCurrentProfile with another slot).
    void currentProfileChanged(int profile);

public:
    // Not a slot (the slot table above is fixed): profile blocks that did not
    // read back as written since the program started; a page whose save
    // raised the count has not been saved.
    Q_INVOKABLE QVariant unverifiedWrites();
    // Not a slot either: a dialog that closed has left the scene and let go
    // of its drawing; a moment later (once that is deleted) the script
    // garbage is collected, unused compiled pages and cached images are
    // dropped and freed memory goes back to the system. Calls close together
    // share one release.
    Q_INVOKABLE void releaseMemory();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer);
    // Calls a function of the QML root; a missing root or function does nothing.
    void callRoot(const char* function, Qt::ConnectionType type, const QVariant& arg = QVariant());
    bool onGuiThread() const;
    void returnMemory();

    Hid_Thread* hidLink = nullptr;
    std::unique_ptr<SettingsStore> m_store;
    FeatureContext m_ctx;
    std::unique_ptr<FileDialogs> m_ownDialogs;
    FileDialogs* m_dialogs = nullptr;
    std::unique_ptr<ProfileSlots> m_profiles;
    std::unique_ptr<MacroLibrary> m_macros;
    std::unique_ptr<NameLists> m_names;
    std::unique_ptr<LanguageStrings> m_lang;
    std::unique_ptr<ProfileSync> m_profileSync;
    std::unique_ptr<KeyMatrixOps> m_keys;
    std::unique_ptr<DpiOps> m_dpi;
    std::unique_ptr<LightingOps> m_lighting;
    std::unique_ptr<MacroUpload> m_macroUpload;
    std::unique_ptr<RecoilOps> m_recoil;
    std::unique_ptr<PointerSettings> m_pointer;
    std::unique_ptr<MouseBackup> m_backup;
    QTimer* m_release = nullptr;
    QPointer<Hid_Thread> m_guardedLink;     // the link whose write guard m_backup is
};
