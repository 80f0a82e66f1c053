#pragma once
// File dialogs on QFileDialog, modal over the given parent widget (the window).

#include "store/file_dialogs.h"

#include <QPointer>

class QWidget;

class FileDialogsQt : public FileDialogs {
public:
    explicit FileDialogsQt(QWidget* parent);
    // The window the dialogs are modal over from now on (null: none).
    void setParent(QWidget* parent);
    QString getOpenFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString getSaveFileName(const QString& caption, const QString& dir, const QString& filter) override;
private:
    QPointer<QWidget> m_parent;
};
