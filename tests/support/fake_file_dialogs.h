#pragma once
// FileDialogs for tests: answers from a queue (an empty answer, or an empty
// queue, is a cancelled dialog) and records every dialog it was asked to show.

#include "store/file_dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

class FakeFileDialogs : public FileDialogs {
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
