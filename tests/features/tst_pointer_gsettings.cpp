// The GNOME pointer backend, run against a stand-in for the gsettings tool
// that records its arguments: the desktop of the machine is never touched.

#include "features/pointer_gsettings.h"

#include <QtTest>
#include <QTemporaryDir>
#include <functional>

namespace {

using Apply = std::function<bool(GsettingsPointerBackend&)>;

// A tool that appends its arguments to `log` and exits with `exitCode`.
QString writeTool(const QTemporaryDir& dir, int exitCode)
{
    const QString path = dir.filePath(QStringLiteral("gsettings"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\nexit %2\n")
                .arg(dir.filePath(QStringLiteral("log")))
                .arg(exitCode)
                .toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

QStringList loggedCalls(const QTemporaryDir& dir)
{
    QFile f(dir.filePath(QStringLiteral("log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

Q_DECLARE_METATYPE(Apply)

class TestPointerGsettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("the stand-in tool is a shell script");
#endif
    }

    void setsGnomeKeys_data()
    {
        QTest::addColumn<Apply>("apply");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("call");

        const QString schema = QStringLiteral("set org.gnome.desktop.peripherals.mouse ");
        auto speed = [](uint v) { return Apply([v](GsettingsPointerBackend& b) { return b.setMouseSpeed(v); }); };
        auto click = [](uint v) { return Apply([v](GsettingsPointerBackend& b) { return b.setDoubleClickTime(v); }); };

        QTest::newRow("slowest") << speed(1) << 0 << true << schema + "speed -0.90";
        QTest::newRow("system default is GNOME's 0") << speed(10) << 0 << true << schema + "speed 0.00";
        QTest::newRow("fastest") << speed(20) << 0 << true << schema + "speed 1.00";
        QTest::newRow("beyond fastest stays at 1") << speed(40) << 0 << true << schema + "speed 1.00";
        QTest::newRow("double-click") << click(830) << 0 << true << schema + "double-click 830";
        QTest::newRow("tool refuses (no schema)") << speed(4) << 1 << false << schema + "speed -0.60";
        QTest::newRow("scroll lines: GNOME has none")
            << Apply([](GsettingsPointerBackend& b) { return b.setWheelScrollLines(3); }) << 0 << false << QString();
    }
    void setsGnomeKeys()
    {
        QFETCH(Apply, apply);
        QFETCH(int, exitCode);
        QFETCH(bool, result);
        QFETCH(QString, call);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString tool = writeTool(dir, exitCode);
        QVERIFY(!tool.isEmpty());
        GsettingsPointerBackend backend(tool);
        if (exitCode != 0)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^gsettings:")));
        QCOMPARE(apply(backend), result);
        QCOMPARE(loggedCalls(dir), call.isEmpty() ? QStringList() : QStringList{call});
    }

    void missingToolFails()
    {
        QTemporaryDir dir;
        GsettingsPointerBackend backend(dir.filePath(QStringLiteral("no-such-tool")));
        QVERIFY(!backend.setMouseSpeed(10));
        QVERIFY(!backend.setDoubleClickTime(500));
    }
};

QTEST_GUILESS_MAIN(TestPointerGsettings)
#include "tst_pointer_gsettings.moc"
