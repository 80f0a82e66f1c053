#pragma once
// The view's copy of a 560 mouse's five 128-byte on-board profile blocks.
// The feature operations change single bytes in it and send whole blocks.

#include <array>
#include <cstddef>
#include <optional>

using uchar = unsigned char;

class ProfileBlocks {
public:
    static constexpr int kCount = 5;
    static constexpr int kSize = 128;
    using Block = std::array<uchar, kSize>;

    // Block n (0..4); nullptr outside that range.
    Block* block(int n);
    const Block* block(int n) const;

    // Whether the blocks were filled from the mouse at least once. Operations
    // on blocks never read work on them as they stand (zeros at start); the
    // first such use writes one debug line.
    bool wasRead() const { return m_read; }
    void markRead() { m_read = true; }
    void noteUseBeforeRead(const char* operation);

    // Whether the mouse is known to hold block n as the copy has it now.
    // Known after a read of the block and after a write that read back as
    // written; unknown after a failed write and after anything that changed
    // the mouse behind the copy's back.
    bool mouseHolds(int n) const;
    // The mouse holds block n as the copy has it now (it was read or written).
    void setHeld(int n);
    void forgetHeld(int n);
    void forgetAllHeld();

private:
    std::array<Block, kCount> m_blocks{};
    std::array<std::optional<Block>, kCount> m_held{};
    bool m_read = false;
    bool m_warned = false;
};
