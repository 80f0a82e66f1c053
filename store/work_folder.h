#pragma once
// A private folder beside one of the program's files, for work on a copy of
// it (the recoil library is changed on a copy and only a complete result
// replaces it). It lies in the data folder, named ".NAME.work-XXXXXX", and
// holds a lock while it is in use: a killed program leaves it behind, and
// the next start removes it (StaleTemporaries) once no running program owns
// it any more.

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class WorkFolder {
public:
    // Makes the folder beside `target` and locks it; isValid() tells whether
    // that worked. The folder and all it holds go with the object.
    explicit WorkFolder(const QString& target);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    bool isValid() const { return m_valid; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Whether `fileName` (no folder) names such a folder.
    static bool isWorkFolderName(const QString& fileName);
    // The random part Qt ends the names of its temporary files and folders
    // with: six ASCII letters and digits.
    static constexpr qsizetype kRandomLength = 6;
    // Whether `name` ends in such a random part.
    static bool hasRandomEnd(QStringView name);
    // Removes the folder `path` when no running program owns it; true when it is gone.
    static bool removeIfAbandoned(const QString& path);
    // Removes the lock file `path` (of a QLockFile) when its owner has ended,
    // or when it names no owner at all: a program killed while it made the
    // lock leaves it empty, and such a lock would hold up every later writer
    // of its file for half a minute. True when it is gone.
    static bool removeAbandonedLock(const QString& path);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QLockFile> m_owner;
    bool m_valid = false;
};
