#pragma once
// Feeds a window's own key and mouse events into InputHooks, for systems
// where installInputHooks() finds no system-wide capture. Install it on the
// top-level QWindow (QWidget::windowHandle()), which sees each event once;
// it never consumes an event.

#include <QObject>

class InputHooks;

class FallbackCapture : public QObject {
    Q_OBJECT
public:
    explicit FallbackCapture(InputHooks& hooks, QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InputHooks& m_hooks;
};
