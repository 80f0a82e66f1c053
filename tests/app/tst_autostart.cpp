// Start at login: the XDG autostart entry the switch writes and removes
// (under a temporary XDG_CONFIG_HOME), the switch in the tray menu and on
// ui_Ctl for the window, and a start with --minimized.

#include "app/app_id.h"
#include "app/autostart.h"
#include "app/device_change.h"
#include "app/tray_notifier.h"
#include "app/ui_controler.h"
#include "app/widget.h"
#include "device/clock.h"
#include "device/virtual_mouse.h"
#include "features/pointer_backend.h"
#include "view/my_qquick_view.h"
#include "view/view_facade.h"
#include "store/scripted_file_dialogs.h"
#include "support/data_fixture.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class SilentTray : public TrayNotifier {
public:
    void showMessage(const QString&, const QString&, QSystemTrayIcon::MessageIcon, int) override {}
};

class ManualDeviceChanges : public DeviceChangeSource {
public:
    bool start() override { return true; }
};

class FixedWindows : public ActiveWindowSource {
public:
    bool start() override { return true; }
    QString unavailableReason() const override { return QString(); }
    QStringList runningPrograms() const override { return {}; }
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The program on a copy of the installed data, with a virtual mouse.
struct App {
    explicit App(Autostart* autostart, const QString& language = QString(), bool minimized = false)
    {
        if (!language.isEmpty()) {
            QSettings s(data.path(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
            s.setValue(QStringLiteral("common/language"), language);
        }
        mouse = std::make_unique<VirtualMouse>(clock, identityFromCatalogue(data.path(QStringLiteral("modules/setting/apConfig.bin"))));
        mouse->setWaitsForReports(true);
        WidgetSetup setup;
        setup.api = mouse.get();
        setup.clock = &clock;
        setup.dataRoot = data.root();
        setup.viewFactory = [this](QWidget* window) { return new myQQuickView(data.root(), &dialogs, nullptr, window); };
        setup.deviceChanges = std::make_unique<ManualDeviceChanges>();
        setup.activeWindows = std::make_unique<FixedWindows>();
        setup.notifier = &tray;
        setup.checkIntervalMs = 0;
        setup.powerOnFirst = true;
        setup.autostart = autostart;
        setup.startMinimized = minimized;
        widget = std::make_unique<Widget>(std::move(setup));
    }
    ~App() { widget.reset(); }

    QAction* action(const char* name) const
    {
        for (QAction* a : widget->trayMenu()->actions())
            if (a->objectName() == QLatin1String(name))
                return a;
        return nullptr;
    }

    DataFixture data;
    VirtualClock clock;
    std::unique_ptr<VirtualMouse> mouse;
    ScriptedFileDialogs dialogs;
    SilentTray tray;
    std::unique_ptr<Widget> widget;
};

} // namespace

class TstAutostart : public QObject {
    Q_OBJECT
private slots:
    void init();
    void writesAndRemovesTheEntry();
    void entryTurnedOffByTheDesktopCountsAsOff();
    void failedWriteChangesNothing();
    void execQuoting_data();
    void execQuoting();
    void controllerAndTrayFollowTheEntry();
    void trayTextsFollowTheLanguage();
    void minimizedStartConnectsWithoutShowingTheWindow();

private:
    std::unique_ptr<QTemporaryDir> m_config;
    QString entryPath() const { return m_config->filePath(QStringLiteral("autostart/" STRYDE_APP_ID ".desktop")); }
};

void TstAutostart::init()
{
    // Never the entries of whoever runs the tests.
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
}

void TstAutostart::writesAndRemovesTheEntry()
{
    Autostart autostart(QStringLiteral("/opt/korvex/bin/stryde"), {QStringLiteral("--data-dir"), QStringLiteral("/data/my mouse")});
    QCOMPARE(autostart.location(), entryPath());
    QVERIFY(!autostart.isEnabled());
    QSignalSpy changed(&autostart, &Autostart::enabledChanged);

    QVERIFY(autostart.setEnabled(true));
    QVERIFY(autostart.isEnabled());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), true);
    const QString text = QString::fromUtf8(readFile(entryPath()));
    QVERIFY2(text.startsWith(QStringLiteral("[Desktop Entry]\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("\nExec=/opt/korvex/bin/stryde --minimized --data-dir \"/data/my mouse\"\n")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("\nIcon=" STRYDE_APP_ID "\n")));
    // The entry is one the desktop accepts.
    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validate.isEmpty()) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(validate, {entryPath()});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY2(p.exitCode() == 0 && p.readAll().trimmed().isEmpty(), "desktop-file-validate complains");
    }

    // Writing it again keeps it on and says nothing new.
    QVERIFY(autostart.setEnabled(true));
    QCOMPARE(changed.size(), 1);

    QVERIFY(autostart.setEnabled(false));
    QVERIFY(!QFileInfo::exists(entryPath()));
    QVERIFY(!autostart.isEnabled());
    QCOMPARE(changed.size(), 2);
    QVERIFY(autostart.setEnabled(false));       // nothing to remove: still fine
    QCOMPARE(changed.size(), 2);
}

