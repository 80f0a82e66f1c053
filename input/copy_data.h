#pragma once
// The text another program may hand over in a WM_COPYDATA message: dwData
// 0x250F and the text in UTF-8, shown to the user in a warning box.

#include <QByteArray>
#include <QString>

#include <optional>

// The fields of a copy-data message (COPYDATASTRUCT on Windows).
struct CopyDataMessage {
    quintptr dwData = 0;
    quint32 cbData = 0;
    const void* lpData = nullptr;
};

constexpr quintptr kCopyDataTextTag = 0x250F;

// The text to show for a copy-data payload, or nothing: another dwData, or
// bytes that are not exactly the UTF-8 text (a NUL inside, or bytes that do
// not encode back to the same length).
std::optional<QString> copyDataText(quintptr dwData, const QByteArray& bytes);
std::optional<QString> copyDataText(const CopyDataMessage& message);
