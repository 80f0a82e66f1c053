// The installed data folder (modules/) is read by many parts at once: the
// device check, the store, every page. These checks keep its files complete
// and consistent with each other, on a fresh copy of the folder.

#include "support/data_fixture.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QXmlStreamReader>
#include <QtTest>

class TstInstalledFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void globalSettings_data();
    void globalSettings();
    void factoryCopyEqualsGlobalFile();
    void profileSlotsCarryEveryDefaultKey();
    void buttonMaps_data();
    void buttonMaps();
    void defaultMapKeepsOneLeftButton();
    void performanceAndLightingDefaults();
    void nameLists();
    void recoilPresets();
    void languageFilesMatch();
    void languageGroupsCoverThePages_data();
    void languageGroupsCoverThePages();
    void englishTexts_data();
    void englishTexts();
    void keyNamesAreUnique_data();
    void keyNamesAreUnique();
    void sampleCatalogueResource();
    void icons();
    void mouseOverlays_data();
    void mouseOverlays();
    void skinAtTwoScales();
    void make560DataScript();

private:
    DataFixture m_fx;
    QString setting(const QString& name) const { return m_fx.path("modules/setting/" + name); }
};

namespace {

const QStringList kLanguages{"English", "ChineseSimplified"};

// Every group the pages ask for and the number of texts they index into it.
struct GroupUse {
    const char* group;
    int used;
};
constexpr GroupUse kGroupUses[] = {
    {"main", 11},          // title texts 0–10
    {"keyMatrix", 2},      // row prefix, panel title
    {"keyAssigment", 57},  // 0–56; 57–59 stay empty
    {"dpiSetting", 1},     // panel title
    {"lightControl", 16},  // title, effects, speed/colour/brightness
    {"macroEditor", 18},   // 0–17
    {"systemSetting", 8},  // 0–7
    {"gunControl", 10},    // 0–9
    {"profile", 6},        // 0–5
    {"keyCode", 133},      // one name per key code
    {"other", 8},          // one DPI notice per stage
    {"autostart", 2},      // the start-at-login switch and its note
    {"waiting", 3},        // the window waiting for the mouse: title, two lines
};

QList<int> toInts(const QVariant& value, bool* ok)
{
    QList<int> ints;
    *ok = true;
    for (const QString& s : value.toStringList()) {
        bool one = false;
        ints << s.trimmed().toInt(&one);
        *ok = *ok && one;
    }
    return ints;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList groupTexts(QSettings& file, const QString& group)
{
    QStringList texts;
    const int total = file.value(group + "/total", 0).toInt();
    for (int i = 0; i < total; ++i)
        texts << file.value(group + "/" + QString::number(i)).toString();
    return texts;
}

// The root `width`, `height` and `viewBox` of an SVG file, as "W H X Y W H".
QString svgCanvas(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    QXmlStreamReader xml(&f);
    if (!xml.readNextStartElement())
        return QStringLiteral("not XML");
    const QXmlStreamAttributes a = xml.attributes();
    return QStringList{a.value("width").toString(), a.value("height").toString(), a.value("viewBox").toString()}.join(' ');
}

} // namespace

void TstInstalledFiles::initTestCase()
{
    QVERIFY(m_fx.isValid());
}

void TstInstalledFiles::globalSettings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    // The catalogue the device check and its tests rely on.
    QTest::newRow("deviceCount") << "common/deviceCount" << "2";
    QTest::newRow("0/vid") << "0/vid" << "04d9";
    QTest::newRow("0/pid") << "0/pid" << "8008";
    QTest::newRow("0/usagePage") << "0/usagePage" << "ff01";
    QTest::newRow("0/reportLength") << "0/reportLength" << "64";
    QTest::newRow("1/vid") << "1/vid" << "04d9";
    QTest::newRow("1/pid") << "1/pid" << "a1ee";
    QTest::newRow("1/usage2") << "1/usage2" << "ff01";
    QTest::newRow("1/reportLength") << "1/reportLength" << "32";
    QTest::newRow("1/sCode") << "1/sCode" << "386514";
    // The model: a 553-family RGB mouse with recoil presets.
    QTest::newRow("isColorful") << "mouse/isColorful" << "true";
    QTest::newRow("isGun") << "mouse/isGun" << "true";
    QTest::newRow("icType") << "mouse/icType" << "553";
    QTest::newRow("is55328") << "mouse/is55328" << "false";
    QTest::newRow("sensorType") << "mouse/sensorType" << "3360";
    QTest::newRow("keyCount") << "mouse/keyCount" << "8";
    QTest::newRow("minDPI") << "mouse/minDPI" << "200";
    QTest::newRow("maxDPI") << "mouse/maxDPI" << "6000";
    QTest::newRow("dpiBase") << "mouse/dpiBase" << "50";
    QTest::newRow("profileNo") << "mouse/profileNo" << "0";
    QTest::newRow("language") << "common/language" << "English";
    QTest::newRow("name") << "common/name" << "KORVEX STRYDE";
}

