// Loading the program's files: a profile, the global settings and device
// catalogue, a macro, the name lists, the recoil library and a language file
// of any content are read by the code that reads them at run time, without
// a crash, without reading out of bounds and with bounded results.
//
// The first byte picks the file, the rest is its content.

#include "device/device_descriptor.h"
#include "device/virtual_mouse.h"
#include "features/feature_context.h"
#include "features/recoil_ops.h"
#include "fuzz_input.h"
#include "store/language_strings.h"
#include "store/macro_library.h"
#include "store/name_lists.h"
#include "store/scripted_file_dialogs.h"
#include "store/settings_store.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

enum Kind { Profile, Global, Macro, Names, Recoil, Language, KindCount };

QTemporaryDir* scratch = nullptr;
quint64 runs = 0;

// Settings readers cache a file by its path, size and time: every input's
// file gets a time of its own. (A folder per input would be slower: the
// file systems here take milliseconds to remove one.)
void write(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()
        || !f.setFileTime(QDateTime::fromMSecsSinceEpoch(qint64(1) << 40).addMSecs(qint64(++runs)),
                          QFileDevice::FileModificationTime))
        std::abort();
}

// The data folder as the previous input left it, emptied.
void clearFolders(const QString& modules)
{
    for (const char* folder : {"setting", "macro", "gun", "i18n"}) {
        QDir dir(modules + QLatin1String(folder));
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            dir.remove(name);
    }
}

void readProfile(SettingsStore& store)
{
    for (const QString& key : store.currentSlot()->allKeys()) {
        store.getData(key, false);
        store.getDataList(key, false);
    }
    for (int button = -1; button <= SettingsStore::ButtonCount; ++button)
        FUZZ_CHECK(store.mouseGetKeydefine(button, false).size() <= 1 << 20);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    scratch = new QTemporaryDir;
    for (const char* folder : {"setting", "macro", "gun", "i18n"})
        QDir().mkpath(scratch->filePath(QStringLiteral("modules/") + QLatin1String(folder)));
    return scratch->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const Kind kind = Kind(in.u8() % KindCount);
    const QByteArray content = in.rest();
    const QString root = scratch->path();
    const QString modules = root + QStringLiteral("/modules/");
    clearFolders(modules);
    switch (kind) {
    case Profile: {
        write(modules + QStringLiteral("setting/p1.bin"), content);
        SettingsStore store(root);
        readProfile(store);
        break;
    }
    case Global: {
        const QString path = modules + QStringLiteral("setting/apConfig.bin");
        write(path, content);
        const QList<DeviceDescriptor> entries = readCatalogue(path);
        for (const DeviceDescriptor& d : entries)
            FUZZ_CHECK(d.path.isEmpty() && d.path2.isEmpty());
        identityFromCatalogue(path);
        SettingsStore store(root);
        for (const QString& key : store.globalSettings()->allKeys())
            store.getGlobalData(key);
        break;
    }
    case Macro: {
        write(modules + QStringLiteral("macro/m.bin"), content);
        SettingsStore store(root);
        ScriptedFileDialogs dialogs;
        const QStringList loaded = MacroLibrary(store, dialogs).loadMacroIni(QStringLiteral("m"));
        // The actions (at most the library's limit) and the repeat count.
        FUZZ_CHECK(!loaded.isEmpty() && loaded.size() <= MacroLibrary::MaxActions + 1);
        break;
    }
    case Names: {
        write(modules + QStringLiteral("setting/name.bin"), content);
        const NameLists names(root);
        for (int type = -1; type <= 4; ++type)
            names.getNameList(type);
        break;
    }
    case Recoil: {
        write(modules + QStringLiteral("gun/gunData.bin"), content);
        SettingsStore store(root);
        FeatureContext ctx;
        ctx.store = &store;
        RecoilOps recoil(ctx);
        for (const QString& key : recoil.getGunDataKey())
            recoil.getGunData(key);
        for (int i = -1; i <= 4; ++i) {
            recoil.getXYSensitive(i);
            recoil.getselectGun(i);
        }
        break;
    }
    case Language: {
        write(modules + QStringLiteral("i18n/English.ini"), content);
        LanguageStrings strings(root);
        QSettings file(modules + QStringLiteral("i18n/English.ini"), QSettings::IniFormat);
        QStringList groups = file.childGroups();
        groups << QStringLiteral("other") << QStringLiteral("missing");
        for (const QString& group : std::as_const(groups))
            FUZZ_CHECK(strings.getLangStrings(group, QStringLiteral("English")).size() <= LanguageStrings::MaxGroupSize);
        FUZZ_CHECK(strings.dpiSwitchTexts().size() == LanguageStrings::DpiSwitchTextCount);
        for (const QString& text : strings.dpiSwitchTexts())
            FUZZ_CHECK(!text.isEmpty());
        break;
    }
    case KindCount:
        break;
    }
    return 0;
}
