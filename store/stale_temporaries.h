#pragma once
// A save that was killed can leave a temporary file beside its target. At
// start the program removes the ones it can prove are its own, from the
// folders it writes (modules/setting, modules/macro, modules/gun,
// modules/backup), and nothing else:
// - its own temporary files, ".NAME.stryde-tmp-XXXXXX" (SafeFile);
// - the work folders of the recoil library, ".NAME.work-XXXXXX" (WorkFolder),
//   once no running program owns them;
// - the lock file the settings format keeps beside a file while it writes it
//   (p1.bin.lock), once the program that made it has ended, and with it the
//   settings format's temporary files of that file (the target's name, a dot
//   and six random letters or digits: p1.bin.PybiwR) made while it held
//   that lock. Such a name without a lock of an ended writer beside it, or
//   older than that lock, is a file of the user's (p1.bin.old123) and stays.

#include <QString>
#include <QStringList>

class StaleTemporaries {
public:
    // Whether `fileName` (no folder) is a temporary file of the program's
    // own: ".NAME.stryde-tmp-XXXXXX".
    static bool isTemporaryName(const QString& fileName);
    // Whether `fileName` has the form of a temporary file of the settings
    // format for one of the program's files: NAME.bin or NAME.json, a dot, and
    // six letters or digits, not one of the words people name their copies
    // with (p1.bin.backup). The form alone proves nothing: a user's copy can
    // have it too.
    static bool isSettingsTemporaryName(const QString& fileName);
    // Whether `fileName` is the lock file the settings format keeps beside
    // one of the program's files while it writes it: NAME.bin.lock or
    // NAME.json.lock. A killed save leaves it behind.
    static bool isLockName(const QString& fileName);
    // Removes what is described above below `dataRoot`/modules and returns
    // the paths removed; each removal is logged. What another running copy
    // of the program holds stays.
    static QStringList remove(const QString& dataRoot);
};
