#pragma once
// Numbers as QML or a settings file hands them over, laid out as the fixed
// run of bytes the mouse takes: each taken as an integer and cut to its low
// byte; missing ones are 0, extra ones are dropped. Pure.

#include <QVariantList>

#include <array>
#include <cstddef>

using uchar = unsigned char;

// `cut` (if given) tells whether values beyond the N bytes were dropped.
template <std::size_t N>
std::array<uchar, N> bytesFromValues(const QVariantList& values, bool* cut = nullptr)
{
    std::array<uchar, N> bytes{};
    const qsizetype n = values.size() < qsizetype(N) ? values.size() : qsizetype(N);
    for (qsizetype i = 0; i < n; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<uchar>(values.at(i).toInt() & 0xFF);
    if (cut)
        *cut = values.size() > qsizetype(N);
    return bytes;
}
