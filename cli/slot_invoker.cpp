#include "cli/slot_invoker.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QMetaMethod>
#include <QObject>
#include <QVariant>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kBufferSize = 256;   // every device buffer fits

// The public slots the object's own class declares: what `slots` lists. Those
// it inherits (deleteLater, start, terminate, close, ...) are not for the
// command line: they would destroy or start objects the tool relies on.
QList<QMetaMethod> ownSlots(const QObject* object)
{
    QList<QMetaMethod> found;
    const QMetaObject* mo = object->metaObject();
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.access() == QMetaMethod::Public && m.methodType() == QMetaMethod::Slot)
            found.append(m);
    }
    return found;
}

QList<QMetaMethod> publicSlots(const QObject* object, const QString& name)
{
    QList<QMetaMethod> found;
    for (const QMetaMethod& m : ownSlots(object)) {
        if (QString::fromLatin1(m.name()) == name)
            found.append(m);
    }
    return found;
}

QString signatureText(const QString& objectName, const QMetaMethod& m)
{
    QStringList params;
    const QList<QByteArray> types = m.parameterTypes();
    const QList<QByteArray> names = m.parameterNames();
    for (int i = 0; i < types.size(); ++i)
        params << QString::fromLatin1(types.at(i) + ' ' + names.value(i));
    return objectName + QLatin1Char('.') + QString::fromLatin1(m.name()) + QLatin1Char('(')
           + params.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// Byte count of a buffer parameter: the digits its name ends with (src128),
// else a command frame's 8 bytes.
int bufferLength(const QByteArray& name)
{
    int i = name.size();
    while (i > 0 && std::isdigit(static_cast<unsigned char>(name.at(i - 1))))
        --i;
    const int n = name.mid(i).toInt();
    return (n > 0 && n <= kBufferSize) ? n : 8;
}

bool isInteger(const QJsonValue& v)
{
    return v.isDouble() && std::isfinite(v.toDouble()) && std::floor(v.toDouble()) == v.toDouble();
}

// The range of each integer parameter type the slots use. A number outside it
// is refused: it must never wrap around to another slot, list or stage.
struct IntegerRange {
    const char* type;
    double min;
    double max;
};
constexpr IntegerRange kIntegerRanges[] = {
    {"uchar", 0, 255},
    {"unsigned char", 0, 255},
    {"short", -32768, 32767},
    {"ushort", 0, 65535},
    {"int", -2147483648.0, 2147483647.0},
    {"uint", 0, 4294967295.0},
    {"unsigned int", 0, 4294967295.0},
    {"qint64", -9007199254740992.0, 9007199254740992.0},      // what a JSON number holds exactly
    {"quint64", 0, 9007199254740992.0},
};

const IntegerRange* integerRange(const QByteArray& type)
{
    for (const IntegerRange& r : kIntegerRanges) {
        if (type == r.type)
            return &r;
    }
    return nullptr;
}

bool inRange(const QJsonValue& v, const IntegerRange& r)
{
    return isInteger(v) && v.toDouble() >= r.min && v.toDouble() <= r.max;
}

QString rangeText(const IntegerRange& r)
{
    return QStringLiteral("an integer from %1 to %2").arg(qint64(r.min)).arg(qint64(r.max));
}

// Numbers inside a QVariant or a list reach slots that take them as int or
// uint (indexes, list types, byte values): beyond what those hold they would
// wrap. So they must lie between the smallest int and the largest uint.
constexpr IntegerRange kVariantNumbers = {"number", -2147483648.0, 4294967295.0};

bool variantNumbersFit(const QJsonValue& v)
{
    if (v.isDouble())
        return std::isfinite(v.toDouble()) && v.toDouble() >= kVariantNumbers.min
               && v.toDouble() <= kVariantNumbers.max;
    if (v.isArray()) {
        for (const QJsonValue& e : v.toArray()) {
            if (!variantNumbersFit(e))
                return false;
        }
    }
    if (v.isObject()) {
        for (const QJsonValue& e : v.toObject()) {
            if (!variantNumbersFit(e))
                return false;
        }
    }
    return true;
}

// `what` ("a value", "an array") whose numbers fit.
QString variantNumbersText(const char* what)
{
    return QStringLiteral("%1 whose numbers lie from %2 to %3")
        .arg(QLatin1String(what)).arg(qint64(kVariantNumbers.min)).arg(qint64(kVariantNumbers.max));
}

enum class Kind { Value, OutRef, InBuffer, OutBuffer };

struct Arg {
    Kind kind = Kind::Value;
    QByteArray type;        // without & or *
    QByteArray name;
    QVariant value;
    std::vector<unsigned char> buffer;
    unsigned char* bufferPtr = nullptr;
    void* pointer() { return (kind == Kind::InBuffer || kind == Kind::OutBuffer) ? static_cast<void*>(&bufferPtr) : value.data(); }
};

// Converts one JSON argument to the parameter's type; false with a reason when it does not fit.
bool convert(const QJsonValue& json, Arg& arg, QString* why)
{
    const QByteArray& t = arg.type;
    if (arg.kind == Kind::InBuffer || arg.kind == Kind::OutBuffer) {
        arg.buffer.assign(kBufferSize, 0);
        arg.bufferPtr = arg.buffer.data();
        if (json.isUndefined())
            return true;
        if (!json.isArray()) {
            *why = QStringLiteral("an array of bytes");
            return false;
        }
        const QJsonArray a = json.toArray();
        if (a.size() > kBufferSize) {
            *why = QStringLiteral("at most %1 bytes").arg(kBufferSize);
            return false;
        }
        const IntegerRange& byte = *integerRange("uchar");
        for (int i = 0; i < a.size(); ++i) {
            if (!inRange(a.at(i), byte)) {
                *why = QStringLiteral("an array of bytes (integers from 0 to 255)");
                return false;
            }
            arg.buffer[i] = static_cast<unsigned char>(a.at(i).toDouble());
        }
        return true;
    }
    if (const IntegerRange* range = integerRange(t)) {
        if (json.isUndefined()) {
            arg.value = QVariant(QMetaType::fromName(t));
            return true;
        }
        if (!inRange(json, *range)) {
            *why = rangeText(*range);
            return false;
        }
        const long long n = static_cast<long long>(json.toDouble());
        if (t == "uchar" || t == "unsigned char")
            arg.value = QVariant::fromValue(static_cast<uchar>(n));
        else if (t == "int")
            arg.value = QVariant::fromValue(static_cast<int>(n));
        else if (t == "uint" || t == "unsigned int")
            arg.value = QVariant::fromValue(static_cast<uint>(n));
        else if (t == "short")
            arg.value = QVariant::fromValue(static_cast<short>(n));
        else if (t == "ushort")
            arg.value = QVariant::fromValue(static_cast<ushort>(n));
        else if (t == "qint64")
            arg.value = QVariant::fromValue(static_cast<qint64>(n));
        else
            arg.value = QVariant::fromValue(static_cast<quint64>(n));
        return true;
    }
    if (t == "double" || t == "float") {
        if (!json.isDouble() || (t == "float" && std::fabs(json.toDouble()) > 3.4e38)) {
            *why = QStringLiteral("a number");
            return false;
        }
        arg.value = t == "double" ? QVariant(json.toDouble()) : QVariant(static_cast<float>(json.toDouble()));
        return true;
    }
    if (t == "bool") {
        if (!json.isBool()) {
            *why = QStringLiteral("true or false");
            return false;
        }
        arg.value = QVariant(json.toBool());
        return true;
    }
    if (t == "QString") {
        if (!json.isString()) {
            *why = QStringLiteral("a string");
            return false;
        }
        arg.value = QVariant(json.toString());
        return true;
    }
    if (t == "QStringList") {
        if (!json.isArray()) {
            *why = QStringLiteral("an array of strings");
            return false;
        }
        QStringList list;
        for (const QJsonValue& v : json.toArray()) {
            if (!v.isString()) {
                *why = QStringLiteral("an array of strings");
                return false;
            }
            list << v.toString();
        }
        arg.value = QVariant(list);
        return true;
    }
    if (t == "QVariantList" || t == "QList<QVariant>") {
        if (!json.isArray()) {
            *why = QStringLiteral("an array");
            return false;
        }
        if (!variantNumbersFit(json)) {
            *why = variantNumbersText("an array");
            return false;
        }
        arg.value = QVariant(json.toArray().toVariantList());
        return true;
    }
    if (t == "QVariant") {
        if (!variantNumbersFit(json)) {
            *why = variantNumbersText("a value");
            return false;
        }
        arg.value = QVariant::fromValue(json.toVariant());
        return true;
    }
    *why = QStringLiteral("a %1, which the command line cannot pass").arg(QString::fromLatin1(t));
    return false;
}

QJsonValue toJson(const QVariant& v)
{
    if (!v.isValid())
        return QJsonValue(QJsonValue::Null);
    // A slot that returns QVariant hands back a variant inside the variant.
    if (v.metaType() == QMetaType::fromType<QVariant>())
        return toJson(v.value<QVariant>());
    switch (v.metaType().id()) {
    case QMetaType::UChar:
        return QJsonValue(static_cast<int>(v.value<uchar>()));
    case QMetaType::Char:
    case QMetaType::SChar:
        return QJsonValue(static_cast<int>(static_cast<uchar>(v.value<char>())));
    default:
        break;
    }
    if (v.canConvert<QVariantList>() && v.metaType().id() != QMetaType::QString) {
        QJsonArray a;
        for (const QVariant& e : v.toList())
            a.append(toJson(e));
        return a;
    }
    return QJsonValue::fromVariant(v);
}

} // namespace

