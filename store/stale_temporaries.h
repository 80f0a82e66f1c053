#pragma once
// Files are replaced atomically: the new content goes to a temporary file
// beside the target, named after it with a dot and six random letters or
// digits (as in p1.bin.PybiwR, or p1.bin.a8Xk2q from mktemp), which is then
// renamed over it. Qt's settings format also keeps a lock file beside a file
// while it writes it (p1.bin.lock). A save that was killed can
// leave that temporary file behind. At start the program removes such files
// from the folders it writes (modules/setting, modules/macro, modules/gun,
// modules/backup), and nothing else.

#include <QString>
#include <QStringList>

class StaleTemporaries {
public:
    // Whether `fileName` (no folder) is such a temporary file of one of the
    // program's files: NAME.bin or NAME.json, a dot, and six letters or
    // digits. Names a user picks for a copy, like p1.bin.backup or
    // p1.bin.Latest, do not match.
    static bool isTemporaryName(const QString& fileName);
    // Whether `fileName` is the lock file the settings format keeps beside
    // one of the program's files while it writes it: NAME.bin.lock or
    // NAME.json.lock. A killed save leaves it behind.
    static bool isLockName(const QString& fileName);
    // Removes the temporary files below `dataRoot`/modules, and the lock
    // files and work folders (WorkFolder) whose owner is no longer running,
    // and returns their paths; each removal is logged. What another running
    // copy of the program holds stays.
    static QStringList remove(const QString& dataRoot);
};
