#include "view/my_qquick_view.h"

#include "features/pointer_backend.h"
#include "store/file_dialogs.h"
#include "view/view_facade.h"
#include "view/view_types.h"

#include <QFocusEvent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTimer>
#ifdef __GLIBC__
#include <malloc.h>
#endif

myQQuickView::myQQuickView(QWidget* parent) : QQuickWidget(parent)
{
    attach(new ViewFacade(this));
}

myQQuickView::myQQuickView(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer,
                           QWidget* parent)
    : QQuickWidget(parent)
{
    attach(new ViewFacade(dataRoot, dialogs, std::move(pointer), this));
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::attach(ViewFacade* facade)
{
    registerViewTypes();
    m_facade = facade;
    m_facade->setObjectName(QStringLiteral("ui_View"));
    m_facade->setDialogParent(this);
    m_release = new QTimer(this);
    m_release->setSingleShot(true);
    // Long enough for the deletions the closing dialog queued to have run.
    m_release->setInterval(100);
    connect(m_release, &QTimer::timeout, this, &myQQuickView::returnMemory);
    connect(m_facade, &ViewFacade::memoryReleaseRequested, this, &myQQuickView::releaseMemory);
    // The pages lock themselves through the facade; a disabled view takes no
    // mouse or keyboard input.
    QQuickWidget::setEnabled(m_facade->isEnabled());
    connect(m_facade, &ViewFacade::enabledChanged, this, [this] { QQuickWidget::setEnabled(m_facade->isEnabled()); });
    rootContext()->setContextProperty(QStringLiteral("ui_View"), m_facade);
}

void myQQuickView::changeEvent(QEvent* event)
{
    QQuickWidget::changeEvent(event);
    // The interface unlocks when a Save, Reset, profile switch or the first
    // lock ends: the script objects those left behind are collected now, and
    // the memory freed goes back to the system instead of staying with the
    // program.
    if (event->type() == QEvent::EnabledChange && isEnabled())
        returnMemory();
}

void myQQuickView::releaseMemory()
{
    m_release->start();
}

void myQQuickView::returnMemory()
{
    m_release->stop();
    engine()->collectGarbage();
    engine()->trimComponentCache();
    quickWindow()->releaseResources();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void myQQuickView::focusInEvent(QFocusEvent* event)
{
    repaint();
    // The pages' own focus follows the view's: without it no key reaches
    // them (Tab, Space, the arrows of the keyboard-driven controls).
    QQuickWidget::focusInEvent(event);
    event->accept();
}