void TstAutostart::entryTurnedOffByTheDesktopCountsAsOff()
{
    Autostart autostart(QStringLiteral("/usr/bin/stryde"));
    for (const char* off : {"Hidden=true", "X-GNOME-Autostart-enabled=false"}) {
        QVERIFY(autostart.setEnabled(true));
        QFile f(entryPath());
        QVERIFY(f.open(QIODevice::Append));
        f.write(QByteArray(off) + '\n');
        f.close();
        QVERIFY2(!autostart.isEnabled(), off);
        // Switching on again writes a fresh entry.
        QVERIFY(autostart.setEnabled(true));
        QVERIFY(autostart.isEnabled());
        QVERIFY(autostart.setEnabled(false));
    }
}

void TstAutostart::failedWriteChangesNothing()
{
    // The autostart folder cannot be made: a file stands in its place.
    QFile blocker(m_config->filePath(QStringLiteral("autostart")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Autostart autostart(QStringLiteral("/usr/bin/stryde"));
    QSignalSpy changed(&autostart, &Autostart::enabledChanged);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write the start-at-login entry")));
    QVERIFY(!autostart.setEnabled(true));
    QVERIFY(!autostart.isEnabled());
    QCOMPARE(changed.size(), 0);
}

void TstAutostart::execQuoting_data()
{
    QTest::addColumn<QStringList>("commandLine");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << QStringList{"/usr/bin/stryde", "--minimized"} << "/usr/bin/stryde --minimized";
    QTest::newRow("space") << QStringList{"/home/a b/stryde"} << "\"/home/a b/stryde\"";
    // Inside quotes " ` $ \ take a backslash, and the string value doubles every backslash.
    QTest::newRow("reserved") << QStringList{"/x/$HOME/\"q\"/a\\b"} << "\"/x/\\\\$HOME/\\\\\"q\\\\\"/a\\\\\\\\b\"";
    QTest::newRow("percent") << QStringList{"/x/100%/stryde"} << "/x/100%%/stryde";
    QTest::newRow("empty argument") << QStringList{"/usr/bin/stryde", ""} << "/usr/bin/stryde \"\"";
}

void TstAutostart::execQuoting()
{
    QFETCH(QStringList, commandLine);
    QFETCH(QString, exec);
    QCOMPARE(Autostart::desktopExec(commandLine), exec);
}

void TstAutostart::controllerAndTrayFollowTheEntry()
{
    Autostart autostart(QStringLiteral("/usr/bin/stryde"));
    App app(&autostart);
    Ui_Controler* ctl = app.widget->controller();
    QAction* toggle = app.action("startAtLoginAction");
    QAction* note = app.action("startAtLoginNote");
    QVERIFY(toggle && note);
    QVERIFY(toggle->isCheckable() && !toggle->isChecked());
    QCOMPARE(toggle->text(), QStringLiteral("Start at login"));
    QCOMPARE(note->text(), QStringLiteral("Per-program profiles and DPI notices need the program running."));
    QVERIFY(!note->isEnabled());
    QCOMPARE(toggle->toolTip(), note->text());
    QCOMPARE(app.widget->trayMenu()->actions().last()->text(), QStringLiteral("Quit (&Q)"));
    QCOMPARE(ctl->property("startAtLogin").toBool(), false);
    QSignalSpy ctlChanged(ctl, &Ui_Controler::startAtLoginChanged);

    // The tray switch writes the entry; the window's switch shows it.
    toggle->trigger();
    QVERIFY(QFileInfo::exists(entryPath()));
    QVERIFY(toggle->isChecked());
    QCOMPARE(ctl->property("startAtLogin").toBool(), true);
    QVERIFY(ctlChanged.size() >= 1);

    // The window's switch (what the help menu calls) removes it; the tray follows.
    QVERIFY(QMetaObject::invokeMethod(ctl, "setStartAtLogin", Q_ARG(bool, false)));
    QVERIFY(!QFileInfo::exists(entryPath()));
    QVERIFY(!toggle->isChecked());
    QCOMPARE(ctl->property("startAtLogin").toBool(), false);

    // A write that fails leaves both switches off.
    QVERIFY(QDir(m_config->filePath(QStringLiteral("autostart"))).removeRecursively());
    QFile blocker(m_config->filePath(QStringLiteral("autostart")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write the start-at-login entry")));
    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    QCOMPARE(ctl->property("startAtLogin").toBool(), false);
}

void TstAutostart::trayTextsFollowTheLanguage()
{
    Autostart autostart(QStringLiteral("/usr/bin/stryde"));
    App app(&autostart, QStringLiteral("ChineseSimplified"));
    QCOMPARE(app.action("startAtLoginAction")->text(), QStringLiteral("登录时启动"));
    QVERIFY(app.action("startAtLoginNote")->text().contains(QStringLiteral("DPI")));

    // Without a switch to manage, the tray offers none.
    App without(nullptr);
    QVERIFY(!without.action("startAtLoginAction"));
    QCOMPARE(without.widget->controller()->property("startAtLogin").toBool(), false);
}

void TstAutostart::minimizedStartConnectsWithoutShowingTheWindow()
{
    Autostart autostart(QStringLiteral("/usr/bin/stryde"));
    App app(&autostart, QString(), true);
    app.widget->start();
    // Connected at once, with the pages built, and nothing in front of the user.
    QVERIFY(app.widget->pagesLoaded());
    QVERIFY(app.widget->hid().deviceConnected());
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QVERIFY(!app.widget->isVisible());
    else
        QVERIFY(app.widget->isMinimized());
}

QTEST_MAIN(TstAutostart)
#include "tst_autostart.moc"
