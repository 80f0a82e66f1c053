#include "app/widget.h"

#include "app/app_log.h"
#include "app/app_rules_watcher.h"
#include "app/autostart.h"
#include "app/desktop_notifier.h"
#include "app/device_change.h"
#include "app/tray_notifier.h"
#include "app/tray_presence.h"
#include "app/ui_controler.h"
#include "app/window_activation.h"
#include "app/window_menu.h"
#include "device/virtual_mouse.h"
#include "features/mouse_backup.h"
#include "features/pointer_backend.h"
#include "features/profile_sync.h"
#include "input/copy_data.h"
#include "store/file_dialogs.h"
#include "store/language_strings.h"
#include "view/my_qquick_view.h"
#include "view/view_facade.h"
#include "store/operation_failures.h"
#include "store/settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QQuickItem>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QThread>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

constexpr int kStartUiEventTag = 2177;
const QString kCopyDataPrefix = QStringLiteral("\x01" "copydata\n");
const QString kTrayToolTip = QStringLiteral("KORVEX STRYDE MOUSE Z74");

// The user event the window posts itself so runUI follows initUI's queued work.
class StartUiEvent : public QEvent {
public:
    StartUiEvent() : QEvent(QEvent::User) {}
    int tag = kStartUiEventTag;
};

const char* kTrayMenuStyle =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "
    "QMenu::item { height: 22px; padding: 0px 25px 0px 20px; } "
    "QMenu::item:enabled { color: rgb(225, 225, 225); } "
    "QMenu::item:!enabled { color: rgb(155, 155, 155); } "
    "QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: rgba(255, 255, 255, 40); } "
    "QMenu::separator { height: 1px; background: rgb(100, 100, 100); } "
    "QMenu::indicator { width: 13px; height: 13px; } "
    "QMenu::icon { padding-left: 2px; padding-right: 2px; } ";

} // namespace

QString copyDataMessage(const QString& text)
{
    return kCopyDataPrefix + text;
}

Widget::Widget(WidgetSetup setup, QWidget* parent)
    : QWidget(parent), m_hid(*setup.api, *setup.clock), m_dataRoot(setup.dataRoot),
      m_deviceChanges(std::move(setup.deviceChanges)), m_notifier(setup.notifier),
      m_desktopNotifier(setup.desktopNotifier), m_trayPresence(std::move(setup.trayPresence)),
      m_virtualMouse(setup.virtualMouse), m_warningBox(std::move(setup.warningBox)),
      m_confirmBox(std::move(setup.confirmBox)), m_autostart(setup.autostart),
      m_startMinimized(setup.startMinimized)
{
    m_hid.setHost(this);
    m_controller = new Ui_Controler();
    m_controller->setUp(this, &m_hid, QDir(m_dataRoot).filePath(QStringLiteral("modules/setting/apConfig.bin")),
                        setup.viewFactory, setup.powerOnFirst);
    ViewFacade* v = facade();
    v->setHidLink(&m_hid);
    // The DPI notice texts follow the language the pages ask for.
    v->languageStrings().setDpiSwitchSink([this](const QStringList& texts) { m_hid.setDpiSwitchTexts(texts); });
    m_controller->setAutostart(m_autostart);

    m_checkTimer.setInterval(setup.checkIntervalMs);
    m_checkTimer.setSingleShot(true);
    connect(&m_checkTimer, &QTimer::timeout, this, &Widget::checkDevice);

    buildTray();
    if (!m_desktopNotifier) {
        m_ownDesktopNotifier = makeDesktopNotifier();
        m_desktopNotifier = m_ownDesktopNotifier.get();
    }
    if (!m_trayPresence)
        m_trayPresence = makeTrayPresence();
    m_windowMenu->setTrayAvailable(m_trayPresence->isAvailable());
    m_controller->setWindowMenu(m_windowMenu);
    m_controller->setCloseAction([this] { closeWindow(); });
    connect(m_trayPresence.get(), &TrayPresence::availabilityChanged, this, &Widget::onTrayAvailability);
    m_trayPresence->start();

    // A save that did not take because the data folder cannot be written
    // (another user's folder, a read-only disk) is told once a run, naming
    // the folder; a failed export elsewhere is the page's business.
    OperationFailures::setWriteFailureHandler([this](const QString& path) {
        const QString modules = QDir(m_dataRoot).absoluteFilePath(QStringLiteral("modules"));
        const QString folder = QFileInfo(path).absolutePath();
        if (m_toldUnwritable || !(folder == modules || folder.startsWith(modules + QLatin1Char('/'))))
            return;
        m_toldUnwritable = true;
        qCWarning(lcApp) << "the data folder cannot be written:" << folder;
        notify(windowTitle(), tr("Your changes cannot be saved: the folder %1 cannot be written.")
                                  .arg(QDir::toNativeSeparators(folder)),
               QSystemTrayIcon::Warning);
    });

    // The profile follows the program in front.
    m_appRules = std::make_unique<AppRulesWatcher>(*view(), m_hid, *setup.clock, std::move(setup.activeWindows),
                                                   [this](const QString& line) { setProfileToolTip(line); });
    m_appRules->start();

    if (!m_deviceChanges)
        m_deviceChanges = makeDeviceChangeSource();
    connect(m_deviceChanges.get(), &DeviceChangeSource::deviceChanged, this, &Widget::onDeviceChange);
    m_deviceChanges->start();
}

