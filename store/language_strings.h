#pragma once
// The interface texts: one INI file per language below modules/i18n/, one
// group per page, each group a "total" and the strings "0" … total − 1.
//
// The group "other" also carries the eight texts of the DPI-switch tray
// notice. The device link keeps those for its listener thread; this class
// hands them over as a complete copy through a sink, so the receiver only
// has to store one value under its own lock.

#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>

class LanguageStrings {
public:
    // Number of DPI-switch texts, one per stage of the mouse.
    static constexpr int DpiSwitchTextCount = 8;

    // Called with all eight DPI-switch texts whenever a read of the group
    // "other" changed them. Runs on the caller's thread (the GUI thread).
    using DpiSwitchSink = std::function<void(const QStringList& texts)>;

    // dataRoot: the folder that holds modules/ ("." in the application).
    explicit LanguageStrings(const QString& dataRoot);

    // The strings of group typeStr in the language langCode, in order; the
    // list always has the group's "total" elements (missing ones empty). A
    // missing file, group or "total", or a code that is not a plain file
    // name, gives an empty list. Reading "other" (exactly, case-sensitive)
    // also updates the DPI-switch texts and notifies the sink.
    QStringList getLangStrings(const QString& typeStr, const QString& langCode);

    // Installs the receiver of the DPI-switch texts (may be empty).
    void setDpiSwitchSink(DpiSwitchSink sink);

    // A copy of the current eight DPI-switch texts; safe from any thread.
    QStringList dpiSwitchTexts() const;

    // Eight times "DPI Switch to": what the notice says before any language
    // file has been read.
    static QStringList defaultDpiSwitchTexts();

    // The eight texts after taking a group "other" over `current`: entry i
    // becomes group[i] when that exists and is not empty, else keeps its
    // text, so every entry always holds a usable text.
    static QStringList mergeDpiSwitchTexts(const QStringList& current, const QStringList& group);

    // Path of the language file of langCode, or empty when the code could
    // leave modules/i18n/ (path separators, "..", empty).
    QString languageFilePath(const QString& langCode) const;

    // Upper bound on the strings of one group, so a damaged "total" cannot
    // make a single read allocate without limit.
    static constexpr int MaxGroupSize = 4096;

private:
    QString m_root;
    mutable QMutex m_mutex;
    QStringList m_dpiSwitchTexts;
    DpiSwitchSink m_sink;
};
