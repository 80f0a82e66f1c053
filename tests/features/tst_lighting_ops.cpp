// Lighting against the virtual mouse of each family: the effect translation
// of every row for RGB, single-colour and 55328 mice on the wire, the profile
// blocks a 560 mouse is sent, and the colour paths.

#include "device/frame.h"
#include "features/feature_context.h"
#include "features/lighting_ops.h"
#include "features/lighting_tables.h"
#include "features/mouse_values.h"
#include "store/argument_check.h"
#include "support/feature_bench.h"

#include <QtTest>

namespace {

// A connected virtual mouse of one model; its profile blocks get a pattern
// of their own before they are read.
struct Bench : FeatureBench {
    using FeatureBench::FeatureBench;
    void readBlocks() { FeatureBench::readBlocks([](int b, int i) { return uchar(b * 40 + i * 3 + 1); }); }
};

QByteArray frame(std::initializer_list<uchar> bytes)
{
    const CommandFrame f = makeFrame(bytes);
    return QByteArray(reinterpret_cast<const char*>(f.data()), 8);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

QVariantList numbers(const QByteArray& b)
{
    QVariantList l;
    for (char c : b)
        l.append(int(uchar(c)));
    return l;
}

QByteArray pattern24()
{
    QByteArray b;
    for (int i = 0; i < 24; ++i)
        b.append(char(i * 11 + 7));
    return b;
}

} // namespace

class TestLightingOps : public QObject {
    Q_OBJECT
private slots:
    // Every row of both effect tables, as the 553 effect command carries it.
    void effect553_data()
    {
        QTest::addColumn<bool>("colourful");
        QTest::addColumn<bool>("is55328");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("option1");
        QTest::addColumn<int>("option2");
        QTest::addColumn<QByteArray>("expected");   // code, option1, option2 of 0DH

        // An index beyond the tables (effect above 10, a step above 4) is
        // refused: nothing is sent.
        const QByteArray refused;
        // RGB: speed step 2, brightness step 3 unless the row says otherwise.
        QTest::newRow("rgb 0 static") << true << false << 0 << 2 << 3 << bytes({1, 0xC0, 0});
        QTest::newRow("rgb 0 step 1") << true << false << 0 << 0 << 1 << bytes({1, 0x40, 0});
        QTest::newRow("rgb 0 step 0") << true << false << 0 << 2 << 0 << bytes({1, 0, 0});
        QTest::newRow("rgb 0 step 5") << true << false << 0 << 2 << 5 << refused;
        QTest::newRow("rgb 1") << true << false << 1 << 2 << 3 << bytes({2, 0, 5});
        QTest::newRow("rgb 2 speed 4") << true << false << 2 << 4 << 3 << bytes({3, 0, 1});
        QTest::newRow("rgb 3") << true << false << 3 << 0 << 3 << bytes({4, 0xFF, 10});
        QTest::newRow("rgb 4") << true << false << 4 << 2 << 3 << bytes({0, 0, 0});
        QTest::newRow("rgb 5") << true << false << 5 << 1 << 2 << bytes({5, 0x80, 7});
        QTest::newRow("rgb 6") << true << false << 6 << 2 << 3 << bytes({6, 0, 0});
        QTest::newRow("rgb 7") << true << false << 7 << 2 << 3 << bytes({7, 0xC0, 0});
        QTest::newRow("rgb 8") << true << false << 8 << 2 << 4 << bytes({8, 0xFF, 15});
        QTest::newRow("rgb 8 speed 5") << true << false << 8 << 5 << 4 << refused;
        QTest::newRow("rgb 9") << true << false << 9 << 3 << 1 << bytes({9, 0x40, 7});
        QTest::newRow("rgb 10") << true << false << 10 << 0 << 2 << bytes({10, 0x80, 30});
        QTest::newRow("rgb 10 speed 4") << true << false << 10 << 4 << 2 << bytes({10, 0x80, 20});
        QTest::newRow("rgb 11") << true << false << 11 << 2 << 3 << refused;
        QTest::newRow("rgb 255") << true << false << 255 << 2 << 3 << refused;
        QTest::newRow("rgb speed 255") << true << false << 1 << 255 << 3 << refused;
        // An RGB mouse that is also a 55328 takes the RGB translation.
        QTest::newRow("rgb 55328 8") << true << true << 8 << 2 << 4 << bytes({8, 0xFF, 15});

        // Single colour: the last byte is always 2.
        QTest::newRow("single 0") << false << false << 0 << 1 << 3 << bytes({1, 7, 2});
        QTest::newRow("single 0 step 0") << false << false << 0 << 1 << 0 << bytes({1, 1, 2});
        QTest::newRow("single 1 speed 4") << false << false << 1 << 4 << 0 << bytes({2, 0, 2});
        QTest::newRow("single 2") << false << false << 2 << 0 << 4 << bytes({3, 0, 2});
        QTest::newRow("single 3") << false << false << 3 << 2 << 4 << bytes({4, 0xFF, 2});
        QTest::newRow("single 4") << false << false << 4 << 2 << 4 << bytes({0, 0, 2});
        QTest::newRow("single 0 step 5") << false << false << 0 << 0 << 5 << refused;
        QTest::newRow("single 10") << false << false << 10 << 0 << 0 << bytes({0, 0, 2});
        QTest::newRow("single 11") << false << false << 11 << 0 << 0 << refused;

        // 55328: the second parameter goes out.
        QTest::newRow("55328 0") << false << true << 0 << 1 << 4 << bytes({1, 10, 0});
        QTest::newRow("55328 1 speed 4") << false << true << 1 << 4 << 0 << bytes({2, 0, 10});
        QTest::newRow("55328 2 speed 1") << false << true << 2 << 1 << 0 << bytes({3, 0, 3});
        QTest::newRow("55328 3 speed 3") << false << true << 3 << 3 << 0 << bytes({4, 0xFF, 7});
        QTest::newRow("55328 3 speed 5") << false << true << 3 << 5 << 0 << refused;
        QTest::newRow("55328 5") << false << true << 5 << 1 << 4 << bytes({0, 0, 0});
    }
    void effect553()
    {
        QFETCH(bool, colourful);
        QFETCH(bool, is55328);
        QFETCH(int, effect);
        QFETCH(int, option1);
        QFETCH(int, option2);
        QFETCH(QByteArray, expected);

        Bench bench({553, colourful, true, is55328});
        QVERIFY(bench.connected);
        const quint64 refusals = ArgumentCheck::refusals();
        LightingOps(bench.ctx).mouseSetRGBEffect(uchar(effect), uchar(option1), uchar(option2));

        const QList<VirtualExchange> got = bench.rig.mouse->received();
        QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(expected.isEmpty() ? 1 : 0));
        if (expected.isEmpty()) {
            QVERIFY(got.isEmpty());
            return;
        }
        QCOMPARE(got.size(), 1);
        const QByteArray want = frame({0x0D, uchar(expected[0]), uchar(expected[1]), uchar(expected[2])});
        QCOMPARE(got.at(0).frame.toHex(' '), want.toHex(' '));
        QVERIFY(got.at(0).payload.isEmpty());
    }