Widget::~Widget()
{
    m_hid.listening = false;
    // The listener reports into this window; it ends within one read time-out.
    m_hid.stopListening();
    m_hid.setHost(nullptr);
    OperationFailures::setWriteFailureHandler({});
    m_appRules.reset();
    m_controller->deleteLater();
}

myQQuickView* Widget::view() const
{
    return m_controller->view();
}

ViewFacade* Widget::facade() const
{
    return view() ? view()->facade() : nullptr;
}

void Widget::buildTray()
{
    m_trayIcon = new QSystemTrayIcon(this);
    m_trayMenu = new QMenu(this);
    // Every entry of the tray menu is also one of the window's help menu.
    m_windowMenu = new WindowMenu(this);
    auto addEntry = [this](const QString& text, auto slot) {
        auto* action = new QAction(text, this);
        connect(action, &QAction::triggered, this, slot);
        m_trayMenu->addAction(action);
        m_windowMenu->add(action);
    };
    if (m_virtualMouse) {
        // Demo controls: what a real mouse would do by itself.
        VirtualMouse* vm = m_virtualMouse;
        addEntry(tr("Press DPI button"), [vm] { vm->pressDpiButton(); });
        addEntry(tr("Unplug"), [this, vm] {
            vm->unplug();
            m_deviceChanges->notify();
        });
        addEntry(tr("Plug in"), [this, vm] {
            vm->plug();
            m_deviceChanges->notify();
        });
        m_trayMenu->addSeparator();
        m_windowMenu->addSeparator();
    }
    addEntry(tr("Restore mouse backup…"), [this] { restoreMouseBackup(); });
    if (m_autostart)
        addStartAtLoginEntry();
    addEntry(tr("Quit (&Q)"), [this] { exitSYS(); });
    m_trayMenu->setStyleSheet(QString::fromLatin1(kTrayMenuStyle));
    m_trayIcon->setContextMenu(m_trayMenu);
    m_trayIcon->setToolTip(kTrayToolTip);
    m_trayIcon->setIcon(QIcon(QDir(m_dataRoot).filePath(QStringLiteral("modules/img/logo.ico"))));
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    m_trayIcon->setVisible(true);
}

void Widget::notify(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon)
{
    if (QThread::currentThread() != thread()) {
        QPointer<Widget> self(this);
        QMetaObject::invokeMethod(this, [self, title, text, icon] {
            if (self)
                self->notify(title, text, icon);
        }, Qt::QueuedConnection);
        return;
    }
    if (!trayAvailable())
        m_desktopNotifier->showMessage(title, text, icon, 10000);
    else if (m_notifier)
        m_notifier->showMessage(title, text, icon, 10000);
    else
        m_trayIcon->showMessage(title, text, icon, 10000);
}

bool Widget::trayAvailable() const
{
    return m_trayPresence->isAvailable();
}

