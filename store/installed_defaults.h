#pragma once
// Brings a user's modules/ up to date with the installed defaults (the setting
// files, language files, macro and recoil defaults a package installs under
// share/stryde/), without ever overwriting what the user set.
//
// Beside the user's files it keeps a copy of the defaults as they were last
// applied (modules/.defaults/), which tells what a newer version brings:
//   - a file the user lacks is copied;
//   - a file the user never changed (it still equals the copy) follows the
//     new defaults whole;
//   - a file the user changed keeps every value; the keys the new defaults
//     bring that the old ones lacked (all keys the file lacks, when no copy
//     of the old defaults exists) are added to it. Keys the user's program
//     removed on purpose (a deleted recoil preset) stay removed.
// A user's file that is no INI text any more is kept aside first
// (DamagedFiles) and then copied afresh.

#include <QString>

class InstalledDefaults {
public:
    struct Result {
        bool ok = true;         // every file could be brought up to date
        int copied = 0;         // files the user lacked
        int replaced = 0;       // unchanged files that follow new defaults
        int keysAdded = 0;      // keys added to files the user changed
    };

    // `defaultsDir`: the installed defaults; `modulesDir`: the user's modules/.
    InstalledDefaults(const QString& defaultsDir, const QString& modulesDir);

    // Applies the defaults to every file. A file that fails (a folder that
    // cannot be made, a write that fails) is logged and left as it was; the
    // others go on.
    Result apply() const;

    // The folder below modules/ that keeps the defaults as last applied.
    static constexpr char kSnapshotFolder[] = ".defaults";

private:
    bool applyFile(const QString& relative, Result& result) const;

    QString m_defaults;
    QString m_modules;
};
