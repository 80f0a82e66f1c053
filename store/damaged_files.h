#pragma once
// The program's own INI files (settings, profiles, name lists, macros, the
// recoil library) are rewritten whole by Qt's settings objects, which keep
// only what they could parse. A file that cannot be INI text at all (binary
// bytes, zeros, far too large) would so be lost the first time the program
// writes it. Before that, such a file is kept aside once as NAME.damaged,
// with a log line, so the user can still recover it.
//
// Only files that are plainly not text count as damaged: a file missing keys,
// or text the settings format reads oddly, is left alone.

#include <QByteArray>
#include <QString>

class DamagedFiles {
public:
    // The program's files are a few kilobytes; a megabyte leaves ample room.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    // True for a regular file larger than MaxBytes, holding a control
    // character other than tab, line feed and carriage return (NUL, 0x01,
    // escape...), or not valid UTF-8. A missing or empty file is not damaged.
    static bool isDamaged(const QString& path);
    // Bytes that cannot be one of the program's INI files.
    static bool isDamagedContent(const QByteArray& data);

    // When `path` is damaged, renames it to path + ".damaged" (replacing an
    // older damaged copy) and logs it. Returns true when the file was moved
    // aside; false when it was sound, missing, or could not be moved (then a
    // log line says so and the file stays).
    static bool keepAside(const QString& path);
    static QString damagedName(const QString& path);
};
