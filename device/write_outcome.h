#pragma once
// What became of the writes of one operation: the mouse took them, they did
// not reach it (the link stayed busy, a transfer failed), or a profile block
// did not read back as written.

enum class WriteOutcome {
    Done,
    NotReached,
    NotVerified,
};

// The outcome of two steps of one operation: the first failure counts.
inline WriteOutcome combined(WriteOutcome first, WriteOutcome then)
{
    return first != WriteOutcome::Done ? first : then;
}