void Widget::onTrayAvailability(bool available)
{
    m_windowMenu->setTrayAvailable(available);
    // The window was in the tray that is gone: without a tray the window is
    // the program, so it comes back (with the pages, or waiting for the mouse).
    if (!available && pagesLoaded() && !isVisible()) {
        qCInfo(lcApp) << "the window leaves the tray that is gone";
        showNormal();
    }
}

void Widget::showNoMouse()
{
    // The removal disabled the view; what the window shows now (the title
    // bar, its help menu) takes clicks, the pages are out of sight.
    facade()->setEnabled(true);
    m_controller->setWaitingForMouse(true);
    if (trayAvailable())
        setVisible(false);
    else if (!isVisible())
        showNormal();
}

void Widget::closeWindow()
{
    if (trayAvailable()) {
        setVisible(false);
        return;
    }
    qCInfo(lcApp) << "the window was closed and no tray holds the program: it ends";
    exitSYS();
}

void Widget::closeEvent(QCloseEvent* event)
{
    event->ignore();
    closeWindow();
}

void Widget::setProfileToolTip(const QString& line)
{
    m_trayIcon->setToolTip(line.isEmpty() ? kTrayToolTip : kTrayToolTip + QLatin1Char('\n') + line);
}

// --- device presence ---------------------------------------------------------

void Widget::onDeviceChange()
{
    // While a listener runs the mouse is connected: it notices removal itself.
    if (!m_hid.listening.load())
        m_checkTimer.start();
}

bool Widget::pagesLoaded() const
{
    return m_controller->pagesLoaded();
}

void Widget::start()
{
    if (pagesLoaded()) {
        showAtStart();
        checkDevice();
        return;
    }
    const int index = findMouse();
    if (index < 0) {
        // Without a mouse the window stays in the tray: no logo flashes up.
        loadPages();
        showNoMouse();
        return;
    }
    if (m_startMinimized) {
        // No logo to show while the pages are built: the window stays out of sight.
        loadPages();
        connectSequence(index);
        showAtStart();
        return;
    }
    m_connectAfterPages = index;
    view()->installEventFilter(this);
    showNormal();
}

void Widget::showAtStart()
{
    if (!m_startMinimized)
        showNormal();
    else if (!QSystemTrayIcon::isSystemTrayAvailable())
        showMinimized();
}

bool Widget::eventFilter(QObject* watched, QEvent* event)
{
    // The power-on logo's first paint: the pages are built on the next turn
    // of the event loop, once the window has shown it.
    if (watched == view() && event->type() == QEvent::Paint && m_connectAfterPages >= 0) {
        view()->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            const int index = std::exchange(m_connectAfterPages, -1);
            loadPages();
            connectSequence(index);
        });
    }
    return QWidget::eventFilter(watched, event);
}

void Widget::loadPages()
{
    if (pagesLoaded())
        return;
    m_controller->loadPages();
    // While the window shows the power-on logo, the pages show theirs (with
    // the busy text) until their first lock takes over: no blank frame between.
    QQuickItem* root = view()->rootObject();
    if (isVisible() && root) {
        root->setVisible(true);
        if (QQuickItem* busy = root->findChild<QQuickItem*>(QStringLiteral("busyIndicator")))
            busy->setProperty("isBusy", true);
    }
    emit pagesReady();
}

int Widget::findMouse()
{
    ++m_deviceChecks;
    facade()->clearHidBusy();
    return m_hid.checkDevices(QDir(m_dataRoot).filePath(QStringLiteral("modules/setting/apConfig.bin")));
}

void Widget::checkDevice()
{
    // The mouse found at start connects once the pages are built: that
    // connect is the check (a mouse gone meanwhile ends its listener).
    if (m_connectAfterPages >= 0)
        return;
    // The pauses of a command let timers run; a check must not free the link
    // under a command that holds it. It runs once the command is over.
    if (!m_hid.transport().isReady() || !pagesLoaded()) {
        if (!m_checkDeferred)
            qCDebug(lcApp) << "device check deferred: a command is running";
        m_checkDeferred = true;
        m_checkTimer.start();
        return;
    }
    m_checkDeferred = false;
    const int index = findMouse();
    if (index >= 0) {
        connectSequence(index);
        return;
    }
    showNoMouse();
}

