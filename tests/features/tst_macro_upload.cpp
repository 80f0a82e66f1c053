// Macro upload against the virtual mouse of each family: the macro of button
// slot s goes out as macro s + 1; slots the mouse has no macro for are refused.

#include "features/feature_context.h"
#include "features/macro_block.h"
#include "features/macro_upload.h"
#include "store/argument_check.h"
#include "support/feature_bench.h"

#include <QtTest>

namespace {

QByteArray frame(std::initializer_list<uchar> bytes)
{
    const CommandFrame f = makeFrame(bytes);
    return QByteArray(reinterpret_cast<const char*>(f.data()), kFrameSize);
}

QVariantList toValues(const QByteArray& bytes)
{
    QVariantList out;
    for (char c : bytes)
        out.append(int(uchar(c)));
    return out;
}

struct Bench : FeatureBench {
    explicit Bench(int family) : FeatureBench({family}) {}
};

// Press A, 50 ms, release A, repeat 1.
const QByteArray kMacro = QByteArray::fromHex("0001 0504 8104 0000");

} // namespace

class TestMacroUpload : public QObject {
    Q_OBJECT
private slots:
    void macroSlots_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QVariant>("macroIndex");
        QTest::addColumn<int>("macroId");        // 0: nothing is sent
        for (int family : {553, 560}) {
            const auto row = [family](const char* name, const QVariant& index, int id) {
                QTest::addRow("%d %s", family, name) << family << index << id;
            };
            row("slot 0", QVariant(0), 1);
            row("slot 3", QVariant(3u), 4);
            row("slot 11", QVariant(11), 12);
            row("slot as text", QVariant(QStringLiteral("7")), 8);
            row("slot 12", QVariant(12), 0);
            row("slot 15", QVariant(15), 0);
            row("slot 256 (low byte 0)", QVariant(256), 0);
            row("slot 267 (low byte 11)", QVariant(267), 0);
            row("negative", QVariant(-1), 0);
            row("not a number", QVariant(QStringLiteral("left")), 0);
        }
    }
    void macroSlots()
    {
        QFETCH(int, family);
        QFETCH(QVariant, macroIndex);
        QFETCH(int, macroId);

        Bench b(family);
        QVERIFY(b.connected);
        const QVariant result = MacroUpload(b.ctx).mouseSendMacroData(toValues(kMacro), macroIndex);
        QCOMPARE(result.typeId(), QMetaType::Bool);
        QVERIFY(result.toBool());

        const QList<VirtualExchange> got = b.rig.mouse->received();
        if (macroId == 0) {
            QVERIFY(got.isEmpty());
            return;
        }
        QCOMPARE(got.size(), 1);
        const QByteArray expected = family == 560 ? frame({0x0F, uchar(macroId), 0x80})
                                                  : frame({0x13, uchar(macroId), 0x80});
        QCOMPARE(got.at(0).frame.toHex(' '), expected.toHex(' '));
        QCOMPARE(got.at(0).payload.toHex(' '), (kMacro + QByteArray(120, '\0')).toHex(' '));
    }

    // Numbers are taken as bytes (text too), the block is zero-filled, and a
    // list longer than a block is cut at 128 bytes. A number that is no byte
    // is never cut into one: that block is refused and nothing is sent.
    void blockContent()
    {
        for (int family : {553, 560}) {
            Bench b(family);
            QVERIFY(b.connected);
            MacroUpload up(b.ctx);

            const quint64 refusals = ArgumentCheck::refusals();
            up.mouseSendMacroData({0x101, QStringLiteral("44"), 0x81, 4}, 2);
            up.mouseSendMacroData({1, QStringLiteral("x"), 0x81, 4}, 2);
            up.mouseSendMacroData({1, -1}, 2);
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(3));
            up.mouseSendMacroData({1, QStringLiteral("44"), 0x81, 4}, 2);
            QVariantList tooLong;
            for (int i = 0; i < 130; ++i)
                tooLong << (i + 1);
            up.mouseSendMacroData(tooLong, 5);

            const QList<VirtualExchange> got = b.rig.mouse->received();
            QCOMPARE(got.size(), 2);
            QCOMPARE(got.at(0).payload.toHex(' '), (QByteArray::fromHex("012c8104") + QByteArray(124, '\0')).toHex(' '));
            QByteArray counted(128, '\0');
            for (int i = 0; i < 128; ++i)
                counted[i] = char(i + 1);
            QCOMPARE(got.at(1).payload.toHex(' '), counted.toHex(' '));
        }
    }

    // The result stays true when the mouse is gone or there is no link.
    void trueWithoutAMouse()
    {
        Bench b(553);
        QVERIFY(b.connected);
        b.rig.mouse->unplug();
        QVERIFY(MacroUpload(b.ctx).mouseSendMacroData(toValues(kMacro), 1).toBool());
        b.ctx.hid = nullptr;
        QVERIFY(MacroUpload(b.ctx).mouseSendMacroData(toValues(kMacro), 1).toBool());
        QVERIFY(b.rig.mouse->received().isEmpty());
        QVERIFY(b.rig.opensClosed());
    }
};

QTEST_GUILESS_MAIN(TestMacroUpload)
#include "tst_macro_upload.moc"
