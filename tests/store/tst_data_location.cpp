// Where the settings live (the program's folder, the user's data folder,
// --data-dir) and how the user's folder follows the installed defaults of a
// newer version without losing anything the user set.

#include "store/damaged_files.h"
#include "store/data_location.h"
#include "store/installed_defaults.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A fresh read: a copy of the file, so no cached settings object answers.
QVariant setting(const QString& path, const QString& key)
{
    static int n = 0;
    const QString copy = path + QStringLiteral(".read%1").arg(++n);
    QFile::copy(path, copy);
    const QVariant value = QSettings(copy, QSettings::IniFormat).value(key);
    QFile::remove(copy);
    return value;
}

// An installation (bin/ and share/stryde/) and a user's modules/ folder.
struct Install {
    QTemporaryDir dir;
    QString bin() const { return dir.filePath(QStringLiteral("usr/bin")); }
    QString defaults() const { return dir.filePath(QStringLiteral("usr/share/stryde")); }
    QString user() const { return dir.filePath(QStringLiteral("home/.local/share/stryde")); }
    QString modules() const { return user() + QStringLiteral("/modules"); }
    QString def(const QString& rel) const { return defaults() + QLatin1Char('/') + rel; }
    QString mine(const QString& rel) const { return modules() + QLatin1Char('/') + rel; }

    Install()
    {
        QDir().mkpath(bin());
        QDir().mkpath(defaults() + QStringLiteral("/macro"));
        writeFile(def("setting/apConfig.bin"), "[common]\nname=KORVEX STRYDE\nlanguage=English\n\n[mouse]\nprofileNo=0\n");
        writeFile(def("setting/p1.bin"), "[mouse]\ndpiCount=4\n");
        writeFile(def("gun/gunData.bin"), "[gunData]\n0=M416, 1\n1=AKM, 2\n");
        writeFile(def("i18n/English.ini"), "[main]\ntotal=1\n0=\"Save\"\n");
        writeFile(def("img/logo.ico"), QByteArray("\0\0\1\0icon", 8));
    }
    InstalledDefaults::Result apply() const { return InstalledDefaults(defaults(), modules()).apply(); }
};

} // namespace

class TstDataLocation : public QObject {
    Q_OBJECT
private slots:
    void choosesTheFolder();
    void firstStartFillsTheUserFolder();
    void newerDefaultsKeepWhatTheUserSet();
    void damagedUserFileIsKeptAsideAndReplaced();
    void foldersFilledWithoutACopyOfTheDefaults();
    void unwritableUserFolderIsAnError();
};

void TstDataLocation::choosesTheFolder()
{
    Install in;
    const QString portable = in.dir.filePath(QStringLiteral("portable"));
    QDir().mkpath(portable + QStringLiteral("/modules"));

    // --data-dir wins over a writable modules/ beside the program.
    DataLocation l = DataLocation::choose(QStringLiteral("relative/data"), portable, in.user());
    QCOMPARE(l.source, DataLocation::Source::Option);
    QCOMPARE(l.root, QDir::current().absoluteFilePath(QStringLiteral("relative/data")));
    QVERIFY(l.describe().contains(QStringLiteral("--data-dir")));

    // A portable copy (or the build tree) keeps its files beside the program.
    l = DataLocation::choose(QString(), portable, in.user());
    QCOMPARE(l.source, DataLocation::Source::ProgramFolder);
    QCOMPARE(l.root, portable);
    QVERIFY(l.defaultsDir.isEmpty());

    // An installed program: the user's folder, with the defaults from ../share/stryde.
    l = DataLocation::choose(QString(), in.bin(), in.user());
    QCOMPARE(l.source, DataLocation::Source::UserFolder);
    QCOMPARE(l.root, in.user());
    QCOMPARE(l.defaultsDir, in.defaults());
    QVERIFY2(l.describe().contains(QDir::toNativeSeparators(in.modules())), qPrintable(l.describe()));

    // A "modules" that is a file is no data folder; no share/stryde: no defaults.
    writeFile(in.dir.filePath(QStringLiteral("odd/modules")), "x");
    l = DataLocation::choose(QString(), in.dir.filePath(QStringLiteral("odd")), in.user());
    QCOMPARE(l.source, DataLocation::Source::UserFolder);
    QVERIFY(l.defaultsDir.isEmpty());
    QVERIFY(l.describe().contains(QStringLiteral("none found")));
}

void TstDataLocation::firstStartFillsTheUserFolder()
{
    Install in;
    const DataLocation l = DataLocation::choose(QString(), in.bin(), in.user());
    QString error;
    QVERIFY2(l.prepare(&error), qPrintable(error));
    for (const char* rel : {"setting/apConfig.bin", "setting/p1.bin", "gun/gunData.bin", "i18n/English.ini", "img/logo.ico"})
        QCOMPARE(readFile(in.mine(QLatin1String(rel))), readFile(in.def(QLatin1String(rel))));
    QVERIFY(QFileInfo(in.mine(QStringLiteral("macro"))).isDir());

    // The next start finds nothing to do, and the defaults stay untouched.
    const QByteArray before = readFile(in.def(QStringLiteral("setting/apConfig.bin")));
    const InstalledDefaults::Result again = in.apply();
    QVERIFY(again.ok);
    QCOMPARE(again.copied + again.replaced + again.keysAdded, 0);
    QCOMPARE(readFile(in.def(QStringLiteral("setting/apConfig.bin"))), before);
}

