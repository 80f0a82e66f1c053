#include "features/macro_block.h"

#include "features/byte_values.h"

#include <algorithm>
#include <cstddef>

namespace macroblock {

namespace {

// Scales for pauses of kLongPause units or more: below `below` units the
// count is the pause divided by `divisor`.
struct PauseScale {
    quint32 below;
    uchar scale;
    quint32 divisor;
};
constexpr PauseScale kScales[] = {
    {100000, 1, 2},     // count in 20 ms units
    {300000, 2, 5},     // count in 50 ms units
    {600000, 3, 10},    // count in 100 ms units
};
constexpr quint32 kMaxCount = 0xFFFF;

void append(QByteArray& out, uchar a, uchar b)
{
    out.append(static_cast<char>(a));
    out.append(static_cast<char>(b));
}

} // namespace

QByteArray pauseRecords(quint32 units, bool release)
{
    const uchar bit = release ? kReleaseBit : 0;
    QByteArray out;
    if (units < kLongPause) {
        out.append(static_cast<char>(std::max<quint32>(units, 1) | bit));
        return out;
    }
    // Longer than the last scale reaches: the longest pause the mouse can hold.
    const PauseScale* use = &kScales[std::size(kScales) - 1];
    for (const PauseScale& s : kScales) {
        if (units < s.below) {
            use = &s;
            break;
        }
    }
    const quint32 count = std::min(units / use->divisor, kMaxCount);
    out.append(static_cast<char>(bit));
    append(out, 0, use->scale);
    append(out, static_cast<uchar>(count >> 8), static_cast<uchar>(count & 0xFF));
    return out;
}

QByteArray buildStream(int repeat, const QList<MacroAction>& actions)
{
    QByteArray out;
    // A count the mouse cannot hold is held at the largest it can, never
    // wrapped to a small one.
    const int count = std::clamp(repeat, 0, 0xFFFF);
    append(out, static_cast<uchar>(count >> 8), static_cast<uchar>(count & 0xFF));

    int first = 0;
    while (first < actions.size() && actions.at(first).isDelay())
        ++first;
    if (first >= actions.size() - 1)
        return out;

    // The current action's record is written when the next action shows how
    // long the pause after it is.
    MacroAction current = actions.at(first);
    quint64 waitMs = 0;
    for (int i = first + 1; i < actions.size(); ++i) {
        const MacroAction& a = actions.at(i);
        if (a.isDelay()) {
            waitMs += a.value;
            continue;
        }
        const quint32 units = static_cast<quint32>(std::min<quint64>(waitMs / 10, 0xFFFFFFFFu));
        const QByteArray pause = pauseRecords(units, current.isRelease());
        out.append(pause.at(0));
        out.append(static_cast<char>(current.value & 0xFF));
        out.append(pause.mid(1));
        current = a;
        waitMs = 0;
    }
    append(out, static_cast<uchar>(1 | (current.isRelease() ? kReleaseBit : 0)),
           static_cast<uchar>(current.value & 0xFF));
    append(out, 0, 0);
    return out;
}

MacroBlock blockFromValues(const QVariantList& values, bool* cut)
{
    return bytesFromValues<std::tuple_size_v<MacroBlock>>(values, cut);
}

MacroBlock blockFromStream(const QByteArray& stream, bool* cut)
{
    MacroBlock b{};
    const qsizetype n = std::min<qsizetype>(stream.size(), qsizetype(b.size()));
    std::copy(stream.constBegin(), stream.constBegin() + n, b.begin());
    if (cut)
        *cut = stream.size() > n;
    return b;
}

} // namespace macroblock
