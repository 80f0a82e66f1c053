#include "device/json_bytes.h"

#include <cctype>
#include <cmath>

namespace jsonbytes {

QString toHex(const uchar* p, int n)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(p), n).toHex());
}

bool parseHex(const QJsonValue& v, QByteArray& out)
{
    if (!v.isString())
        return false;
    const QString s = v.toString();
    if (s.size() % 2 != 0)
        return false;
    for (const QChar c : s) {
        if (!std::isxdigit(c.unicode() < 128 ? static_cast<int>(c.unicode()) : 0))
            return false;
    }
    out = QByteArray::fromHex(s.toLatin1());
    return true;
}

bool byteValue(const QJsonValue& v, uchar& out)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (d < 0 || d > 255 || d != std::floor(d))
        return false;
    out = static_cast<uchar>(d);
    return true;
}

} // namespace jsonbytes
