#pragma once
// The files of a test run, shared by the QML rig and the end-to-end harness:
// HID trace text and setting files.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// The trace lines "<ms> <event> <iface> [<hex bytes>]" of a trace text, without comments.
QStringList traceLinesOf(const QByteArray& text);
// The 8 frame bytes of every feature report sent on the command interface:
// "0b 03 00 00 00 00 00 f1".
QStringList commandFramesOf(const QStringList& traceLines);
// The frames of write commands among them: the reads (the backup before the
// first write, the read-back of a profile block) left out. Plain frames only.
QStringList writeFramesOf(const QStringList& traceLines);
// A fresh read of `key` in the INI file at `path`: the pending writes of this
// process are flushed, then a copy is read, so that no cached value answers.
QVariant freshSetting(const QString& path, const QString& key);
// Writes every key -> value of `values` into the INI file at `path`.
void writeSettings(const QString& path, const QVariantMap& values);