QStringList callableSlots(QObject* object, const QString& objectName)
{
    QStringList list;
    for (const QMetaMethod& m : ownSlots(object))
        list << signatureText(objectName, m);
    return list;
}

QString slotSignatures(QObject* object, const QString& objectName, const QString& slot)
{
    QStringList sigs;
    for (const QMetaMethod& m : publicSlots(object, slot))
        sigs << signatureText(objectName, m);
    return sigs.join(QStringLiteral(" or "));
}

InvokeResult invokeSlot(QObject* object, const QString& objectName, const QString& slot,
                        const QJsonArray& args, bool execute)
{
    InvokeResult r;
    const QList<QMetaMethod> candidates = publicSlots(object, slot);
    if (candidates.isEmpty()) {
        r.error = QStringLiteral("%1 has no public slot named %2 (stryde-cli slots lists them)").arg(objectName, slot);
        return r;
    }
    QString lastWhy;
    for (const QMetaMethod& m : candidates) {
        const QList<QByteArray> types = m.parameterTypes();
        const QList<QByteArray> names = m.parameterNames();
        int required = types.size();
        while (required > 0 && types.at(required - 1).endsWith('&'))
            --required;
        if (args.size() < required || args.size() > types.size()) {
            lastWhy = QStringLiteral("%1 expects %2 argument(s): %3; got %4")
                          .arg(QString::fromLatin1(m.name()))
                          .arg(required == types.size() ? QString::number(required)
                                                        : QStringLiteral("%1 to %2").arg(required).arg(types.size()))
                          .arg(signatureText(objectName, m))
                          .arg(args.size());
            continue;
        }
        std::vector<Arg> params(types.size());
        bool fits = true;
        for (int i = 0; i < types.size() && fits; ++i) {
            Arg& a = params[i];
            QByteArray t = types.at(i);
            a.name = names.value(i);
            if (t.endsWith('&')) {
                a.kind = Kind::OutRef;
                t.chop(1);
            } else if (t.endsWith('*')) {
                a.kind = t.startsWith("const ") ? Kind::InBuffer : Kind::OutBuffer;
                t.chop(1);
                if (t.startsWith("const "))
                    t = t.mid(6);
                if (t != "uchar" && t != "unsigned char") {
                    lastWhy = QStringLiteral("%1 cannot be called from the command line (%2)")
                                  .arg(signatureText(objectName, m), QString::fromLatin1(types.at(i)));
                    fits = false;
                    break;
                }
            }
            if (t.startsWith("const "))
                t = t.mid(6);
            a.type = t;
            QString why;
            if (!convert(i < args.size() ? args.at(i) : QJsonValue(QJsonValue::Undefined), a, &why)) {
                lastWhy = QStringLiteral("argument %1 (%2) of %3 must be %4")
                              .arg(i + 1).arg(QString::fromLatin1(a.name), signatureText(objectName, m), why);
                fits = false;
            }
        }
        if (!fits)
            continue;
        if (!execute) {
            r.ok = true;
            return r;
        }

        QVariant returnValue;
        const QMetaType returnType = m.returnMetaType();
        const bool hasReturn = returnType.isValid() && returnType.id() != QMetaType::Void;
        if (hasReturn)
            returnValue = QVariant(returnType);
        std::vector<void*> argv(types.size() + 1, nullptr);
        argv[0] = hasReturn ? returnValue.data() : nullptr;
        for (size_t i = 0; i < params.size(); ++i)
            argv[i + 1] = params[i].pointer();
        QMetaObject::metacall(object, QMetaObject::InvokeMetaMethod, m.methodIndex(), argv.data());

        if (hasReturn)
            r.output.insert(QStringLiteral("result"), toJson(returnValue));
        for (Arg& a : params) {
            if (a.kind == Kind::OutRef) {
                r.output.insert(QString::fromLatin1(a.name), toJson(a.value));
            } else if (a.kind == Kind::OutBuffer) {
                QJsonArray bytes;
                for (int k = 0; k < bufferLength(a.name); ++k)
                    bytes.append(static_cast<int>(a.buffer[k]));
                r.output.insert(QString::fromLatin1(a.name), bytes);
            }
        }
        r.ok = true;
        return r;
    }
    r.error = lastWhy;
    return r;
}

QStringList splitCallLine(const QString& line, QString* error)
{
    QStringList words;
    int i = 0;
    const int n = line.size();
    while (i < n) {
        while (i < n && line.at(i).isSpace())
            ++i;
        if (i >= n)
            break;
        const int start = i;
        int depth = 0;
        bool inString = false;
        while (i < n) {
            const QChar c = line.at(i);
            if (inString) {
                if (c == QLatin1Char('\\'))
                    ++i;
                else if (c == QLatin1Char('"'))
                    inString = false;
            } else if (c == QLatin1Char('"')) {
                inString = true;
            } else if (c == QLatin1Char('[') || c == QLatin1Char('{')) {
                ++depth;
            } else if (c == QLatin1Char(']') || c == QLatin1Char('}')) {
                --depth;
            } else if (c.isSpace() && depth == 0) {
                break;
            }
            ++i;
        }
        if (inString || depth != 0) {
            if (error)
                *error = QStringLiteral("unbalanced brackets or quotes in: %1").arg(line);
            return {};
        }
        words << line.mid(start, i - start);
    }
    return words;
}