void TstInstalledFiles::globalSettings()
{
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QSettings global(setting("apConfig.bin"), QSettings::IniFormat);
    QCOMPARE(global.status(), QSettings::NoError);
    QCOMPARE(global.value(key).toString(), expected);

    // The url the help menu opens, and the language it names, must exist.
    QVERIFY(global.value("common/url").toString().startsWith("http"));
    QVERIFY(QFile::exists(m_fx.path("modules/i18n/" + global.value("common/language").toString() + ".ini")));
}

void TstInstalledFiles::factoryCopyEqualsGlobalFile()
{
    const QByteArray global = readAll(setting("apConfig.bin"));
    QVERIFY(!global.isEmpty());
    QCOMPARE(readAll(setting("apConfigD.bin")), global);
}

void TstInstalledFiles::profileSlotsCarryEveryDefaultKey()
{
    QSettings def(setting("pD.bin"), QSettings::IniFormat);
    const QStringList keys = def.allKeys();
    QVERIFY(keys.size() > 40);
    for (int slot = 1; slot <= 10; ++slot) {
        const QString name = QStringLiteral("p%1.bin").arg(slot);
        QSettings p(setting(name), QSettings::IniFormat);
        for (const QString& key : keys) {
            QVERIFY2(p.contains(key), qPrintable(name + " lacks " + key));
            QVERIFY2(p.value(key) == def.value(key), qPrintable(name + " differs in " + key));
        }
    }
}

void TstInstalledFiles::buttonMaps_data()
{
    QTest::addColumn<QString>("group");
    QTest::newRow("page map") << "mouseKeyMatrix";
    QTest::newRow("firmware map") << "mouseFwKeyMatrix";
}

void TstInstalledFiles::buttonMaps()
{
    QFETCH(QString, group);
    QSettings def(setting("pD.bin"), QSettings::IniFormat);
    for (int s = 0; s < 16; ++s) {
        const QString key = group + "/" + QString::number(s);
        bool ok = false;
        const QList<int> entry = toInts(def.value(key), &ok);
        QVERIFY2(ok && entry.size() >= 4, qPrintable(key));
        for (int b : entry)
            QVERIFY2(b >= 0 && b <= 255, qPrintable(key));
    }
}

void TstInstalledFiles::defaultMapKeepsOneLeftButton()
{
    // The pages never let the last plain left button be reassigned; the
    // default map must start with exactly one (slot 0), or the user could
    // lock himself out of clicking.
    QSettings def(setting("pD.bin"), QSettings::IniFormat);
    QList<int> leftSlots;
    for (int s = 0; s < 16; ++s) {
        bool ok = false;
        const QList<int> e = toInts(def.value("mouseKeyMatrix/" + QString::number(s)), &ok);
        QVERIFY(ok);
        if (e.value(0) == 0 && e.value(2) == 0xF0)
            leftSlots << s;
    }
    QCOMPARE(leftSlots, QList<int>{0});
}

