#include "store/file_dialogs_qt.h"

#include <QFileDialog>
#include <QWidget>

FileDialogsQt::FileDialogsQt(QWidget* parent)
    : m_parent(parent)
{
}

QString FileDialogsQt::getOpenFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, dir, filter);
}

QString FileDialogsQt::getSaveFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(m_parent, caption, dir, filter);
}

void FileDialogsQt::setParent(QWidget* parent)
{
    m_parent = parent;
}
