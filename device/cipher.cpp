#include "device/cipher.h"

namespace {

constexpr char kKeyText[9] = "VtKpZeRm";

constexpr uchar nibbleSwap(uchar x) { return static_cast<uchar>((x << 4) | (x >> 4)); }

// Bytes exchanged by the first step; the exchange is its own inverse.
constexpr int kExchanges[4][2] = { {0, 5}, {1, 4}, {2, 7}, {3, 6} };

void exchange(uchar* f)
{
    for (const auto& e : kExchanges) {
        const uchar t = f[e[0]];
        f[e[0]] = f[e[1]];
        f[e[1]] = t;
    }
}

void xorCode(uchar* f, const uchar* code)
{
    for (int i = 1; i <= 6; ++i)
        f[i] ^= code[i];
}

} // namespace

void encryptFrame(uchar* f, const uchar* code)
{
    exchange(f);
    xorCode(f, code);
    const uchar first = f[0];
    for (int i = 0; i < 7; ++i)
        f[i] = static_cast<uchar>((f[i] << 3) | (f[i + 1] >> 5));
    f[7] = static_cast<uchar>((f[7] << 3) | (first >> 5));
    for (int i = 0; i < 8; ++i)
        f[i] = static_cast<uchar>(f[i] + nibbleSwap(static_cast<uchar>(kKeyText[i])));
}

void decryptFrame(uchar* f, const uchar* code)
{
    for (int i = 0; i < 8; ++i)
        f[i] = static_cast<uchar>(f[i] - nibbleSwap(static_cast<uchar>(kKeyText[i])));
    const uchar last = f[7];
    for (int i = 7; i >= 1; --i)
        f[i] = static_cast<uchar>((f[i] >> 3) | ((f[i - 1] & 7) << 5));
    f[0] = static_cast<uchar>((f[0] >> 3) | ((last & 7) << 5));
    xorCode(f, code);
    exchange(f);
}

bool secrecyCodeFromText(const QString& text, SecrecyBytes& code)
{
    if (text.size() != 6)
        return false;
    for (int k = 0; k < 6; ++k)
        code[k + 1] = static_cast<uchar>(text.at(k).unicode() & 0xFF);
    return true;
}
