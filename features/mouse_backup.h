#pragma once
// The copy of a mouse taken before the program first writes to it, and
// writing such a copy back.
//
// As the link's write guard it reads, before the first write of a run to a
// mouse, everything the mouse lets us read (a MouseSnapshot, see there) and
// keeps it in modules/backup/ of the data folder. Reading needs no profile
// switch, so the backup itself changes nothing on the mouse. A backup that
// cannot be read is logged and the write goes ahead.

#include "device/write_guard.h"
#include "features/backup_folder.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <functional>

struct FeatureContext;

class MouseBackup : public WriteGuard {
public:
    explicit MouseBackup(FeatureContext& ctx);

    void beforeFirstWrite(HidTransport& link) override;
    // The backup this run made last (empty: none).
    QString lastBackup() const { return m_lastBackup; }

    // The backup folder of the store's data folder.
    BackupFolder folder() const;
    // The newest backup of the connected mouse; empty when there is none.
    QString newestBackup() const;

    enum class Outcome {
        Restored,
        Refused,        // nothing was sent: no such backup, damaged, another mouse
        NoMouse,        // nothing was sent: no mouse is connected (or it was lost before the restore)
        Failed,         // a write did not take; the message says what was written and what not
    };
    struct Result {
        Outcome outcome = Outcome::Refused;
        QString message;    // for the user, one line
    };
    // Writes the backup `path` (empty: the newest of the connected mouse) to
    // the connected mouse, after checking that it is a sound backup of this
    // very mouse (vendor and product id, command family). What the mouse
    // holds is backed up first (by the guard when nothing was written to it
    // in this run yet). A 560 mouse's profile blocks are read into the view's
    // copy again afterwards.
    Result restore(const QString& path = QString());

    // When a backup is taken; tests set their own.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };

private:
    int family() const;
    // Reads the mouse and saves the backup; false when it could not.
    bool takeBackup(HidTransport& link);

    FeatureContext& m_ctx;
    QString m_lastBackup;
    QString m_restoring;    // the file a restore writes: never pruned under it
    QSet<quint32> m_guarded;    // mice the guard was called for (vendor id << 16 | product id)
};
