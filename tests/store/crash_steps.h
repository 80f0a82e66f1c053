#pragma once
// The operations of the crash-safety test, shared by the test and its child
// process: the objects the program writes files through, one cycle of
// operations that write every kind of file, and folder snapshots.

#include "features/feature_context.h"
#include "features/recoil_ops.h"
#include "store/macro_library.h"
#include "store/name_lists.h"
#include "store/profile_slots.h"
#include "store/scripted_file_dialogs.h"
#include "store/settings_store.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>

#include <iterator>
#include <memory>

namespace crashtest {

inline constexpr int kCycles = 2;

// The objects the program writes files through, on one data folder.
struct Program {
    explicit Program(const QString& root, const QString& outside)
        : store(root), profiles(store, dialogs), macros(store, dialogs), names(root), outside(outside)
    {
        ctx.store = &store;
        recoil = std::make_unique<RecoilOps>(ctx);
    }

    // What the settings objects still hold goes to the files, as the event
    // loop would do it shortly after a change.
    void flush()
    {
        store.globalSettings()->sync();
        for (QSettings* slot : store.profileSettings())
            slot->sync();
    }

    QString out(const char* name) const { return outside + QLatin1Char('/') + QLatin1String(name); }

    SettingsStore store;
    ScriptedFileDialogs dialogs;
    ProfileSlots profiles;
    MacroLibrary macros;
    NameLists names;
    FeatureContext ctx;
    std::unique_ptr<RecoilOps> recoil;
    QString outside;
};

inline QStringList macroActions(int k)
{
    QStringList actions;
    for (int i = 0; i < 3 + k % 5; ++i)
        actions << QStringLiteral("%1,%2").arg(i % 2 + 1).arg(4 + (k + i) % 20);
    return actions;
}

using Step = void (*)(Program& p, int k);

// One cycle of operations; k counts the operations run so far, so every
// cycle writes other content.
inline const Step kSteps[] = {
    [](Program& p, int k) {     // import a profile
        p.dialogs.answers = {p.out(k % 2 ? "b.pf" : "a.pf")};
        p.profiles.loadProfile(1);
    },
    [](Program& p, int k) {     // a page stores a setting
        p.store.setData(QStringLiteral("mouse/dpiCount"), k);
        p.store.setDataList(QStringLiteral("mouse/dpiValueArray"), {400 + k, 800, 1600 + k});
    },
    [](Program& p, int) { p.profiles.copyProfile(2, 1); },
    [](Program& p, int) { p.profiles.resetProfile(1); },
    [](Program& p, int) {       // export a profile
        p.dialogs.answers = {p.out("export.pf")};
        p.profiles.saveProfile(2);
    },
    [](Program& p, int k) { p.macros.saveMacroIni(QStringLiteral("m1"), macroActions(k), k % 7 + 1); },
    [](Program& p, int k) {
        p.names.updataNameList(0, {QStringLiteral("m1"), k % 2 ? QStringLiteral("m2x") : QStringLiteral("m2"),
                                   QStringLiteral("m3"), QStringLiteral("n%1").arg(k)});
    },
    [](Program& p, int k) {
        p.recoil->mouseSaveGundata(QStringLiteral("AK"), {QStringLiteral("AK"), QStringLiteral("A"), 10 + k, 2, k % 9, 30});
    },
    [](Program& p, int k) {     // rename, or delete, a recoil preset
        if ((k / 12) % 2 == 0)
            p.recoil->modifyGundata(1, {QStringLiteral("M4"), QStringLiteral("B"), 12, 1, 3, 20, QStringLiteral("AK")});
        else
            p.recoil->modifyGundata(0, {QStringLiteral("M4")});
    },
    [](Program& p, int) {       // export a macro
        p.dialogs.answers = {p.out("m1.mc")};
        p.macros.saveMacroFile(QStringLiteral("m1"));
    },
    [](Program& p, int k) {     // rename a macro: its file and the profiles bound to it
        if ((k / 12) % 2 == 0)
            p.macros.modifyMacroNameUpdateProfile(QStringLiteral("m2"), QStringLiteral("m2x"));
        else
            p.macros.modifyMacroNameUpdateProfile(QStringLiteral("m2x"), QStringLiteral("m2"));
    },
    [](Program& p, int) { p.macros.deleteMacroIni(QStringLiteral("m3")); },
    [](Program& p, int) {       // import a macro
        p.dialogs.answers = {p.out("m1.mc")};
        p.macros.loadMacroFile(QStringLiteral("m3"));
    },
};
inline constexpr int kStepCount = int(std::size(kSteps));
inline constexpr int kTotalSteps = kStepCount * kCycles;

inline void runStep(Program& p, int k)
{
    kSteps[k % kStepCount](p, k);
    p.flush();
}

using Files = QMap<QString, QByteArray>;

// Every file below `root`, by its path relative to `root`.
inline Files snapshot(const QString& root)
{
    Files files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        files.insert(QDir(root).relativeFilePath(f.fileName()),
                     f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

inline bool copyTree(const QString& from, const QString& to)
{
    const Files files = snapshot(from);
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString dst = to + QLatin1Char('/') + it.key();
        QDir().mkpath(QFileInfo(dst).path());
        QFile out(dst);
        if (!out.open(QIODevice::WriteOnly) || out.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

} // namespace crashtest
