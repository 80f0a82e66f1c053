// Frame checksum and the frame cipher.

#include "device/cipher.h"
#include "device/frame.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray bytes(const uchar* p, int n) { return QByteArray(reinterpret_cast<const char*>(p), n); }

} // namespace

class TestCipher : public QObject {
    Q_OBJECT
private slots:
    void checksum_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("expected");
        QTest::newRow("0B 03") << QByteArray::fromHex("0b03000000000000") << 0xF1;
        QTest::newRow("seven FF") << QByteArray::fromHex("ffffffffffffff00") << 0x06;
        QTest::newRow("lift-off 5") << QByteArray::fromHex("0700057d00000000") << 0x76;
        QTest::newRow("zeros") << QByteArray(8, '\0') << 0xFF;
    }
    void checksum()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, expected);
        QCOMPARE(int(frameChecksum(reinterpret_cast<const uchar*>(frame.constData()))), expected);
    }

    void makeFrameSetsChecksum()
    {
        const CommandFrame f = makeFrame({0x04, 0x01, 0x02});
        QCOMPARE(bytes(f.data(), 8), QByteArray::fromHex("04010200000000f8"));
        const FeatureReport r = toFeatureReport(f);
        QCOMPARE(bytes(r.data(), 9), QByteArray::fromHex("0004010200000000f8"));
    }

    // The exchange and the rotation on a frame whose byte 5 has its top bits
    // set, followed by the key: the top bits of byte 5 travel to byte 0 and
    // on into the low bits of byte 7.
    void encryptKnownFrameWithZeroCode()
    {
        uchar f[8] = {0x0B, 0x03, 0x00, 0x00, 0x00, 0xE0, 0x00, 0xF1};
        const SecrecyBytes zero{};
        encryptFrame(f, zero.data());
        // 00 07 88 00 18 58 00 07 plus the nibble-swapped key "VtKpZeRm"
        QCOMPARE(bytes(f, 8), QByteArray::fromHex("654e3c07bdae25dd"));
        decryptFrame(f, zero.data());
        QCOMPARE(bytes(f, 8), QByteArray::fromHex("0b03000000e000f1"));
    }

    void roundTripRestoresEveryFrame()
    {
        QRandomGenerator rng(1234);
        SecrecyBytes code{};
        QVERIFY(secrecyCodeFromText(QStringLiteral("386514"), code));
        for (int n = 0; n < 20000; ++n) {
            uchar f[8];
            for (uchar& b : f)
                b = static_cast<uchar>(rng.bounded(256));
            if (n % 2) {
                for (int i = 1; i <= 6; ++i)
                    code[i] = static_cast<uchar>(rng.bounded(256));
            }
            const QByteArray before = bytes(f, 8);
            encryptFrame(f, code.data());
            decryptFrame(f, code.data());
            QCOMPARE(bytes(f, 8), before);
        }
        // Every value in every position.
        for (int pos = 0; pos < 8; ++pos) {
            for (int v = 0; v < 256; ++v) {
                uchar f[8] = {};
                f[pos] = static_cast<uchar>(v);
                const QByteArray before = bytes(f, 8);
                encryptFrame(f, code.data());
                decryptFrame(f, code.data());
                QCOMPARE(bytes(f, 8), before);
            }
        }
    }

    // The code is mixed only into the bytes that the exchange moves to
    // positions 1..6: plain bytes 2 and 5 come back whatever code deciphers.
    void codeNeverTouchesOuterPositions()
    {
        QRandomGenerator rng(99);
        for (int n = 0; n < 1000; ++n) {
            uchar f[8];
            SecrecyBytes a{}, b{};
            for (uchar& x : f)
                x = static_cast<uchar>(rng.bounded(256));
            for (int i = 0; i < 8; ++i) {
                a[i] = static_cast<uchar>(rng.bounded(256));
                b[i] = static_cast<uchar>(rng.bounded(256));
            }
            const QByteArray before = bytes(f, 8);
            encryptFrame(f, a.data());
            decryptFrame(f, b.data());
            QCOMPARE(f[2], uchar(before[2]));
            QCOMPARE(f[5], uchar(before[5]));
            // Bytes 0 and 7 of the code are never used.
            uchar g[8];
            memcpy(g, before.constData(), 8);
            SecrecyBytes a2 = a;
            a2[0] ^= 0xFF;
            a2[7] ^= 0x5A;
            uchar h[8];
            memcpy(h, before.constData(), 8);
            encryptFrame(g, a.data());
            encryptFrame(h, a2.data());
            QCOMPARE(bytes(g, 8), bytes(h, 8));
        }
    }

    void secrecyCodeNeedsSixCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("six") << "386514" << true;
        QTest::newRow("five") << "38651" << false;
        QTest::newRow("seven") << "3865140" << false;
        QTest::newRow("empty") << "" << false;
    }
    void secrecyCodeNeedsSixCharacters()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        SecrecyBytes code{};
        code[1] = 0x77;
        QCOMPARE(secrecyCodeFromText(text, code), accepted);
        if (accepted)
            QCOMPARE(bytes(code.data(), 8), QByteArray("\0" "386514" "\0", 8));
        else
            QCOMPARE(code[1], uchar(0x77));
    }
};

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