void TstInstalledFiles::performanceAndLightingDefaults()
{
    QSettings global(setting("apConfig.bin"), QSettings::IniFormat);
    QSettings def(setting("pD.bin"), QSettings::IniFormat);
    const int minDpi = global.value("mouse/minDPI").toInt();
    const int maxDpi = global.value("mouse/maxDPI").toInt();
    const int base = global.value("mouse/dpiBase").toInt();
    QVERIFY(base > 0 && minDpi < maxDpi);

    bool ok = false;
    const QList<int> dpi = toInts(def.value("mouse/dpiValueArray"), &ok);
    QVERIFY(ok);
    QCOMPARE(dpi.size(), 8);
    for (int v : dpi)
        QVERIFY2(v >= minDpi && v <= maxDpi && v % base == 0, qPrintable(QString::number(v)));
    const int count = def.value("mouse/dpiCount").toInt();
    const int current = def.value("mouse/currentDpiCount").toInt();
    QVERIFY(count >= 1 && count <= 8);
    QVERIFY(current >= 1 && current <= count);

    const int lod = def.value("mouse/reportRate").toInt();
    QVERIFY(lod >= 3 && lod <= 89);
    QVERIFY(def.value("mouse/reportRateEn").toString() == "true" || def.value("mouse/reportRateEn").toString() == "false");
    for (const char* key : {"mouse/mouseRate", "mouse/doubleRate"}) {
        const int p = def.value(key).toInt();
        QVERIFY2(p >= 3 && p <= 337, key);
    }
    const int scroll = def.value("mouse/scrollRate").toInt();
    QVERIFY(scroll == 1000 || (scroll >= 1 && scroll <= 100));

    const QList<int> light = toInts(def.value("mouse/lightValue"), &ok);
    QVERIFY(ok);
    QCOMPARE(light.size(), 3);
    const int effects = global.value("mouse/is55328").toString() == "true" ? 6 : 5;
    QVERIFY(light[0] >= 0 && light[0] < effects);
    QVERIFY(light[1] >= 0 && light[1] <= 4);
    QVERIFY(light[2] >= 0 && light[2] <= 4);
    const QList<int> colours = toInts(def.value("mouse/colorValue"), &ok);
    QVERIFY(ok);
    QCOMPARE(colours.size(), 24);
    for (int c : colours)
        QVERIFY(c >= 0 && c <= 255);

    for (const char* key : {"XYSensitive/0", "XYSensitive/1"})
        QVERIFY2(def.contains(key), key);
}

void TstInstalledFiles::nameLists()
{
    QSettings names(m_fx.path("modules/setting/name.bin"), QSettings::IniFormat);
    // The standard profile, padded because a stored list never has one entry.
    QCOMPARE(names.value("profile/profileName").toStringList(), (QStringList{"Standard0", "listpadentry"}));
    QVERIFY(!names.contains("macro/macroName"));
    for (const QString& key : names.allKeys()) {
        QVERIFY2(names.value(key).userType() == QMetaType::QStringList, qPrintable(key + " holds one entry"));
        QVERIFY(names.value(key).toStringList().size() >= 2);
    }
}

