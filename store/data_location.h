#pragma once
// Where the program keeps its files: the folder that holds modules/. The
// window and stryde-cli follow the same rule, in this order:
//   1. the folder given with --data-dir;
//   2. the program's own folder, when it holds a writable modules/ (the build
//      tree, a portable copy, Windows);
//   3. the user's data folder (QStandardPaths::AppDataLocation of the
//      application "stryde", for example ~/.local/share/stryde), which every
//      start brings up to date with the installed defaults (share/stryde/
//      beside the program's bin/; see InstalledDefaults).

#include <QString>

class DataLocation {
public:
    enum class Source { Option, ProgramFolder, UserFolder };

    // The application name both programs set, so that they share the user's folder.
    static constexpr char kApplicationName[] = "stryde";

    // The rule above. `dataDirOption` empty: not given. `programDir` is the
    // executable's folder, `userDir` the user's data folder.
    static DataLocation choose(const QString& dataDirOption, const QString& programDir, const QString& userDir);
    // The same with the running program's folder and the user's data folder
    // of kApplicationName.
    static DataLocation choose(const QString& dataDirOption);

    // The installed defaults of a program in `programDir`: share/stryde as
    // the install rules place it relative to bin/. Empty when that folder
    // does not exist.
    static QString installedDefaults(const QString& programDir);

    // Logs describe(), then makes the folder ready: for the user's folder, creates modules/ and
    // brings it up to date with the installed defaults (a missing defaults
    // folder is logged, and the program starts with what is there). The
    // other folders are used as they are. False, with the reason in
    // `error`, when the user's folder cannot be made.
    bool prepare(QString* error) const;

    // One line for the log: the folder in use and why.
    QString describe() const;

    QString root;               // absolute: the folder holding modules/
    Source source = Source::ProgramFolder;
    QString defaultsDir;        // the installed defaults (UserFolder only; empty: none found)
};
