// DPI stages, current stage, lift-off and keyboard options against the
// virtual mouse of each family, byte for byte on the wire.

#include "device/frame.h"
#include "features/dpi_codes.h"
#include "features/dpi_ops.h"
#include "features/feature_context.h"
#include "features/mouse_values.h"
#include "features/profile_sync.h"
#include "store/argument_check.h"
#include "support/feature_bench.h"

#include <QtTest>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray frame(std::initializer_list<uchar> bytes0to6)
{
    const CommandFrame f = makeFrame(bytes0to6);
    return QByteArray(reinterpret_cast<const char*>(f.data()), kFrameSize);
}

QByteArray blockBytes(const std::array<uchar, 128>& block)
{
    return QByteArray(reinterpret_cast<const char*>(block.data()), int(block.size()));
}

QVariantList values(std::initializer_list<int> list)
{
    QVariantList out;
    for (int v : list)
        out.append(v);
    return out;
}

// A mouse of one family with its recoil flag, and the DPI operations on it.
struct DpiRig : FeatureBench {
    DpiRig(int family, bool gun)
        : FeatureBench({family, true, gun}, {}, Link::Later), is560(family == 560)
    {
    }
    // Connects; on the 560 family then gives every block a pattern (so bytes
    // the operation must leave alone are not zero) and reads the blocks in.
    bool connect()
    {
        if (!FeatureBench::connect())
            return false;
        if (is560)
            readBlocks([](int b, int i) { return uchar(i * 7 + b * 31 + 1); });
        return true;
    }

    bool is560;
    DpiOps ops{ctx};
};

} // namespace

class TestDpiOps : public QObject {
    Q_OBJECT
private slots:
    void stageCodes_data()
    {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("code");
        struct Row { const char* sensor; int dpi; int code; };
        const Row rows[] = {
            {"4090", 400, 3}, {"4090", 5000, 49}, {"4090", 5200, 0x5A}, {"4090", 6000, 0x5E},
            {"4090", 12000, 0x7C}, {"4090", 16000, 0x50},
            {"PMW9999", 5200, 0x5A}, {"", 400, 3},                    // unknown models encode like 4090
            {"3360", 400, 3}, {"3360", 3200, 31}, {"3360", 12000, 119},
            {"3050", 250, 1}, {"3050", 251, 2}, {"3050", 2000, 8}, {"3050", 2001, 0x45}, {"3050", 2100, 0x45},
            {"3050", 3500, 0x47}, {"3050", 4000, 0x48}, {"3050", 4100, 0}, {"3050", 100, 1},
            {"3389", 400, 8}, {"3389", 12750, 255}, {"3389", 12800, 0}, {"3389", 16000, 64},
            {"3327", 1250, 24}, {"3327", 800, 16}, {"3327", 12800, 0},   // 256 cut to a byte
        };
        for (const Row& r : rows)
            QTest::addRow("%s %d", r.sensor, r.dpi) << QString::fromLatin1(r.sensor) << r.dpi << r.code;
    }
    void stageCodes()
    {
        QFETCH(QString, sensor);
        QFETCH(int, dpi);
        QFETCH(int, code);
        QCOMPARE(int(dpi::stageCode(dpi::sensorFromName(sensor), dpi)), code);
    }

    // The whole table as each family gets it: the 553 family one 11H command
    // with the unused stages marked 0x80; the 560 family the table in profile
    // blocks 1-4 (mask bytes for the 3389 only), block 1 sent, and blocks 2-4
    // too when the mouse has recoil presets.
    void dpiTable_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("dpiCount");
        QTest::addColumn<QVariantList>("stageValues");
        QTest::addColumn<QByteArray>("codes553");     // the 8 payload bytes of 11H
        QTest::addColumn<QByteArray>("codes560");     // the 8 codes in the blocks
        QTest::addColumn<int>("enabledMask");
        QTest::addColumn<int>("highMask");            // -1: bytes 82/83 untouched

