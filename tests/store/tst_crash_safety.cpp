// A program killed in the middle of a save must not lose or tear a file. The
// test runs itself as a child process that loops through the operations that
// write files (profile imports, resets, copies and exports, settings edits,
// macro saves, renames, exports and imports, name-list and recoil-library
// edits) and kills it with SIGKILL at random moments, each time on a fresh
// copy of the same data folder. Every file must then be byte for byte what it
// was before the operation under way or what that operation makes of it. Once
// the store has been started again, no temporary file may be left.
//
// The child (store_crash_child) starts at a random operation, on the state
// the folder has reached by then, and announces each operation on its
// standard output before it starts it; the same operations run in the test
// process first give every state the folder passes through. The seed is
// printed; STRYDE_CRASH_SEED replays a run and STRYDE_CRASH_KILLS changes the
// number of kills.

#include "crash_steps.h"
#include "store/stale_temporaries.h"
#include "store/work_folder.h"
#include "support/data_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/types.h>
#endif

using namespace crashtest;

namespace {

bool writeTree(const Files& files, const QString& root)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = root + QLatin1Char('/') + it.key();
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

std::optional<QByteArray> fileIn(const Files& files, const QString& path)
{
    const auto it = files.constFind(path);
    return it == files.cend() ? std::nullopt : std::optional<QByteArray>(*it);
}

} // namespace

class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
#ifndef Q_OS_UNIX
        QSKIP("kills the child with SIGKILL");
#endif
        QVERIFY(m_work.isValid());
        // The base: the installed setting files and recoil library, three
        // macros (one bound to a button of profile 1), import sources outside.
        const QString base = m_work.path() + QStringLiteral("/base");
        QVERIFY(QDir().mkpath(base + "/data/modules/macro"));
        QVERIFY(QDir().mkpath(base + "/outside"));
        for (const char* folder : {"setting", "gun"})
            QVERIFY(copyTree(m_fixture.path(QStringLiteral("modules/") + QLatin1String(folder)),
                             base + "/data/modules/" + QLatin1String(folder)));
        {
            Program p(base + "/data", base + "/outside");
            for (const char* m : {"m1", "m2", "m3"}) {
                QVERIFY(p.macros.createMacroIni(QLatin1String(m), 1));
                QVERIFY(p.macros.saveMacroIni(QLatin1String(m), macroActions(1), 1));
            }
            p.store.slotSettings(0)->setValue(QStringLiteral("mouseMacroKey/1"), QStringLiteral("m2"));
            p.store.slotSettings(0)->setValue(QStringLiteral("mouseKeyMatrix/3"), QVariantList{4, 0, 1, 0});
            p.flush();
            QVERIFY(QFile::copy(p.store.slotFileName(0), p.out("a.pf")));
            QVERIFY(QFile::copy(p.store.slotFileName(4), p.out("b.pf")));
        }
        m_states.append(snapshot(base));

        // Every state the folders pass through. The child starts at any
        // operation on the state reached before it, so each state comes from
        // a program started on the one before; one program running them all
        // must reach the same states.
        for (int k = 0; k < kTotalSteps; ++k) {
            QTemporaryDir dir;
            QVERIFY(writeTree(m_states.last(), dir.path()));
            Program p(dir.path() + "/data", dir.path() + "/outside");
            runStep(p, k);
            m_states.append(snapshot(dir.path()));
        }
        QTemporaryDir dir;
        QVERIFY(writeTree(m_states.first(), dir.path()));
        Program p(dir.path() + "/data", dir.path() + "/outside");
        for (int k = 0; k < kTotalSteps; ++k) {
            runStep(p, k);
            QCOMPARE(snapshot(dir.path()), m_states.at(k + 1));
        }

        // The operations do change every kind of file.
        for (const char* file : {"data/modules/setting/p1.bin", "data/modules/setting/p2.bin",
                                 "data/modules/setting/p3.bin", "data/modules/setting/name.bin",
                                 "data/modules/macro/m1.bin", "data/modules/macro/m2.bin",
                                 "data/modules/macro/m3.bin", "data/modules/gun/gunData.bin",
                                 "outside/export.pf", "outside/m1.mc"}) {
            const QString path = QLatin1String(file);
            const bool changes = std::any_of(m_states.cbegin(), m_states.cend(), [&](const Files& state) {
                return fileIn(state, path) != fileIn(m_states.first(), path);
            });
            QVERIFY2(changes, file);
        }
    }

    void killedAtRandomMoments()
    {
        const quint32 seed = qEnvironmentVariableIsSet("STRYDE_CRASH_SEED")
            ? qgetenv("STRYDE_CRASH_SEED").toUInt()
            : QRandomGenerator::system()->generate();
        const int kills = qEnvironmentVariableIsSet("STRYDE_CRASH_KILLS")
            ? qEnvironmentVariableIntValue("STRYDE_CRASH_KILLS") : 200;
        qInfo("seed %u (STRYDE_CRASH_SEED=%u replays it), %d kills", seed, seed, kills);
        QRandomGenerator random(seed);
        QElapsedTimer elapsed;
        elapsed.start();
        int midway = 0;
        for (int i = 0; i < kills; ++i) {
            // From a random operation on, killed during it or one of the next two.
            const int first = int(random.bounded(kTotalSteps));
            const int target = qMin(first + int(random.bounded(3)), kTotalSteps - 1);
            const quint32 spin = random.bounded(2000000u);
            QTemporaryDir run;
            QVERIFY(writeTree(m_states.at(first), run.path()));
            QVERIFY(QDir().mkpath(run.path() + "/tmp"));
            const int step = killChild(run.path(), first, target, spin);
            QVERIFY2(step >= first, "the child did not start");
            midway += step < kTotalSteps;
            const QString where = QStringLiteral("kill %1 (seed %2) during operation %3").arg(i).arg(seed).arg(step);
            checkOldOrNew(run.path(), step, where, true);

            // Started again: the temporary files of the killed saves are gone,
            // and nothing else changed.
            {
                SettingsStore restarted(run.path() + "/data");
            }
            checkOldOrNew(run.path(), step, where, false);
            if (QTest::currentTestFailed())
                return;
        }
        qInfo("%d kills, %d of them in the middle of an operation, %lld ms", kills, midway, elapsed.elapsed());
        QVERIFY(midway > kills / 2);
    }

