#pragma once
// The object the pages reach as ui_View, and the command-line tool as
// ui_View too: it owns the settings store, the libraries and the feature
// operations, and every slot is a few lines that call one of them. The slot
// table's order is what QML and the tools rely on.
//
// It tells the pages what happened through its signals and notifying
// properties (main.qml handles them in one Connections block); it never calls
// a function of the pages by name. It is a plain QObject: the window that
// shows the pages (myQQuickView) publishes it, the tool uses it without one.

#include "device/write_outcome.h"
#include "features/feature_context.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

class FileDialogs;
class FileDialogsQt;
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
class QWidget;
class PointerSettings;
class ProfileSlots;
class ProfileSync;
class RecoilOps;
class SettingsStore;

class ViewFacade : public QObject {
    Q_OBJECT
    // The current profile slot of the store (0-9).
    Q_PROPERTY(int profileNo READ profileNo NOTIFY currentProfileChanged)
    // The mouse's current DPI stage, 1-based, as last read, set or reported
    // by the mouse's DPI button; 0 while unknown.
    Q_PROPERTY(int currentDpi READ currentDpi NOTIFY currentDpiChanged)
    // A long operation of the program (a backup being restored) holds the
    // pages: they are locked and show the busy indicator meanwhile.
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    // The number of the mouse's buttons (global mouse/keyCount); 0 when the
    // setting holds no number.
    Q_PROPERTY(int keyCount READ keyCount NOTIFY keyCountChanged)
    // The Gun Editor entry is shown (the program was started with --show-gun-editor).
    Q_PROPERTY(bool showGunEditor READ showGunEditor NOTIFY showGunEditorChanged)
    // Whether the pages take mouse and keyboard input; the window follows it.
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)

public:
    // Opens the settings store in the current directory (the executable's folder).
    explicit ViewFacade(QObject* parent = nullptr);
    // The same on `dataRoot`, with the dialogs and the pointer backend given
    // (null: the real ones). For the command-line tool and the tests.
    ViewFacade(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer,
               QObject* parent = nullptr);
    ~ViewFacade() override;

    // The device link; the window host sets it right after the window set-up.
    // The mouse backup becomes the link's write guard.
    void setHidLink(Hid_Thread* link);
    Hid_Thread* hidLinkPtr() const { return hidLink; }

    // The window the program's own file dialogs are modal over.
    void setDialogParent(QWidget* window);

    SettingsStore& store() { return *m_store; }
    const SettingsStore& store() const { return *m_store; }
    LanguageStrings& languageStrings() { return *m_lang; }
    FeatureContext& featureContext() { return m_ctx; }
    ProfileSync& profileSync() { return *m_profileSync; }
    MouseBackup& mouseBackup() { return *m_backup; }
    FileDialogs& fileDialogs() { return *m_dialogs; }
    MacroLibrary& macroLibrary() { return *m_macros; }
    NameLists& nameLists() { return *m_names; }

    int profileNo() const;
    int currentDpi() const { return m_currentDpi; }
    bool busy() const { return m_busy; }
    int keyCount() const;
    bool showGunEditor() const { return m_showGunEditor; }
    void setShowGunEditor(bool shown);
    bool isEnabled() const { return m_enabled; }
    // Not a slot (the slot table is fixed): the pages lock themselves with it.
    Q_INVOKABLE void setEnabled(bool enabled);

    // The mouse was changed behind the pages' back (a backup was restored):
    // every page reads its values again and forgets its unsaved edits; nothing is sent.
    void reloadPages();
    // Locks the pages and shows the busy indicator (true), or ends that (false).
    void showBusy(bool busy);
    // Asks the pages to make profile `profile` current as a choice in the
    // title bar does; true when it is current afterwards. For the program in
    // front (its rule names the profile).
    bool chooseProfile(int profile);

    // Captured input, queued to the pages (never run inside the capture).
    void notifyKeyboard(bool isDown, int usbCode);
    void notifyMouse(bool isDown, uint veskCode, uint x, uint y);

    // Not slots either. A 560 mouse always starts on its first profile: it is
    // switched there unless it reports it already.
    Q_INVOKABLE void startOnFirstProfile();
    // The report rate back to its factory value, part of a reset to the factory settings.
    Q_INVOKABLE void resetReportRate();
    // A dialog that closed has left the scene: the window lets go of what it drew.
    Q_INVOKABLE void releaseMemory();

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
    void currentDpiChanged();
    void busyChanged();
    void keyCountChanged();
    void enabledChanged();
    void showGunEditorChanged();

    // The pages start (initUI, queued) and run (runUI, queued after it).
    void startRequested();
    void runRequested();
    // The pages lock themselves for `busyTime` ms (setBusy).
    void lockRequested(int busyTime);
    // The mouse's DPI button made `stage` (1-based) current; sent at every
    // report, also of the stage last reported (the page may have moved since).
    void dpiStageReported(int stage);
    // Every page reads its values again and drops its unsaved edits (reloadPages).
    void reloadRequested();
    // The program in front asks for profile `profile` (chooseProfile).
    void profileChoiceRequested(int profile);
    // Captured input for whoever captures it (queued).
    void keyboardCaptured(bool isDown, int usbCode);
    void mouseCaptured(bool isDown, uint veskCode, uint x, uint y);
    // A write of `operation` did not reach the mouse (`reached` false) or did
    // not read back as written: the page that saved stays unsaved.
    void writeFailed(const QString& operation, bool reached);
    // A dialog closed (releaseMemory): the window frees what it no longer draws.
    void memoryReleaseRequested();

public:
    // Not slots (the slot table is fixed): a Save, a Reset and a profile
    // switch send each profile block once. Between begin and commit the
    // pages' block sends are gathered; noted gives the blocks gathered since
    // it was last asked and commit writes them, returning those that did not
    // take (bit n for block n).
    Q_INVOKABLE void beginBlockWrites();
    Q_INVOKABLE QVariant notedBlockWrites();
    Q_INVOKABLE QVariant commitBlockWrites();

private:
    void build(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer);
    bool onGuiThread() const;
    // Starts the write outcome of one operation afresh.
    void beginWrites();
    // Reports a failed outcome of `operation` as writeFailed.
    void endWrites(const char* operation, WriteOutcome outcome);
    void noteDpi(int stage);

    Hid_Thread* hidLink = nullptr;
    std::unique_ptr<SettingsStore> m_store;
    FeatureContext m_ctx;
    std::unique_ptr<FileDialogsQt> m_ownDialogs;
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
    QPointer<Hid_Thread> m_guardedLink;     // the link whose write guard m_backup is
    int m_currentDpi = 0;
    bool m_busy = false;
    bool m_enabled = true;
    bool m_showGunEditor = false;
};
