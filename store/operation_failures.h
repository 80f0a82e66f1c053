#pragma once
// Operations that did not do what was asked although nothing was wrong with
// the request: a write that did not take (a folder that cannot be written, a
// full disk), a reset from a damaged default, an import that could not be
// stored. The operation calls fail() or cannotWrite(): that writes a log line
// naming the operation and the reason, and counts it, so the command-line
// tool can report the call as failed even when the slot returns nothing.
// (A value refused before anything was tried is an ArgumentCheck refusal.)

#include <QString>
#include <functional>

class OperationFailures {
public:
    // Logs "<operation> failed: <why>" (category stryde.store) and counts it.
    static void fail(const char* operation, const QString& why);
    // fail() for a file that could not be written, and tells the handler.
    static void cannotWrite(const char* operation, const QString& path);

    // Failures since the process started, and the text of the last one.
    static quint64 failures();
    static QString lastFailure();

    // Called (on the thread that failed) with the path of every file that
    // could not be written; the window uses it to tell the user. An empty
    // function removes it.
    using WriteFailureHandler = std::function<void(const QString& path)>;
    static void setWriteFailureHandler(WriteFailureHandler handler);
};
