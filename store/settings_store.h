#pragma once
// The settings the pages read and write: the global file apConfig.bin, the
// default profile pD.bin and the ten profile slots p1.bin ... p10.bin below
// <data root>/modules/setting/. The twelve files are parsed once and kept open
// for the life of the store, so a read is a lookup in memory.
//
// Keys are not interpreted here; the store only decides which file a key goes
// to. Only the GUI thread uses it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

class QSettings;
class QTimer;

class SettingsStore {
public:
    static constexpr int SlotCount = 10;
    // Buttons of a key matrix (mouseKeyMatrix/0 ... /15).
    static constexpr int ButtonCount = 16;

    // Opens the store on `dataRoot`, the folder that holds modules/ (the
    // application passes "."). Creates no file. The current profile is 0 and
    // the four model flags are read from the global file now, once.
    // First it tidies the data folder (tidyDataFolder).
    explicit SettingsStore(const QString& dataRoot);
    // Writes the pending changes (a write that does not take is reported as
    // in flush()) and deletes the settings objects.
    ~SettingsStore();

    // Tidies the data folder below `dataRoot` before anything reads it:
    // temporary files of interrupted saves are removed (StaleTemporaries), a
    // global or profile file that is damaged (see DamagedFiles) is kept aside
    // before its settings object could rewrite it, and a global file kept
    // aside (now or by an earlier start) is started afresh from its factory
    // copy apConfigD.bin, so that the device catalogue is there again. Safe
    // to call more than once.
    static void tidyDataFolder(const QString& dataRoot);

    // Writes the pending changes of the twelve settings objects now. A file
    // that cannot be written is reported (OperationFailures::cannotWrite);
    // its changes stay pending and are tried again at the next write. False
    // when one did not take. The setters below ask for this on the next turn
    // of the event loop; the command-line tool calls it after each call.
    bool flush();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Paths below the data root.
    QString dataRoot() const { return m_root; }
    QString modulesPath(const QString& relative) const;
    // modules/setting/<fileName>
    QString settingPath(const QString& fileName) const;
    // The file of slot `index` (p1.bin for 0); empty outside 0-9.
    QString slotFileName(int index) const;
    static bool isSlotIndex(int index) { return index >= 0 && index < SlotCount; }

    // Model flags as read when the store was opened.
    bool isColorful() const { return m_isColorful; }
    bool isGun() const { return m_isGun; }
    QString icType() const { return m_icType; }
    bool is55328() const { return m_is55328; }

    int currentProfile() const { return m_currentProfile; }

    // The long-lived settings objects. Import, reset, copy and resetApconfig
    // replace them, so callers fetch them again instead of keeping them.
    QSettings* globalSettings() const { return m_global; }
    QSettings* defaultProfileSettings() const { return m_default; }
    const QList<QSettings*>& profileSettings() const { return m_slots; }
    // nullptr outside 0-9.
    QSettings* slotSettings(int index) const;
    // The object of the current profile slot; never null.
    QSettings* currentSlot() const { return m_slots.at(m_currentProfile); }

    // The value under `key` (as text) in the default profile when isRecovery,
    // else in the current slot; invalid when absent.
    QVariant getData(const QVariant& key, bool isRecovery) const;
    // The same file choice; the value when it is a list, else an empty list.
    QVariantList getDataList(const QVariant& key, bool isRecovery) const;
    // The value under `key` in the global file; invalid when absent.
    QVariant getGlobalData(const QVariant& key) const;
    // Store in the current slot, a list as one value.
    void setData(const QVariant& key, const QVariant& data);
    void setDataList(const QVariant& key, const QVariantList& datalist);
    // Store in the global file.
    void setGlobalData(const QVariant& key, const QVariant& tmpdata);
    // The list under "mouseKeyMatrix/<index>" of the default profile (when
    // isRecovery) or the current slot; empty when absent. An index that is
    // not a button (0-15) is refused with an empty list.
    QVariantList mouseGetKeydefine(const QVariant& index, bool isRecovery) const;

    // Selects the current slot. A value outside 0-9 is ignored (false).
    bool setCurrentProfile(int profile);

    // Replaces apConfig.bin with a copy of the factory file apConfigD.bin and
    // opens a new object on it; the model flags are not read again. Without a
    // readable factory copy nothing changes and the result is false.
    bool resetApconfig();

    // Replaces slot `index`'s file with `content` and opens a new object on
    // it in the same place of the list. The old object's pending changes are
    // written first, so none of them can reach the new file later. On failure
    // the slot keeps its old file and object.
    bool replaceSlotContent(int index, const QByteArray& content);
    // The same with a copy of the file `source`. A source that is the slot's
    // own file changes nothing and succeeds; a damaged one (DamagedFiles)
    // changes nothing and fails.
    bool replaceSlotFile(int index, const QString& source);
    // Whether `path` names slot `index`'s file.
    bool isSlotFile(int index, const QString& path) const;
    // Whether `path` names one of the twelve files the store keeps open.
    bool isStoreFile(const QString& path) const;
    // Whether `path` lies inside the data folder's modules/, where the
    // program keeps its own files (settings, factory copies, profiles, name
    // lists, macros, the recoil library, language files). Symbolic links are
    // followed. Exports are never written there.
    bool isInDataFolder(const QString& path) const;

    // A read value as a list: lists stay lists, anything else (absent, plain
    // text, number) gives an empty list.
    static QVariantList toValueList(const QVariant& value);

private:
    QSettings* open(const QString& path) const;
    bool flushObject(QSettings*& object);
    void flushSoon();
    bool replaceObject(QSettings*& object, const QByteArray& content);

    QString m_root;
    bool m_isColorful = false;
    bool m_isGun = false;
    QString m_icType;
    bool m_is55328 = false;
    QSettings* m_global = nullptr;
    QSettings* m_default = nullptr;
    QList<QSettings*> m_slots;
    int m_currentProfile = 0;
    std::unique_ptr<QTimer> m_flushTimer;
};
