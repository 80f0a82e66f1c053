#pragma once
// The file dialogs of the profile and macro import and export. The program
// shows Qt's modal dialogs; tests hand in a fake that answers from a list.

#include <QString>

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Asks for an existing file to open. Empty when the user cancels.
    virtual QString getOpenFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    // Asks for a file to write. Empty when the user cancels.
    virtual QString getSaveFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
};
