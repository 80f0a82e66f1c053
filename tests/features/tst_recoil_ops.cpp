// Recoil presets: the upload of one preset against the virtual mouse of each
// family, the preset library file (also missing, damaged or addressed with
// hostile names) and the per-profile XY sensitivity and selected presets.

#include "device/frame.h"
#include "features/feature_context.h"
#include "features/recoil_ops.h"
#include "store/argument_check.h"
#include "store/safe_file.h"
#include "store/settings_store.h"
#include "support/feature_bench.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>
#include <functional>

namespace {

// A connected virtual mouse of one family, with or without recoil presets.
struct Bench : FeatureBench {
    Bench(int family, bool gun) : FeatureBench({family, true, gun}) {}
    void setKeyboardOptions(std::array<uchar, 4> options)
    {
        VirtualMouseState s = rig.mouse->state();
        s.keyboardOptions = options;
        rig.mouse->setState(s);
    }
    // Recognisable profile blocks with bit 2 of offset 65 set among others,
    // so clearing it shows.
    void readBlocks()
    {
        FeatureBench::readBlocks(
            [](int b, int i) { return i == 65 ? uchar(0xA5 + b * 0x10) : uchar(b * 50 + i * 5 + 3); });
    }
};

// The library operations need only the data folder.
class Library {
public:
    Library()
        : store(fixture.root())
    {
        ctx.store = &store;
    }
    QString file() const { return fixture.path("modules/gun/gunData.bin"); }
    QByteArray text() const { return fixture.readFile("modules/gun/gunData.bin"); }
    // The file as a fresh reader sees it: a copy, because readers of the same
    // path in one process share what they parsed.
    QMap<QString, QStringList> reload() const
    {
        static int n = 0;
        const QString copy = fixture.path(QStringLiteral("reload%1.bin").arg(++n));
        QFile::copy(file(), copy);
        QSettings s(copy, QSettings::IniFormat);
        QMap<QString, QStringList> out;
        for (const QString& key : s.allKeys())
            out.insert(key, s.value(key).toStringList());
        return out;
    }

    DataFixture fixture;
    SettingsStore store;
    FeatureContext ctx;
};

QByteArray frame(std::initializer_list<uchar> bytes)
{
    const CommandFrame f = makeFrame(bytes);
    return QByteArray(reinterpret_cast<const char*>(f.data()), 8);
}

const QStringList kM416{"M416", "L-Click", "10", "0", "10", "0"};

using LibraryCall = std::function<void(RecoilOps&)>;

} // namespace

Q_DECLARE_METATYPE(LibraryCall)

class TestRecoilOps : public QObject {
    Q_OBJECT
private slots:
    // 553: the keyboard options are read first; the third one turns Y round.
    void send553_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("option3");
        QTest::addColumn<QVariantList>("src");
        QTest::addColumn<QByteArray>("expected");   // 04H frame bytes 2-5

