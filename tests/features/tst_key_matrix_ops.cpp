// Button assignment against the virtual mouse of each family: what the page's
// map becomes on the wire, the recoil layers, the reset and the switch, and
// what reaches the profile file.

#include "features/feature_context.h"
#include "features/key_matrix_ops.h"
#include "features/profile_sync.h"
#include "store/argument_check.h"
#include "store/settings_store.h"
#include "support/feature_bench.h"

#include <QSettings>
#include <QtTest>
#include <functional>

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

QByteArray frame(std::initializer_list<uchar> bytes)
{
    const CommandFrame f = makeFrame(bytes);
    return QByteArray(reinterpret_cast<const char*>(f.data()), kFrameSize);
}

// The page's default button map, as the pages and pD.bin hold it.
const char* const kDefaultPage =
    "0000f000 0000f100 0000f200 0000f400 0000f300 05000100 05000200 00f01e02"
    "00000000 00000000 00000000 00000000 00000000 00000000 ff000100 ff000200";

// What the mouse gets for it as matrix 1 (both families).
const char* const kDefaultDevice =
    "0100f000 0100f100 0100f200 0100f400 0100f300 07000300 05000300 07000100"
    "0d000000 0d010000 01000000 01000000 0e000000 01000000 04000100 04000200";

// The firmware-default matrix installed in every profile.
const char* const kFirmware =
    "0100f000 0100f100 0100f200 0100f400 0100f300 07000300 05000300 07000100"
    "0d000000 0d010000 01000000 01000000 0e000000 01000000 04000100 04000200";

QVariantList toValues(const QByteArray& bytes)
{
    QVariantList out;
    for (char c : bytes)
        out.append(int(uchar(c)));
    return out;
}

QByteArray withEntry(QByteArray matrix, int slot, const QByteArray& entry)
{
    matrix.replace(slot * 4, 4, entry);
    return matrix;
}

// What the key-matrix command carries: 64 bytes on the 553 family, the same
// padded to 128 with zeros on the 560 family.
QByteArray onWire(int family, const QByteArray& matrix)
{
    return family == 560 ? matrix + QByteArray(64, '\0') : matrix;
}

QByteArray keyMatrixFrame(int family, int k)
{
    return family == 560 ? frame({0x0D, uchar(k), 0x80}) : frame({0x12, uchar(k), 0x40, 0x08});
}

// A mouse of one family with recoil presets; `prepare` changes the installed
// data before the store reads it.
struct Bench : FeatureBench {
    explicit Bench(int family, const std::function<void(DataFixture&)>& prepare = {})
        : FeatureBench({family, true, true}, prepare)
    {
    }

    // The profile file as it reached the disk, read through a fresh object on a copy.
    QVariantList storedEntry(int profileIndex, int slot)
    {
        store->profileSettings().at(profileIndex)->sync();
        const QString name = QStringLiteral("modules/setting/p%1.bin").arg(profileIndex + 1);
        const QString copy = rig.fixture.path(name + QStringLiteral(".copy%1").arg(++copies));
        QFile::remove(copy);
        if (!QFile::copy(rig.fixture.path(name), copy))
            return {};
        QSettings s(copy, QSettings::IniFormat);
        return s.value(QStringLiteral("mouseKeyMatrix/%1").arg(slot)).toList();
    }

    int copies = 0;
};

QList<int> ints(const QVariantList& values)
{
    QList<int> out;
    for (const QVariant& v : values)
        out.append(v.toInt());
    return out;
}

} // namespace

class TestKeyMatrixOps : public QObject {
    Q_OBJECT
private slots:
    // One page entry changed in the default map: matrix 1 on the wire, in one
    // command, with every other slot as in the default. Entries in slots the
    // mouse keeps for itself never reach it, and slot 5 moves to slot 7.
    void matrixOne_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("deviceSlot");     // -1: the map goes out as the default
        QTest::addColumn<QByteArray>("device");

