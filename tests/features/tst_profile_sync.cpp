// Reading a 560 mouse's on-board profiles into the view's copy: a read that
// fails or is cut short leaves the copy exactly as it was, so a later write
// sends the old bytes rather than half of a new block. Writing them in a
// batch: every block the operations sent goes out once, a block the mouse
// already holds not at all, and the first block that fails stops the writes.

#include "features/dpi_ops.h"
#include "features/feature_context.h"
#include "features/lighting_ops.h"
#include "features/profile_sync.h"
#include "support/feature_bench.h"

#include <QtTest>

namespace {

uchar before(int b, int i) { return uchar(b * 50 + i + 1); }

QByteArray blockBytes(const ProfileBlocks::Block& block)
{
    return QByteArray(reinterpret_cast<const char*>(block.data()), int(block.size()));
}

// The profile block commands the mouse received, "0c 1" for a write of
// block 1, "8c 1" for a read of it.
QStringList blockCommands(const FeatureBench& b)
{
    QStringList out;
    for (const VirtualExchange& e : b.rig.mouse->received()) {
        const uchar code = uchar(e.frame.at(0));
        if (code == 0x0C || code == 0x8C)
            out << QStringLiteral("%1 %2").arg(int(code), 2, 16, QLatin1Char('0')).arg(int(uchar(e.frame.at(1))));
    }
    return out;
}

QStringList writeAndReadBack(std::initializer_list<int> blocks)
{
    QStringList out;
    for (int n : blocks)
        out << QStringLiteral("0c %1").arg(n) << QStringLiteral("8c %1").arg(n);
    return out;
}

// A Save of the DPI and lighting pages on a mouse with recoil presets: the
// DPI table and the effect go to blocks 1-4, the colours to block 0.
void sendPages(FeatureContext& ctx, int topDpi, uchar effect, uchar colour)
{
    DpiOps(ctx).mouseSetDpi(4, QStringLiteral("3360"), {400, 800, 1600, topDpi, 0, 0, 0, 0});
    LightingOps(ctx).mouseSetRGBEffect(effect, 2, 4);
    QVariantList colours;
    for (int i = 0; i < 24; ++i)
        colours << int(colour) + i;
    LightingOps(ctx).mouseSetRGBColor(0, colours);
}

QByteArray mouseBlocks(const FeatureBench& b)
{
    QByteArray all;
    for (int n = 0; n < 5; ++n)
        all += b.mouseBlock(n);
    return all;
}

} // namespace

