#pragma once
// Reads a fuzzer's input as a stream of small values; past the end every
// read gives 0 (or nothing), so a target never reads out of bounds.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }
    size_t remaining() const { return m_size - m_pos; }

    uint8_t u8() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint16_t u16() { return uint16_t(u8() << 8 | u8()); }
    uint32_t u32() { return uint32_t(u16()) << 16 | u16(); }
    bool flag() { return u8() & 1; }

    // Up to `n` bytes (fewer at the end).
    QByteArray bytes(size_t n)
    {
        n = n < remaining() ? n : remaining();
        QByteArray b(reinterpret_cast<const char*>(m_data + m_pos), int(n));
        m_pos += n;
        return b;
    }
    QByteArray rest() { return bytes(remaining()); }
    // A short text: a length byte, then that many bytes as UTF-8 (invalid
    // sequences included).
    QString text() { return QString::fromUtf8(bytes(u8() % 48)); }

    // A value as QML or a settings file may hand it over: a number of any
    // size or sign, a fraction, a text (numeric or not), a boolean or nothing.
    QVariant value()
    {
        switch (u8() % 7) {
        case 0: return QVariant(int(u32()));
        case 1: return QVariant(u8());
        case 2: {
            double d;
            const QByteArray b = bytes(sizeof d).leftJustified(sizeof d, '\0');
            std::memcpy(&d, b.constData(), sizeof d);
            return QVariant(d);
        }
        case 3: return QVariant(QString::number(int(u32())));
        case 4: return QVariant(text());
        case 5: return QVariant(flag());
        default: return QVariant();
        }
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A finding: the fuzzer stops on the abort and keeps the input.
#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (false)
