#pragma once
// The profile blocks a Save, a Reset or a profile switch asks to send. Every
// page sends on its own, and several pages change the same blocks (the DPI
// table and the lighting effect both live in blocks 1-4): while a batch is
// open a block send is only noted here, and the end of the batch writes each
// noted block once, with every page's change in it.

#include <vector>

class ProfileBatch {
public:
    // Off: every block send goes out at once, as a single operation's does
    // (the comparison of the gathered writes with one write per send uses it).
    bool enabled = true;

    bool isOpen() const { return m_depth > 0; }
    // Scopes nest; only the outermost end writes.
    void open() { ++m_depth; }
    // True when this closed the outermost scope.
    bool close() { return m_depth > 0 && --m_depth == 0; }

    // Notes block n (0..4); a block noted twice keeps its first place.
    void note(int n)
    {
        m_sinceTake |= 1 << n;
        for (int q : m_queue) {
            if (q == n)
                return;
        }
        m_queue.push_back(n);
    }
    // The blocks noted since the last take, bit n for block n.
    int take()
    {
        const int mask = m_sinceTake;
        m_sinceTake = 0;
        return mask;
    }
    // The noted blocks in the order first noted; the batch forgets them.
    std::vector<int> drain()
    {
        std::vector<int> queue;
        queue.swap(m_queue);
        m_sinceTake = 0;
        return queue;
    }

private:
    int m_depth = 0;
    std::vector<int> m_queue;
    int m_sinceTake = 0;
};