void TstInstalledFiles::recoilPresets()
{
    QSettings guns(m_fx.path("modules/gun/gunData.bin"), QSettings::IniFormat);
    guns.beginGroup("gunData");
    const QStringList keys = guns.childKeys();
    guns.endGroup();
    QCOMPARE(keys.size(), 6);

    QStringList presetNames;
    for (int i = 0; i < 6; ++i) {
        const QStringList preset = guns.value("gunData/" + QString::number(i)).toStringList();
        QCOMPARE(preset.size(), 6);  // name, key text, period, X, Y, times
        presetNames << preset[0];
        bool ok1, ok2, ok3, ok4;
        const int period = preset[2].toInt(&ok1);
        preset[3].toInt(&ok2);
        const int y = preset[4].toInt(&ok3);
        const int times = preset[5].toInt(&ok4);
        QVERIFY(ok1 && ok2 && ok3 && ok4);
        QVERIFY(period >= 4 && period <= 90);  // the rate slider's range
        QVERIFY(y >= 0 && y <= 64);
        QVERIFY(times >= 0 && times <= 255);
    }
    QCOMPARE(presetNames, (QStringList{"M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"}));

    QSettings names(m_fx.path("modules/setting/name.bin"), QSettings::IniFormat);
    QCOMPARE(names.value("gun/gunName").toStringList(), presetNames);

    QSettings global(setting("apConfig.bin"), QSettings::IniFormat);
    const QStringList selected = global.value("mouse/selectGun").toStringList();
    QCOMPARE(selected.size(), 3);
    for (const QString& s : selected)
        QVERIFY(s.toInt() >= 0 && s.toInt() < 6);
}

void TstInstalledFiles::languageFilesMatch()
{
    QSettings en(m_fx.path("modules/i18n/English.ini"), QSettings::IniFormat);
    QSettings zh(m_fx.path("modules/i18n/ChineseSimplified.ini"), QSettings::IniFormat);
    QCOMPARE(en.status(), QSettings::NoError);
    QCOMPARE(zh.status(), QSettings::NoError);
    QStringList enGroups = en.childGroups();
    QStringList zhGroups = zh.childGroups();
    enGroups.sort();
    zhGroups.sort();
    QCOMPARE(zhGroups, enGroups);

    for (const QString& g : enGroups) {
        const int total = en.value(g + "/total", -1).toInt();
        QCOMPARE(zh.value(g + "/total", -1).toInt(), total);
        for (QSettings* file : {&en, &zh}) {
            file->beginGroup(g);
            // "total" plus exactly the entries 0 … total − 1.
            QCOMPARE(file->childKeys().size(), total + 1);
            for (int i = 0; i < total; ++i)
                QVERIFY2(file->contains(QString::number(i)), qPrintable(g + "/" + QString::number(i)));
            file->endGroup();
        }
        // Where English has a text, the translation has one too.
        const QStringList enTexts = groupTexts(en, g);
        const QStringList zhTexts = groupTexts(zh, g);
        for (int i = 0; i < total; ++i)
            QCOMPARE(zhTexts[i].isEmpty(), enTexts[i].isEmpty());
    }
}

void TstInstalledFiles::languageGroupsCoverThePages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("used");
    for (const QString& lang : kLanguages)
        for (const GroupUse& u : kGroupUses)
            QTest::addRow("%s %s", qPrintable(lang), u.group) << lang << QString::fromLatin1(u.group) << u.used;
}

void TstInstalledFiles::languageGroupsCoverThePages()
{
    QFETCH(QString, language);
    QFETCH(QString, group);
    QFETCH(int, used);
    QSettings file(m_fx.path("modules/i18n/" + language + ".ini"), QSettings::IniFormat);
    const QStringList texts = groupTexts(file, group);
    QVERIFY2(texts.size() >= used, qPrintable(QString::number(texts.size())));
    for (int i = 0; i < used; ++i)
        QVERIFY2(!texts[i].isEmpty(), qPrintable(group + "/" + QString::number(i)));
}