void TstDataLocation::newerDefaultsKeepWhatTheUserSet()
{
    Install in;
    QVERIFY(in.apply().ok);
    // What the user did with the first version.
    {
        QSettings s(in.mine(QStringLiteral("setting/apConfig.bin")), QSettings::IniFormat);
        s.setValue(QStringLiteral("mouse/profileNo"), 3);
        s.setValue(QStringLiteral("common/language"), QStringLiteral("ChineseSimplified"));
    }
    {
        QSettings s(in.mine(QStringLiteral("gun/gunData.bin")), QSettings::IniFormat);
        s.remove(QStringLiteral("gunData/1"));      // a deleted recoil preset
    }
    QFile::remove(in.mine(QStringLiteral("img/logo.ico")));

    // The newer version: new keys and changed values in every file.
    writeFile(in.def("setting/apConfig.bin"),
              "[common]\nname=KORVEX STRYDE 2\nlanguage=English\nurl=https://korvex.example\n\n[mouse]\nprofileNo=0\nkeyCount=8\n");
    writeFile(in.def("setting/p1.bin"), "[mouse]\ndpiCount=6\nliftOff=2\n");
    writeFile(in.def("gun/gunData.bin"), "[gunData]\n0=M416, 1\n1=AKM, 2\n2=UNP9, 3\n");
    writeFile(in.def("i18n/English.ini"), "[main]\ntotal=2\n0=\"Save now\"\n1=\"Cancel\"\n");

    const InstalledDefaults::Result r = in.apply();
    QVERIFY(r.ok);
    QCOMPARE(r.copied, 1);          // the icon the user lacked
    QCOMPARE(r.replaced, 2);        // p1.bin and the language file, never changed by the user
    QCOMPARE(r.keysAdded, 3);       // url, keyCount, the preset UNP9

    const QString ap = in.mine(QStringLiteral("setting/apConfig.bin"));
    QCOMPARE(setting(ap, QStringLiteral("mouse/profileNo")).toInt(), 3);
    QCOMPARE(setting(ap, QStringLiteral("common/language")).toString(), QStringLiteral("ChineseSimplified"));
    QCOMPARE(setting(ap, QStringLiteral("common/name")).toString(), QStringLiteral("KORVEX STRYDE"));
    QCOMPARE(setting(ap, QStringLiteral("common/url")).toString(), QStringLiteral("https://korvex.example"));
    QCOMPARE(setting(ap, QStringLiteral("mouse/keyCount")).toInt(), 8);
    const QString gun = in.mine(QStringLiteral("gun/gunData.bin"));
    QVERIFY(!setting(gun, QStringLiteral("gunData/1")).isValid());
    QCOMPARE(setting(gun, QStringLiteral("gunData/2")).toStringList(), (QStringList{QStringLiteral("UNP9"), QStringLiteral("3")}));
    QCOMPARE(readFile(in.mine(QStringLiteral("setting/p1.bin"))), readFile(in.def(QStringLiteral("setting/p1.bin"))));
    QCOMPARE(readFile(in.mine(QStringLiteral("i18n/English.ini"))), readFile(in.def(QStringLiteral("i18n/English.ini"))));
    QCOMPARE(readFile(in.mine(QStringLiteral("img/logo.ico"))), readFile(in.def(QStringLiteral("img/logo.ico"))));

    // Once applied, the same defaults change nothing more.
    const InstalledDefaults::Result again = in.apply();
    QCOMPARE(again.copied + again.replaced + again.keysAdded, 0);
    QVERIFY(!setting(gun, QStringLiteral("gunData/1")).isValid());
}

void TstDataLocation::damagedUserFileIsKeptAsideAndReplaced()
{
    Install in;
    QVERIFY(in.apply().ok);
    const QString ap = in.mine(QStringLiteral("setting/apConfig.bin"));
    const QByteArray damaged("\0\0\0\x7f garbage", 12);
    QVERIFY(writeFile(ap, damaged));
    writeFile(in.def("setting/apConfig.bin"), "[common]\nname=KORVEX STRYDE\n\n[mouse]\nkeyCount=8\n");

    QVERIFY(in.apply().ok);
    QCOMPARE(readFile(DamagedFiles::damagedName(ap)), damaged);
    QCOMPARE(readFile(ap), readFile(in.def(QStringLiteral("setting/apConfig.bin"))));
}

void TstDataLocation::foldersFilledWithoutACopyOfTheDefaults()
{
    // A data folder put together by hand: nothing to compare with, so every
    // key it lacks comes from the defaults and every value it has stays.
    Install in;
    writeFile(in.mine("setting/apConfig.bin"), "[mouse]\nprofileNo=2\n");
    QVERIFY(in.apply().ok);
    const QString ap = in.mine(QStringLiteral("setting/apConfig.bin"));
    QCOMPARE(setting(ap, QStringLiteral("mouse/profileNo")).toInt(), 2);
    QCOMPARE(setting(ap, QStringLiteral("common/name")).toString(), QStringLiteral("KORVEX STRYDE"));
}

void TstDataLocation::unwritableUserFolderIsAnError()
{
    Install in;
    // The user's folder cannot be made below a file.
    writeFile(in.dir.filePath(QStringLiteral("blocked")), "x");
    const DataLocation l = DataLocation::choose(QString(), in.bin(), in.dir.filePath(QStringLiteral("blocked/stryde")));
    QString error;
    QVERIFY(!l.prepare(&error));
    QVERIFY2(error.contains(QStringLiteral("blocked/stryde/modules")), qPrintable(error));
}

QTEST_GUILESS_MAIN(TstDataLocation)
#include "tst_data_location.moc"