class TestProfileSync : public QObject {
    Q_OBJECT
private slots:
    void failedReadKeepsTheBlock_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("too few input reports") << "short";
        QTest::newRow("no answer") << "noAnswer";
        QTest::newRow("unplugged") << "unplugged";
    }
    void failedReadKeepsTheBlock()
    {
        QFETCH(QString, fault);
        FeatureBench b({560, true, true});
        QVERIFY(b.connected);
        b.readBlocks(before);
        const QByteArray old = blockBytes(*b.ctx.blocks.block(1));
        QCOMPARE(old, b.mouseBlock(1));

        // The mouse now holds other bytes, but cannot hand them over whole.
        VirtualMouseState st = b.rig.mouse->state();
        st.profileBlocks[1].fill(0xA5);
        b.rig.mouse->setState(st);
        VirtualFaults f;
        if (fault == QLatin1String("short"))
            f.inputReports = 3;
        else if (fault == QLatin1String("noAnswer"))
            f.noAnswer = true;
        else
            b.rig.mouse->unplug();
        b.rig.mouse->setFaults(f);
        ProfileSync(b.ctx).mouseReadProfile(1);
        QCOMPARE(blockBytes(*b.ctx.blocks.block(1)), old);

        // Whole again, the read takes the new bytes.
        b.rig.mouse->setFaults(VirtualFaults{});
        b.rig.mouse->plug();
        QCOMPARE(b.connect(), true);
        ProfileSync(b.ctx).mouseReadProfile(1);
        QCOMPARE(blockBytes(*b.ctx.blocks.block(1)), QByteArray(128, '\xa5'));
    }

    // The same operations one write per send (the batch switched off) and
    // gathered: each block once, in the order first sent, each read back,
    // and the mouse ends up holding the same bytes. Scopes nest.
    void batchWritesEachBlockOnce()
    {
        FeatureBench single({560, true, true});
        FeatureBench batched({560, true, true});
        QVERIFY(single.connected && batched.connected);
        single.readBlocks(before);
        batched.readBlocks(before);

        single.ctx.batch.enabled = false;
        ProfileSync(single.ctx).beginBatch();
        sendPages(single.ctx, 3200, 3, 10);
        QCOMPARE(ProfileSync(single.ctx).commitBatch(), 0);
        QCOMPARE(blockCommands(single), writeAndReadBack({1, 2, 3, 4, 1, 2, 3, 4, 0}));

        ProfileSync sync(batched.ctx);
        sync.beginBatch();
        sync.beginBatch();
        sendPages(batched.ctx, 3200, 3, 10);
        QCOMPARE(sync.takeNoted(), 0b11111);
        QCOMPARE(sync.takeNoted(), 0);
        QCOMPARE(sync.commitBatch(), 0);
        QCOMPARE(blockCommands(batched), QStringList{});
        QCOMPARE(sync.commitBatch(), 0);
        QCOMPARE(blockCommands(batched), writeAndReadBack({1, 2, 3, 4, 0}));
        QCOMPARE(mouseBlocks(batched), mouseBlocks(single));
        QVERIFY(!batched.ctx.batch.isOpen());
    }

    // A block the mouse holds as the copy has it is not written again by a
    // batch; a single operation outside a batch still writes every block.
    void batchLeavesBlocksTheMouseHolds()
    {
        FeatureBench b({560, true, true});
        QVERIFY(b.connected);
        b.readBlocks(before);
        ProfileSync sync(b.ctx);
        sync.beginBatch();
        sendPages(b.ctx, 3200, 3, 10);
        QCOMPARE(sync.commitBatch(), 0);

        // Only the effect changes: blocks 1-4; the colours' block 0 stays.
        b.rig.mouse->clearReceived();
        sync.beginBatch();
        sendPages(b.ctx, 3200, 5, 10);
        QCOMPARE(sync.commitBatch(), 0);
        QCOMPARE(blockCommands(b), writeAndReadBack({1, 2, 3, 4}));

        b.rig.mouse->clearReceived();
        sync.beginBatch();
        sendPages(b.ctx, 3200, 5, 10);
        QCOMPARE(sync.commitBatch(), 0);
        QCOMPARE(blockCommands(b), QStringList{});

        DpiOps(b.ctx).mouseSetDpi(4, QStringLiteral("3360"), {400, 800, 1600, 3200, 0, 0, 0, 0});
        QCOMPARE(blockCommands(b), writeAndReadBack({1, 2, 3, 4}));

        // What the mouse held before it was read again is forgotten.
        b.rig.mouse->clearReceived();
        sync.readAtConnect();
        VirtualMouseState st = b.rig.mouse->state();
        st.profileBlocks[0].fill(0x11);
        b.rig.mouse->setState(st);
        sync.mouseReadProfile(0);
        b.rig.mouse->clearReceived();
        sync.beginBatch();
        sendPages(b.ctx, 3200, 5, 10);
        QCOMPARE(sync.commitBatch(), 0);
        QCOMPARE(blockCommands(b), writeAndReadBack({0}));
    }

    // The first block that does not take stops the batch: the blocks after
    // it are not sent, the result names every block the mouse may lack, the
    // log names the one that failed. The next batch writes those again.
    void failedBlockStopsTheBatch_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("notHeld");
        QTest::addColumn<QString>("log");
        QTest::newRow("reads back different")
            << "corrupt" << (writeAndReadBack({1, 2, 2})) << 0b11101
            << "profile block 2 was not saved on the mouse; blocks 3, 4, 0 were not sent";
        QTest::newRow("write fails")
            << "chunk" << QStringList{"0c 1"} << 0b11111
            << "profile block 1 was not saved on the mouse; blocks 2, 3, 4, 0 were not sent";
        QTest::newRow("last block fails")
            << "corrupt0" << (writeAndReadBack({1, 2, 3, 4, 0, 0})) << 0b00001
            << "profile block 0 was not saved on the mouse";
    }
    void failedBlockStopsTheBatch()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, sent);
        QFETCH(int, notHeld);
        QFETCH(QString, log);
        FeatureBench b({560, true, true});
        QVERIFY(b.connected);
        b.readBlocks(before);
        VirtualFaults f;
        if (fault == QLatin1String("corrupt"))
            f.corruptBlock = 2;
        else if (fault == QLatin1String("corrupt0"))
            f.corruptBlock = 0;
        else
            f.failChunk = 0;
        b.rig.mouse->setFaults(f);
        ProfileSync sync(b.ctx);
        sync.beginBatch();
        sendPages(b.ctx, 3200, 3, 10);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(log));
        QCOMPARE(sync.commitBatch(), notHeld);
        QCOMPARE(blockCommands(b), sent);

        b.rig.mouse->setFaults(VirtualFaults{});
        b.rig.mouse->clearReceived();
        sync.beginBatch();
        sendPages(b.ctx, 3200, 3, 10);
        QCOMPARE(sync.commitBatch(), 0);
        QStringList again;
        for (int n : {1, 2, 3, 4, 0}) {
            if (notHeld & (1 << n))
                again << writeAndReadBack({n});
        }
        QCOMPARE(blockCommands(b), again);
    }
};

QTEST_GUILESS_MAIN(TestProfileSync)
#include "tst_profile_sync.moc"
