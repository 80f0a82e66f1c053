#pragma once
// The user's macro library: one INI file per macro, <data root>/modules/macro/
// <name>.bin, and the two operations that carry a rename or a deletion into
// the profile slots 0-5.
//
// Macro names become file names, so every operation first checks the name
// (isValidMacroName) and refuses one that could leave the macro folder or
// that a file system rejects: nothing is touched, the result is false or
// empty and a debug line says why.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class FileDialogs;
class SettingsStore;

class MacroLibrary {
public:
    // Longest macro name, in characters.
    static constexpr int MaxNameLength = 64;
    // Most actions a macro file may hold; a device macro holds far fewer.
    static constexpr int MaxActions = 1024;
    // The mouse's repeat count is 16 bits.
    static constexpr int MaxRepeat = 65535;
    // Profile slots that take part in renames and deletions (the pages use 0-5).
    static constexpr int ProfileSlotsWithMacros = 6;
    // Buttons of a key matrix.
    static constexpr int ButtonCount = 16;

    MacroLibrary(SettingsStore& store, FileDialogs& dialogs);

    // A name is refused when it is empty, longer than MaxNameLength, holds a
    // control character, one of < > : " / \ | ? *, "..", invalid UTF-16,
    // ends with a dot or a space, or is a reserved device name (CON, NUL,
    // COM1, ...).
    static bool isValidMacroName(const QString& name);
    // The file of macro `name` (not checked).
    QString macroPath(const QString& name) const;

    // Sets config/index (unsigned), total 0, repeat 1 and did -1, creating the
    // file if needed. Other entries of an existing file stay. True when
    // written. An index that is no unsigned 32-bit number is refused.
    bool createMacroIni(const QVariant& name, const QVariant& macroIndex);
    // Replaces the actions and the repeat count of an existing macro file;
    // false (and nothing created) when there is no such file. A damaged file
    // is kept aside (DamagedFiles) and the macro written afresh. A repeat
    // count that is not an integer from 0 to 65535 is refused.
    bool saveMacroIni(const QVariant& name, const QStringList& macros, const QVariant& repeat);
    // The actions in order, then the repeat count; empty when there is no file.
    QStringList loadMacroIni(const QVariant& name) const;
    // Deletes the macro file; false when there is none or it stays.
    bool deleteMacroIni(const QVariant& name);
    // Renames the macro file, and only when that worked, renames the macro in
    // the "mouseMacroKey/" entries of profile slots 0-5. Fails, changing
    // nothing, when the old file is missing or a macro `newname` exists.
    bool modifyMacroNameUpdateProfile(const QVariant& oldname, const QVariant& newname);
    // Puts every button of profile slots 0-5 bound to the macro back to the
    // default profile's assignment. False only for a refused name.
    bool deleteMacroUpdateProfile(const QVariant& macroName);
    // Asks for a macro export file and copies it in as macro `macroFileName`.
    // True when the new macro file was written; an existing macro of that
    // name is never overwritten, and a file that is not plausible INI text is
    // refused.
    bool loadMacroFile(const QVariant& macroFileName);
    // Asks for a target and writes a copy of the macro file there. True when
    // the copy was written.
    bool saveMacroFile(const QVariant& macroFileName);

    // "Macro(*.mc)"
    static QString fileFilter();

private:
    // The file of a valid name; nullopt with a debug line naming `operation`.
    std::optional<QString> checkedPath(const QVariant& name, const char* operation) const;

    SettingsStore& m_store;
    FileDialogs& m_dialogs;
};
