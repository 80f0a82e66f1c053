// The floor of the window benchmarks: the least a program of this kind can
// do. A frameless, translucent window of 1024 x 640 holding a QQuickWidget
// that shows a small QML item, set up as the program sets up its window, and
// the same probe (first-frame mark, frame times, resident memory).

#include "bench/bench_probe.h"

#include <QApplication>
#include <QQuickItem>
#include <QQuickWidget>
#include <QWidget>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.setStyleSheet(QStringLiteral("background:transparent;"));
    auto* view = new QQuickWidget(&window);
    view->setResizeMode(QQuickWidget::SizeViewToRootObject);
    view->setClearColor(Qt::transparent);
    view->setAttribute(Qt::WA_AlwaysStackOnTop);
    view->setSource(QUrl(QStringLiteral("qrc:/bench/floor.qml")));
    if (!view->rootObject())
        return 1;
    const QSize size(int(view->rootObject()->width()), int(view->rootObject()->height()));
    view->resize(size);
    window.resize(size);

    const BenchOptions options = BenchOptions::fromEnvironment();
    std::unique_ptr<BenchProbe> probe;
    if (options.enabled()) {
        probe = std::make_unique<BenchProbe>(options, view);
        probe->startScript();
    }
    window.showNormal();
    return QApplication::exec();
}
