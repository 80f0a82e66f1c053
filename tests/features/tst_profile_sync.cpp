// Reading a 560 mouse's on-board profiles into the view's copy: a read that
// fails or is cut short leaves the copy exactly as it was, so a later write
// sends the old bytes rather than half of a new block.

#include "features/feature_context.h"
#include "features/profile_sync.h"
#include "support/feature_bench.h"

#include <QtTest>

namespace {

uchar before(int b, int i) { return uchar(b * 50 + i + 1); }

QByteArray blockBytes(const ProfileBlocks::Block& block)
{
    return QByteArray(reinterpret_cast<const char*>(block.data()), int(block.size()));
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
};

QTEST_GUILESS_MAIN(TestProfileSync)
#include "tst_profile_sync.moc"