        QTest::newRow("slot 1, Y as is") << 1 << 0 << QVariantList{0, 3, 10} << QByteArray::fromHex("00030a00");
        QTest::newRow("slot 1, Y turned") << 1 << 1 << QVariantList{0, 3, 10} << QByteArray::fromHex("0003f600");
        QTest::newRow("slot 3, option 0x80") << 3 << 0x80 << QVariantList{5, 0, 64} << QByteArray::fromHex("0500c002");
        QTest::newRow("Y 0 turned stays 0") << 2 << 1 << QVariantList{255, 1, 0} << QByteArray::fromHex("ff010001");
        QTest::newRow("values as text") << 2 << 0 << QVariantList{"7", 2.0, "12"} << QByteArray::fromHex("07020c01");
        // Nothing is cut, made up or dropped: such a preset is refused.
        QTest::newRow("above a byte") << 2 << 0 << QVariantList{"7", 258, "12"} << QByteArray();
        QTest::newRow("negative") << 2 << 0 << QVariantList{7, -1, 12} << QByteArray();
        QTest::newRow("not a number") << 2 << 0 << QVariantList{7, "x", 12} << QByteArray();
        QTest::newRow("short list") << 1 << 1 << QVariantList{9} << QByteArray();
        QTest::newRow("long list") << 1 << 0 << QVariantList{1, 2, 3, 4, 5} << QByteArray();
    }
    void send553()
    {
        QFETCH(int, slot);
        QFETCH(int, option3);
        QFETCH(QVariantList, src);
        QFETCH(QByteArray, expected);

        Bench bench(553, true);
        QVERIFY(bench.connected);
        bench.setKeyboardOptions({0x11, 0x22, uchar(option3), 0x44});
        const quint64 refusals = ArgumentCheck::refusals();
        RecoilOps(bench.ctx).mouseSendGundata(slot, src);

        const QList<VirtualExchange> got = bench.rig.mouse->received();
        if (expected.isEmpty()) {
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(1));
            QVERIFY(got.isEmpty());
            return;
        }
        QCOMPARE(got.size(), 2);
        QCOMPARE(got.at(0).frame.toHex(' '), frame({0x83}).toHex(' '));
        const QByteArray want = frame({0x04, 0, uchar(expected[0]), uchar(expected[1]), uchar(expected[2]),
                                       uchar(expected[3])});
        QCOMPARE(got.at(1).frame.toHex(' '), want.toHex(' '));
        const VirtualRecoilSlot held = bench.rig.mouse->state().recoil[size_t(slot - 1)];
        QCOMPARE(int(held.y), int(uchar(expected[2])));
        // Reading the options does not change them.
        QCOMPARE(int(bench.rig.mouse->state().keyboardOptions[2]), option3);
    }

    // 560: preset slot k goes into block k + 1; bit 2 of offset 65 is cleared
    // and every other byte goes back as read. Y keeps its sign.
    void send560_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QVariantList>("src");
        QTest::newRow("slot 1 to block 2") << 1 << QVariantList{0, 3, 10};
        QTest::newRow("slot 2 to block 3") << 2 << QVariantList{200, 1, 64};
        QTest::newRow("slot 3 to block 4") << 3 << QVariantList{"4", 0, "9"};
    }
    void send560()
    {
        QFETCH(int, slot);
        QFETCH(QVariantList, src);

        Bench bench(560, true);
        QVERIFY(bench.connected);
        bench.setKeyboardOptions({0xFF, 0xFF, 0xFF, 0xFF});
        bench.readBlocks();
        const int n = slot + 1;
        QByteArray want = bench.mouseBlock(n);
        QVERIFY(uchar(want[65]) & 0x04);
        want[65] = char(uchar(want[65]) & ~0x04);
        want[78] = char(0xF0);
        for (int i = 0; i < 3; ++i)
            want[79 + i] = char(i < src.size() ? src.at(i).toInt() : 0);

        RecoilOps(bench.ctx).mouseSendGundata(slot, src);

        const QList<VirtualExchange> got = writesOf(bench.rig.mouse->received());
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.at(0).frame.toHex(' '), frame({0x0C, uchar(n), 0x80}).toHex(' '));
        QCOMPARE(got.at(0).payload.toHex(' '), want.toHex(' '));
        QCOMPARE(bench.mouseBlock(n).toHex(' '), want.toHex(' '));
    }

    // Nothing reaches the mouse without recoil presets, or for a slot it
    // lacks (slot 0 would land in the lighting block, slot 4 past the blocks).
    void sendsNothing_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<int>("slot");
        for (int family : {553, 560}) {
            QTest::addRow("%d without presets", family) << family << false << 1;
            for (int slot : {0, 4, -1, 256 + 1})
                QTest::addRow("%d slot %d", family, slot) << family << true << slot;
        }
    }
    void sendsNothing()
    {
        QFETCH(int, family);
        QFETCH(bool, gun);
        QFETCH(int, slot);

        Bench bench(family, gun);
        QVERIFY(bench.connected);
        const VirtualMouseState before = bench.rig.mouse->state();
        RecoilOps(bench.ctx).mouseSendGundata(slot, QVariantList{1, 2, 3});
        QVERIFY(bench.rig.mouse->received().isEmpty());
        QCOMPARE(bench.rig.mouse->state().profileBlocks, before.profileBlocks);
        for (int b = 0; b < 5; ++b)
            QVERIFY(*bench.ctx.blocks.block(b) == ProfileBlocks::Block{});
    }

    // 553: when the options cannot be read the direction of Y is unknown, so
    // the preset is not sent.
    void optionsNotRead553()
    {
        Bench bench(553, true);
        QVERIFY(bench.connected);
        VirtualFaults f;
        f.noAnswer = true;
        bench.rig.mouse->setFaults(f);
        RecoilOps(bench.ctx).mouseSendGundata(1, QVariantList{1, 2, 3});
        const QList<VirtualExchange> got = bench.rig.mouse->received();
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.at(0).frame.toHex(' '), frame({0x83}).toHex(' '));
    }

    // 560: a preset that could not be sent stays in the copy of the block.
    void blockKeepsPresetWhenSendingFails()
    {
        Bench bench(560, true);
        QVERIFY(bench.connected);
        bench.rig.mouse->unplug();
        RecoilOps(bench.ctx).mouseSendGundata(3, QVariantList{6, 7, 8});
        QVERIFY(bench.rig.mouse->received().isEmpty());
        const ProfileBlocks::Block& b = *bench.ctx.blocks.block(4);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.data()) + 78, 4), QByteArray::fromHex("f0060708"));
    }

    void readLibrary()
    {
        Library lib;
        RecoilOps ops(lib.ctx);
        QCOMPARE(ops.getGunDataKey(), (QStringList{"0", "1", "2", "3", "4", "5"}));
        QCOMPARE(ops.getGunData(0), QVariant(kM416).toList());
        QCOMPARE(ops.getGunData("0"), QVariant(kM416).toList());
        for (const QVariant& name : {QVariant("M416"), QVariant(6), QVariant(""), QVariant("/"), QVariant()})
            QVERIFY2(ops.getGunData(name).isEmpty(), qPrintable(name.toString()));
        // A value that is not a list.
        {
            QSettings s(lib.file(), QSettings::IniFormat);
            s.setValue("gunData/plain", "text");
        }
        QVERIFY(ops.getGunData("plain").isEmpty());
    }

    void savePreset()
    {
        Library lib;
        RecoilOps ops(lib.ctx);
        ops.mouseSaveGundata(2, QVariantList{"M16A4", "L-Click", 9, 0, 8, 0});
        ops.mouseSaveGundata("6", QVariantList{"New, gun", "L-Click", 12.0, 1, 2, 3});
        ops.mouseSaveGundata(7, QVariantList{"Edge", "K", 0, "255", 255, 0});

        const QMap<QString, QStringList> file = lib.reload();
        QCOMPARE(file.size(), 8);
        QCOMPARE(file.value("gunData/0"), kM416);
        QCOMPARE(file.value("gunData/2"), (QStringList{"M16A4", "L-Click", "9", "0", "8", "0"}));
        QCOMPARE(file.value("gunData/6"), (QStringList{"New, gun", "L-Click", "12", "1", "2", "3"}));
        QCOMPARE(file.value("gunData/7"), (QStringList{"Edge", "K", "0", "255", "255", "0"}));
        // The installed layout: plain text, one line per preset.
        QVERIFY(lib.text().contains("2=M16A4, L-Click, 9, 0, 8, 0"));
        QCOMPARE(ops.getGunData(6).value(0).toString(), QString("New, gun"));
    }

    void modifyPresets()
    {
        Library lib;
        RecoilOps ops(lib.ctx);
        ops.modifyGundata(0, QVariantList{"1"});
        ops.modifyGundata(1, QVariantList{"Sniper", "R-Click", 20, 1, 2, 3, "2"});
        ops.modifyGundata(1, QVariantList{"3", "L-Click", 11, 0, 9, 0, "3"});   // same name: replaced

        const QMap<QString, QStringList> file = lib.reload();
        QCOMPARE(file.keys(), (QStringList{"gunData/0", "gunData/3", "gunData/4", "gunData/5", "gunData/Sniper"}));
        QCOMPARE(file.value("gunData/Sniper"), (QStringList{"R-Click", "20", "1", "2", "3"}));
        QCOMPARE(file.value("gunData/3"), (QStringList{"L-Click", "11", "0", "9", "0"}));
        QCOMPARE(ops.getGunDataKey(), (QStringList{"0", "3", "4", "5", "Sniper"}));
    }

    // Calls that would lose or scramble presets change nothing in the file.
    void hostileLibraryCalls_data()
    {
        using Call = LibraryCall;
        QTest::addColumn<Call>("call");
        QTest::newRow("delete empty name (whole group)") << Call([](RecoilOps& o) { o.modifyGundata(0, {""}); });
        QTest::newRow("delete '/'") << Call([](RecoilOps& o) { o.modifyGundata(0, {"/"}); });
        QTest::newRow("delete nested name") << Call([](RecoilOps& o) { o.modifyGundata(0, {"0/x"}); });
        QTest::newRow("delete with empty list") << Call([](RecoilOps& o) { o.modifyGundata(0, {}); });
        QTest::newRow("delete unknown name") << Call([](RecoilOps& o) { o.modifyGundata(0, {"Nope"}); });
        QTest::newRow("rename without old name") << Call([](RecoilOps& o) {
            o.modifyGundata(1, {"Sniper", "L-Click", 10, 0, 0, 0});
        });
        QTest::newRow("rename onto another preset") << Call([](RecoilOps& o) {
            o.modifyGundata(1, {"0", "L-Click", 1, 1, 1, 1, "1"});
        });
        QTest::newRow("rename to empty name") << Call([](RecoilOps& o) {
            o.modifyGundata(1, {" ", "L-Click", 1, 1, 1, 1, "1"});
        });
        QTest::newRow("unknown type") << Call([](RecoilOps& o) { o.modifyGundata(2, {"0"}); });
        QTest::newRow("type not a number") << Call([](RecoilOps& o) { o.modifyGundata("x", {"0"}); });
        QTest::newRow("save empty list") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {}); });
        QTest::newRow("save under empty index") << Call([](RecoilOps& o) { o.mouseSaveGundata("", {"A"}); });
        QTest::newRow("save under nested index") << Call([](RecoilOps& o) { o.mouseSaveGundata("1/2", {"A"}); });
        QTest::newRow("save under backslash index") << Call([](RecoilOps& o) { o.mouseSaveGundata("1\\2", {"A"}); });
        // A preset is a name and five values the mouse can hold, nothing else.
        QTest::newRow("save two values") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {"a", "b"}); });
        QTest::newRow("save seven values") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {"A", "K", 1, 2, 3, 4, "x"}); });
        QTest::newRow("save blank name") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {" ", "K", 1, 2, 3, 4}); });
        QTest::newRow("save name a list") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {QVariantList{1}, "K", 1, 2, 3, 4}); });
        QTest::newRow("save no key text") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {"A", QVariant(), 1, 2, 3, 4}); });
        QTest::newRow("save period text") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {"A", "K", "x", 2, 3, 4}); });
        QTest::newRow("save Y 256") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {"A", "K", 1, 2, 256, 4}); });
        QTest::newRow("save negative times") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {"A", "K", 1, 2, 3, -1}); });
        QTest::newRow("save X with a fraction") << Call([](RecoilOps& o) { o.mouseSaveGundata(1, {"A", "K", 1, 2.5, 3, 4}); });
        QTest::newRow("rename Y 300") << Call([](RecoilOps& o) { o.modifyGundata(1, {"A", "K", 1, 2, 300, 4, "1"}); });
        QTest::newRow("rename eight values") << Call([](RecoilOps& o) { o.modifyGundata(1, {"A", "K", 1, 2, 3, 4, "1", "x"}); });
    }
    void hostileLibraryCalls()
    {
        QFETCH(LibraryCall, call);
        Library lib;
        const QByteArray before = lib.text();
        RecoilOps ops(lib.ctx);
        call(ops);
        QCOMPARE(lib.reload().size(), 6);
        QCOMPARE(lib.text(), before);
    }

    // The library is never created; without it every operation is a no-op.
    void missingLibrary()
    {
        Library lib;
        QVERIFY(QFile::remove(lib.file()));
        RecoilOps ops(lib.ctx);
        ops.mouseSaveGundata(0, QVariantList{"M416", "L-Click", 10, 0, 10, 0});
        ops.modifyGundata(1, QVariantList{"A", "L-Click", 10, 0, 10, 0, "0"});
        ops.modifyGundata(0, QVariantList{"0"});
        QVERIFY(ops.getGunData(0).isEmpty());
        QVERIFY(ops.getGunDataKey().isEmpty());
        QVERIFY(!QFile::exists(lib.file()));
    }

    // A library that cannot be parsed is not rewritten, so nothing in it is lost.
    void damagedLibraryIsNotRewritten()
    {
        Library lib;
        const QByteArray damaged = "[gunData]\n0=M416, L-Click, 10, 0, 10, 0\n[broken\n1=AKM, L-Click, 10, 0, 10, 0\n";
        QVERIFY(lib.fixture.writeFile("modules/gun/gunData.bin", damaged));
        RecoilOps ops(lib.ctx);
        ops.mouseSaveGundata(2, QVariantList{"M16A4", "L-Click", 9, 0, 8, 0});
        ops.modifyGundata(0, QVariantList{"0"});
        ops.modifyGundata(1, QVariantList{"A", "L-Click", 10, 0, 10, 0, "0"});
        QCOMPARE(lib.text(), damaged);
    }

    // A change that is cut short before the new file replaces the old one
    // leaves the library as it was.
    void interruptedWriteKeepsLibrary()
    {
        Library lib;
        const QByteArray before = lib.text();
        const QString target = QFileInfo(lib.file()).canonicalFilePath();
        SafeFile::setCommitHook([target](const QString& path) { return QFileInfo(path).canonicalFilePath() != target; });
        RecoilOps ops(lib.ctx);
        ops.mouseSaveGundata(0, QVariantList{"Changed", "L-Click", 10, 0, 10, 0});
        ops.modifyGundata(0, QVariantList{"1"});
        SafeFile::setCommitHook({});
        QCOMPARE(lib.text(), before);
        ops.modifyGundata(0, QVariantList{"1"});
        QVERIFY(!lib.reload().contains("gunData/1"));
    }

    // Per-profile values: defaults, and reads and writes in the current profile only.
    void profileValues()
    {
        DataFixture fx;
        // A profile written before these keys existed.
        QVERIFY(fx.writeFile("modules/setting/p3.bin", "[mouse]\ndpiCount=4\n"));
        const QByteArray p1 = fx.readFile("modules/setting/p1.bin");
        const QByteArray pD = fx.readFile("modules/setting/pD.bin");
        {
            SettingsStore store(fx.root());
            FeatureContext ctx;
            ctx.store = &store;
            RecoilOps ops(ctx);
            QCOMPARE(ops.getXYSensitive(0).toInt(), 4);      // installed profile 1
            QVERIFY(store.setCurrentProfile(2));
            QCOMPARE(ops.getXYSensitive(0), QVariant(4));
            QCOMPARE(ops.getXYSensitive(1), QVariant(4));
            QCOMPARE(ops.getselectGun(0), QVariant(QString()));
            QCOMPARE(ops.getXYSensitive(""), QVariant(4));

            ops.setXYSensitive(1, 7);
            ops.setSelectGun("2", 5);
            ops.setXYSensitive("", 9);                         // no such entry: ignored
            ops.setSelectGun("a/b", 9);
            ops.setXYSensitive(2, 9);                          // only X and Y
            ops.setXYSensitive(4294967297.0, 9);               // never wrapped to 1
            ops.setSelectGun(1e200, 9);
            const quint64 refusals = ArgumentCheck::refusals();
            // A value that is no slider position, or names no preset.
            for (const QVariant& junk : {QVariant("notalist"), QVariant(-1), QVariant(1025), QVariant(4.5),
                                         QVariant(QVariantList{4}), QVariant()})
                ops.setXYSensitive(0, junk);
            for (const QVariant& junk : {QVariant(QVariantList{1}), QVariant(QVariantMap{{"a", 1}}), QVariant(), QVariant(true),
                                         QVariant(1e300), QVariant(-1), QVariant(2.5)})
                ops.setSelectGun(1, junk);
            QCOMPARE(ArgumentCheck::refusals() - refusals, quint64(13));
            QCOMPARE(ops.getXYSensitive(1).toInt(), 7);
            QCOMPARE(ops.getselectGun(2).toInt(), 5);
            QVERIFY(store.setCurrentProfile(0));
            QCOMPARE(ops.getXYSensitive(1).toString(), QString("4"));
        }
        const QString copy = fx.path("p3copy.bin");
        QVERIFY(QFile::copy(fx.path("modules/setting/p3.bin"), copy));
        QSettings p3(copy, QSettings::IniFormat);
        QCOMPARE(p3.allKeys(), (QStringList{"XYSensitive/1", "mouse/dpiCount", "selectGun/2"}));
        QCOMPARE(p3.value("XYSensitive/1").toString(), QString("7"));
        QCOMPARE(p3.value("selectGun/2").toString(), QString("5"));
        QCOMPARE(fx.readFile("modules/setting/p1.bin"), p1);
        QCOMPARE(fx.readFile("modules/setting/pD.bin"), pD);
    }
};

QTEST_GUILESS_MAIN(TestRecoilOps)
#include "tst_recoil_ops.moc"
