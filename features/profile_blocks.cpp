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

bool ProfileBlocks::mouseHolds(int n) const
{
    const Block* b = block(n);
    const std::optional<Block>& held = m_held[static_cast<size_t>(b ? n : 0)];
    return b && held && *held == *b;
}

void ProfileBlocks::setHeld(int n)
{
    if (const Block* b = block(n))
        m_held[static_cast<size_t>(n)] = *b;
}

void ProfileBlocks::forgetHeld(int n)
{
    if (block(n))
        m_held[static_cast<size_t>(n)].reset();
}

void ProfileBlocks::forgetAllHeld()
{
    for (std::optional<Block>& held : m_held)
        held.reset();
}
