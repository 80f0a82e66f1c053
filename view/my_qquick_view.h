#pragma once
// The QML view of the main window: it shows the pages and publishes their
// ui_View object (a ViewFacade, which it owns) in its root context. It keeps
// only the window's concerns: its enabled state follows the facade's, a focus
// repaints it at once, and what a closed dialog drew is freed.

#include <QPointer>
#include <QQuickWidget>
#include <memory>

class FileDialogs;
class PointerBackend;
class ViewFacade;

class myQQuickView : public QQuickWidget {
    Q_OBJECT
public:
    // The facade opens the settings store in the current directory (the executable's folder).
    explicit myQQuickView(QWidget* parent = nullptr);
    // The facade on `dataRoot`, with the dialogs and the pointer backend
    // given (null: the real ones). For the tests.
    myQQuickView(const QString& dataRoot, FileDialogs* dialogs, std::unique_ptr<PointerBackend> pointer,
                 QWidget* parent = nullptr);
    ~myQQuickView() override;

    // What the pages reach as ui_View.
    ViewFacade* facade() const { return m_facade; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void attach(ViewFacade* facade);
    // A dialog that closed has left the scene and let go of its drawing; a
    // moment later (once that is deleted) the script garbage is collected,
    // unused compiled pages and cached images are dropped and freed memory
    // goes back to the system. Requests close together share one release.
    void releaseMemory();
    void returnMemory();

    ViewFacade* m_facade = nullptr;     // a child: it lives as long as the view
    class QTimer* m_release = nullptr;
};
