#pragma once
// What the frameless window's QML pages use to act on the real window:
// minimize, hide to the tray, drag, and lock the page for a while.
//
// Dragging: the window system moves the window where it can (a window
// manager on X11, the compositor on Wayland, where a program cannot place
// its own window); where it refuses (an X server without a window manager)
// the pages move the window by the pointer's offset.

#include <QObject>
#include <functional>

class Hid_Thread;
class QWidget;
class myQQuickView;

class Ui_Controler : public QObject {
    Q_OBJECT
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

    QWidget* window() const { return m_window; }
    myQQuickView* view() const { return m_view; }

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

private:
    QWidget* m_window = nullptr;
    myQQuickView* m_view = nullptr;
    bool m_pagesLoaded = false;
};