void Widget::connectSequence(int index)
{
    qCDebug(lcApp) << "Device Connect";
    ViewFacade* v = facade();
    v->clearHidBusy();
    m_hid.setDeviceConnected(true);
    notify(QStringLiteral("Info"), QStringLiteral("Detect Device"));
    const bool is560 = v->featureContext().is560();
    m_hid.startListen(index, is560);
    if (is560)
        v->profileSync().readAtConnect();
    v->setEnabled(true);
    m_controller->setWaitingForMouse(false);
    startUi();
    m_appRules->deviceConnected();
}

void Widget::startUi()
{
    facade()->initUI();
    QCoreApplication::postEvent(this, new StartUiEvent);
}

void Widget::customEvent(QEvent* event)
{
    if (event->type() == QEvent::User) {
        auto* e = static_cast<StartUiEvent*>(event);
        if (e->tag == kStartUiEventTag)
            facade()->runUI();
    }
}

// --- input capture -------------------------------------------------------------

void Widget::keyboardCallback(quint8 usage, quint8 isDown, void* context)
{
    // Keys and buttons reach the pages once they exist.
    auto* w = static_cast<Widget*>(context);
    if (w && w->pagesLoaded())
        w->facade()->notifyKeyboard(isDown != 0, usage);
}

void Widget::mouseCallback(quint8 buttonCode, quint8 isDown, qint32 x, qint32 y, void* context)
{
    // Screen positions left of or above the primary screen arrive as large unsigned values.
    auto* w = static_cast<Widget*>(context);
    if (w && w->pagesLoaded())
        w->facade()->notifyMouse(isDown != 0, buttonCode, static_cast<uint>(x), static_cast<uint>(y));
}

void Widget::copyDataCallback(const CopyDataMessage* message, void* context)
{
    auto* w = static_cast<Widget*>(context);
    if (!w || !message)
        return;
    if (const std::optional<QString> text = copyDataText(*message))
        w->showCopyDataText(*text);
}

// --- link host -----------------------------------------------------------------

bool Widget::isGun() const
{
    return view() && facade()->store().isGun();
}

void Widget::dpiSwitched(int stage, const QString& notice)
{
    QPointer<Widget> self(this);
    QMetaObject::invokeMethod(this, [self, stage, notice] {
        if (!self)
            return;
        self->facade()->setCurrentDPI(stage);
        self->notify(QStringLiteral("Info"), notice);
    }, Qt::QueuedConnection);
}

void Widget::deviceRemoved()
{
    QPointer<Widget> self(this);
    QMetaObject::invokeMethod(this, [self] {
        if (!self)
            return;
        self->facade()->setEnabled(false);
        // The system's own notice of the removal usually came while the
        // listener still ran and so started nothing; the removal itself counts
        // as a device change, so the window goes to the tray after the usual check.
        self->onDeviceChange();
    }, Qt::QueuedConnection);
}

void Widget::writeNotVerified(int block)
{
    notify(QStringLiteral("Warning"),
           QStringLiteral("The mouse did not take what was saved (profile block %1 reads back differently).").arg(block),
           QSystemTrayIcon::Warning);
}

// --- mouse backups ---------------------------------------------------------------

void Widget::restoreMouseBackup()
{
    const QString title = tr("Restore mouse backup");
    ViewFacade* v = facade();
    // A removed mouse ends the listener; until the next device check it still counts as connected.
    if (!m_hid.deviceConnected() || !m_hid.isListening()) {
        notify(title, tr("No mouse is connected."), QSystemTrayIcon::Warning);
        return;
    }
    MouseBackup& backup = v->mouseBackup();
    const QString newest = backup.newestBackup();
    const QString file = v->fileDialogs().getOpenFileName(title, newest.isEmpty() ? backup.folder().path() : newest,
                                                          tr("Mouse backups (*.json)"));
    if (file.isEmpty())
        return;
    const QString question = tr("Write the backup %1 to the mouse?\n\nWhat the mouse holds now is backed up "
                                "first, then replaced; the pages drop their unsaved changes.").arg(QFileInfo(file).fileName());
    const bool yes = m_confirmBox ? m_confirmBox(title, question)
                                  : QMessageBox::question(this, title, question, QMessageBox::Yes | QMessageBox::No,
                                                          QMessageBox::No) == QMessageBox::Yes;
    if (!yes)
        return;
    v->showBusy(true);
    const MouseBackup::Result r = backup.restore(file);
    if (r.outcome == MouseBackup::Outcome::Restored || r.outcome == MouseBackup::Outcome::Failed) {
        // The backup may hold the options from before the program turned the
        // mouse's reports on; the DPI button must keep reaching the window.
        m_hid.enableReports(v->featureContext().is560());
        v->reloadPages();
    }
    v->showBusy(false);
    notify(title, r.message, r.outcome == MouseBackup::Outcome::Restored ? QSystemTrayIcon::Information
                                                                         : QSystemTrayIcon::Warning);
}

