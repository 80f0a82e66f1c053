#pragma once
// The main window host: a frameless, translucent window carrying the QML
// view. It owns the device link, the window controller and the tray icon,
// turns device-change notifications into a debounced device check, and
// restores itself from the tray while a mouse is connected.

#include "device/hid_thread.h"
#include "app/active_window.h"
#include "app/device_change.h"
#include "app/tray_presence.h"
#include "device/link_host.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class AppRulesWatcher;
class Autostart;
class Clock;
class HidApi;
class QAction;
class QMenu;
class QSystemTrayIcon;
class TrayNotifier;
class Ui_Controler;
class WindowMenu;
class VirtualMouse;
class myQQuickView;
class ViewFacade;

struct WidgetSetup {
    HidApi* api = nullptr;
    Clock* clock = nullptr;
    QString dataRoot = QStringLiteral(".");         // the folder holding modules/
    // Makes the view (tests pass one with a fake dialog and pointer backend).
    std::function<myQQuickView*(QWidget* window)> viewFactory;
    // Null: the platform's source (udev on Linux, window messages on Windows).
    std::unique_ptr<DeviceChangeSource> deviceChanges;
    // Null: the tray icon shows the notices.
    TrayNotifier* notifier = nullptr;
    // The notices while no tray is there; null: desktop notifications (the
    // session bus's notification service on Linux, logged where none answers).
    TrayNotifier* desktopNotifier = nullptr;
    // Null: the desktop's tray, followed while the program runs. Without one
    // the window is the program: it shows while no mouse is connected, its
    // close button ends the program and its help menu offers the tray menu.
    std::unique_ptr<TrayPresence> trayPresence;
    // Set when the virtual mouse stands in: the tray menu then also offers
    // "Press DPI button", "Unplug" and "Plug in".
    VirtualMouse* virtualMouse = nullptr;
    int checkIntervalMs = 2048;
    // Shows a copy-data text (title, text); null: a modal warning box.
    std::function<void(const QString&, const QString&)> warningBox;
    // Null: the platform's watch of the program in front.
    std::unique_ptr<ActiveWindowSource> activeWindows;
    // Asks a yes/no question (title, text); null: a modal question box.
    std::function<bool(const QString&, const QString&)> confirmBox;
    // The window first shows only the power-on logo, and builds the pages
    // once that is on screen (start()); otherwise the pages are built here.
    bool powerOnFirst = false;
    // The start-at-login entry: the tray menu and the window offer its
    // switch. Null: neither does.
    Autostart* autostart = nullptr;
    // Started with --minimized (at login): into the tray where there is one,
    // minimized otherwise; the pages are built at once, without the logo.
    bool startMinimized = false;
};

class Widget : public QWidget, public LinkHost {
    Q_OBJECT
public:
    explicit Widget(WidgetSetup setup, QWidget* parent = nullptr);
    ~Widget() override;

    // Shows the window and connects the mouse, as at program start. With
    // the power-on logo first: when a mouse is attached the window shows the
    // logo at once and the mouse connects once the pages are built behind
    // it; without one the pages are built and the window stays in the tray.
    void start();
    bool pagesLoaded() const;

    // Connects the view's QML start: initUI now, runUI on a later turn of the event loop.
    void startUi();

    Hid_Thread& hid() { return m_hid; }
    myQQuickView* view() const;
    // What the pages reach as ui_View.
    ViewFacade* facade() const;
    Ui_Controler* controller() const { return m_controller; }
    QSystemTrayIcon* trayIcon() const { return m_trayIcon; }
    QMenu* trayMenu() const { return m_trayMenu; }
    // The tray menu's entries as the window's help menu offers them.
    WindowMenu* windowMenu() const { return m_windowMenu; }
    // Whether a tray shows the icon (as last seen).
    bool trayAvailable() const;
    QTimer& checkTimer() { return m_checkTimer; }
    int deviceChecks() const { return m_deviceChecks; }
    AppRulesWatcher& appRules() { return *m_appRules; }

    // A device-change notification: (re)starts the check timer unless a listener runs.
    void onDeviceChange();
    // A copy-data text from another program: shown in a warning box.
    void showCopyDataText(const QString& text);

    // The input capture's callbacks; `context` is the window host (null: ignored).
    static void keyboardCallback(quint8 usage, quint8 isDown, void* context);
    static void mouseCallback(quint8 buttonCode, quint8 isDown, qint32 x, qint32 y, void* context);
    static void copyDataCallback(const struct CopyDataMessage* message, void* context);

    // LinkHost, called by the device link (the last two on its listener thread).
    bool isGun() const override;
    void dpiSwitched(int stage, const QString& notice) override;
    void deviceRemoved() override;
    void writeNotVerified(int block) override;

    // The tray menu's "Restore mouse backup…": picks a backup of the
    // connected mouse, asks, writes it back, and the pages read their values again.
    void restoreMouseBackup();

signals:
    // The pages exist (the root of the view is main.qml's).
    void pagesReady();

public slots:
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void checkDevice();
    void exitSYS();
    void receiveMessage(QString message);

protected:
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    // Closed by the window system (a window manager's close, Alt+F4): without
    // a tray that ends the program, with one the window goes to the tray.
    void closeEvent(QCloseEvent* event) override;

private:
    int findMouse();
    void loadPages();
    void connectSequence(int index);
    void buildTray();
    // Shows the window while a mouse is connected; `activationToken` as a second start passed it.
    void requestRestore(const QString& activationToken = QString());
    // No mouse answered: the window goes to the tray, or, without one, shows
    // that it waits for the mouse.
    void showNoMouse();
    void closeWindow();
    void onTrayAvailability(bool available);
    void setProfileToolTip(const QString& line);
    void addStartAtLoginEntry();
    void showAtStart();
    void notify(const QString& title, const QString& text,
                QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::Information);

    QTimer m_checkTimer;
    Ui_Controler* m_controller = nullptr;
    Hid_Thread m_hid;
    QSystemTrayIcon* m_trayIcon = nullptr;

    QMenu* m_trayMenu = nullptr;
    QString m_dataRoot;
    std::unique_ptr<DeviceChangeSource> m_deviceChanges;
    TrayNotifier* m_notifier = nullptr;
    std::unique_ptr<TrayNotifier> m_ownDesktopNotifier;
    TrayNotifier* m_desktopNotifier = nullptr;
    std::unique_ptr<TrayPresence> m_trayPresence;
    WindowMenu* m_windowMenu = nullptr;
    VirtualMouse* m_virtualMouse = nullptr;
    std::function<void(const QString&, const QString&)> m_warningBox;
    std::function<bool(const QString&, const QString&)> m_confirmBox;
    int m_deviceChecks = 0;
    bool m_checkDeferred = false;
    bool m_toldUnwritable = false;      // the user hears once a run that the data folder cannot be written
    // The mouse found at start, connected once the pages are built (-1: none waits).
    int m_connectAfterPages = -1;
    std::unique_ptr<AppRulesWatcher> m_appRules;
    Autostart* m_autostart = nullptr;
    bool m_startMinimized = false;
};

// The instance message a second start sends for a copy-data text (Linux's
// stand-in for WM_COPYDATA); an empty message only asks for the window.
QString copyDataMessage(const QString& text);
