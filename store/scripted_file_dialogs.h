#pragma once
// FileDialogs that answer from a queue instead of asking anyone: for the
// command-line tool and the tests. An empty answer, or an empty queue, is a
// cancelled dialog. Every dialog it was asked to show is recorded.

#include "store/file_dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

class ScriptedFileDialogs : public FileDialogs {
public:
    struct Call {
        bool save;        // getSaveFileName, else getOpenFileName
        QString caption;
        QString dir;
        QString filter;
    };

    QStringList answers;
    QList<Call> calls;

    QString getOpenFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        return answer(false, caption, dir, filter);
    }
    QString getSaveFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        return answer(true, caption, dir, filter);
    }

private:
    QString answer(bool save, const QString& caption, const QString& dir, const QString& filter)
    {
        calls.append({save, caption, dir, filter});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};