void TstInstalledFiles::englishTexts_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    // The interface's own English, including its spelling, blanks and the
    // texts an INI file would otherwise split or swallow.
    const struct { const char* group; int index; const char* text; } rows[] = {
        {"main", 0, "Editor"}, {"main", 6, "Reset factory setting"}, {"main", 10, "Save"}, {"main", 11, ""},
        {"keyMatrix", 0, "Key "}, {"keyMatrix", 1, "Key Function"},
        {"keyAssigment", 0, "Key "}, {"keyAssigment", 7, "Double Fire"}, {"keyAssigment", 13, "Endness"},
        {"keyAssigment", 19, "Macro runs endless loop until any button is pressed"},
        {"keyAssigment", 29, "Privous"}, {"keyAssigment", 32, "Play/Pause"}, {"keyAssigment", 34, "Volumn-"},
        {"keyAssigment", 51, "Select All"}, {"keyAssigment", 56, "Sniper Key"}, {"keyAssigment", 59, ""},
        {"dpiSetting", 0, "DPI"},
        {"lightControl", 8, "Twinkling"}, {"lightControl", 13, "YO-YO"}, {"lightControl", 15, "Breath Loop"},
        {"macroEditor", 5, "Stop Record"}, {"macroEditor", 17, "Insert Right Key"},
        {"systemSetting", 7, "Scroll one Screen"},
        {"gunControl", 0, "Gun editor"}, {"gunControl", 9, "Endness"},
        {"profile", 0, "config"}, {"profile", 5, "Standard"},
        {"keyCode", 0, "A"}, {"keyCode", 26, "1"}, {"keyCode", 35, "0"}, {"keyCode", 45, "\\"},
        {"keyCode", 46, "\\"}, {"keyCode", 47, ";"}, {"keyCode", 50, ","}, {"keyCode", 42, "="},
        {"keyCode", 75, "►"}, {"keyCode", 78, "▲"}, {"keyCode", 99, "KP="}, {"keyCode", 112, "Keypad"},
        {"keyCode", 120, "LCtrl"}, {"keyCode", 128, "MS-L"}, {"keyCode", 132, "MS-B5"},
    };
    for (const auto& r : rows)
        QTest::addRow("%s %d", r.group, r.index) << QString::fromLatin1(r.group) << r.index << QString::fromUtf8(r.text);
}

void TstInstalledFiles::englishTexts()
{
    QFETCH(QString, group);
    QFETCH(int, index);
    QFETCH(QString, text);
    QSettings en(m_fx.path("modules/i18n/English.ini"), QSettings::IniFormat);
    QCOMPARE(groupTexts(en, group).value(index, "<missing>"), text);
}

void TstInstalledFiles::keyNamesAreUnique_data()
{
    QTest::addColumn<QString>("language");
    for (const QString& lang : kLanguages)
        QTest::newRow(qPrintable(lang)) << lang;
}

void TstInstalledFiles::keyNamesAreUnique()
{
    // Macros are stored with key names and turned back into codes by the
    // first matching name, so two keys may share a name only when they are
    // the two backslash keys (0x31 and 0x32, indexes 45 and 46).
    QFETCH(QString, language);
    QSettings file(m_fx.path("modules/i18n/" + language + ".ini"), QSettings::IniFormat);
    const QStringList names = groupTexts(file, "keyCode");
    QCOMPARE(names.size(), 133);
    QSet<QString> seen;
    for (int i = 0; i < names.size(); ++i) {
        if (i == 46) {
            QCOMPARE(names[46], names[45]);
            continue;
        }
        QVERIFY2(!seen.contains(names[i]), qPrintable(QString::number(i) + " " + names[i]));
        seen.insert(names[i]);
    }
}

void TstInstalledFiles::sampleCatalogueResource()
{
    // The sample catalogue is a resource of the program; nothing copies it to disk.
    QVERIFY(!QFile::exists(m_fx.path("modules/DevInfo.ini")));
    const QByteArray ini = readAll(QStringLiteral(":/DevInfo.ini"));
    QVERIFY(ini.startsWith("; type 0: Keyboard, type 1: Mouse\n"));
    QSettings dev(QStringLiteral(":/DevInfo.ini"), QSettings::IniFormat);
    QCOMPARE(dev.value("common/isEncode").toString(), QStringLiteral("false"));
    QCOMPARE(dev.value("common/total").toInt(), 2);
    // The same two identities as the catalogue of the global file.
    QSettings global(setting("apConfig.bin"), QSettings::IniFormat);
    for (const char* entry : {"0", "1"})
        for (const char* key : {"type", "vid", "pid", "usagePage", "usage", "usagePage2", "usage2", "reportLength"}) {
            const QString k = QString::fromLatin1(entry) + "/" + key;
            QVERIFY2(dev.value(k).toString() == global.value(k).toString(), qPrintable(k));
        }

}

