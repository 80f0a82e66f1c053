#include "features/profile_blocks.h"

#include "features/features_log.h"

ProfileBlocks::Block* ProfileBlocks::block(int n)
{
    return (n >= 0 && n < kCount) ? &m_blocks[static_cast<size_t>(n)] : nullptr;
}

const ProfileBlocks::Block* ProfileBlocks::block(int n) const
{
    return (n >= 0 && n < kCount) ? &m_blocks[static_cast<size_t>(n)] : nullptr;
}

void ProfileBlocks::noteUseBeforeRead(const char* operation)
{
    if (m_read || m_warned)
        return;
    m_warned = true;
    qCDebug(lcFeatures) << operation << "works on profile blocks that were never read from the mouse";
}
