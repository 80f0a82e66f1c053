#pragma once
// One backup of a mouse: which mouse (vendor and product id, command family),
// when it was taken, and what the mouse reported (a MouseSnapshot). Kept as a
// small JSON text that holds nothing else:
//
//   { "format": "korvex-stryde-mouse-backup", "version": 1,
//     "vendorId": "04d9", "productId": "a1ee", "family": 560,
//     "taken": "2025-03-01T09:30:00.125Z",
//     "keyboardOptions": "0800",                          (553: four bytes)
//     "currentProfile": 1, "profileDpiStages": [1, 1, 1, 1],
//     "profileBlocks": ["<256 hex digits>", ... five] }    (560)
//   553 instead of the last line: "currentDpiStage": 2
//
// Reading is strict: a text that is not exactly this (a field missing, of the
// wrong kind or length, a value the mouse cannot hold, a field it should not
// have) is refused with a message that names what is wrong. The mouse holds
// DPI stages 1-8 and (560) profiles 1-4; the keyboard options and the
// profile blocks are its own bytes, handed back whole as it gave them.

#include "device/mouse_snapshot.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

struct BackupRecord {
    static constexpr int kVersion = 1;

    quint16 vendorId = 0;
    quint16 productId = 0;
    QDateTime taken;            // UTC
    MouseSnapshot snapshot;     // snapshot.family is the record's family

    QByteArray toJson() const;
    // nullopt, with `error` (if given) saying why, when `text` is not such a backup.
    static std::optional<BackupRecord> fromJson(const QByteArray& text, QString* error = nullptr);

    // "04d9:a1ee"
    static QString mouseName(quint16 vendorId, quint16 productId);
};
