// The frame cipher: deciphering undoes ciphering for every frame and every
// secrecy code, and the other way round.

#include "device/cipher.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    uchar frame[kFrameSize];
    for (uchar& b : frame)
        b = in.u8();
    SecrecyBytes code{};
    if (in.flag()) {
        for (int i = 1; i <= 6; ++i)
            code[size_t(i)] = in.u8();
    } else {
        // A code from a catalogue's text: six characters or it is refused.
        SecrecyBytes before = code;
        const bool taken = secrecyCodeFromText(in.text(), code);
        FUZZ_CHECK(taken || code == before);
    }

    uchar c[kFrameSize];
    std::memcpy(c, frame, kFrameSize);
    encryptFrame(c, code.data());
    decryptFrame(c, code.data());
    FUZZ_CHECK(std::memcmp(c, frame, kFrameSize) == 0);
    decryptFrame(c, code.data());
    encryptFrame(c, code.data());
    FUZZ_CHECK(std::memcmp(c, frame, kFrameSize) == 0);

    // The checksum rule: a frame with its checksum set answers itself.
    CommandFrame f{};
    std::memcpy(f.data(), frame, kFrameSize);
    f[7] = frameChecksum(f.data());
    FUZZ_CHECK(replyAnswers(f, f));
    return 0;
}
