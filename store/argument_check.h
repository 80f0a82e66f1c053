#pragma once
// Values that reach the program from QML or the command line (indexes, list
// types, lengths, names, paths) are checked before use. An operation that
// refuses one calls refuse(): that writes a log line naming the operation and
// the parameter, and counts the refusal, so the command-line tool can report
// the call as a usage error even when the slot returns nothing. Nothing is
// stored or sent for a refused value.

#include <QString>
#include <QVariant>
#include <optional>

class ArgumentCheck {
public:
    // The integer `value` holds when it is exactly one within [min, max]: an
    // integer, a number without a fraction, or decimal text. Anything else (a
    // fraction, a number beyond the range, text that is no integer, another
    // type) gives nullopt: it is never wrapped or rounded into the range.
    static std::optional<qint64> integer(const QVariant& value, qint64 min, qint64 max);

    // Logs "<operation>: <parameter> refused: <why>" (category stryde.store)
    // and counts it.
    static void refuse(const char* operation, const char* parameter, const QString& why);
    // Refusals since the process started, and the text of the last one.
    static quint64 refusals();
    static QString lastRefusal();
};
