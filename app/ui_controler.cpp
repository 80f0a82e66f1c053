#include "app/ui_controler.h"

#include "app/app_log.h"
#include "app/window_activation.h"
#include "app/autostart.h"
#include "app/window_menu.h"
#include "device/hid_thread.h"
#include "view/my_qquick_view.h"
#include "view/view_facade.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>
#include <QWidget>
#include <QWindow>

Ui_Controler::Ui_Controler(QObject* parent) : QObject(parent) {}

void Ui_Controler::setUp(QWidget* window, Hid_Thread* hid, const QString& apConfigPath, const ViewFactory& factory,
                         bool pagesLater)
{
    m_window = window;
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("Widget"));
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setStyleSheet(QStringLiteral("background:transparent;"));

    m_view = factory ? factory(window) : new myQQuickView(window);
    m_view->setObjectName(QStringLiteral("ui_View"));
    m_view->setResizeMode(QQuickWidget::SizeViewToRootObject);
    m_view->setClearColor(Qt::transparent);
    m_view->setAttribute(Qt::WA_AlwaysStackOnTop);
    // The keys go to the pages from the start: the first Tab reaches a control.
    m_view->setFocus();
    // Published before the pages are created, so that no binding of theirs
    // is evaluated once without them and again after.
    QQmlContext* context = m_view->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), m_view->facade());
    context->setContextProperty(QStringLiteral("hid"), hid);
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);
    if (pagesLater)
        m_view->setSource(QUrl(QStringLiteral("qrc:/modules/qml/powerOn.qml")));
    else
        loadPages();

    // The power-on logo's root has the pages' size.
    const QSize size = m_view->rootObject() ? QSize(int(m_view->rootObject()->width()), int(m_view->rootObject()->height()))
                                            : m_view->size();
    m_view->resize(size);
    window->resize(size);
    QSettings settings(apConfigPath, QSettings::IniFormat);
    window->setWindowTitle(settings.value(QStringLiteral("common/name")).toString());
}

void Ui_Controler::loadPages()
{
    if (m_pagesLoaded)
        return;
    m_pagesLoaded = true;
    m_view->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
}

void Ui_Controler::onMinimize()
{
    if (!m_window)
        return;
    noteMinimized(m_window);
    m_window->showMinimized();
}

void Ui_Controler::onClose()
{
    if (m_closeAction)
        m_closeAction();
    else if (m_window)
        m_window->setVisible(false);
}

void Ui_Controler::onXChanged(int x)
{
    if (m_window)
        m_window->move(m_window->x() + x, m_window->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (m_window)
        m_window->move(m_window->x(), m_window->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (m_view)
        m_view->facade()->setBusy(busyTime);
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}

bool Ui_Controler::startSystemMove()
{
    QWindow* handle = m_window ? m_window->windowHandle() : nullptr;
    if (!handle)
        return false;
    const bool started = handle->startSystemMove();
    qCDebug(lcApp) << "window drag:" << (started ? "moved by the window system" : "moved by the program");
    return started;
}

void Ui_Controler::setAutostart(Autostart* autostart)
{
    if (m_autostart)
        disconnect(m_autostart, nullptr, this, nullptr);
    m_autostart = autostart;
    if (m_autostart)
        connect(m_autostart, &Autostart::enabledChanged, this, &Ui_Controler::startAtLoginChanged);
    emit startAtLoginChanged();
}

bool Ui_Controler::startAtLogin() const
{
    return m_autostart && m_autostart->isEnabled();
}

void Ui_Controler::setStartAtLogin(bool enabled)
{
    if (!m_autostart)
        return;
    m_autostart->setEnabled(enabled);
    // A failed write changes nothing; the switch shows what is there.
    emit startAtLoginChanged();
}

void Ui_Controler::setWindowMenu(WindowMenu* menu)
{
    if (m_menu)
        disconnect(m_menu, nullptr, this, nullptr);
    m_menu = menu;
    if (m_menu)
        connect(m_menu, &WindowMenu::entriesChanged, this, &Ui_Controler::menuEntriesChanged);
    emit menuEntriesChanged();
}

QVariantList Ui_Controler::menuEntries() const
{
    return m_menu ? m_menu->entries() : QVariantList();
}

void Ui_Controler::triggerMenuEntry(int index)
{
    if (m_menu)
        m_menu->trigger(index);
}

void Ui_Controler::setWaitingForMouse(bool waiting)
{
    if (waiting == m_waitingForMouse)
        return;
    m_waitingForMouse = waiting;
    emit waitingForMouseChanged();
}
