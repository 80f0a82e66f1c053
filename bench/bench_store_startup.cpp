// Start-up reads of the settings store: opens the store on a copy of the
// installed setting files and makes the reads the QML start-up and the
// pages' init make in one pass. The twelve long-lived files are parsed once
// when the store opens, so the reads are lookups in memory.

#include "store/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

bool copyInstalledSettings(const QString& root)
{
    const QString from = QStringLiteral(STRYDE_SOURCE_DIR "/modules/setting");
    const QString to = root + QStringLiteral("/modules/setting");
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files);
    while (it.hasNext()) {
        const QString file = it.next();
        if (!QFile::copy(file, to + QLatin1Char('/') + QFileInfo(file).fileName()))
            return false;
    }
    // Profiles the installation does not bring yet get a typical content.
    const QByteArray profile =
        "[mouse]\ndpiCount=8\ncurrentDpiCount=4\ndpiValueArray=400, 800, 1600, 3200, 4800, 6400, 8000, 12000\n"
        "reportRate=2\nreportRateEn=true\nmouseRate=10\ndoubleRate=5\nscrollRate=3\n"
        "lightValue=1, 2, 3\ncolorValue=255, 0, 0, 0, 255, 0\n[mouseKeyMatrix]\n"
        "0=1, 1, 0, 0\n1=1, 2, 0, 0\n2=1, 4, 0, 0\n3=1, 8, 0, 0\n4=1, 16, 0, 0\n5=8, 1, 0, 0\n6=8, 2, 0, 0\n7=8, 3, 0, 0\n";
    QStringList names{QStringLiteral("pD.bin")};
    for (int i = 1; i <= 10; ++i)
        names << QStringLiteral("p%1.bin").arg(i);
    for (const QString& name : names) {
        QFile f(to + QLatin1Char('/') + name);
        if (!f.exists() && (!f.open(QIODevice::WriteOnly) || f.write(profile) != profile.size()))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid() || !copyInstalledSettings(dir.path())) {
        out << "cannot prepare the data folder\n";
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    SettingsStore store(dir.path());
    const qint64 openNs = timer.nsecsElapsed();

    const QStringList globalKeys{"common/name", "common/language", "common/url", "mouse/isColorful",
                                 "mouse/isGun", "mouse/icType", "mouse/is55328", "mouse/keyCount",
                                 "mouse/minDPI", "mouse/maxDPI", "mouse/dpiBase", "mouse/sensorType",
                                 "mouse/profileNo", "mouse/selectGun"};
    const QStringList profileKeys{"mouse/dpiCount", "mouse/currentDpiCount", "mouse/reportRate",
                                  "mouse/reportRateEn", "mouse/mouseRate", "mouse/doubleRate",
                                  "mouse/scrollRate", "XYSensitive/0", "XYSensitive/1",
                                  "selectGun/0", "selectGun/1", "selectGun/2"};
    const QStringList listKeys{"mouse/dpiValueArray", "mouse/lightValue", "mouse/colorValue"};

    constexpr int passes = 100;
    int reads = 0;
    qsizetype sink = 0;
    timer.restart();
    for (int pass = 0; pass < passes; ++pass) {
        for (const QString& key : globalKeys) {
            sink += store.getGlobalData(key).toString().size();
            ++reads;
        }
        store.setCurrentProfile(store.getGlobalData("mouse/profileNo").toInt());
        for (bool recovery : {false, true}) {
            for (const QString& key : profileKeys) {
                sink += store.getData(key, recovery).toString().size();
                ++reads;
            }
            for (const QString& key : listKeys) {
                sink += store.getDataList(key, recovery).size();
                ++reads;
            }
            for (int button = 0; button < 16; ++button) {
                sink += store.mouseGetKeydefine(button, recovery).size();
                ++reads;
            }
        }
    }
    const qint64 readNs = timer.nsecsElapsed();
    const int readsPerPass = reads / passes;

    // The calls the pages make most: one profile value at a time.
    constexpr int getDataCalls = 100000;
    timer.restart();
    for (int i = 0; i < getDataCalls; ++i)
        sink += store.getData(profileKeys.at(i % profileKeys.size()), i % 2 == 1).toString().size();
    const qint64 getDataNs = timer.nsecsElapsed();

    out << "store opened (12 files parsed) in " << openNs / 1000 << " us\n";
    out << "one start-up pass of " << readsPerPass << " reads: " << readNs / passes / 1000.0 << " us"
        << " (" << double(readNs) / reads << " ns per read; checksum " << sink << ")\n";
    out << getDataCalls << " getData calls: " << getDataNs / 1000 << " us\n";
    // One line for bench/run.sh.
    out << "bench-store open_us=" << openNs / 1000.0 << " pass_us=" << readNs / passes / 1000.0
        << " getdata_us=" << getDataNs / 1000.0 << "\n";
    return 0;
}