    // 560: offsets 71-73 of blocks 1-4 change, every other byte goes back as
    // read, and the blocks go out in order.
    void effect560_data()
    {
        QTest::addColumn<bool>("colourful");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<int>("effect");
        QTest::addColumn<QByteArray>("bytes");        // offsets 71, 72, 73 of blocks 2-4
        QTest::addColumn<QByteArray>("block1");       // offsets 71, 72, 73 of block 1
        QTest::addColumn<QList<int>>("sent");

        // speed step 2, brightness step 4
        QTest::newRow("rgb with presets") << true << true << 8 << bytes({8, 0xFF, 15}) << bytes({8, 0xFF, 15})
                                          << QList<int>{1, 2, 3, 4};
        QTest::newRow("rgb alone") << true << false << 1 << bytes({2, 0, 5}) << bytes({2, 0, 5}) << QList<int>{1};
        QTest::newRow("single with presets") << false << true << 3 << bytes({4, 0xFF, 2}) << bytes({4, 0xFF, 2})
                                             << QList<int>{1, 2, 3, 4};
        QTest::newRow("single alone") << false << false << 0 << bytes({1, 10, 2}) << bytes({1, 10, 3})
                                      << QList<int>{1};
    }
    void effect560()
    {
        QFETCH(bool, colourful);
        QFETCH(bool, gun);
        QFETCH(int, effect);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, block1);
        QFETCH(QList<int>, sent);

