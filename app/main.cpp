// stryde: the KORVEX STRYDE configuration utility.

#include "app/app_id.h"
#include "app/app_log.h"
#include "app/autostart.h"
#include "app/font_fallbacks.h"
#include "app/single_instance.h"
#include "app/window_activation.h"
#include "app/widget.h"
#include "device/clock.h"
#include "device/hid_api_system.h"
#include "device/tracing_hid_api.h"
#include "device/virtual_mouse.h"
#include "input/fallback_capture.h"
#include "input/input_hooks.h"
#include "store/data_location.h"
#include "view/my_qquick_view.h"
#include "view/view_facade.h"
#include "store/settings_store.h"
#ifdef STRYDE_BENCH_PROBE
#include "bench/bench_probe.h"
#endif

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWindow>
#include <memory>

namespace {

void setApplicationNames()
{
    QCoreApplication::setApplicationName(QLatin1String(DataLocation::kApplicationName));
    QCoreApplication::setApplicationVersion(QStringLiteral(STRYDE_VERSION));
}

} // namespace

int main(int argc, char** argv)
{
    // Read before the window system is set up, which may take it for a window of ours.
    const QString activationToken = startupActivationToken();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("KORVEX STRYDE configuration utility"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption virtualOption(QStringLiteral("virtual-mouse"),
        QStringLiteral("Use the virtual mouse instead of the USB devices."));
    const QCommandLineOption familyOption(QStringLiteral("family"),
        QStringLiteral("Command family of the virtual mouse (553 or 560; default: the catalogue's mouse/icType)."),
        QStringLiteral("553|560"));
    const QCommandLineOption dataOption(QStringLiteral("data-dir"),
        QStringLiteral("Folder holding modules/ (default: the program's folder when it holds a writable modules/, "
                       "else the user's data folder, filled from the installed defaults)."), QStringLiteral("DIR"));
    const QCommandLineOption messageOption(QStringLiteral("message"),
        QStringLiteral("Show TEXT in a warning box of the running instance."), QStringLiteral("TEXT"));
    const QCommandLineOption traceOption(QStringLiteral("hid-trace"),
        QStringLiteral("Write every HID call to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window to FILE a few seconds after start-up."), QStringLiteral("FILE"));
    const QCommandLineOption quitOption(QStringLiteral("quit-after-screenshot"),
        QStringLiteral("End the program once the screenshot is saved."));
    const QCommandLineOption virtualOptionOption(QStringLiteral("virtual-option"),
        QStringLiteral("Change the virtual mouse, as stryde-cli's option of the same name (e.g. plugged=false: "
                       "it starts unplugged)."), QStringLiteral("KEY=VALUE"));
    const QCommandLineOption gunEditorOption(QStringLiteral("show-gun-editor"),
        QStringLiteral("Show the Gun Editor entry (hidden by default) in the editor box."));
    const QCommandLineOption minimizedOption(QLatin1String(Autostart::kMinimizedOption),
        QStringLiteral("Start in the tray (minimized where there is no tray), as the start-at-login entry does."));
    parser.addOptions({virtualOption, familyOption, dataOption, messageOption, traceOption, screenshotOption, quitOption,
                       gunEditorOption, minimizedOption, virtualOptionOption});

    // --help and --version need no display: they are answered before the
    // window system is opened (Qt's own options are not known yet, so a
    // command line that does not parse here is left to the full check below).
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (parser.parse(arguments)
        && (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))
            || parser.isSet(QStringLiteral("version")))) {
        QCoreApplication core(argc, argv);
        setApplicationNames();
        parser.process(core);       // prints and ends the program
        return 0;
    }

    QApplication app(argc, argv);
    setApplicationNames();
    // The compositor finds the window's icon and name through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(STRYDE_APP_ID));
    // Closing the window only hides it: the program lives on in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    installFontFallbacks();
    parser.process(app);
    const QString startDir = QDir::currentPath();

    SingleInstance instance;
    if (instance.isRunning()) {
        const QString message = parser.isSet(messageOption) ? copyDataMessage(parser.value(messageOption))
                                                            : activationMessage(activationToken);
        instance.sendMessage(message, 5000);
        return 1;
    }
    if (parser.isSet(messageOption))
        qCInfo(lcApp) << "no running instance to show the message";

    // Every data path is relative to the folder that holds modules/.
    const DataLocation location = DataLocation::choose(parser.value(dataOption));
    QString dataError;
    if (!location.prepare(&dataError)) {
        qCCritical(lcApp).noquote() << dataError;
        return 2;
    }
    if (!QDir::setCurrent(location.root)) {
        qCCritical(lcApp) << "cannot use the data folder" << location.root;
        return 2;
    }
    const QString apConfig = QStringLiteral("./modules/setting/apConfig.bin");
    // Before the catalogue is read: a damaged one is started afresh.
    SettingsStore::tidyDataFolder(QStringLiteral("."));

#ifdef STRYDE_BENCH_PROBE
    // Measurements may let the virtual mouse's pauses pass on a virtual clock.
    const BenchOptions bench = BenchOptions::fromEnvironment();
    const bool virtualClock = bench.virtualClock && parser.isSet(virtualOption);
#else
    const bool virtualClock = false;