// --- window ----------------------------------------------------------------------

void Widget::requestRestore(const QString& activationToken)
{
    // Without a tray the window is always there, waiting for the mouse or not.
    if (!m_hid.deviceConnected() && trayAvailable())
        return;
#ifdef Q_OS_WIN
    Q_UNUSED(activationToken);
    PostMessageW(reinterpret_cast<HWND>(winId()), WM_SYSCOMMAND, SC_RESTORE, 0);
#else
    QMetaObject::invokeMethod(this, [this, activationToken] { bringToFront(this, activationToken); },
                              Qt::QueuedConnection);
#endif
}

void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        requestRestore();
}

void Widget::receiveMessage(QString message)
{
    if (message.startsWith(kCopyDataPrefix)) {
        showCopyDataText(message.mid(kCopyDataPrefix.size()));
        return;
    }
    // Any other message asks for the window, with the activation token of
    // the second start's launcher where it had one.
    requestRestore(activationTokenOf(message));
}

void Widget::showCopyDataText(const QString& text)
{
    if (m_warningBox)
        m_warningBox(windowTitle(), text);
    else
        QMessageBox::warning(nullptr, windowTitle(), text, QMessageBox::Ok, QMessageBox::NoButton);
}

void Widget::exitSYS()
{
    m_hid.listening = false;
    QCoreApplication::exit(0);
}

bool Widget::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
#ifdef Q_OS_WIN
    if (eventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == SC_RESTORE)
            setVisible(true);
        else if (msg->message == WM_DEVICECHANGE)
            m_deviceChanges->notify();
    }
#endif
    // Never consumed: the default handling goes on.
    return QWidget::nativeEvent(eventType, message, result);
}

// --- start at login ----------------------------------------------------------------

void Widget::addStartAtLoginEntry()
{
    // Texts of the language file's group "autostart": the switch, then the
    // note that the program must run for what it does in the background.
    const QString language = facade()->store().getGlobalData(QStringLiteral("common/language")).toString();
    const QStringList texts = facade()->languageStrings().getLangStrings(QStringLiteral("autostart"), language);
    const QString label = texts.value(0).isEmpty() ? QStringLiteral("Start at login") : texts.value(0);
    const QString note = texts.value(1).isEmpty()
                             ? QStringLiteral("Per-program profiles and DPI notices need the program running.")
                             : texts.value(1);
    m_trayMenu->addSeparator();
    QAction* toggle = m_trayMenu->addAction(label);
    toggle->setObjectName(QStringLiteral("startAtLoginAction"));
    toggle->setCheckable(true);
    toggle->setChecked(m_autostart->isEnabled());
    toggle->setToolTip(note);
    Autostart* autostart = m_autostart;
    connect(toggle, &QAction::triggered, this, [autostart, toggle](bool on) {
        autostart->setEnabled(on);
        toggle->setChecked(autostart->isEnabled());     // a failed write leaves the mark as it was
    });
    connect(m_autostart, &Autostart::enabledChanged, toggle, &QAction::setChecked);
    // Some trays show no tool tips in their menus: the note is a line of its own.
    QAction* line = m_trayMenu->addAction(note);
    line->setObjectName(QStringLiteral("startAtLoginNote"));
    line->setEnabled(false);
    m_trayMenu->setToolTipsVisible(true);
    m_trayMenu->addSeparator();
}
