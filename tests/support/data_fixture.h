#pragma once
// A fresh copy of the installed data folder (modules/ without the QML) in a
// temporary directory, so every test can change one thing of a sane setup.

#include <QString>
#include <QTemporaryDir>

class DataFixture {
public:
    DataFixture();
    bool isValid() const { return m_valid; }
    // The folder that holds modules/ (what the app uses as its working directory).
    QString root() const { return m_dir.path(); }
    // root() + "/" + relative, e.g. path("modules/setting/apConfig.bin").
    QString path(const QString& relative) const;
    // Writes `content` to a file below root(), creating its folder.
    bool writeFile(const QString& relative, const QByteArray& content) const;
    QByteArray readFile(const QString& relative) const;
private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
