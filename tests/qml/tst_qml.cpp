// Qt Quick Test runner for the QML under modules/qml. Every test file gets the
// rig (`rig`, tests/qml/support/qml_rig.h): the real view on a copy of the
// installed data, a connected virtual mouse and the window controller,
// published as ui_View, hid and ui_Ctl as in the program.

#include "app/font_fallbacks.h"
#include "support/qml_rig.h"

#include <QApplication>
#include <QQmlEngine>
#include <QtQuickTest>
#include <memory>

class Setup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        m_rig = std::make_unique<QmlRig>(engine);
        if (!m_rig->start())
            qWarning("the QML rig could not connect its virtual mouse");
    }
    void cleanupTestCase() { m_rig.reset(); }

private:
    std::unique_ptr<QmlRig> m_rig;
};

// The view is a widget: the runner needs a QApplication, not only a QGuiApplication.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    installFontFallbacks();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "qml", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "tst_qml.moc"
