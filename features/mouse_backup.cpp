#include "features/mouse_backup.h"

#include "device/hid_thread.h"
#include "device/hid_transport.h"
#include "device/mouse_snapshot.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "features/profile_sync.h"
#include "store/settings_store.h"

#include <QDir>

MouseBackup::MouseBackup(FeatureContext& ctx) : m_ctx(ctx) {}

int MouseBackup::family() const
{
    return m_ctx.is560() ? 560 : 553;
}

BackupFolder MouseBackup::folder() const
{
    return BackupFolder(m_ctx.store ? m_ctx.store->dataRoot() : QStringLiteral("."));
}

namespace {

quint32 mouseKey(const DeviceDescriptor& d) { return (quint32(d.vid) << 16) | d.pid; }

} // namespace

void MouseBackup::beforeFirstWrite(HidTransport& link)
{
    if (const DeviceDescriptor* mouse = link.currentEntry())
        m_guarded.insert(mouseKey(*mouse));
    takeBackup(link);
}

bool MouseBackup::takeBackup(HidTransport& link)
{
    const DeviceDescriptor* mouse = link.currentEntry();
    if (!mouse || !m_ctx.store)
        return false;
    const QString name = BackupRecord::mouseName(mouse->vid, mouse->pid);
    BackupRecord r;
    r.vendorId = mouse->vid;
    r.productId = mouse->pid;
    QString failed;
    if (!readMouseSnapshot(link, family(), r.snapshot, &failed)) {
        qCWarning(lcFeatures).noquote() << "no backup of the mouse" << name << "before it is written:"
                                        << "its" << failed << "could not be read";
        return false;
    }
    r.taken = now();
    const QString path = folder().save(r, m_restoring);
    if (path.isEmpty())
        return false;
    m_lastBackup = path;
    qCInfo(lcFeatures).noquote() << "the mouse" << name << "was backed up to" << QDir::toNativeSeparators(path);
    return true;
}

QString MouseBackup::newestBackup() const
{
    const DeviceDescriptor* mouse = m_ctx.hid ? m_ctx.hid->transport().currentEntry() : nullptr;
    return mouse ? folder().newest(mouse->vid, mouse->pid) : QString();
}

MouseBackup::Result MouseBackup::restore(const QString& path)
{
    const DeviceDescriptor* mouse = m_ctx.hid ? m_ctx.hid->transport().currentEntry() : nullptr;
    auto refuse = [](const QString& why) {
        return Result{Outcome::Refused, why + QStringLiteral("; nothing was sent")};
    };
    if (!mouse || mouse->path.isEmpty())
        return Result{Outcome::NoMouse, QStringLiteral("no mouse is connected; nothing was sent")};
    const QString name = BackupRecord::mouseName(mouse->vid, mouse->pid);
    const QString file = path.isEmpty() ? newestBackup() : path;
    if (file.isEmpty())
        return refuse(QStringLiteral("there is no backup of the mouse %1 in %2")
                          .arg(name, QDir::toNativeSeparators(folder().path())));
    const QString shown = QDir::toNativeSeparators(file);
    QString error;
    const std::optional<BackupRecord> r = BackupFolder::load(file, &error);
    if (!r)
        return refuse(QStringLiteral("%1 is not a usable mouse backup: %2").arg(shown, error));
    const QString owner = BackupRecord::mouseName(r->vendorId, r->productId);
    if (owner != name)
        return refuse(QStringLiteral("%1 is a backup of the mouse %2, not of the connected mouse %3").arg(shown, owner, name));
    if (r->snapshot.family != family())
        return refuse(QStringLiteral("%1 is a backup of a mouse with the %2 commands; this one takes the %3 commands")
                          .arg(shown).arg(r->snapshot.family).arg(family()));

    m_restoring = file;
    // Restoring replaces what the mouse holds now: keep that too. Before the
    // first write of the run the guard does it.
    if (m_guarded.contains(mouseKey(*mouse)))
        takeBackup(m_ctx.hid->transport());
    const RestoreReport report = writeMouseSnapshot(*m_ctx.hid, r->snapshot);
    m_restoring.clear();
    // The view's copy of the blocks must be what the mouse holds now, or the
    // next save would send the old bytes back.
    if (r->snapshot.is560())
        ProfileSync(m_ctx).readAtConnect();
    if (!report.ok()) {
        qCWarning(lcFeatures).noquote() << "restoring" << shown << "to the mouse" << name << "failed:" << report.text();
        return Result{Outcome::Failed, QStringLiteral("%1: %2").arg(shown, report.text())};
    }
    qCInfo(lcFeatures).noquote() << "restored" << shown << "to the mouse" << name;
    return Result{Outcome::Restored,
                  QStringLiteral("the backup of %1 (UTC) is back on the mouse %2")
                      .arg(r->taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), name)};
}