        struct Row { const char* name; int slot; const char* page; int deviceSlot; const char* device553; const char* device560; };
        const Row rows[] = {
            {"default map", 0, "0000f000", 0, "0100f000", "0100f000"},
            {"macro, slot 3, repeat mode 2", 3, "04020300", 3, "09020400", "09020400"},
            {"macro on slot 5 plays from slot 7", 5, "04000500", 7, "09000600", "09000600"},
            {"double click", 1, "00f01e02", 1, "0af01e02", "0af01e02"},
            {"fire", 2, "01040a03", 2, "0a040a03", "0a040a03"},
            {"combination", 3, "02030405", 3, "00030405", "00030405"},
            {"media", 4, "0300cd00", 4, "0300cd00", "0300cd00"},
            {"My PC", 10, "06009401", 10, "03009401", "03009401"},
            {"Index", 11, "06002302", 11, "03002302", "03002302"},
            {"Search", 13, "06002102", 13, "03002102", "03002102"},
            {"Desktop", 10, "0600e307", 10, "0000e307", "0000e307"},
            {"Max (left Alt)", 11, "06042c1b", 11, "00042c1b", "00042c1b"},
            {"shortcut", 13, "0700e006", 13, "0000e006", "0000e006"},
            {"DPI loop", 4, "05000300", 4, "07000300", "07000300"},
            {"sniper", 2, "05000400", 2, "07000402", "0b000101"},
            {"type beyond the page's", 10, "20010203", 10, "20010203", "20010203"},
            {"recoil switch in slot 6", 6, "08000200", -1, "", ""},
            {"recoil switch in slot 7", 7, "08000200", -1, "", ""},
            {"recoil switch in slot 8", 8, "08000200", -1, "", ""},
            {"recoil switch in slot 9", 9, "08000200", -1, "", ""},
            {"recoil switch in slot 12", 12, "08000200", -1, "", ""},
        };
        for (int family : {553, 560}) {
            for (const Row& r : rows) {
                QTest::addRow("%d %s", family, r.name)
                    << family << r.slot << hex(r.page) << r.deviceSlot
                    << hex(family == 560 ? r.device560 : r.device553);
            }
        }
    }
    void matrixOne()
    {
        QFETCH(int, family);
        QFETCH(int, slot);
        QFETCH(QByteArray, page);
        QFETCH(int, deviceSlot);
        QFETCH(QByteArray, device);

        Bench b(family);
        QVERIFY(b.connected);
        KeyMatrixOps ops(b.ctx);
        ops.mouseSetKeyMatrix(toValues(withEntry(hex(kDefaultPage), slot, page)), true, {10, 20, 30});

        QByteArray expected = hex(kDefaultDevice);
        if (deviceSlot >= 0)
            expected = withEntry(expected, deviceSlot, device);
        const QList<VirtualExchange> got = b.rig.mouse->received();
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.at(0).frame.toHex(' '), keyMatrixFrame(family, 1).toHex(' '));
        QCOMPARE(got.at(0).payload.toHex(' '), onWire(family, expected).toHex(' '));
        QVERIFY(!got.at(0).ignored && !got.at(0).incomplete);
    }

    // Recoil mode: matrix 1 and three layers from the firmware default, with
    // the switch slot rewritten per family and the preset periods in slot 0 of
    // the layers; on the 560 family profile block 0 first (layer mask in byte
    // 2, the rest as read from the mouse), on both a switch back to layer 1.
    void recoilMode_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("presets");
        QTest::addColumn<QList<QByteArray>>("switchEntries");   // slot 3 of matrices 1-4
        QTest::addColumn<int>("layerMask");                     // -1: byte 2 stays as read

        // The firmware default of slot 3 is 01 07 F4 09 here, so what the
        // layers keep of it shows.
        const QList<QByteArray> noMask;
        QTest::newRow("553 one preset") << 553 << 1
            << QList<QByteArray>{hex("08000101"), hex("08000100"), hex("08000100"), hex("08000100")} << -1;
        QTest::newRow("553 two presets") << 553 << 2
            << QList<QByteArray>{hex("08000101"), hex("08000102"), hex("08000100"), hex("08000100")} << -1;
        QTest::newRow("553 three presets") << 553 << 3
            << QList<QByteArray>{hex("08000101"), hex("08000102"), hex("08000103"), hex("08000100")} << -1;
        QTest::newRow("553 unknown count") << 553 << 4
            << QList<QByteArray>{hex("08000100"), hex("08000109"), hex("08000109"), hex("08000109")} << -1;
        QTest::newRow("560 one preset") << 560 << 1
            << QList<QByteArray>{hex("08000100"), hex("08070009"), hex("08070009"), hex("08070009")} << 7;
        QTest::newRow("560 two presets") << 560 << 2
            << QList<QByteArray>{hex("08000100"), hex("08070309"), hex("08070009"), hex("08070009")} << 15;
        QTest::newRow("560 three presets") << 560 << 3
            << QList<QByteArray>{hex("08000100"), hex("08070309"), hex("08070309"), hex("08070009")} << 31;
        QTest::newRow("560 unknown count") << 560 << 4
            << QList<QByteArray>{hex("08000400"), hex("0807f409"), hex("0807f409"), hex("0807f409")} << -1;
    }
    void recoilMode()
    {
        QFETCH(int, family);
        QFETCH(int, presets);
        QFETCH(QList<QByteArray>, switchEntries);
        QFETCH(int, layerMask);

        Bench b(family, [](DataFixture& f) {
            QSettings p1(f.path(QStringLiteral("modules/setting/p1.bin")), QSettings::IniFormat);
            p1.setValue(QStringLiteral("mouseFwKeyMatrix/3"), QVariantList{1, 7, 244, 9});
        });
        QVERIFY(b.connected);
        // Block 0 as the mouse holds it: every byte but the mask must come back.
        QByteArray block0(128, '\0');
        for (int i = 0; i < 128; ++i)
            block0[i] = char(0x40 + i);
        VirtualMouseState st = b.rig.mouse->state();
        std::copy(block0.constBegin(), block0.constEnd(), st.profileBlocks[0].begin());
        st.currentProfile = 3;
        st.currentKeyMatrix = 3;
        b.rig.mouse->setState(st);
        if (family == 560)
            ProfileSync(b.ctx).readAtConnect();
        b.rig.mouse->clearReceived();

        KeyMatrixOps ops(b.ctx);
        const QByteArray page = withEntry(hex(kDefaultPage), 3, QByteArray::fromHex("0800") + char(presets) + '\0');
        ops.mouseSetKeyMatrix(toValues(page), true, {10, 20, 30});

        QList<QByteArray> matrices;
        matrices << withEntry(hex(kDefaultDevice), 3, switchEntries.at(0));
        const QByteArray periods[] = {hex("0b000a00"), hex("0b011400"), hex("0b021e00")};
        for (int k = 1; k < 4; ++k)
            matrices << withEntry(withEntry(hex(kFirmware), 3, switchEntries.at(k)), 0, periods[k - 1]);

        QList<QByteArray> frames, payloads;
        if (family == 560) {
            QByteArray sentBlock = block0;
            if (layerMask >= 0)
                sentBlock[2] = char(layerMask);
            frames << frame({0x0C, 0, 0x80});
            payloads << sentBlock;
        }
        for (int k = 1; k <= 4; ++k) {
            frames << keyMatrixFrame(family, k);
            payloads << onWire(family, matrices.at(k - 1));
        }
        frames << frame({0x02, 1});
        payloads << QByteArray();

        const QList<VirtualExchange> got = writesOf(b.rig.mouse->received());
        QCOMPARE(got.size(), frames.size());
        for (int i = 0; i < got.size(); ++i) {
            QCOMPARE(got.at(i).frame.toHex(' '), frames.at(i).toHex(' '));
            QCOMPARE(got.at(i).payload.toHex(' '), payloads.at(i).toHex(' '));
        }
        const VirtualMouseState after = b.rig.mouse->state();
        if (family == 560) {
            QCOMPARE(after.currentProfile, uchar(1));
            QCOMPARE(int(b.ctx.blocks.block(0)->at(2)), layerMask >= 0 ? layerMask : 0x42);
        } else {
            QCOMPARE(after.currentKeyMatrix, uchar(1));
        }
    }

    // A 560 mouse whose blocks were never read: block 0 goes out as it stands
    // (zeros) with the layer mask.
    void recoilBeforeBlocksWereRead()
    {
        Bench b(560);
        QVERIFY(b.connected);
        KeyMatrixOps ops(b.ctx);
        ops.mouseSetKeyMatrix(toValues(withEntry(hex(kDefaultPage), 4, hex("08000200"))), true, {1, 2, 3});
        const QList<VirtualExchange> got = writesOf(b.rig.mouse->received());
        QCOMPARE(got.size(), 6);
        QByteArray block(128, '\0');
        block[2] = 15;
        QCOMPARE(got.at(0).payload.toHex(' '), block.toHex(' '));
    }

    // The page's map reaches the current profile file before anything is
    // sent: with isSendData false, with a mouse that does not answer, and
    // without a device link at all. Other profiles stay untouched.
    void storesThePageMap_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("situation");
        for (int family : {553, 560}) {
            for (const char* s : {"no send", "unplugged", "no link"})
                QTest::addRow("%d %s", family, s) << family << QString::fromLatin1(s);
        }
    }
    void storesThePageMap()
    {
        QFETCH(int, family);
        QFETCH(QString, situation);

        Bench b(family);
        QVERIFY(b.connected);
        QVERIFY(b.store->setCurrentProfile(2));
        if (situation == QLatin1String("unplugged"))
            b.rig.mouse->unplug();
        if (situation == QLatin1String("no link"))
            b.ctx.hid = nullptr;
        const QByteArray page = withEntry(withEntry(hex(kDefaultPage), 3, hex("04020300")), 15, hex("08000300"));
        KeyMatrixOps ops(b.ctx);
        ops.mouseSetKeyMatrix(toValues(page), situation != QLatin1String("no send"), {10, 20, 30});

        QVERIFY(b.rig.mouse->received().isEmpty());
        for (int s = 0; s < 16; ++s) {
            QList<int> expected;
            for (int i = 0; i < 4; ++i)
                expected << int(uchar(page.at(s * 4 + i)));
            QCOMPARE(ints(b.storedEntry(2, s)), expected);
        }
        QCOMPARE(ints(b.storedEntry(0, 3)), (QList<int>{0, 0, 244, 0}));
    }

    // A button map of any other length than 64 numbers is refused: nothing is
    // stored and nothing sent. Preset periods that are missing are zeros.
    void wrongLengthMapsChangeNothing()
    {
        for (int family : {553, 560}) {
            Bench b(family);
            QVERIFY(b.connected);
            KeyMatrixOps ops(b.ctx);
            const QByteArray p1 = b.rig.fixture.readFile(QStringLiteral("modules/setting/p1.bin"));
            QVariantList tooLong = toValues(hex(kDefaultPage));
            tooLong << 8 << 0 << 1 << 0;
            const quint64 refusals = ArgumentCheck::refusals();
            for (const QVariantList& map : {QVariantList{8, 0, 1}, toValues(hex(kDefaultPage)).mid(4), tooLong, QVariantList{}})
                ops.mouseSetKeyMatrix(map, true, {1, 2, 3});
            // A number that is no byte, in the map or among the periods, is
            // never cut into one; neither is stored, even without sending.
            QVariantList junk = toValues(hex(kDefaultPage));
            junk[6] = 0x1F0;
            ops.mouseSetKeyMatrix(junk, false, {1, 2, 3});
            junk[6] = QStringLiteral("F0");
            ops.mouseSetKeyMatrix(junk, true, {1, 2, 3});
            ops.mouseSetKeyMatrix(toValues(hex(kDefaultPage)), true, {1, 2, 0x11E});
            ops.mouseSetKeyMatrix(toValues(hex(kDefaultPage)), true, {1, 2, -1});
            ops.mouseSetKeyMatrix(toValues(hex(kDefaultPage)), false, {1, 2, 3, 4});
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(9));
            QVERIFY(b.rig.mouse->received().isEmpty());
            b.store->currentSlot()->sync();
            QCOMPARE(b.rig.fixture.readFile(QStringLiteral("modules/setting/p1.bin")), p1);

            // Slot 0 a recoil switch and no periods: matrix 2 starts 0B 00 00 00.
            ops.mouseSetKeyMatrix(toValues(withEntry(hex(kDefaultPage), 0, hex("08000100"))), true, {});
            const QList<VirtualExchange> got = writesOf(b.rig.mouse->received());
            QCOMPARE(got.size(), family == 560 ? 6 : 5);
            const int first = family == 560 ? 1 : 0;
            QCOMPARE(got.at(first + 1).payload.left(4).toHex(' '), hex("0b000000").toHex(' '));
        }
    }

    // The reset sends the firmware default of the current profile as matrices
    // 2, 3 and 4; a missing or short entry is zeros. Matrix 1 and the stored
    // map stay.
    void resetSendsFirmwareDefault()
    {
        for (int family : {553, 560}) {
            Bench b(family, [](DataFixture& f) {
                QSettings p1(f.path(QStringLiteral("modules/setting/p1.bin")), QSettings::IniFormat);
                p1.remove(QStringLiteral("mouseFwKeyMatrix/4"));
                p1.setValue(QStringLiteral("mouseFwKeyMatrix/14"), QVariantList{4, 0x105});
            });
            QVERIFY(b.connected);
            KeyMatrixOps ops(b.ctx);
            ops.mouseResetKeyMatrix();

            const QByteArray fw = withEntry(withEntry(hex(kFirmware), 4, hex("00000000")), 14, hex("04050000"));
            const QList<VirtualExchange> got = b.rig.mouse->received();
            QCOMPARE(got.size(), 3);
            for (int k = 2; k <= 4; ++k) {
                QCOMPARE(got.at(k - 2).frame.toHex(' '), keyMatrixFrame(family, k).toHex(' '));
                QCOMPARE(got.at(k - 2).payload.toHex(' '), onWire(family, fw).toHex(' '));
            }
            QCOMPARE(ints(b.storedEntry(0, 7)), (QList<int>{0, 240, 30, 2}));
        }
    }

    void switchMatrix_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("indexNo");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("560 layer 3") << 560 << 3 << frame({0x02, 3});
        QTest::newRow("553 layer 3") << 553 << 3 << frame({0x02, 2});
        QTest::newRow("553 layer 1") << 553 << 1 << frame({0x02, 0});
        // No such matrix: refused, nothing sent (0 would become 255 on the
        // 553 family, 0x104 layer 4 once cut to a byte).
        QTest::newRow("553 index 0") << 553 << 0 << QByteArray();
        QTest::newRow("560 index 5") << 560 << 5 << QByteArray();
        QTest::newRow("560 beyond a byte") << 560 << 0x104 << QByteArray();
    }
    void switchMatrix()
    {
        QFETCH(int, family);
        QFETCH(int, indexNo);
        QFETCH(QByteArray, expected);
        Bench b(family);
        QVERIFY(b.connected);
        KeyMatrixOps(b.ctx).mouseSwitchKeyMatrix(indexNo);
        const QList<VirtualExchange> got = b.rig.mouse->received();
        QCOMPARE(got.size(), expected.isEmpty() ? 0 : 1);
        if (!expected.isEmpty())
            QCOMPARE(got.at(0).frame.toHex(' '), expected.toHex(' '));
    }

    // A refused command does not stop the sequence: every command still goes out.
    void failuresDoNotStopTheSequence()
    {
        for (int family : {553, 560}) {
            Bench b(family);
            QVERIFY(b.connected);
            VirtualFaults f;
            f.failChunk = 0;
            b.rig.mouse->setFaults(f);
            KeyMatrixOps ops(b.ctx);
            ops.mouseSetKeyMatrix(toValues(withEntry(hex(kDefaultPage), 2, hex("08000300"))), true, {1, 2, 3});
            const QList<VirtualExchange> got = b.rig.mouse->received();
            QCOMPARE(got.size(), family == 560 ? 6 : 5);
            QCOMPARE(got.last().frame.toHex(' '), frame({0x02, 1}).toHex(' '));
            QVERIFY(got.first().incomplete);
            QVERIFY(b.rig.opensClosed());
        }
    }
};

QTEST_GUILESS_MAIN(TestKeyMatrixOps)
#include "tst_key_matrix_ops.moc"
