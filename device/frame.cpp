#include "device/frame.h"

uchar frameChecksum(const uchar* frame)
{
    unsigned sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += frame[i];
    return static_cast<uchar>(~sum & 0xFF);
}

CommandFrame makeFrame(std::initializer_list<uchar> bytes0to6)
{
    CommandFrame f{};
    int i = 0;
    for (uchar b : bytes0to6) {
        if (i >= 7)
            break;
        f[i++] = b;
    }
    f[7] = frameChecksum(f.data());
    return f;
}

FeatureReport toFeatureReport(const CommandFrame& frame)
{
    FeatureReport r{};
    for (int i = 0; i < kFrameSize; ++i)
        r[i + 1] = frame[i];
    return r;
}

bool replyAnswers(const CommandFrame& request, const CommandFrame& reply)
{
    return reply[0] == request[0] && reply[7] == frameChecksum(reply.data());
}