        Bench bench({560, colourful, gun, false});
        QVERIFY(bench.connected);
        bench.readBlocks();
        QByteArray before[5];
        for (int b = 0; b < 5; ++b)
            before[b] = bench.mouseBlock(b);

        LightingOps(bench.ctx).mouseSetRGBEffect(uchar(effect), 2, 4);

        const QList<VirtualExchange> got = writesOf(bench.rig.mouse->received());
        QCOMPARE(got.size(), sent.size());
        for (int i = 0; i < sent.size(); ++i) {
            const int n = sent.at(i);
            QByteArray want = before[n];
            want.replace(71, 3, n == 1 ? block1 : bytes);
            QCOMPARE(got.at(i).frame.toHex(' '), frame({0x0C, uchar(n), 0x80}).toHex(' '));
            QCOMPARE(got.at(i).payload.toHex(' '), want.toHex(' '));
        }
        // The copy holds the new bytes in all four blocks, sent or not.
        for (int n = 1; n <= 4; ++n) {
            const ProfileBlocks::Block& copy = *bench.ctx.blocks.block(n);
            const QByteArray held(reinterpret_cast<const char*>(copy.data()) + 71, 3);
            QCOMPARE(held.toHex(' '), (n == 1 ? block1 : bytes).toHex(' '));
        }
        QCOMPARE(bench.mouseBlock(0), before[0]);
    }

    // The colour table on the 553 family: sent twice with the page's type;
    // a 55328 mouse takes a single colour while the eighth is black.
    void colours553_data()
    {
        QTest::addColumn<bool>("is55328");
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariantList>("src");
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<QList<QByteArray>>("payloads");

        const QByteArray p = pattern24();
        QByteArray blackEighth = p;
        blackEighth.replace(21, 3, QByteArray(3, '\0'));

        QTest::newRow("rgb page") << false << 0 << numbers(p)
                                  << QList<QByteArray>{frame({0x10, 0, 24}), frame({0x10, 0, 24})}
                                  << QList<QByteArray>{p, p};
        QTest::newRow("single-colour page") << false << 1 << numbers(p)
                                            << QList<QByteArray>{frame({0x10, 1, 24}), frame({0x10, 1, 24})}
                                            << QList<QByteArray>{p, p};
        // QML numbers as text or whole doubles, and a list too short: zero-filled.
        const QVariantList odd{QString("17"), 5, 255, 44.0};
        const QByteArray oddBytes = bytes({17, 5, 255, 44}) + QByteArray(20, '\0');
        QTest::newRow("short list") << false << 0 << odd
                                    << QList<QByteArray>{frame({0x10, 0, 24}), frame({0x10, 0, 24})}
                                    << QList<QByteArray>{oddBytes, oddBytes};
        QVariantList tooLong = numbers(p);
        tooLong << 1 << 2 << 3;
        QTest::newRow("long list") << false << 0 << tooLong
                                   << QList<QByteArray>{frame({0x10, 0, 24}), frame({0x10, 0, 24})}
                                   << QList<QByteArray>{p, p};
        QTest::newRow("55328 black eighth") << true << 1 << numbers(blackEighth)
                                            << QList<QByteArray>{frame({0x0C, uchar(p[0]), uchar(p[1]), uchar(p[2])})}
                                            << QList<QByteArray>{QByteArray()};
        QTest::newRow("55328 eight colours") << true << 1 << numbers(p)
                                             << QList<QByteArray>{frame({0x10, 0, 24})}
                                             << QList<QByteArray>{p};
        QTest::newRow("55328 short list") << true << 0 << QVariantList{255, 127, 0}
                                          << QList<QByteArray>{frame({0x0C, 255, 127, 0})}
                                          << QList<QByteArray>{QByteArray()};
        // A component that is no byte is never cut into one: nothing is sent.
        for (const QVariant& junk : {QVariant(256), QVariant(-1), QVariant(QStringLiteral("a")), QVariant(), QVariant(1.5),
                                     QVariant(QVariantList{1})})
            QTest::addRow("component %s", qPrintable(mousevalues::shown(junk))) << false << 0 << QVariantList{1, 2, junk}
                                                                       << QList<QByteArray>() << QList<QByteArray>();
        QTest::newRow("table kind 3") << false << 3 << numbers(p) << QList<QByteArray>() << QList<QByteArray>();
    }
    void colours553()
    {
        QFETCH(bool, is55328);
        QFETCH(int, type);
        QFETCH(QVariantList, src);
        QFETCH(QList<QByteArray>, frames);
        QFETCH(QList<QByteArray>, payloads);

        Bench bench({553, !is55328, false, is55328});
        QVERIFY(bench.connected);
        LightingOps(bench.ctx).mouseSetRGBColor(uchar(type), src);

        const QList<VirtualExchange> got = bench.rig.mouse->received();
        QCOMPARE(got.size(), frames.size());
        for (int i = 0; i < frames.size(); ++i) {
            QCOMPARE(got.at(i).frame.toHex(' '), frames.at(i).toHex(' '));
            QCOMPARE(got.at(i).payload.toHex(' '), payloads.at(i).toHex(' '));
            QVERIFY(!got.at(i).incomplete && !got.at(i).rejected);
        }
    }

    // 560: the colours land in block 0 (RGB) or block 1 (single colour) and
    // only that block is sent, whatever type the page passes.
    void colours560_data()
    {
        QTest::addColumn<bool>("colourful");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("offset");
        QTest::newRow("rgb") << true << 0 << 24;
        QTest::newRow("single colour") << false << 1 << 104;
    }
    void colours560()
    {
        QFETCH(bool, colourful);
        QFETCH(int, block);
        QFETCH(int, offset);

        Bench bench({560, colourful, true, false});
        QVERIFY(bench.connected);
        bench.readBlocks();
        QByteArray want = bench.mouseBlock(block);
        const QByteArray p = pattern24();
        want.replace(offset, 24, p);

        LightingOps(bench.ctx).mouseSetRGBColor(1, numbers(p));

        const QList<VirtualExchange> got = writesOf(bench.rig.mouse->received());
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.at(0).frame.toHex(' '), frame({0x0C, uchar(block), 0x80}).toHex(' '));
        QCOMPARE(got.at(0).payload.toHex(' '), want.toHex(' '));
        QCOMPARE(bench.mouseBlock(block).toHex(' '), want.toHex(' '));
    }

    // A mouse that is gone, or no device link at all: the 560 copy keeps the
    // new bytes.
    void blocksKeepValuesWhenSendingFails_data()
    {
        QTest::addColumn<bool>("withLink");
        QTest::newRow("mouse unplugged") << true;
        QTest::newRow("no device link") << false;
    }
    void blocksKeepValuesWhenSendingFails()
    {
        QFETCH(bool, withLink);
        Bench bench({560, true, true, false});
        QVERIFY(bench.connected);
        bench.rig.mouse->unplug();
        if (!withLink)
            bench.ctx.hid = nullptr;
        const VirtualMouseState mouseBefore = bench.rig.mouse->state();

        LightingOps ops(bench.ctx);
        ops.mouseSetRGBEffect(8, 2, 4);
        ops.mouseSetRGBColor(0, numbers(pattern24()));

        for (int n = 1; n <= 4; ++n) {
            const ProfileBlocks::Block& b = *bench.ctx.blocks.block(n);
            QCOMPARE(int(b[71]), 8);
            QCOMPARE(int(b[72]), 0xFF);
            QCOMPARE(int(b[73]), 15);
        }
        const ProfileBlocks::Block& b0 = *bench.ctx.blocks.block(0);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b0.data()) + 24, 24), pattern24());
        QCOMPARE(bench.rig.mouse->state().profileBlocks, mouseBefore.profileBlocks);
        QVERIFY(bench.rig.mouse->received().isEmpty());
    }

    // Without a device link the 553 paths send nothing and do not crash.
    void noLink553()
    {
        Bench bench({553, true, false, false});
        bench.ctx.hid = nullptr;
        LightingOps ops(bench.ctx);
        ops.mouseSetRGBEffect(0, 0, 4);
        ops.mouseSetRGBColor(0, numbers(pattern24()));
        QVERIFY(bench.rig.mouse->received().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLightingOps)
#include "tst_lighting_ops.moc"
