#pragma once
// Whole-file reads and atomic replacement of files. A file is never written in
// place: the new content goes to a temporary file beside the target, and only
// a complete copy is renamed over it, so a failure at any step (or a crash)
// leaves the old file as it was. The temporary file carries a name of the
// program's own, ".NAME.stryde-tmp-XXXXXX" (six random letters or digits), so
// that the clean-up after a crash never mistakes a file of the user's for one.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class SafeFile {
public:
    // Largest file read() takes unless told otherwise; the program's own files
    // are a few kilobytes.
    static constexpr qint64 DefaultMaxBytes = 16 * 1024 * 1024;

    // The whole content of a regular file. nullopt when the path is missing,
    // is not a regular file (folder, device, pipe), cannot be read, or holds
    // more than maxBytes.
    static std::optional<QByteArray> read(const QString& path, qint64 maxBytes = DefaultMaxBytes);

    // Replaces (or creates) `target` with `data`. The target's folder must
    // exist. On success the target's modification time is later than before,
    // so readers that cache by size and time see the change. On failure the
    // target is untouched and no temporary file is left behind.
    static bool write(const QString& target, const QByteArray& data);

    // write(target, read(source)). Copying a file onto itself succeeds and
    // keeps its content.
    static bool copy(const QString& source, const QString& target);

    // The name of a temporary file for `target` (no folder), with `random`
    // as its last six characters.
    static QString temporaryName(const QString& targetFileName, const QString& random);
    // Whether `fileName` (no folder) is such a name, of a target with a name
    // of at least one character.
    static bool isTemporaryName(const QString& fileName);

    // Test seam: called after the new content is complete in the temporary
    // file and before it replaces the target. Returning false stops the
    // replacement there, as a crash would. An empty function removes it.
    using CommitHook = std::function<bool(const QString& target)>;
    static void setCommitHook(CommitHook hook);
};