private:
    // Starts the child on `root` at operation `first`, lets it announce
    // operation `target` (or finish), runs `spin` idle rounds and kills it.
    // Returns the operation under way (kTotalSteps when it had finished), or
    // -1 when the child did not start.
    int killChild(const QString& root, int first, int target, quint32 spin)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), root + "/tmp");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(STRYDE_CRASH_CHILD),
                    {root + "/data", root + "/outside", QString::number(first)});
        if (!child.waitForStarted())
            return -1;
        int last = -1;
        QByteArray pending;
        auto readLines = [&] {
            pending += child.readAllStandardOutput();
            int nl;
            while ((nl = pending.indexOf('\n')) >= 0) {
                const QByteArray line = pending.left(nl);
                pending.remove(0, nl + 1);
                last = line == "done" ? kTotalSteps : line.toInt();
            }
        };
        while (last < target && child.state() == QProcess::Running) {
            child.waitForReadyRead(5000);
            readLines();
        }
        // The moment: some way into the operation (an idle loop, no clock).
        for (volatile quint32 n = 0; n < spin; n = n + 1) {
        }
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        readLines();
        return last;
    }

    // Every file is as it was before operation `step` or as after it. Before
    // the restart a stray file may be a temporary one of the folders the
    // program writes, or of the system's temporary folder; afterwards only an
    // export (written outside the program's folders) may leave one.
    void checkOldOrNew(const QString& root, int step, const QString& where, bool beforeRestart)
    {
        static const QRegularExpression qtTemporary(QStringLiteral("^.+\\.[A-Za-z]{6}$"));
        const Files now = snapshot(root);
        const Files& before = m_states.at(qMin(step, kTotalSteps));
        const Files& after = m_states.at(qMin(step + 1, kTotalSteps));
        QStringList paths = now.keys() + before.keys() + after.keys();
        paths.removeDuplicates();
        for (const QString& path : std::as_const(paths)) {
            const std::optional<QByteArray> is = fileIn(now, path);
            const std::optional<QByteArray> was = fileIn(before, path);
            const std::optional<QByteArray> will = fileIn(after, path);
            if (!was && !will) {
                const QString name = QFileInfo(path).fileName();
                const QStringList parts = path.split(QLatin1Char('/'));
                const bool programTemporary = beforeRestart && path.startsWith(QLatin1String("data/"))
                    && (StaleTemporaries::isTemporaryName(name) || StaleTemporaries::isSettingsTemporaryName(name)
                        || StaleTemporaries::isLockName(name)
                        || std::any_of(parts.cbegin(), parts.cend(), WorkFolder::isWorkFolderName));
                const bool systemTemporary = beforeRestart && path.startsWith(QLatin1String("tmp/"));
                const bool exportTemporary = path.startsWith(QLatin1String("outside/"))
                    && (qtTemporary.match(name).hasMatch() || StaleTemporaries::isTemporaryName(name));
                if (!programTemporary && !systemTemporary && !exportTemporary)
                    QFAIL(qPrintable(QStringLiteral("%1: %2 %3").arg(where, path,
                        beforeRestart ? QStringLiteral("is no file of the program") : QStringLiteral("is left after the restart"))));
                continue;
            }
            if (is != was && is != will)
                QFAIL(qPrintable(QStringLiteral("%1: %2 is neither its old nor its new version (%3 bytes)")
                                     .arg(where, path).arg(is ? is->size() : -1)));
        }
    }

    DataFixture m_fixture;
    QTemporaryDir m_work;
    QList<Files> m_states;
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crash_safety.moc"
