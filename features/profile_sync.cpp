#include "features/profile_sync.h"

#include "device/commands_560.h"
#include "device/hid_thread.h"
#include "features/feature_context.h"
#include "features/features_log.h"
#include "store/argument_check.h"
#include "store/settings_store.h"

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
    m_ctx.hid->hid560_0CH_setProfile(b->data(), static_cast<uchar>(profileNo));
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
    if (cmd560::readProfile(m_ctx.hid->transport(), b->data(), static_cast<uchar>(profileNo)))
        m_ctx.blocks.markRead();
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
    mouseReadProfile(0);
    mouseReadProfile(1);
    if (m_ctx.store && m_ctx.store->isGun()) {
        mouseReadProfile(2);
        mouseReadProfile(3);
        mouseReadProfile(4);
    }
}
