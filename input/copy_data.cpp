#include "input/copy_data.h"

std::optional<QString> copyDataText(quintptr dwData, const QByteArray& bytes)
{
    if (dwData != kCopyDataTextTag)
        return std::nullopt;
    // The sender passes the text without its terminator; a count that takes
    // in the NUL (or anything after it) is not a text of that length.
    const int nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    if (text.toUtf8().size() != bytes.size())
        return std::nullopt;
    return text;
}

std::optional<QString> copyDataText(const CopyDataMessage& message)
{
    if (message.cbData > 0 && !message.lpData)
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromRawData(static_cast<const char*>(message.lpData),
                                                     qsizetype(message.cbData));
    return copyDataText(message.dwData, bytes);
}
