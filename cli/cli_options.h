#pragma once
// The command line of stryde-cli: its options and the command with its words.

#include <QString>
#include <QStringList>

struct Options {
    QString dataDir;
    bool virtualMouse = false;
    bool realTime = false;
    QStringList virtualOptions;
    QString virtualState;
    QString hidTrace;
    QStringList dialogAnswers;
    QStringList command;
};

// Reads `args` (the program name first): options up to the first word that
// is not one, then the command and its words. False, with the reason in
// `error`, for an unknown option, an option without its value or no command.
bool parseOptions(const QStringList& args, Options& o, QString* error);
