#pragma once
// Files are replaced atomically: the new content goes to a temporary file
// beside the target, named after it with a dot and six random letters or
// digits (as in p1.bin.PybiwR, or p1.bin.a8Xk2q from mktemp), which is then
// renamed over it. A save that was killed can
// leave that temporary file behind. At start the program removes such files
// from the folders it writes (modules/setting, modules/macro, modules/gun,
// modules/backup), and nothing else.

#include <QString>
#include <QStringList>

class StaleTemporaries {
public:
    // Whether `fileName` (no folder) is such a temporary file of one of the
    // program's files: NAME.bin or NAME.json, a dot, and six letters or
    // digits that are not a plain word. Names a user picks, like
    // p1.bin.backup or p1.bin.Backup, do not match.
    static bool isTemporaryName(const QString& fileName);
    // Removes the temporary files below `dataRoot`/modules and returns their
    // paths; each removal is logged.
    static QStringList remove(const QString& dataRoot);
};
