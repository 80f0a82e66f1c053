// What the backup before the first write and the read-back of profile blocks
// add to a Save. For each model: a DPI Save as the first write of a run (it
// takes the backup) and the same Save again (no backup; the read-back of the
// blocks stays), on the virtual clock (the pauses the protocol demands, which
// is what the mouse makes a Save take) and on the real clock against the
// virtual mouse (elapsed time; the HID calls themselves cost next to nothing
// there, on a real mouse each takes about a USB frame). The HID calls of each
// Save are counted, to estimate a real mouse.

#include "device/clock.h"
#include "device/hid_thread.h"
#include "device/hid_transport.h"
#include "device/virtual_mouse.h"
#include "features/dpi_ops.h"
#include "features/feature_context.h"
#include "features/mouse_backup.h"
#include "features/profile_sync.h"
#include "store/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

namespace {

struct Model {
    const char* name;
    int family;
    bool gun;
};

// One Save: the protocol's pauses, the elapsed time and the HID calls.
struct Save {
    qint64 pausesMs = 0;
    double elapsedMs = 0;
    int writes = 0;         // write commands (feature report, then output reports)
    int reads = 0;          // read commands (feature report out, reply in)
    int inputReports = 0;   // of the profile block reads
};

class Rig {
public:
    Rig(const Model& m, bool realTime)
    {
        if (realTime)
            clock = std::make_unique<SystemClock>();
        else
            clock = std::make_unique<VirtualClock>();
        VirtualMouseIdentity id;
        id.family = m.family;
        mouse = std::make_unique<VirtualMouse>(*clock, id);
        hid = std::make_unique<Hid_Thread>(*mouse, *clock);
        QDir().mkpath(dir.filePath(QStringLiteral("modules/setting")));
        const QString apConfig = dir.filePath(QStringLiteral("modules/setting/apConfig.bin"));
        {
            QSettings s(apConfig, QSettings::IniFormat);
            s.setValue(QStringLiteral("common/deviceCount"), 1);
            s.setValue(QStringLiteral("0/type"), 1);
            s.setValue(QStringLiteral("0/vid"), QStringLiteral("04d9"));
            s.setValue(QStringLiteral("0/pid"), QStringLiteral("a1ee"));
            s.setValue(QStringLiteral("0/usagePage"), QStringLiteral("ff00"));
            s.setValue(QStringLiteral("0/usage"), QStringLiteral("ff00"));
            s.setValue(QStringLiteral("0/usagePage2"), QStringLiteral("ff01"));
            s.setValue(QStringLiteral("0/usage2"), QStringLiteral("ff01"));
            s.setValue(QStringLiteral("0/reportLength"), id.reportLength);
            s.setValue(QStringLiteral("mouse/icType"), QString::number(m.family));
            s.setValue(QStringLiteral("mouse/isGun"), m.gun);
        }
        store = std::make_unique<SettingsStore>(dir.path());
        ctx.store = store.get();
        ctx.hid = hid.get();
        backup = std::make_unique<MouseBackup>(ctx);
        hid->transport().setWriteGuard(backup.get());
        connected = hid->checkDevices(apConfig) == 0;
        if (ctx.is560())
            ProfileSync(ctx).readAtConnect();
    }
    ~Rig() { hid->transport().setWriteGuard(nullptr); }

    Save save(int topStage)
    {
        mouse->clearReceived();
        Save s;
        const qint64 start = clock->nowMs();
        QElapsedTimer timer;
        timer.start();
        DpiOps(ctx).mouseSetDpi(4, QStringLiteral("3360"), {400, 800, 1600, topStage, 0, 0, 0, 0});
        s.elapsedMs = timer.nsecsElapsed() / 1e6;
        s.pausesMs = clock->nowMs() - start;
        for (const VirtualExchange& e : mouse->received()) {
            const uchar code = uchar(e.frame.at(0));
            if (code >= 0x80) {
                ++s.reads;
                if (code == 0x8C)
                    s.inputReports += 128 / mouse->identity().reportLength;
            } else {
                ++s.writes;
            }
        }
        return s;
    }

    QTemporaryDir dir;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<Hid_Thread> hid;
    std::unique_ptr<SettingsStore> store;
    FeatureContext ctx;
    std::unique_ptr<MouseBackup> backup;
    bool connected = false;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const Model models[] = {{"553", 553, false}, {"560", 560, false}, {"560 with recoil presets", 560, true}};
    out << "DPI Save, first of the run (with the backup) and again; pauses on the virtual clock,\n"
           "elapsed on the real clock against the virtual mouse; HID calls: write / read commands, input reports\n\n";
    for (const Model& m : models) {
        Rig virtualRig(m, false);
        Rig realRig(m, true);
        if (!virtualRig.connected || !realRig.connected) {
            out << m.name << ": the virtual mouse did not connect\n";
            return 1;
        }
        const Save v1 = virtualRig.save(3200), v2 = virtualRig.save(3600);
        const Save r1 = realRig.save(3200), r2 = realRig.save(3600);
        out << m.name << "\n";
        out << QStringLiteral("  first Save:  pauses %1 ms, elapsed %2 ms, calls %3 / %4 / %5\n")
                   .arg(v1.pausesMs).arg(r1.elapsedMs, 0, 'f', 1).arg(v1.writes).arg(v1.reads).arg(v1.inputReports);
        out << QStringLiteral("  second Save: pauses %1 ms, elapsed %2 ms, calls %3 / %4 / %5\n")
                   .arg(v2.pausesMs).arg(r2.elapsedMs, 0, 'f', 1).arg(v2.writes).arg(v2.reads).arg(v2.inputReports);
        out << QStringLiteral("  the backup adds %1 ms of pauses and %2 ms elapsed\n")
                   .arg(v1.pausesMs - v2.pausesMs).arg(r1.elapsedMs - r2.elapsedMs, 0, 'f', 1);
    }
    return 0;
}
