// The running program against the virtual mouse: connect, the listener's DPI
// notices and removal, device-change debouncing, restore rules, single instance.

#include "app/app_rules_watcher.h"
#include "app/device_change.h"
#include "app/single_instance.h"
#include "app/tray_notifier.h"
#include "app/tray_presence.h"
#include "app/ui_controler.h"
#include "app/widget.h"
#include "app/window_activation.h"
#include "app/window_menu.h"
#include "device/clock.h"
#include "device/virtual_mouse.h"
#include "features/backup_folder.h"
#include "features/mouse_backup.h"
#include "features/pointer_backend.h"
#include "view/my_qquick_view.h"
#include "view/view_facade.h"
#include "store/settings_store.h"
#include "store/scripted_file_dialogs.h"
#include "support/data_fixture.h"

#include <QMap>
#include <QMenu>
#include <QProcess>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentRun>
#include <QtTest>

namespace {

class RecordingTray : public TrayNotifier {
public:
    QStringList texts;
    void showMessage(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon, int ms) override
    {
        QCOMPARE(ms, 10000);
        texts << title + QLatin1Char('|') + text;
    }
};

// A tray that comes and goes as the test says.
class ScriptedTray : public TrayPresence {
public:
    explicit ScriptedTray(bool available) : m_available(available) {}
    bool isAvailable() const override { return m_available; }
    void start() override {}
    void set(bool available)
    {
        m_available = available;
        emit availabilityChanged(available);
    }
private:
    bool m_available;
};

class ManualDeviceChanges : public DeviceChangeSource {
public:
    bool start() override { return true; }
};

// The program in front, as the test says.
class ScriptedWindows : public ActiveWindowSource {
public:
    bool start() override { return true; }
    QString unavailableReason() const override { return QString(); }
    QStringList runningPrograms() const override { return {}; }
    void bringToFront(const QString& program, qint64 pid = 77)
    {
        ActiveWindow w;
        w.id = ++m_id;
        w.pid = pid;
        w.program = program;
        emit activeWindowChanged(w);
    }
private:
    quint64 m_id = 0x400000;
};

// One running program on a copy of the installed data, with a virtual mouse.
struct App {
    explicit App(int family = 553, bool gun = false, bool demoMenu = false, bool powerOnFirst = false,
                 bool trayAtStart = true)
    {
        QSettings s(data.path(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
        s.setValue(QStringLiteral("mouse/icType"), QString::number(family));
        s.setValue(QStringLiteral("mouse/isGun"), gun);
        s.sync();
        mouse = std::make_unique<VirtualMouse>(clock, identityFromCatalogue(data.path(QStringLiteral("modules/setting/apConfig.bin"))));
        mouse->setWaitsForReports(true);
        auto changes = std::make_unique<ManualDeviceChanges>();
        deviceChanges = changes.get();
        WidgetSetup setup;
        setup.api = mouse.get();
        setup.clock = &clock;
        setup.dataRoot = data.root();
        setup.viewFactory = [this](QWidget* window) {
            return new myQQuickView(data.root(), &dialogs, nullptr, window);
        };
        setup.deviceChanges = std::move(changes);
        auto front = std::make_unique<ScriptedWindows>();
        windows = front.get();
        setup.activeWindows = std::move(front);
        setup.notifier = &tray;
        setup.desktopNotifier = &desktop;
        auto presence = std::make_unique<ScriptedTray>(trayAtStart);
        trayHost = presence.get();
        setup.trayPresence = std::move(presence);
        setup.checkIntervalMs = 0;
        if (demoMenu)
            setup.virtualMouse = mouse.get();
        setup.powerOnFirst = powerOnFirst;
        setup.warningBox = [this](const QString& title, const QString& text) { warnings << title + QLatin1Char('|') + text; };
        setup.confirmBox = [this](const QString& title, const QString& text) {
            questions << title + QLatin1Char('|') + text;
            return confirm;
        };
        widget = std::make_unique<Widget>(std::move(setup));
    }
    // Replaces the interface with a root that records the calls it receives.
    void recordRootCalls()
    {
        widget->view()->setSource(QUrl::fromLocalFile(QStringLiteral(STRYDE_SOURCE_DIR "/tests/data/root_probe.qml")));
    }
    ~App()
    {
        widget.reset();
    }

    QQuickItem* root() const { return widget->view()->rootObject(); }
    QVariant rootProperty(const char* name) const { return root()->property(name); }
    QStringList rootCalls() const { return rootProperty("log").toString().split(QLatin1Char(';'), Qt::SkipEmptyParts); }
    // "i" for every initUI and "r" for every run the root received, in order.
    QString startOrder() const
    {
        QString order;
        for (const QString& call : rootCalls()) {
            if (call == QLatin1String("initUI"))
                order += QLatin1Char('i');
            else if (call == QLatin1String("run"))
                order += QLatin1Char('r');
        }
        return order;
    }
    // The DPI stage index the interface shows.
    int currentStage() const
    {
        const QObject* dpi = root()->findChild<QObject*>(QStringLiteral("dpiSettingMain"));
        return dpi ? dpi->property("currentDPI").toInt() : -1;
    }
    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    // The interface locks itself for a while after initUI; end that now.
    void unlock()
    {
        QMetaObject::invokeMethod(root(), "setProtectUI", Q_ARG(QVariant, QVariant(0)));
        settle();
    }
    QList<int> commandsSent() const
    {
        QList<int> codes;
        for (const VirtualExchange& e : mouse->received())
            codes << uchar(e.frame.at(0));
        return codes;
    }

    DataFixture data;
    VirtualClock clock;
    std::unique_ptr<VirtualMouse> mouse;
    ScriptedFileDialogs dialogs;
    RecordingTray tray;
    RecordingTray desktop;          // the desktop notifications sent while no tray is there
    ScriptedTray* trayHost = nullptr;
    ManualDeviceChanges* deviceChanges = nullptr;
    ScriptedWindows* windows = nullptr;
    QStringList warnings;
    QStringList questions;
    bool confirm = false;       // the answer to every question
    std::unique_ptr<Widget> widget;
};

QStringList menuTexts(const QVariantList& entries)
{
    QStringList texts;
    for (const QVariant& e : entries) {
        const QVariantMap m = e.toMap();
        texts << (m.value(QStringLiteral("separator")).toBool() ? QStringLiteral("-") : m.value(QStringLiteral("text")).toString());
    }
    return texts;
}

QAction* trayAction(const App& app, const QString& text)
{
    for (QAction* a : app.widget->trayMenu()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

class TestApp : public QObject {
    Q_OBJECT
private slots:
    void connectOn553EnablesReportsAndStartsTheInterface()
    {
        App app(553);
        app.recordRootCalls();
        QVERIFY(app.root());
        app.widget->showNormal();
        app.widget->checkDevice();
        QVERIFY(app.widget->hid().deviceConnected());
        QVERIFY(app.widget->hid().isListening());
        QCOMPARE(app.tray.texts, QStringList{QStringLiteral("Info|Detect Device")});
        QCOMPARE(app.mouse->state().keyboardOptions[3] & 0x40, 0x40);
        // initUI and run are queued: nothing has run yet, then initUI before run.
        QCOMPARE(app.startOrder(), QString());
        app.settle();
        QCOMPARE(app.startOrder(), QStringLiteral("ir"));
        QVERIFY(app.widget->isVisible());
        QVERIFY(!app.commandsSent().contains(0x8C));
    }

    // The program's own start: the power-on logo is painted before the pages
    // are built, and the mouse found for it connects once they are.
    void startShowsThePowerOnLogoBeforeThePages()
    {
        App app(553, false, false, true);
        QCOMPARE(app.root()->objectName(), QStringLiteral("powerOn"));
        QCOMPARE(app.widget->size(), QSize(1024, 640));
        QSignalSpy ready(app.widget.get(), &Widget::pagesReady);
        app.widget->start();
        QVERIFY(app.widget->isVisible());
        QVERIFY(!app.widget->pagesLoaded());
        QVERIFY(!app.widget->hid().isListening());
        // Keys pressed meanwhile go nowhere (the logo has no pages to reach).
        Widget::keyboardCallback(0x04, 1, app.widget.get());
        // A device change meanwhile waits for the pages.
        app.widget->checkDevice();
        QVERIFY(!app.widget->hid().isListening());
        QCOMPARE(app.widget->deviceChecks(), 1);

        QTRY_COMPARE(ready.count(), 1);
        QVERIFY(app.root()->findChild<QQuickItem*>(QStringLiteral("leftPanel")));
        // Until the first lock the pages show the same logo, visible and busy.
        QVERIFY(app.root()->isVisible());
        QVERIFY(app.root()->findChild<QQuickItem*>(QStringLiteral("powerOnLogo"))->isVisible());
        QVERIFY(app.widget->hid().deviceConnected());
        QVERIFY(app.widget->hid().isListening());
        QCOMPARE(app.tray.texts, QStringList{QStringLiteral("Info|Detect Device")});
        QTRY_VERIFY(app.rootProperty("isPownOn").toBool());
        QCOMPARE(app.widget->deviceChecks(), 1);
    }

    void startWithoutMouseBuildsThePagesAndStaysInTheTray()
    {
        App app(553, false, false, true);
        app.mouse->unplug();
        QSignalSpy ready(app.widget.get(), &Widget::pagesReady);
        app.widget->start();
        QCOMPARE(ready.count(), 1);
        QVERIFY(app.root()->findChild<QQuickItem*>(QStringLiteral("leftPanel")));
        QVERIFY(!app.widget->isVisible());
        QVERIFY(!app.widget->hid().deviceConnected());
        // Plugged in later: the usual check connects it.
        app.mouse->plug();
        app.widget->checkDevice();
        QVERIFY(app.widget->hid().isListening());
    }

    // Without a tray the window is the program: it shows while it waits for
    // the mouse, offers the tray menu, sends the notices to the desktop, and
    // its close ends the program.
    void withoutATrayTheWindowStandsAlone()
    {
        App app(553, false, true, true, false);
        app.mouse->unplug();
        app.widget->start();
        QVERIFY(app.widget->isVisible());
        QVERIFY(app.widget->controller()->waitingForMouse());
        QQuickItem* root = app.root();
        QTRY_VERIFY(root->isVisible());
        auto shown = [&](const char* name) {
            const QQuickItem* i = root->findChild<QQuickItem*>(QLatin1String(name));
            return i && i->isVisible();
        };
        QVERIFY(shown("waitingMain") && shown("upItem") && !shown("leftPanel") && !shown("powerOnLogo")
                && !shown("profileList"));
        QVERIFY(app.tray.texts.isEmpty() && app.desktop.texts.isEmpty());

        // The tray menu, in the window, plugs the mouse in: the pages take over.
        const QStringList menu{QStringLiteral("Press DPI button"), QStringLiteral("Unplug"), QStringLiteral("Plug in"),
                               QStringLiteral("-"), QStringLiteral("Restore mouse backup…"), QStringLiteral("Quit (Q)")};
        QCOMPARE(menuTexts(app.widget->controller()->menuEntries()), menu);
        app.widget->controller()->triggerMenuEntry(2);
        QTRY_VERIFY(app.widget->hid().isListening());
        QVERIFY(!app.widget->controller()->waitingForMouse());
        QTRY_VERIFY(shown("leftPanel"));
        QVERIFY(!shown("waitingMain"));
        QCOMPARE(app.desktop.texts, QStringList{QStringLiteral("Info|Detect Device")});

        app.desktop.texts.clear();
        app.widget->controller()->triggerMenuEntry(0);      // Press DPI button
        QTRY_COMPARE(app.desktop.texts.size(), 1);
        QCOMPARE(app.desktop.texts.first(), QStringLiteral("Info|") + app.widget->hid().dpiSwitchTexts().at(1) + QLatin1Char(' '));
        QVERIFY(app.tray.texts.isEmpty());

        // Unplugged, the window stays and waits again, and takes clicks.
        app.widget->controller()->triggerMenuEntry(1);
        QTRY_VERIFY(app.widget->controller()->waitingForMouse());
        QVERIFY(app.widget->isVisible());
        QVERIFY(app.widget->view()->isEnabled());
        QVERIFY(shown("waitingMain") && !shown("leftPanel"));
        // A second start brings the window forward even without a mouse.
        app.widget->hide();
        app.widget->receiveMessage(QString());
        QTRY_VERIFY(app.widget->isVisible());

        app.widget->controller()->triggerMenuEntry(2);
        QTRY_VERIFY(app.widget->hid().isListening());
        app.widget->controller()->onClose();
        QVERIFY(!app.widget->hid().isListening());          // the program ends (exitSYS)
    }

    // The tray can come later and go again: the window follows it.
    void theWindowFollowsTheTray()
    {
        App app(553, false, true, true, false);
        app.widget->start();
        QTRY_VERIFY(app.widget->hid().isListening());
        QCOMPARE(app.widget->windowMenu()->entries().size(), 6);

        app.trayHost->set(true);
        QVERIFY(app.widget->windowMenu()->entries().isEmpty());
        QVERIFY(app.widget->isVisible());
        app.tray.texts.clear();
        app.desktop.texts.clear();
        app.mouse->pressDpiButton();
        QTRY_COMPARE(app.tray.texts.size(), 1);
        QVERIFY(app.desktop.texts.isEmpty());
        // With a tray a close (the window system's too) hides the window.
        app.widget->close();
        QVERIFY(!app.widget->isVisible());
        QVERIFY(app.widget->hid().isListening());

        // The tray is gone: the window comes back out of it.
        app.trayHost->set(false);
        QVERIFY(app.widget->isVisible());
        QCOMPARE(app.widget->windowMenu()->entries().size(), 6);
        app.widget->close();
        QVERIFY(!app.widget->hid().isListening());
    }

    void windowMenuMirrorsTheTrayMenu()
    {
        QAction a(QStringLiteral("&Start at login")), b(QStringLiteral("Restore && keep")), c(QStringLiteral("Quit (&Q)"));
        a.setCheckable(true);
        a.setChecked(true);
        WindowMenu menu;
        QSignalSpy changed(&menu, &WindowMenu::entriesChanged);
        menu.addSeparator();                    // nothing before it: not shown
        menu.add(&a, WindowMenu::Shown::Always);
        menu.addSeparator();
        menu.add(&b);
        menu.addSeparator();
        menu.add(&c);
        QCOMPARE(menuTexts(menu.entries()), QStringList{QStringLiteral("Start at login")});
        QVERIFY(menu.entries().first().toMap().value(QStringLiteral("checked")).toBool());
        menu.setTrayAvailable(false);
        QCOMPARE(menuTexts(menu.entries()), (QStringList{QStringLiteral("Start at login"), QStringLiteral("-"),
                                                         QStringLiteral("Restore & keep"), QStringLiteral("-"),
                                                         QStringLiteral("Quit (Q)")}));
        b.setVisible(false);
        QCOMPARE(menuTexts(menu.entries()), (QStringList{QStringLiteral("Start at login"), QStringLiteral("-"),
                                                         QStringLiteral("Quit (Q)")}));
        c.setEnabled(false);
        QVERIFY(!menu.entries().last().toMap().value(QStringLiteral("enabled")).toBool());
        const int before = changed.count();
        a.setText(QStringLiteral("Start at &login"));
        QCOMPARE(changed.count(), before + 1);

        // Chosen entries run on the next turn of the event loop; separators and disabled ones never.
        QSignalSpy triggered(&a, &QAction::triggered);
        QSignalSpy quit(&c, &QAction::triggered);
        QVERIFY(menu.trigger(0));
        QVERIFY(!menu.trigger(1));
        QVERIFY(!menu.trigger(2));
        QVERIFY(!menu.trigger(3));
        QCOMPARE(triggered.count(), 0);
        QTRY_COMPARE(triggered.count(), 1);
        QCOMPARE(quit.count(), 0);
    }

    void connectOn560ReadsProfileBlocks_data()
    {
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QList<int>>("blocks");
        QTest::newRow("no recoil presets") << false << QList<int>{0, 1};
        QTest::newRow("recoil presets") << true << QList<int>{0, 1, 2, 3, 4};
    }
    void connectOn560ReadsProfileBlocks()
    {
        QFETCH(bool, gun);
        QFETCH(QList<int>, blocks);
        App app(560, gun);
        VirtualMouseState st = app.mouse->state();
        st.profileBlocks[1][84] = 0x42;
        st.currentProfile = 3;
        app.mouse->setState(st);
        app.widget->checkDevice();
        QCOMPARE(app.mouse->state().keyboardOptions[0] & 0x08, 0x08);
        // The backup before the first write (turning reports on) reads every
        // block; the connect's own reads follow that write.
        QList<int> read;
        bool written = false;
        for (const VirtualExchange& e : app.mouse->received()) {
            written = written || uchar(e.frame.at(0)) == 0x01;
            if (written && uchar(e.frame.at(0)) == 0x8C)
                read << uchar(e.frame.at(1));
        }
        QCOMPARE(read, blocks);
        QCOMPARE(app.widget->view()->facade()->featureContext().blocks.block(1)->at(84), uchar(0x42));
        QVERIFY(app.widget->view()->facade()->featureContext().blocks.wasRead());
        // The interface starts the mouse on its first profile.
        app.settle();
        QCOMPARE(int(app.mouse->state().currentProfile), 1);
    }

    // A failed keyboard-option read must not overwrite the mouse's options with guesses.
    void unreadableOptionsAreNotWritten()
    {
        App app(553);
        VirtualMouseState st = app.mouse->state();
        st.keyboardOptions = {1, 2, 3, 4};
        app.mouse->setState(st);
        VirtualFaults f;
        f.noAnswer = true;
        app.mouse->setFaults(f);
        // With no answer the handshake fails too: connect by hand.
        app.widget->hid().scanDevices(app.data.path(QStringLiteral("modules/setting/apConfig.bin")));
        QTest::ignoreMessage(QtDebugMsg, "keyboard option not read; reports not enabled");
        app.widget->hid().startListen(1, false);
        QVERIFY(app.commandsSent().contains(0x83));
        QVERIFY(!app.commandsSent().contains(0x03));
        QCOMPARE(int(app.mouse->state().keyboardOptions[3]), 4);
    }

    void dpiButtonReachesThePageAndTheTray_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }
    void dpiButtonReachesThePageAndTheTray()
    {
        QFETCH(int, family);
        App app(family);
        VirtualMouseState st = app.mouse->state();
        st.currentDpiStage = 2;
        st.profileDpiStages = {2, 2, 2, 2};
        st.currentProfile = 1;
        app.mouse->setState(st);
        app.widget->checkDevice();
        app.settle();
        app.tray.texts.clear();
        app.mouse->pressDpiButton();    // stage 2 -> 3
        QTRY_COMPARE(app.currentStage(), 2);
        QTRY_COMPARE(app.tray.texts.size(), 1);
        const QString entry2 = app.widget->hid().dpiSwitchTexts().at(2);
        QCOMPARE(app.tray.texts.first(), QStringLiteral("Info|") + entry2 + QLatin1Char(' '));
        // The language file's texts replaced the built-in ones when the page asked for "other".
        QVERIFY(entry2 != QStringLiteral("DPI Switch to"));
    }

    void unplugDisablesThenHidesAndReplugReconnects()
    {
        App app(553);
        app.recordRootCalls();
        app.widget->showNormal();
        app.widget->checkDevice();
        app.settle();
        app.unlock();
        QVERIFY(app.widget->view()->isEnabled());

        // The system reports the removal while the listener still runs: that starts nothing.
        const int checks = app.widget->deviceChecks();
        app.deviceChanges->notify();
        app.mouse->unplug();
        QTRY_VERIFY(!app.widget->hid().isListening());
        // Then the removal leads to one check that hides the window (it
        // shows the waiting screen, whose title bar takes clicks, when it
        // is brought back).
        QTRY_COMPARE(app.widget->deviceChecks(), checks + 1);
        QVERIFY(!app.widget->isVisible());
        QVERIFY(!app.widget->hid().deviceConnected());

        app.mouse->plug();
        app.deviceChanges->notify();
        app.settle();
        QVERIFY(app.widget->hid().deviceConnected());
        QVERIFY(app.widget->hid().isListening());
        QCOMPARE(app.startOrder(), QStringLiteral("irir"));
        app.unlock();
        QVERIFY(app.widget->view()->isEnabled());
        // Reconnecting does not show the window: the user asks for it.
        QVERIFY(!app.widget->isVisible());
    }

    // A burst of notifications is one check; none while the listener runs.
    void deviceChangesAreDebounced()
    {
        App app(553);
        app.mouse->unplug();
        app.widget->checkDevice();
        QCOMPARE(app.widget->deviceChecks(), 1);
        for (int i = 0; i < 5; ++i)
            app.deviceChanges->notify();
        app.settle();
        QCOMPARE(app.widget->deviceChecks(), 2);

        app.mouse->plug();
        app.deviceChanges->notify();
        app.settle();
        QCOMPARE(app.widget->deviceChecks(), 3);
        QVERIFY(app.widget->hid().isListening());
        for (int i = 0; i < 5; ++i)
            app.deviceChanges->notify();
        app.settle();
        QCOMPARE(app.widget->deviceChecks(), 3);
        QVERIFY(!app.widget->checkTimer().isActive());
    }

    // The pauses of a command let timers run. A device check that comes due
    // then must not free the link under the command; it runs afterwards.
    void aCheckDuringACommandWaitsForIt()
    {
        App app(553);
        app.widget->checkDevice();
        app.settle();
        QVERIFY(app.widget->hid().deviceConnected());
        const int checks = app.widget->deviceChecks();
        app.mouse->clearReceived();
        app.clock.setGuiFrameMs(16);
        app.widget->checkTimer().start();
        const QByteArray macro(128, '\x42');
        app.widget->hid().hid553_13H_SetMacroKey(2, reinterpret_cast<const uchar*>(macro.constData()));
        QCOMPARE(app.widget->deviceChecks(), checks);
        QCOMPARE(app.commandsSent(), QList<int>{0x13});
        QCOMPARE(app.mouse->received().at(0).payload, macro);
        QTRY_COMPARE(app.widget->deviceChecks(), checks + 1);
        QVERIFY(app.widget->hid().deviceConnected());
    }

    void restoreOnlyWhileConnected()
    {
        App app(553);
        app.recordRootCalls();
        app.mouse->unplug();
        app.widget->checkDevice();
        QVERIFY(!app.widget->isVisible());
        app.widget->trayIconActivated(QSystemTrayIcon::DoubleClick);
        app.widget->receiveMessage(QString());
        app.settle();
        QVERIFY(!app.widget->isVisible());

        app.mouse->plug();
        app.widget->checkDevice();
        app.widget->hide();
        app.widget->trayIconActivated(QSystemTrayIcon::Trigger);
        app.widget->trayIconActivated(QSystemTrayIcon::Context);
        app.settle();
        QVERIFY(!app.widget->isVisible());
        app.widget->trayIconActivated(QSystemTrayIcon::DoubleClick);
        app.settle();
        QVERIFY(app.widget->isVisible());
        app.widget->hide();
        app.widget->receiveMessage(QString());
        app.settle();
        QVERIFY(app.widget->isVisible());
        // A second start with its launcher's activation token, onto a minimized window.
        app.widget->showMinimized();
        app.widget->receiveMessage(activationMessage(QStringLiteral("token-1")));
        app.settle();
        QVERIFY(app.widget->isVisible());
        QVERIFY(!app.widget->isMinimized());
        QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
        QCOMPARE(app.startOrder(), QStringLiteral("ir"));
    }

    // What a second start sends: the token of its launcher, kept only when it is one line of printable text.
    void activationTokenOfAnInstanceMessage_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("token");
        QTest::newRow("token") << activationMessage(QStringLiteral("weston-7f3a_b.9")) << QStringLiteral("weston-7f3a_b.9");
        QTest::newRow("no token") << activationMessage(QString()) << QString();
        QTest::newRow("an older copy's empty message") << QString() << QString();
        QTest::newRow("copy-data text") << copyDataMessage(QStringLiteral("weston-7f3a")) << QString();
        QTest::newRow("other text") << QStringLiteral("weston-7f3a") << QString();
        QTest::newRow("two lines") << activationMessage(QStringLiteral("a\nb")) << QString();
        QTest::newRow("blank") << activationMessage(QStringLiteral("a b")) << QString();
    }

    void activationTokenOfAnInstanceMessage()
    {
        QFETCH(QString, message);
        QFETCH(QString, token);
        QCOMPARE(activationTokenOf(message), token);
    }

    void copyDataTextIsShownWithTheWindowTitle()
    {
        App app(553);
        app.widget->receiveMessage(copyDataMessage(QStringLiteral("hello")));
        QCOMPARE(app.warnings.size(), 1);
        QVERIFY(app.warnings.first().endsWith(QStringLiteral("|hello")));
        QVERIFY(app.warnings.first().startsWith(app.widget->windowTitle()));
    }

    void trayMenuOffersDemoControlsOnlyForTheVirtualMouse()
    {
        App app(553);
        QStringList texts;
        for (QAction* a : app.widget->trayMenu()->actions())
            texts << a->text();
        QCOMPARE(texts.last(), QStringLiteral("Quit (&Q)"));
        QVERIFY(!texts.contains(QStringLiteral("Unplug")));
    }

    // With the virtual mouse the tray menu plays the mouse's part.
    void demoMenuPressesUnplugsAndPlugs()
    {
        App app(553, false, true);
        QMap<QString, QAction*> actions;
        for (QAction* a : app.widget->trayMenu()->actions())
            actions.insert(a->text(), a);
        QVERIFY(actions.contains(QStringLiteral("Press DPI button")));
        app.widget->showNormal();
        app.widget->checkDevice();
        app.settle();
        app.tray.texts.clear();

        actions.value(QStringLiteral("Press DPI button"))->trigger();
        QTRY_COMPARE(app.tray.texts.size(), 1);
        QCOMPARE(app.currentStage(), 1);

        actions.value(QStringLiteral("Unplug"))->trigger();
        QTRY_VERIFY(!app.widget->hid().deviceConnected());
        QVERIFY(!app.widget->isVisible());

        actions.value(QStringLiteral("Plug in"))->trigger();
        QTRY_VERIFY(app.widget->hid().isListening());
        QVERIFY(app.widget->hid().deviceConnected());
    }

    void controllerMovesAndHidesTheWindow()
    {
        App app(553);
        Ui_Controler* c = app.widget->controller();
        app.widget->move(100, 80);
        const QPoint start = app.widget->pos();
        c->onXChanged(-15);
        QCOMPARE(app.widget->pos(), start + QPoint(-15, 0));
        c->onYChanged(20);
        QCOMPARE(app.widget->pos(), start + QPoint(-15, 20));
        app.widget->show();
        c->onClose();
        QVERIFY(!app.widget->isVisible());
        QCOMPARE(app.widget->size(), QSize(1024, 640));
        QVERIFY(app.widget->windowFlags() & Qt::FramelessWindowHint);
    }

    // The program itself: a second start hands over and exits with 1.
    void secondStartExitsWithOne()
    {
        DataFixture data;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("STRYDE_INSTANCE_ID"), QStringLiteral("stryde-e2e-%1").arg(QCoreApplication::applicationPid()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const QString exe = QStringLiteral(STRYDE_BIN_DIR "/stryde");
        const QStringList args{QStringLiteral("--virtual-mouse"), QStringLiteral("--data-dir"), data.root()};
        QProcess first;
        first.setProcessEnvironment(env);
        first.setProcessChannelMode(QProcess::MergedChannels);
        first.start(exe, args);
        QVERIFY(first.waitForStarted());
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += first.readAll()).contains("Device Connect"), 30000);
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(exe, args);
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    // The benchmark's probe runs any QML file the environment names inside
    // the window: only the benchmark's own build has it, the program ignores
    // STRYDE_BENCH_SCRIPT and prints no marks.
    void ignoresTheBenchmarkScript()
    {
#ifdef STRYDE_BENCH_PROBE_BUILT
        QSKIP("this build links the benchmark's probe into stryde");
#endif
        const QString exe = QStringLiteral(STRYDE_BIN_DIR "/stryde");
        QFile binary(exe);
        QVERIFY(binary.open(QIODevice::ReadOnly));
        QVERIFY2(!binary.readAll().contains("STRYDE_BENCH_SCRIPT"), "the probe is linked into stryde");

        DataFixture data;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString script = dir.filePath(QStringLiteral("quit.qml"));
        {
            QFile f(script);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("import QtQuick\nItem { Component.onCompleted: { bench.mark(\"ran\"); bench.quit(7) } }\n");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("STRYDE_INSTANCE_ID"), QStringLiteral("stryde-probe-%1").arg(QCoreApplication::applicationPid()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("STRYDE_BENCH_SCRIPT"), script);
        env.insert(QStringLiteral("STRYDE_BENCH_MARKS"), QStringLiteral("1"));
        const QString shot = dir.filePath(QStringLiteral("shot.png"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(exe, {QStringLiteral("--virtual-mouse"), QStringLiteral("--data-dir"), data.root(),
                      QStringLiteral("--screenshot"), shot, QStringLiteral("--quit-after-screenshot")});
        QVERIFY(p.waitForStarted());
        QVERIFY(p.waitForFinished(60000));
        const QByteArray out = p.readAll();
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(!out.contains("stryde-bench"), out.constData());
        QVERIFY2(QFile::exists(shot), out.constData());
    }

    // The tray's restore: a backup chosen in the backup folder, a question,
    // then the mouse written and the pages read again.
    void trayRestoresABackupAfterAsking()
    {
        App app(560);
        app.widget->checkDevice();
        app.settle();
        app.unlock();
        // Turning the mouse's reports on at connect was the run's first write.
        MouseBackup& backup = app.widget->view()->facade()->mouseBackup();
        const QString file = backup.lastBackup();
        const std::optional<BackupRecord> saved = BackupFolder::load(file);
        QVERIFY(saved);
        const MouseSnapshot before = saved->snapshot;
        VirtualMouseState changed = app.mouse->state();
        changed.profileBlocks[3].fill(0x33);
        changed.currentProfile = 4;
        app.mouse->setState(changed);
        QObject* dpi = app.root()->findChild<QObject*>(QStringLiteral("dpiSettingMain"));
        dpi->setProperty("isSave", true);
        QAction* restore = trayAction(app, QStringLiteral("Restore mouse backup…"));
        QVERIFY(restore);
        QCOMPARE(app.widget->trayMenu()->actions().last()->text(), QStringLiteral("Quit (&Q)"));

        // Cancelled in the file dialog, then answered "no": nothing is sent.
        app.mouse->clearReceived();
        app.dialogs.answers = QStringList{QString(), file};
        restore->trigger();
        QCOMPARE(app.dialogs.calls.size(), 1);
        QCOMPARE(app.dialogs.calls.first().dir, file);
        QVERIFY(app.questions.isEmpty());
        restore->trigger();
        QCOMPARE(app.questions.size(), 1);
        QVERIFY(app.questions.first().contains(QFileInfo(file).fileName()));
        QVERIFY(app.mouse->received().isEmpty());

        app.confirm = true;
        app.tray.texts.clear();
        app.dialogs.answers = QStringList{file};
        restore->trigger();
        const VirtualMouseState after = app.mouse->state();
        QVERIFY(after.profileBlocks[3] == before.profileBlocks[3]);
        QCOMPARE(after.currentProfile, before.currentProfile);
        QCOMPARE(after.keyboardOptions[0] & 0x08, 0x08);   // the window's reports are on again
        QVERIFY(!dpi->property("isSave").toBool());
        QVERIFY(app.widget->view()->isEnabled());
        QCOMPARE(app.tray.texts.size(), 1);
        QVERIFY2(app.tray.texts.first().startsWith(QStringLiteral("Restore mouse backup|the backup of ")), qPrintable(app.tray.texts.first()));
    }

    void blockThatDoesNotTakeIsShownInTheTray()
    {
        App app(560);
        app.widget->checkDevice();
        app.settle();
        QVERIFY(app.mouse->setOption(QStringLiteral("corruptBlock"), QStringLiteral("1")));
        app.tray.texts.clear();
        QTest::ignoreMessage(QtWarningMsg, "profile block 1 did not read back as written, also after it was written again");
        app.widget->view()->facade()->mouseSetProfile(1);
        QCOMPARE(app.tray.texts, QStringList{QStringLiteral(
            "Warning|The mouse did not take what was saved (profile block 1 reads back differently).")});
    }

    // Saves that do not take are told once a run, naming the folder. (A
    // folder in place of the profile's file stops root as well as a user.)
    void unwritableDataFolderIsToldOnce()
    {
        App app;
        app.widget->checkDevice();
        app.settle();
        app.tray.texts.clear();
        const QString slot = app.data.path(QStringLiteral("modules/setting/p1.bin"));
        QVERIFY(QFile::remove(slot) && QDir().mkpath(slot));
        app.widget->view()->facade()->setData(QStringLiteral("mouse/dpiCount"), 3);
        QTRY_COMPARE(app.tray.texts.size(), 1);
        const QString folder = QDir::toNativeSeparators(QFileInfo(slot).absolutePath());
        QVERIFY2(app.tray.texts.first().contains(folder), qPrintable(app.tray.texts.first()));
        QVERIFY(app.tray.texts.first().contains(QStringLiteral("cannot be written")));
        app.widget->view()->facade()->setData(QStringLiteral("mouse/dpiCount"), 4);
        app.widget->view()->facade()->resetProfile(0);
        app.settle();
        QCOMPARE(app.tray.texts.size(), 1);
    }

    void secondInstanceHandsOverItsMessage()
    {
        const QString id = QStringLiteral("stryde-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(id);
        QVERIFY(!first.isRunning());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        SingleInstance second(id);
        QVERIFY(second.isRunning());
        QFuture<bool> sent = QtConcurrent::run([id] {
            SingleInstance sender(id);
            return sender.isRunning() && sender.sendMessage(QStringLiteral("héllo"), 5000);
        });
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toString(), QStringLiteral("héllo"));
        sent.waitForFinished();
        QVERIFY(sent.result());
    }

    // The program in front switches through the interface's own profile
    // switch; the tray names the profile and why; a dialog holds the switch
    // back; the user's choice and the program's own window are left alone.
    void programInFrontChoosesTheProfile()
    {
        App app(553);
        QVERIFY(app.data.writeFile(QStringLiteral("modules/setting/name.bin"), "[profile]\nprofileName=Standard0, Game1\n"));
        QVERIFY(app.data.writeFile(QStringLiteral("modules/setting/apps.bin"), "[programs]\nkrita=1\n"));
        app.widget->checkDevice();
        app.settle();
        app.unlock();
        AppRulesWatcher& rules = app.widget->appRules();
        const QString tray = QStringLiteral("KORVEX STRYDE MOUSE Z74\n");
        auto front = [&](const QString& program, qint64 pid = 77) {
            app.windows->bringToFront(program, pid);
            app.clock.advance(ProfileAutoSwitch::SettleMs);
            rules.switcher().poll();
            app.settle();
        };
        auto dpiTables = [&] { return int(app.commandsSent().count(0x11)); };
        QObject* mask = app.root()->findChild<QObject*>(QStringLiteral("mainMask"));
        QVERIFY(mask);

        // A dialog is open: the switch waits until it closes.
        mask->setProperty("visible", true);
        front(QStringLiteral("Krita"));
        QCOMPARE(app.rootProperty("profileNo").toInt(), 0);
        QVERIFY(rules.switcher().isPending());
        mask->setProperty("visible", false);
        app.clock.advance(ProfileAutoSwitch::RetryMs);
        rules.switcher().poll();
        app.settle();
        QCOMPARE(app.rootProperty("profileNo").toInt(), 1);
        QCOMPARE(app.widget->view()->facade()->store().currentProfile(), 1);
        QCOMPARE(dpiTables(), 1);
        QCOMPARE(app.widget->trayIcon()->toolTip(), tray + QStringLiteral("Game — for krita"));

        // The program's own window and a return to krita change nothing.
        front(QStringLiteral("stryde"), QCoreApplication::applicationPid());
        front(QStringLiteral("krita"));
        QCOMPARE(dpiTables(), 1);

        // The user picks the standard profile: leaving krita keeps it.
        QVERIFY(QMetaObject::invokeMethod(app.root(), "switchProfile", Q_ARG(QVariant, QVariant(0))));
        app.settle();
        QCOMPARE(app.widget->trayIcon()->toolTip(), tray + QStringLiteral("Standard"));
        front(QStringLiteral("bash"));
        QCOMPARE(app.rootProperty("profileNo").toInt(), 0);
        QCOMPARE(dpiTables(), 2);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
