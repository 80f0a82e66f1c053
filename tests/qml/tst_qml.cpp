// Qt Quick Test runner for the QML under modules/qml: the interface gets the
// real view (on a copy of the installed data), a device link to a connected
// virtual mouse and the window controller, as in the program.

#include "app/ui_controler.h"
#include "device/clock.h"
#include "device/hid_thread.h"
#include "device/virtual_mouse.h"
#include "features/pointer_backend.h"
#include "store/my_qquick_view.h"
#include "store/scripted_file_dialogs.h"
#include "support/data_fixture.h"

#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>
#include <memory>

class Setup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        m_view = std::make_unique<myQQuickView>(m_data.root(), &m_dialogs, nullptr);
        m_mouse = std::make_unique<VirtualMouse>(m_clock);
        m_hid = std::make_unique<Hid_Thread>(*m_mouse, m_clock);
        m_hid->checkDevices(m_data.path(QStringLiteral("modules/setting/apConfig.bin")));
        m_view->setHidLink(m_hid.get());
        engine->rootContext()->setContextProperty(QStringLiteral("ui_View"), m_view.get());
        engine->rootContext()->setContextProperty(QStringLiteral("hid"), m_hid.get());
        engine->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), &m_controller);
    }

private:
    DataFixture m_data;
    ScriptedFileDialogs m_dialogs;
    VirtualClock m_clock;
    std::unique_ptr<VirtualMouse> m_mouse;
    std::unique_ptr<Hid_Thread> m_hid;
    std::unique_ptr<myQQuickView> m_view;
    Ui_Controler m_controller;
};

// The view is a widget: the runner needs a QApplication, not only a QGuiApplication.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "qml", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "tst_qml.moc"