void TstInstalledFiles::icons()
{
    const QImage png(m_fx.path("modules/img/logo.png"));
    QCOMPARE(png.size(), QSize(32, 32));
    const QByteArray ico = readAll(m_fx.path("modules/img/logo.ico"));
    // ICONDIR: reserved 0, type 1 (icon), at least one image.
    QVERIFY(ico.size() > 22);
    QCOMPARE(ico.left(4), QByteArray("\x00\x00\x01\x00", 4));
    QVERIFY(quint8(ico[4]) + (quint8(ico[5]) << 8) >= 1);
    if (!QImageReader::supportedImageFormats().contains("ico"))
        QSKIP("no ICO image plugin to decode the icon");
    // The icon may carry several sizes; the tray needs the 32 x 32 one.
    QImageReader reader(m_fx.path("modules/img/logo.ico"));
    QList<QSize> sizes;
    for (int i = 0; i < qMax(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        sizes << reader.read().size();
    }
    QVERIFY2(sizes.contains(QSize(32, 32)), qPrintable(QStringLiteral("icon sizes: %1").arg(sizes.size())));
}

// Each button overlay of the mouse picture is cropped to what it draws: the
// picture places it at its viewBox origin, which must match the SVG, and no
// outline or glow may reach the edge of the crop.
void TstInstalledFiles::mouseOverlays_data()
{
    QTest::addColumn<int>("slot");
    for (int slot = 0; slot < 8; ++slot)
        QTest::addRow("slot %d", slot) << slot;
}

void TstInstalledFiles::mouseOverlays()
{
    QFETCH(int, slot);
    const QString qml = QString::fromUtf8(readAll(QStringLiteral(":/modules/qml/K7/Mouse.qml")));
    const QRegularExpressionMatch table = QRegularExpression(R"(overlayAt:\s*\[([^\]]*)\])").match(qml);
    QVERIFY2(table.hasMatch(), "the overlay origins in Mouse.qml");
    QList<QPoint> origins;
    auto points = QRegularExpression(R"(Qt\.point\((\d+),\s*(\d+)\))").globalMatch(table.captured(1));
    while (points.hasNext()) {
        const QRegularExpressionMatch m = points.next();
        origins << QPoint(m.captured(1).toInt(), m.captured(2).toInt());
    }
    QCOMPARE(origins.size(), 8);
    const QPoint at = origins[slot];

    // Lit and unlit share one crop, so one origin serves both.
    QSize size;
    for (const QString& name : {QStringLiteral("mouse%1").arg(slot), QStringLiteral("mouse%1S").arg(slot)}) {
        const QImage png(QStringLiteral(":/mouse/modules/img/skin1/mouse/%1.png").arg(name));
        QVERIFY2(!png.isNull(), qPrintable(name));
        if (size.isEmpty())
            size = png.size();
        QCOMPARE(png.size(), size);
        const QRect crop(at, size);
        QVERIFY2(QRect(0, 0, 320, 460).contains(crop), qPrintable(name));
        // Rendered 1:1, so the PNG's size is the SVG's canvas.
        QCOMPARE(svgCanvas(QStringLiteral(STRYDE_SOURCE_DIR "/modules/img/svg/mouse/%1.svg").arg(name)),
                 QStringLiteral("%1 %2 %3 %4 %1 %2").arg(crop.width()).arg(crop.height()).arg(crop.x()).arg(crop.y()));
        int edgeAlpha = 0;
        for (int x = 0; x < png.width(); ++x)
            edgeAlpha += qAlpha(png.pixel(x, 0)) + qAlpha(png.pixel(x, png.height() - 1));
        for (int y = 0; y < png.height(); ++y)
            edgeAlpha += qAlpha(png.pixel(0, y)) + qAlpha(png.pixel(png.width() - 1, y));
        QVERIFY2(edgeAlpha == 0, qPrintable(name + ": the drawing reaches the edge of its crop"));
    }
}

// Every picture of the skin comes at twice its size too (name@2x.png beside
// name.png, what Qt Quick picks on a screen of a scale above 1), and every
// SVG of the skin is in the resources at both sizes.
void TstInstalledFiles::skinAtTwoScales()
{
    QSet<QString> pictures;
    QDirIterator it(QStringLiteral(":/"), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // Qt's own resources (its message box's pictures, linked in some builds) are not the skin.
        if (path.startsWith(QLatin1String(":/qt-project.org/")))
            continue;
        if (path.endsWith(QLatin1String("@2x.png"))) {
            QVERIFY2(QFile::exists(path.chopped(7) + QStringLiteral(".png")), qPrintable(path + ": no 1x picture"));
            continue;
        }
        pictures.insert(QFileInfo(path).completeBaseName());
        const QImage one(path);
        const QImage two(path.chopped(4) + QStringLiteral("@2x.png"));
        QVERIFY2(!one.isNull() && !two.isNull(), qPrintable(path));
        QCOMPARE(two.size(), one.size() * 2);
    }
    QDirIterator svgs(QStringLiteral(STRYDE_SOURCE_DIR "/modules/img/svg"), {QStringLiteral("*.svg")}, QDir::Files,
                      QDirIterator::Subdirectories);
    int count = 0;
    while (svgs.hasNext()) {
        const QString name = QFileInfo(svgs.next()).completeBaseName();
        QVERIFY2(pictures.contains(name), qPrintable(name + ".svg is not in the resources"));
        ++count;
    }
    QVERIFY(count > 40);
}

void TstInstalledFiles::make560DataScript()
{
#ifdef Q_OS_WIN
    QSKIP("shell script");
#else
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString dst = out.path() + "/data560";
    QProcess script;
    script.start("bash", {QStringLiteral(STRYDE_SOURCE_DIR "/scripts/make_560_data.sh"), m_fx.root(), dst});
    QVERIFY(script.waitForFinished(30000));
    QCOMPARE(script.exitCode(), 0);

    for (const char* name : {"apConfig.bin", "apConfigD.bin"}) {
        const QString copy = dst + "/modules/setting/" + name;
        QSettings converted(copy, QSettings::IniFormat);
        QSettings original(setting(name), QSettings::IniFormat);
        QCOMPARE(converted.value("mouse/icType").toString(), QStringLiteral("560"));
        QCOMPARE(converted.allKeys(), original.allKeys());
        for (const QString& key : original.allKeys())
            if (key != "mouse/icType")
                QVERIFY2(converted.value(key) == original.value(key), qPrintable(key));
    }
    // Everything else is copied unchanged.
    for (const char* rel : {"modules/setting/pD.bin", "modules/setting/p10.bin", "modules/setting/name.bin",
                            "modules/i18n/ChineseSimplified.ini", "modules/gun/gunData.bin", "modules/img/logo.ico"})
        QVERIFY2(readAll(dst + "/" + rel) == m_fx.readFile(rel), rel);
    // The source stays as it was.
    QSettings source(setting("apConfig.bin"), QSettings::IniFormat);
    QCOMPARE(source.value("mouse/icType").toString(), QStringLiteral("553"));

    // Wrong use fails without touching anything.
    QProcess bad;
    bad.start("bash", {QStringLiteral(STRYDE_SOURCE_DIR "/scripts/make_560_data.sh"), out.path() + "/nothing", dst});
    QVERIFY(bad.waitForFinished(30000));
    QVERIFY(bad.exitCode() != 0);
#endif
}

QTEST_GUILESS_MAIN(TstInstalledFiles)
#include "tst_installed_files.moc"
