#include "features/profile_sync.h"

#include "device/commands_560.h"
#include "device/hid_thread.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "store/argument_check.h"
#include "store/settings_store.h"

#include <QStringList>

void ProfileSync::mouseSetProfile(uint profileNo)
{
    ProfileBlocks::Block* b = m_ctx.blocks.block(profileNo <= 4 ? int(profileNo) : -1);
    if (!b) {
        ArgumentCheck::refuse("mouseSetProfile", "profileNo", QStringLiteral("no profile block %1 (0-4)").arg(profileNo));
        return;
    }
    if (!m_ctx.hid)
        return;
    m_ctx.blocks.noteUseBeforeRead("mouseSetProfile");
    if (m_ctx.batch.isOpen()) {
        m_ctx.batch.note(int(profileNo));
        return;
    }
    writeNow(int(profileNo));
}

bool ProfileSync::writeNow(int n)
{
    const cmd560::BlockWrite result =
        m_ctx.hid->writeProfileBlock(m_ctx.blocks.block(n)->data(), static_cast<uchar>(n));
    if (result == cmd560::BlockWrite::Verified)
        m_ctx.blocks.setHeld(n);
    else
        m_ctx.blocks.forgetHeld(n);
    return result == cmd560::BlockWrite::Verified;
}

void ProfileSync::mouseReadProfile(uint profileNo)
{
    ProfileBlocks::Block* b = m_ctx.blocks.block(profileNo <= 4 ? int(profileNo) : -1);
    if (!b) {
        ArgumentCheck::refuse("mouseReadProfile", "profileNo", QStringLiteral("no profile block %1 (0-4)").arg(profileNo));
        return;
    }
    if (!m_ctx.hid)
        return;
    // A failed or short read leaves the block as it was.
    if (cmd560::readProfile(m_ctx.hid->transport(), b->data(), static_cast<uchar>(profileNo))) {
        m_ctx.blocks.markRead();
        m_ctx.blocks.setHeld(int(profileNo));
    }
}

QVariant ProfileSync::mouseReadCurrentProfile()
{
    uchar profile = 0;
    if (m_ctx.hid)
        m_ctx.hid->hid560_82H_GetCurrentProfile(profile);
    return QVariant(int(profile));
}

void ProfileSync::readAtConnect()
{
    // Another mouse, or this one changed meanwhile: only what is read now is known.
    m_ctx.blocks.forgetAllHeld();
    mouseReadProfile(0);
    mouseReadProfile(1);
    if (m_ctx.store && m_ctx.store->isGun()) {
        mouseReadProfile(2);
        mouseReadProfile(3);
        mouseReadProfile(4);
    }
}

void ProfileSync::beginBatch()
{
    if (m_ctx.batch.enabled || m_ctx.batch.isOpen())
        m_ctx.batch.open();
}

int ProfileSync::takeNoted()
{
    return m_ctx.batch.take();
}

int ProfileSync::commitBatch()
{
    if (!m_ctx.batch.close())
        return 0;
    const std::vector<int> noted = m_ctx.batch.drain();
    if (!m_ctx.hid)
        return 0;
    int notHeld = 0;
    for (size_t i = 0; i < noted.size(); ++i) {
        const int n = noted[i];
        if (m_ctx.blocks.mouseHolds(n))
            continue;
        if (writeNow(n))
            continue;
        // The mouse does not answer as it should: writing on would only wait
        // for it longer, and the pages that sent these blocks stay unsaved.
        QStringList unsent;
        for (size_t j = i; j < noted.size(); ++j) {
            notHeld |= 1 << noted[j];
            if (j > i)
                unsent << QString::number(noted[j]);
        }
        QString line = QStringLiteral("profile block %1 was not saved on the mouse").arg(n);
        if (!unsent.isEmpty())
            line += QStringLiteral("; blocks %1 were not sent").arg(unsent.join(QStringLiteral(", ")));
        qCWarning(lcFeatures).noquote() << line;
        break;
    }
    return notHeld;
}
