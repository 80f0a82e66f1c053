#pragma once
// stryde-cli rules: the profiles chosen by the program in front, without the
// device. `rules` lists them (one JSON object a line), `rules add PROFILE
// PROGRAM` gives a program a profile of the profile list, `rules remove
// PROGRAM` takes its rule away.

#include <QString>
#include <QStringList>
#include <functional>

struct RulesOutput {
    std::function<void(const QString&)> out;
    std::function<void(const QString&)> err;
};

// `args` are the words after "rules". Returns the exit code: 0 done, 1 the
// change failed (no such rule, the file cannot be written), 2 a word was
// refused (the message says what was expected).
int runRulesCommand(const QString& dataRoot, const QStringList& args, const RulesOutput& io);
