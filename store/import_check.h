#pragma once
// Files the user picks for an import are taken only when they look like the
// INI text the program writes. Anything else (a binary, text in another
// encoding, a huge file) is refused before a stored file is touched.

#include <QByteArray>
#include <QString>
#include <optional>

class ImportCheck {
public:
    // Profiles and macros are a few kilobytes; a megabyte leaves ample room.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    // True for at most MaxBytes of valid UTF-8 without NUL bytes.
    static bool isPlausibleIniText(const QByteArray& data);

    // The content of `path` when it is a regular file that passes
    // isPlausibleIniText; nullopt (with a debug line) otherwise.
    static std::optional<QByteArray> readIniText(const QString& path);
};
