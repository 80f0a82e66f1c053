// Every command of both families against every way the mouse or the link can
// fail. Whatever goes wrong, a command returns within the transport's bounds,
// leaves no handle open, keeps the caller's values, touches no stored file and
// is counted as failed (what the command-line tool reports); a fault that
// does not concern a command leaves it succeeding.

#include "support/link_rig.h"

#include <QDirIterator>
#include <QtTest>
#include <functional>
#include <map>

namespace {

// What a caller hands a command: the bytes of a write's payload (or the
// destination of a profile read) and the variables a read fills.
struct Caller {
    QByteArray buffer;
    std::array<uchar, 4> out{0xA5, 0x5A, 0xC3, 0x3C};

    Caller() : buffer(128, '\0')
    {
        for (int i = 0; i < buffer.size(); ++i)
            buffer[i] = char(0x80 + i * 3);
    }
    const uchar* in() const { return reinterpret_cast<const uchar*>(buffer.constData()); }
    uchar* dest() { return reinterpret_cast<uchar*>(buffer.data()); }
};

// A checked write reads its block back to see that the mouse kept it.
enum Kind { Write, CheckedWrite, Read, BulkRead };

struct Command {
    const char* name;
    int family;
    Kind kind;
    bool payload;
    const char* failText;   // the debug line when the link stays busy
    // Runs the slot; false when the slot itself answers that it failed.
    std::function<bool(Hid_Thread&, Caller&)> call;
};

template <typename F>
std::function<bool(Hid_Thread&, Caller&)> run(F f)
{
    return [f](Hid_Thread& h, Caller& c) { f(h, c); return true; };
}

const QList<Command>& commands()
{
    static const QList<Command> table = {
        {"553 00H handshake", 553, Read, false, "cmd Failed 00",
         run([](Hid_Thread& h, Caller& c) { h.hid553_00H_GetSecrecyCode(c.out[0], c.out[1], c.out[2], c.out[3]); })},
        {"553 00H device check", 553, Read, false, "cmd Failed 00",
         [](Hid_Thread& h, Caller&) { return h.chkDeviceIsEnCode(1); }},
        {"553 83H options", 553, Read, false, "cmd Failed 83",
         run([](Hid_Thread& h, Caller& c) { h.hid553_83H_GetKeyboardoption(c.out[0], c.out[1], c.out[2], c.out[3]); })},
        {"553 8BH dpi", 553, Read, false, "cmd Failed 8BH",
         run([](Hid_Thread& h, Caller& c) { h.hid553_8BH_GetCurrentDPI(c.out[0]); })},
        {"553 01H rate", 553, Write, false, "cmd Failed 01", run([](Hid_Thread& h, Caller&) { h.hid553_01H_SetReportRate(2); })},
        {"553 02H matrix", 553, Write, false, "cmd Failed 02", run([](Hid_Thread& h, Caller&) { h.hid553_02H_SetCurrentKeyMatrix(2); })},
        {"553 03H options", 553, Write, false, "cmd Failed 03", run([](Hid_Thread& h, Caller&) { h.hid553_03H_SetKeyboardoption(1, 2, 3, 0x40); })},
        {"553 04H gun", 553, Write, false, "cmd Failed 04", run([](Hid_Thread& h, Caller&) { h.hid553_04H_SetGunData(3, 4, 5, 1); })},
        {"553 07H lift-off", 553, Write, false, "hid553_07H_Lod", run([](Hid_Thread& h, Caller&) { h.hid553_07H_Lod(2, 1); })},
        {"553 0BH dpi", 553, Write, false, "cmd Failed 0B", run([](Hid_Thread& h, Caller&) { h.hid553_0BH_SetCurrentDPI(3); })},
        {"553 0CH colour", 553, Write, false, "cmd Failed 0C", run([](Hid_Thread& h, Caller& c) { h.hid553_0CH_SetFixLEDColor(c.in()); })},
        {"553 0DH effect", 553, Write, false, "cmd Failed 0D", run([](Hid_Thread& h, Caller&) { h.hid553_0DH_SetRGBLedEffect(3, 1, 2); })},
        {"553 10H colours", 553, Write, true, "cmd Failed 10", run([](Hid_Thread& h, Caller& c) { h.hid553_10H_SetLED8StageColor(1, c.in()); })},
        {"553 11H dpi table", 553, Write, true, "cmd Failed 11", run([](Hid_Thread& h, Caller& c) { h.hid553_11H_SetDPISet(4, c.in()); })},
        {"553 12H key matrix", 553, Write, true, "cmd Failed 12", run([](Hid_Thread& h, Caller& c) { h.hid553_12H_SetKeyMatrix(c.in(), 1); })},
        {"553 13H macro", 553, Write, true, "cmd Failed 13", run([](Hid_Thread& h, Caller& c) { h.hid553_13H_SetMacroKey(3, c.in()); })},
        {"560 00H device check", 560, Read, false, "cmd Failed 00",
         [](Hid_Thread& h, Caller&) { return h.chkDeviceIsEnCode(1); }},
        {"560 81H options", 560, Read, false, "cmd Failed 81",
         run([](Hid_Thread& h, Caller& c) { h.hid560_81H_GetKeyboardoption(c.out[0], c.out[1]); })},
        {"560 82H profile", 560, Read, false, "cmd Failed 82",
         run([](Hid_Thread& h, Caller& c) { h.hid560_82H_GetCurrentProfile(c.out[0]); })},
        {"560 84H dpi", 560, Read, false, "cmd Failed 84",
         run([](Hid_Thread& h, Caller& c) { h.hid560_84H_GetCurrentDPI(c.out[0], c.out[1]); })},
        {"560 8CH profile read", 560, BulkRead, false, "cmd Failed 8c",
         run([](Hid_Thread& h, Caller& c) { h.hid560_8CH_readProfile(c.dest(), 1); })},
        {"560 01H options", 560, Write, false, "cmd Failed 01", run([](Hid_Thread& h, Caller&) { h.hid560_01H_SetKeyboardoption(0x08, 1); })},
        {"560 02H profile", 560, Write, false, "cmd Failed 02", run([](Hid_Thread& h, Caller&) { h.hid560_02H_SetCurrentProfile(2); })},
        {"560 03H rate", 560, Write, false, "cmd Failed 03", run([](Hid_Thread& h, Caller&) { h.hid560_03H_SetReportRate(2); })},
        {"560 04H dpi", 560, Write, false, "cmd Failed 04", run([](Hid_Thread& h, Caller&) { h.hid560_04H_SetCurrentDPI(3); })},
        {"560 0CH profile", 560, CheckedWrite, true, "cmd Failed 0C", run([](Hid_Thread& h, Caller& c) { h.hid560_0CH_setProfile(c.in(), 2); })},
        {"560 0DH key matrix", 560, Write, true, "cmd Failed 0D", run([](Hid_Thread& h, Caller& c) { h.hid560_0DH_SetKeyMatrix(c.in(), 1); })},
        {"560 0FH macro", 560, Write, true, "cmd Failed 0F", run([](Hid_Thread& h, Caller& c) { h.hid560_0FH_SetMacroKey(4, c.in()); })},
    };
    return table;
}

enum Fault { None, OpenFail, FeatureWriteFail, NoAnswer, FailingChunk, TooFewReports, Garbage, UnplugMidway, Busy };

struct FaultRow {
    Fault fault;
    const char* name;
    bool (*fails)(const Command&);
};

const FaultRow kFaults[] = {
    {None, "healthy", [](const Command&) { return false; }},
    {OpenFail, "open fails", [](const Command&) { return true; }},
    {FeatureWriteFail, "feature write fails", [](const Command&) { return true; }},
    {NoAnswer, "no answer", [](const Command& c) { return c.kind != Write; }},
    {FailingChunk, "last chunk fails", [](const Command& c) { return c.payload; }},
    {TooFewReports, "one input report", [](const Command& c) { return c.kind == BulkRead || c.kind == CheckedWrite; }},
    // The reply frame of a profile read is not used: its blocks still arrive.
    {Garbage, "garbage reply", [](const Command& c) { return c.kind == Read; }},
    {UnplugMidway, "unplugged midway", [](const Command&) { return true; }},
    {Busy, "link held busy", [](const Command&) { return true; }},
};

// The HID calls a command makes on the command interface, as the trace shows them.
int commandCalls(const QList<TraceEvent>& events)
{
    int n = 0;
    for (const TraceEvent& e : events)
        n += e.iface == QLatin1String("cmd") && e.event != QLatin1String("close");
    return n;
}

// What a command does on a healthy mouse: its time, its calls, its chunks.
struct Healthy {
    qint64 ms = 0;
    int calls = 0;
    int writes = 0;
    int reads = 0;
};

// One rig per family, shared by the rows: a fresh data folder per row
// would spend the run writing catalogues. Each row starts from a mouse that
// is plugged in, healthy and connected again, with the link free.
std::map<int, std::unique_ptr<LinkRig>>& rigs()
{
    static std::map<int, std::unique_ptr<LinkRig>> all;
    return all;
}

LinkRig* connectedRig(int family)
{
    std::unique_ptr<LinkRig>& rig = rigs()[family];
    if (!rig)
        rig = std::make_unique<LinkRig>(family, true, 32);
    rig->hid.transport().release();
    rig->mouse->setFaults(VirtualFaults{});
    rig->mouse->plug();
    if (rig->check() != 1)
        return nullptr;
    rig->mouse->clearReceived();
    return rig.get();
}

Healthy healthyRun(int index)
{
    static std::map<int, Healthy> cache;
    const auto found = cache.find(index);
    if (found != cache.end())
        return found->second;
    const Command& c = commands().at(index);
    LinkRig* rig = connectedRig(c.family);
    Healthy h;
    if (!rig)
        return h;
    const int mark = rig->traceSize();
    const qint64 start = rig->clock.nowMs();
    Caller caller;
    c.call(rig->hid, caller);
    h.ms = rig->clock.nowMs() - start;
    const QList<TraceEvent> events = rig->traceSince(mark);
    h.calls = commandCalls(events);
    h.writes = int(eventsNamed(events, QStringLiteral("write")).size());
    h.reads = int(eventsNamed(events, QStringLiteral("read")).size());
    cache[index] = h;
    return h;
}

QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        files.insert(f.fileName(), f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { rigs().clear(); }

    void commandUnderFault_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("faultRow");
        for (int c = 0; c < commands().size(); ++c) {
            for (int f = 0; f < int(std::size(kFaults)); ++f)
                QTest::addRow("%s, %s", commands().at(c).name, kFaults[f].name) << c << f;
        }
    }
    void commandUnderFault()
    {
        QFETCH(int, command);
        QFETCH(int, faultRow);
        const Command& c = commands().at(command);
        const FaultRow& row = kFaults[faultRow];
        const bool expectFailure = row.fails(c);
        const Healthy healthy = healthyRun(command);
        QVERIFY(healthy.calls > 0);

        LinkRig* rigPtr = connectedRig(c.family);
        QVERIFY(rigPtr);
        LinkRig& rig = *rigPtr;
        VirtualFaults f;
        switch (row.fault) {
        case None: break;
        case OpenFail: f.openFail = true; break;
        case FeatureWriteFail: f.featureWriteFail = true; break;
        case NoAnswer: f.noAnswer = true; break;
        case FailingChunk: f.failChunk = qMax(0, healthy.writes - 1); break;
        case TooFewReports: f.inputReports = 1; break;
        case Garbage: f.garbage = true; break;
        case UnplugMidway: f.unplugAtCall = healthy.calls / 2; break;
        case Busy:
            QVERIFY(rig.hid.transport().claim());
            QTest::ignoreMessage(QtDebugMsg, c.failText);
            break;
        }
        rig.mouse->setFaults(f);

        const auto filesBefore = snapshot(rig.fixture.root());
        const int mark = rig.traceSize();
        const quint64 failedBefore = rig.hid.transport().failedCommands();
        const qint64 start = rig.clock.nowMs();
        Caller caller;
        const Caller original = caller;
        const bool answered = c.call(rig.hid, caller);
        const qint64 took = rig.clock.nowMs() - start;
        const bool failed = !answered || rig.hid.transport().failedCommands() != failedBefore;

        // Reported: a command counts as failed exactly when it did not do its work.
        QCOMPARE(failed, expectFailure);

        // Bounded: no longer than on a healthy mouse, but for the busy wait
        // and a time-out for each input report a profile read awaits.
        qint64 bound = healthy.ms;
        if (row.fault == Busy)
            bound += HidTransport::kBusyTries * HidTransport::kBusyWaitMs;
        if (c.kind == BulkRead || c.kind == CheckedWrite)
            bound += healthy.reads * HidTransport::kInputReportTimeoutMs;
        QVERIFY2(took <= bound, qPrintable(QStringLiteral("%1 ms, bound %2 ms").arg(took).arg(bound)));

        // Every handle closed again, the link free again.
        QVERIFY(rig.opensClosed());
        QCOMPARE(rig.mouse->openHandles(), 0);
        if (row.fault == Busy) {
            QCOMPARE(rig.traceSize(), mark);            // nothing was sent
            rig.hid.transport().release();
        }
        QVERIFY(rig.hid.transport().isReady());

        // The caller's values: a write never changes them, a failed read neither.
        if (c.kind == Write || c.kind == CheckedWrite || failed) {
            QCOMPARE(caller.buffer, original.buffer);
            QCOMPARE(caller.out, original.out);
        }
        QCOMPARE(snapshot(rig.fixture.root()), filesBefore);
    }
};

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_fault_matrix.moc"
