#pragma once
// Cipher of the command frames of mice that expect them ciphered: a fixed
// byte exchange, an XOR with the six-character secrecy code, a 3-bit rotation
// across the frame and the addition of a constant key.

#include "device/frame.h"

#include <QString>

// Secrecy code bytes: 1..6 hold the code's ASCII characters, 0 and 7 are unused.
using SecrecyBytes = std::array<uchar, 8>;

void encryptFrame(uchar* frame, const uchar* secrecyCode);
void decryptFrame(uchar* frame, const uchar* secrecyCode);

// Secrecy code bytes from a six-character code; false (and `code` untouched) otherwise.
bool secrecyCodeFromText(const QString& text, SecrecyBytes& code);
