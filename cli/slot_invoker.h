#pragma once
// Calls a public slot of a QObject by name with JSON arguments, through the
// meta-object system, and reports the return value and out-parameters as JSON.

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class QObject;

struct InvokeResult {
    bool ok = false;
    QString error;          // usage error: what was expected
    QJsonObject output;     // "result" and every out-parameter by name
};

// Arguments: numbers, strings, booleans; arrays for byte buffers and lists.
// Trailing reference (out) parameters may be left out; they start at 0.
// With `execute` false, only checks that the slot exists and the arguments fit.
InvokeResult invokeSlot(QObject* object, const QString& objectName, const QString& slot,
                        const QJsonArray& args, bool execute = true);

// The signature a user should type, e.g. "hid.hid553_0BH_SetCurrentDPI(uchar stage)".
QString slotSignatures(QObject* object, const QString& objectName, const QString& slot);

// Every public slot of `object` that the command line can call, one signature each.
QStringList callableSlots(QObject* object, const QString& objectName);

// Splits a batch line into its words; JSON arrays, objects and strings stay whole.
QStringList splitCallLine(const QString& line, QString* error);