        struct Row {
            const char* name; const char* sensor; int dpiCount; QVariantList values;
            QByteArray codes553; QByteArray codes560; int enabled; int high;
        };
        const QList<Row> rows = {
            {"3360 four stages", "3360", 4, values({400, 800, 1600, 3200, 500, 1000, 1500, 2000}),
             bytes({3, 7, 15, 31, 0x80, 0x80, 0x80, 0x80}), bytes({3, 7, 15, 31, 4, 9, 14, 19}), 0x0F, -1},
            {"4090 all stages", "4090", 8, values({400, 5000, 5200, 6000, 12000, 16000, 100, 200}),
             bytes({3, 49, 0x5A, 0x5E, 0x7C, 0x50, 0, 1}), bytes({3, 49, 0x5A, 0x5E, 0x7C, 0x50, 0, 1}), 0xFF, -1},
            {"unknown model", "PMW9999", 2, values({400, 6000, 800, 800, 800, 800, 800, 800}),
             bytes({3, 0x5E, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}), bytes({3, 0x5E, 7, 7, 7, 7, 7, 7}), 0x03, -1},
            {"3050", "3050", 5, values({250, 251, 2100, 4000, 3000, 500, 750, 1000}),
             bytes({1, 2, 0x45, 0x48, 0x46, 0x80, 0x80, 0x80}), bytes({1, 2, 0x45, 0x48, 0x46, 2, 3, 4}), 0x1F, -1},
            {"values as text and whole doubles", "3360", 2, QVariantList{QStringLiteral("400"), 800.0, 0, 0},
             bytes({3, 7, 0x80, 0x80, 0, 0, 0, 0}), bytes({3, 7, 0xFF, 0xFF, 0, 0, 0, 0}), 0x03, -1},
            {"3389 high stages 7 and 8", "3389", 8, values({400, 800, 1600, 3200, 6400, 10000, 12800, 16000}),
             bytes({8, 16, 32, 64, 128, 200, 0, 64}), bytes({8, 16, 32, 64, 128, 200, 0, 64}), 0xFF, 0xC0},
            {"3389 one stage", "3389", 1, values({12800, 400, 400, 400, 400, 400, 400, 400}),
             bytes({0, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}), bytes({0, 8, 8, 8, 8, 8, 8, 8}), 0x01, 0x01},
            {"3327", "3327", 3, values({1250, 800, 400, 400, 400, 400, 400, 400}),
             bytes({24, 16, 8, 0x80, 0x80, 0x80, 0x80, 0x80}), bytes({24, 16, 8, 8, 8, 8, 8, 8}), 0x07, -1},
            {"short list zero-filled", "3360", 2, values({400, 800, 1600}),
             bytes({3, 7, 0x80, 0, 0, 0, 0, 0}), bytes({3, 7, 15, 0, 0, 0, 0, 0}), 0x03, -1},
            {"long list cut at eight", "3360", 8, values({100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}),
             bytes({0, 1, 2, 3, 4, 5, 6, 7}), bytes({0, 1, 2, 3, 4, 5, 6, 7}), 0xFF, -1},
        };
        for (const Row& r : rows) {
            QTest::addRow("553 %s", r.name) << 553 << false << QString::fromLatin1(r.sensor) << r.dpiCount
                                            << r.values << r.codes553 << r.codes560 << r.enabled << r.high;
            for (bool gun : {false, true})
                QTest::addRow("560%s %s", gun ? " gun" : "", r.name)
                    << 560 << gun << QString::fromLatin1(r.sensor) << r.dpiCount << r.values << r.codes553
                    << r.codes560 << r.enabled << r.high;
        }
    }
    void dpiTable()
    {
        QFETCH(int, family);
        QFETCH(bool, gun);
        QFETCH(QString, sensor);
        QFETCH(int, dpiCount);
        QFETCH(QVariantList, stageValues);
        QFETCH(QByteArray, codes553);
        QFETCH(QByteArray, codes560);
        QFETCH(int, enabledMask);
        QFETCH(int, highMask);

        DpiRig t(family, gun);
        QVERIFY(t.connect());
        const VirtualMouseState before = t.rig.mouse->state();
        std::array<ProfileBlocks::Block, 5> copyBefore;
        for (int n = 0; n < 5; ++n)
            copyBefore[n] = *t.ctx.blocks.block(n);
        t.ops.mouseSetDpi(dpiCount, sensor, stageValues);
        const QList<VirtualExchange> got = writesOf(t.rig.mouse->received());

        if (family == 553) {
            QCOMPARE(got.size(), 1);
            QCOMPARE(got.at(0).frame.toHex(' '), frame({0x11, uchar(dpiCount), 0x08}).toHex(' '));
            QCOMPARE(got.at(0).payload.toHex(' '), codes553.toHex(' '));
            return;
        }

        // Every block 1-4 of the copy holds the table; the other bytes stay as
        // they were (as read: blocks 2-4 are read only with recoil presets).
        for (int n = 1; n <= 4; ++n) {
            QByteArray expected = blockBytes(copyBefore[n]);
            expected.replace(84, 8, codes560);
            expected.replace(92, 8, codes560);
            expected[100] = char(enabledMask);
            if (highMask >= 0) {
                expected[82] = char(highMask);
                expected[83] = char(highMask);
            }
            QCOMPARE(blockBytes(*t.ctx.blocks.block(n)).toHex(' '), expected.toHex(' '));
            const int sentIndex = n - 1;
            const bool sent = gun || n == 1;
            if (sent) {
                QVERIFY(sentIndex < got.size());
                QCOMPARE(got.at(sentIndex).frame.toHex(' '), frame({0x0C, uchar(n), 0x80}).toHex(' '));
                QCOMPARE(got.at(sentIndex).payload.toHex(' '), expected.toHex(' '));
            }
            QCOMPARE(blockBytes(t.rig.mouse->state().profileBlocks[n]).toHex(' '),
                     sent ? expected.toHex(' ') : blockBytes(before.profileBlocks[n]).toHex(' '));
        }
        QCOMPARE(got.size(), gun ? 4 : 1);
        QCOMPARE(blockBytes(*t.ctx.blocks.block(0)), blockBytes(copyBefore[0]));
    }

    // A table the mouse cannot take is refused whole: nothing is sent and
    // the 560 copy of the blocks stays as it was.
    void dpiTableRefused_data()
    {
        QTest::addColumn<int>("dpiCount");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<QVariantList>("stageValues");
        const QVariantList fine = values({400, 800, 1600, 3200, 0, 0, 0, 0});
        QTest::newRow("count -1") << -1 << "3360" << fine;
        QTest::newRow("count 0") << 0 << "3360" << fine;
        QTest::newRow("count 9") << 9 << "3360" << fine;
        QTest::newRow("count 2^31-1") << 2147483647 << "3360" << fine;
        QTest::newRow("text") << 4 << "3360" << QVariantList{"a", "b", QVariant(), QVariantList{1}};
        QTest::newRow("fraction") << 4 << "3360" << QVariantList{400.5, 800, 1600, 3200};
        QTest::newRow("3360 code above a byte") << 4 << "3360" << values({400, 800, 1600, 25700});
        QTest::newRow("3360 below its first code") << 4 << "3360" << values({400, 800, 1600, 99});
        QTest::newRow("0 in a stage in use") << 4 << "3360" << values({400, 800, 1600, 0});
        QTest::newRow("negative unused stage") << 2 << "3360" << values({400, 800, -100, 0});
        QTest::newRow("unused stage above the range") << 2 << "4090" << values({400, 800, 51200, 0});
        QTest::newRow("3050 beyond its scale") << 4 << "3050" << values({400, 800, 1600, 4001});
        QTest::newRow("3389 beyond nine bits") << 4 << "3389" << values({400, 800, 1600, 25600});
        QTest::newRow("3327 code above a byte") << 4 << "3327" << values({400, 800, 1600, 12800});
        QTest::newRow("extra value junk") << 8 << "3360" << QVariantList{400, 800, 1600, 3200, 400, 400, 400, 400, "x"};
    }
    void dpiTableRefused()
    {
        QFETCH(int, dpiCount);
        QFETCH(QString, sensor);
        QFETCH(QVariantList, stageValues);
        for (int family : {553, 560}) {
            DpiRig t(family, true);
            QVERIFY(t.connect());
            std::array<ProfileBlocks::Block, 5> copyBefore;
            for (int n = 0; n < 5; ++n)
                copyBefore[n] = *t.ctx.blocks.block(n);
            const quint64 refusals = ArgumentCheck::refusals();
            t.ops.mouseSetDpi(dpiCount, sensor, stageValues);
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(1));
            QVERIFY(t.rig.mouse->received().isEmpty());
            for (int n = 0; n < 5; ++n)
                QCOMPARE(blockBytes(*t.ctx.blocks.block(n)), blockBytes(copyBefore[n]));
        }
    }

    // The ends of every sensor's range are taken as they are.
    void dpiRangeEnds_data()
    {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("lowestCode");
        QTest::addColumn<int>("highestCode");
        QTest::newRow("4090") << "4090" << 0 << 0xFF;
        QTest::newRow("3360") << "3360" << 0 << 0xFF;
        QTest::newRow("3050") << "3050" << 1 << 0x48;
        QTest::newRow("3389") << "3389" << 1 << 0xFF;
        QTest::newRow("3327") << "3327" << 2 << 0xFE;
    }
    void dpiRangeEnds()
    {
        QFETCH(QString, sensor);
        QFETCH(int, lowestCode);
        QFETCH(int, highestCode);
        const dpi::DpiRange range = dpi::dpiRange(dpi::sensorFromName(sensor));
        DpiRig t(553, false);
        QVERIFY(t.connect());
        t.ops.mouseSetDpi(2, sensor, values({range.lowest, range.highest, 0, 0, 0, 0, 0, 0}));
        const QList<VirtualExchange> got = t.rig.mouse->received();
        QCOMPARE(got.size(), 1);
        QCOMPARE(int(uchar(got.at(0).payload.at(0))), lowestCode);
        QCOMPARE(int(uchar(got.at(0).payload.at(1))), highestCode);
        QVERIFY(mousevalues::dpiTableProblem(2, dpi::sensorFromName(sensor), values({range.lowest, range.highest})).isEmpty());
        QVERIFY(!mousevalues::dpiTableProblem(2, dpi::sensorFromName(sensor), values({range.lowest - 1, range.highest})).isEmpty());
        QVERIFY(!mousevalues::dpiTableProblem(2, dpi::sensorFromName(sensor), values({range.lowest, range.highest + 1})).isEmpty());
    }

    // The copy of the blocks keeps the new table when the mouse does not take
    // it, and a later send carries it; the 553 table simply does not arrive.
    void dpiTableWhenTheMouseRefuses_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("unplug");
        QTest::newRow("553 unplugged") << 553 << true;
        QTest::newRow("560 unplugged") << 560 << true;
        QTest::newRow("560 payload chunk fails") << 560 << false;
    }
    void dpiTableWhenTheMouseRefuses()
    {
        QFETCH(int, family);
        QFETCH(bool, unplug);
        DpiRig t(family, true);
        QVERIFY(t.connect());
        const VirtualMouseState before = t.rig.mouse->state();
        if (unplug) {
            t.rig.mouse->unplug();
        } else {
            VirtualFaults f;
            f.failChunk = 1;
            t.rig.mouse->setFaults(f);
        }
        t.ops.mouseSetDpi(2, QStringLiteral("3360"), values({400, 800, 1600, 3200, 400, 400, 400, 400}));
        QCOMPARE(t.rig.mouse->state().dpiCodes, before.dpiCodes);
        QCOMPARE(t.rig.mouse->state().profileBlocks, before.profileBlocks);
        QVERIFY(t.rig.hid.transport().isReady());
        if (family == 553)
            return;
        for (int n = 1; n <= 4; ++n) {
            const ProfileBlocks::Block& b = *t.ctx.blocks.block(n);
            QCOMPARE(blockBytes(b).mid(84, 8), bytes({3, 7, 15, 31, 3, 3, 3, 3}));
            QCOMPARE(int(b[100]), 0x03);
        }
        t.rig.mouse->plug();
        t.rig.mouse->setFaults(VirtualFaults{});
        QCOMPARE(t.rig.check(), 1);
        ProfileSync(t.ctx).mouseSetProfile(1);
        QCOMPARE(blockBytes(t.rig.mouse->state().profileBlocks[1]), blockBytes(*t.ctx.blocks.block(1)));
    }

    // Without a device link (or before the blocks were read) the 560 copy is
    // still changed; working on unread blocks says so once.
    void dpiTableWithoutLink()
    {
        DpiRig t(560, true);
        t.ctx.hid = nullptr;
        QTest::ignoreMessage(QtDebugMsg, "mouseSetDpi works on profile blocks that were never read from the mouse");
        t.ops.mouseSetDpi(8, QStringLiteral("3389"), values({400, 800, 1600, 3200, 6400, 10000, 12800, 16000}));
        t.ops.mouseSetDpi(8, QStringLiteral("3389"), values({400, 800, 1600, 3200, 6400, 10000, 12800, 16000}));
        for (int n = 1; n <= 4; ++n) {
            const ProfileBlocks::Block& b = *t.ctx.blocks.block(n);
            QCOMPARE(int(b[82]), 0xC0);
            QCOMPARE(int(b[83]), 0xC0);
            QCOMPARE(int(b[91]), 64);
            QCOMPARE(int(b[99]), 64);
            QCOMPARE(int(b[100]), 0xFF);
        }
        QVERIFY(t.rig.mouse->received().isEmpty());
    }

    // The lift-off distance goes out as the 553 command 07H on both families;
    // a cleared enable box sends distance 0 whatever the slider says.
    void liftOff_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("en");
        QTest::addColumn<QByteArray>("expected");
        for (int family : {553, 560}) {
            QTest::addRow("%d near", family) << family << 121 << 1 << frame({0x07, 0, 121, 0x7D});
            QTest::addRow("%d far", family) << family << 99 << 1 << frame({0x07, 0, 99, 0x7D});
            QTest::addRow("%d any enable", family) << family << 110 << 2 << frame({0x07, 0, 110, 0x7D});
            QTest::addRow("%d nearest", family) << family << 125 << 1 << frame({0x07, 0, 125, 0x7D});
            // No distance of the mouse: refused even when switched off.
            QTest::addRow("%d 98", family) << family << 98 << 1 << QByteArray();
            QTest::addRow("%d 126", family) << family << 126 << 1 << QByteArray();
            QTest::addRow("%d 255 off", family) << family << 255 << 0 << QByteArray();
            QTest::addRow("%d off", family) << family << 121 << 0 << frame({0x07, 0, 0, 0x7D});
        }
    }
    void liftOff()
    {
        QFETCH(int, family);
        QFETCH(int, rate);
        QFETCH(int, en);
        QFETCH(QByteArray, expected);
        DpiRig t(family, false);
        QVERIFY(t.connect());
        const quint64 refusals = ArgumentCheck::refusals();
        t.ops.mouseSetReportRate(uchar(rate), uchar(en));
        const QList<VirtualExchange> got = t.rig.mouse->received();
        if (expected.isEmpty()) {
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(1));
            QVERIFY(got.isEmpty());
            return;
        }
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.at(0).frame.toHex(' '), expected.toHex(' '));
        if (family == 553)
            QCOMPARE(int(t.rig.mouse->state().liftOff), en ? rate : 0);
    }

    // Setting the current stage takes the family's command (the 560 one goes to
    // every profile, or profile 1 with recoil presets); reading it back gives
    // the mouse's stage, or 0 when the mouse does not answer.
    void currentStage_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::newRow("553") << 553 << false << QList<QByteArray>{QByteArray::fromHex("0b030000000000f1")};
        QTest::newRow("560") << 560 << false
                             << QList<QByteArray>{frame({0x04, 1, 3}), frame({0x04, 2, 3}), frame({0x04, 3, 3}),
                                                  frame({0x04, 4, 3})};
        QTest::newRow("560 gun") << 560 << true << QList<QByteArray>{frame({0x04, 1, 3})};
    }
    void currentStage()
    {
        QFETCH(int, family);
        QFETCH(bool, gun);
        QFETCH(QList<QByteArray>, frames);
        DpiRig t(family, gun);
        QVERIFY(t.connect());

        t.ops.mouseSetCurrentDPI(3);
        const QList<VirtualExchange> got = t.rig.mouse->received();
        QCOMPARE(got.size(), frames.size());
        for (int i = 0; i < frames.size(); ++i)
            QCOMPARE(got.at(i).frame.toHex(' '), frames.at(i).toHex(' '));

        // The 560 mouse is asked about profile 1 and answers in byte 2.
        VirtualMouseState st = t.rig.mouse->state();
        st.currentDpiStage = 5;
        st.profileDpiStages = {5, 6, 7, 8};
        t.rig.mouse->setState(st);
        t.rig.mouse->clearReceived();
        const QVariant stage = t.ops.mouseGetCurrentDPI();
        QCOMPARE(stage.typeId(), QMetaType::Int);
        QCOMPARE(stage.toInt(), 5);
        QCOMPARE(t.rig.mouse->received().at(0).frame.toHex(' '),
                 (family == 560 ? frame({0x84, 1}) : frame({0x8B})).toHex(' '));

        VirtualFaults f;
        f.noAnswer = true;
        t.rig.mouse->setFaults(f);
        QCOMPARE(t.ops.mouseGetCurrentDPI().toInt(), 0);
        t.ctx.hid = nullptr;
        QCOMPARE(t.ops.mouseGetCurrentDPI().toInt(), 0);
    }

    // A stage the mouse does not have, and (on a 560 mouse, which takes the
    // keyboard-option command as the report rate of profile byte1) a byte1
    // that is no profile, are refused: nothing is sent. A 553 mouse keeps
    // any option bytes.
    void stageAndOptionsRefused()
    {
        for (int family : {553, 560}) {
            DpiRig t(family, false);
            QVERIFY(t.connect());
            const quint64 refusals = ArgumentCheck::refusals();
            for (uchar stage : {uchar(0), uchar(9), uchar(255)})
                t.ops.mouseSetCurrentDPI(stage);
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(3));
            t.ops.mouseSetKeyboardoption(0, 1, 0, 0);
            t.ops.mouseSetKeyboardoption(5, 1, 0, 0);
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(family == 560 ? 5 : 3));
            QCOMPARE(t.rig.mouse->received().size(), family == 560 ? 0 : 2);
            t.rig.mouse->clearReceived();
            t.ops.mouseSetKeyboardoption(family == 560 ? 4 : 0xFF, 0xFF, 0xFF, 0xFF);
            t.ops.mouseSetCurrentDPI(8);
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(family == 560 ? 5 : 3));
            QCOMPARE(t.rig.mouse->received().size(), family == 560 ? 5 : 2);
        }
    }

    // The four keyboard-option bytes go out and come back with the 553 pair,
    // whatever the family; a failed read gives zeros.
    void keyboardOptions()
    {
        for (int family : {553, 560}) {
            DpiRig t(family, false);
            QVERIFY(t.connect());
            t.ops.mouseSetKeyboardoption(0x01, 0x02, 0x03, 0x44);
            const QList<VirtualExchange> got = t.rig.mouse->received();
            QCOMPARE(got.size(), 1);
            QCOMPARE(got.at(0).frame.toHex(' '), frame({0x03, 0x01, 0x02, 0x03, 0x44}).toHex(' '));
        }

        DpiRig t(553, false);
        QVERIFY(t.connect());
        VirtualMouseState st = t.rig.mouse->state();
        st.keyboardOptions = {0x11, 0x22, 0x33, 0xC4};
        t.rig.mouse->setState(st);
        QCOMPARE(t.ops.GetKeyboardoption(), values({0x11, 0x22, 0x33, 0xC4}));
        QCOMPARE(t.rig.mouse->received().last().frame.toHex(' '), frame({0x83}).toHex(' '));
        t.rig.mouse->unplug();
        QCOMPARE(t.ops.GetKeyboardoption(), values({0, 0, 0, 0}));
    }
};

QTEST_GUILESS_MAIN(TestDpiOps)
#include "tst_dpi_ops.moc"
