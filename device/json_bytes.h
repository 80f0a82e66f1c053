#pragma once
// Bytes in the program's JSON files (the virtual mouse's state, the mouse
// backups): a byte is a whole number 0..255, a byte string is hexadecimal
// text, two digits per byte.

#include <QByteArray>
#include <QJsonValue>
#include <QString>

using uchar = unsigned char;

namespace jsonbytes {

// Lower-case hexadecimal text of `n` bytes.
QString toHex(const uchar* p, int n);
// The bytes of hexadecimal text; false (out unchanged) for anything else.
bool parseHex(const QJsonValue& v, QByteArray& out);
// A whole number 0..255; false (out unchanged) for anything else.
bool byteValue(const QJsonValue& v, uchar& out);

} // namespace jsonbytes