#endif
    SystemClock systemClock;
    VirtualClock pauseFreeClock;
    Clock& clock = virtualClock ? static_cast<Clock&>(pauseFreeClock) : systemClock;
    if (virtualClock)
        pauseFreeClock.setGuiFrameMs(16);   // the window still paints during a pause
    std::unique_ptr<VirtualMouse> virtualMouse;
    std::unique_ptr<HidApiSystem> systemApi;
    HidApi* api = nullptr;
    QString virtualState;
    if (parser.isSet(virtualOption)) {
        VirtualMouseIdentity id = identityFromCatalogue(apConfig);
        if (parser.isSet(familyOption))
            id.family = parser.value(familyOption) == QLatin1String("560") ? 560 : 553;
        virtualMouse = std::make_unique<VirtualMouse>(clock, id);
        // Nothing here reads what the demo mouse received: a long session keeps only the newest.
        virtualMouse->setLogLimit(256);
        if (virtualClock)
            virtualMouse->setWaitsForReports(true);     // the listener's reads still wait in real time
        // The demo mouse remembers what was uploaded to it between runs.
        virtualState = QStringLiteral("./modules/setting/virtualMouse%1.json").arg(id.family);
        if (QFileInfo::exists(virtualState) && !virtualMouse->loadState(virtualState))
            qCWarning(lcApp) << "the virtual mouse's saved state" << virtualState << "is damaged; starting afresh";
        for (const QString& kv : parser.values(virtualOptionOption)) {
            const int eq = kv.indexOf(QLatin1Char('='));
            QString why;
            if (eq <= 0 || !virtualMouse->setOption(kv.left(eq), kv.mid(eq + 1), &why)) {
                qCCritical(lcApp).noquote() << "bad --virtual-option" << kv + ":"
                                            << (why.isEmpty() ? QStringLiteral("expected KEY=VALUE") : why);
                return 2;
            }
        }
        api = virtualMouse.get();
    } else {
        if (parser.isSet(virtualOptionOption)) {
            qCCritical(lcApp) << "--virtual-option needs --virtual-mouse";
            return 2;
        }
        systemApi = std::make_unique<HidApiSystem>();
        api = systemApi.get();
    }
    std::unique_ptr<TracingHidApi> tracer;
    if (parser.isSet(traceOption)) {
        tracer = std::make_unique<TracingHidApi>(*api, clock);
        if (tracer->openFile(parser.value(traceOption)))
            api = tracer.get();
        else
            qCWarning(lcApp) << "cannot write the HID trace" << parser.value(traceOption);
    }

    WidgetSetup setup;
    setup.api = api;
    setup.clock = &clock;
    setup.virtualMouse = virtualMouse.get();
    // The power-on logo is on screen before the pages are built.
    setup.powerOnFirst = true;
    // The start-at-login entry starts the program as it was started now,
    // with its data folder when one was given.
    Autostart autostart(QCoreApplication::applicationFilePath(),
                        location.source == DataLocation::Source::Option
                            ? QStringList{QStringLiteral("--data-dir"), location.root} : QStringList());
    setup.autostart = &autostart;
    setup.startMinimized = parser.isSet(minimizedOption);
    auto widget = std::make_unique<Widget>(std::move(setup));
    QObject::connect(&instance, &SingleInstance::messageReceived, widget.get(), &Widget::receiveMessage);

    // Keys and buttons pressed anywhere reach the pages (macro recording, key capture).
    InputHooks hooks(0);
    const bool systemWide = hooks.installInputHooks();
    hooks.setKeyboardCallback(&Widget::keyboardCallback, widget.get());
    hooks.setMouseCallback(&Widget::mouseCallback, widget.get());
    hooks.installCopyDataFilter(&Widget::copyDataCallback, &app, widget.get());
    std::unique_ptr<FallbackCapture> fallback;
    if (!systemWide) {
        // Without system-wide capture (Wayland, no XInput2) the window's own events still count.
        widget->winId();
        fallback = std::make_unique<FallbackCapture>(hooks);
        widget->windowHandle()->installEventFilter(fallback.get());
    }

    widget->facade()->setShowGunEditor(parser.isSet(gunEditorOption));
#ifdef STRYDE_BENCH_PROBE
    std::unique_ptr<BenchProbe> probe;
    if (bench.enabled())
        probe = std::make_unique<BenchProbe>(bench, widget->view(), [&clock] { return clock.nowMs(); });
    QObject::connect(widget.get(), &Widget::pagesReady, widget.get(), [&probe] {
        if (probe && !probe->startScript())
            QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(3); }, Qt::QueuedConnection);
    });
#endif

    widget->start();

    if (parser.isSet(screenshotOption)) {
        const QString file = QDir(startDir).absoluteFilePath(parser.value(screenshotOption));
        const bool quit = parser.isSet(quitOption);
        QTimer::singleShot(3000, widget.get(), [&widget, file, quit] {
            if (widget->grab().save(file))
                qCInfo(lcApp).noquote() << "screenshot saved to" << file;
            else
                qCWarning(lcApp).noquote() << "cannot save the screenshot to" << file;
            if (quit)
                widget->exitSYS();
        });
    }

    const int rc = QApplication::exec();
    hooks.removeInputHooks();
    fallback.reset();
#ifdef STRYDE_BENCH_PROBE
    probe.reset();
#endif
    widget.reset();
    if (virtualMouse && !virtualMouse->saveState(virtualState))
        qCWarning(lcApp) << "cannot save the virtual mouse's state to" << virtualState;
    return rc;
}
