#pragma once
// What the frameless window's QML pages use to act on the real window:
// minimize, hide to the tray, drag, and lock the page for a while. It also
// tells them what the window offers beyond the pages: the tray menu's
// entries (while no tray shows them) and whether the window waits for the
// mouse.
//
// Dragging: the window system moves the window where it can (a window
// manager on X11, the compositor on Wayland, where a program cannot place
// its own window); where it refuses (an X server without a window manager)
// the pages move the window by the pointer's offset.

#include "app/window_menu.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <functional>
#include <utility>

class Autostart;
class Hid_Thread;
class QWidget;
class myQQuickView;

class Ui_Controler : public QObject {
    Q_OBJECT
    // The start-at-login entry exists (false without an entry to manage).
    Q_PROPERTY(bool startAtLogin READ startAtLogin NOTIFY startAtLoginChanged)
    // The entries the title bar's help menu adds to its own (WindowMenu::entries()).
    Q_PROPERTY(QVariantList menuEntries READ menuEntries NOTIFY menuEntriesChanged)
    // No mouse is connected: the window shows that it waits for one in place of the pages.
    Q_PROPERTY(bool waitingForMouse READ waitingForMouse NOTIFY waitingForMouseChanged)
public:
    using ViewFactory = std::function<myQQuickView*(QWidget* window)>;

    explicit Ui_Controler(QObject* parent = nullptr);

    // Styles `window`, creates the view in it (with `factory`, or on the
    // current directory), publishes ui_View, hid and ui_Ctl, loads the pages
    // (or, with `pagesLater`, only the power-on logo: loadPages() follows),
    // sizes the window and sets its title from `apConfigPath`.
    void setUp(QWidget* window, Hid_Thread* hid, const QString& apConfigPath, const ViewFactory& factory = {},
               bool pagesLater = false);
    // Replaces the power-on logo with the pages; nothing once they are loaded.
    void loadPages();
    bool pagesLoaded() const { return m_pagesLoaded; }

    // The start-at-login entry the window's switch changes (null: none).
    void setAutostart(Autostart* autostart);
    bool startAtLogin() const;

    QWidget* window() const { return m_window; }
    myQQuickView* view() const { return m_view; }

    // Where the menu entries come from (null: none).
    void setWindowMenu(WindowMenu* menu);
    QVariantList menuEntries() const;
    bool waitingForMouse() const { return m_waitingForMouse; }
    void setWaitingForMouse(bool waiting);
    // What the close button does instead of hiding the window (empty: hide it).
    void setCloseAction(std::function<void()> action) { m_closeAction = std::move(action); }

public slots:
    void onMinimize();
    void onClose();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();
    // Hands the rest of the current press-and-drag to the window system,
    // which moves the window with the pointer. False when it refuses: the
    // caller moves the window itself (onXChanged, onYChanged).
    bool startSystemMove();
    // Writes or removes the start-at-login entry.
    void setStartAtLogin(bool enabled);
    // Entry `index` of menuEntries was chosen.
    void triggerMenuEntry(int index);

signals:
    void startAtLoginChanged();
    void menuEntriesChanged();
    void waitingForMouseChanged();

private:
    QWidget* m_window = nullptr;
    myQQuickView* m_view = nullptr;
    bool m_pagesLoaded = false;
    Autostart* m_autostart = nullptr;
    QPointer<WindowMenu> m_menu;
    bool m_waitingForMouse = false;
    std::function<void()> m_closeAction;
};
