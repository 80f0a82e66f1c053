#pragma once
// Profiles chosen by the program in front: <data root>/modules/setting/apps.bin,
// an INI file with one entry per program in the group "programs": the
// program's name (its executable's file name) as key, the profile number
// 0-5 as value.
//
//   [programs]
//   krita=2
//   game.exe=4
//
// A program has at most one profile. Names are compared without case and
// without a trailing ".exe", so a rule made on one system also matches the
// program on the other. The file is opened for each call and replaced
// atomically; a refused change or a failed write leaves it as it was. A
// change reads, edits and replaces the file while it holds the file's lock
// (apps.bin.lock), so that changes made at once by several programs (the
// window and the command-line tool) all stay. A file that is no INI text is
// kept aside as apps.bin.damaged by the next change, which starts afresh.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <optional>

class AppRules {
public:
    // The profile manager's profiles are numbered 0-5.
    static constexpr int ProfileCount = 6;
    static constexpr int MaxNameLength = 255;

    enum class Status {
        Ok,
        BadName,        // empty, too long, a path or control characters
        BadProfile,     // not 0-5
        NotFound,       // no rule for that program
        Damaged,        // the file cannot be read, or is damaged and cannot be kept aside
        WriteFailed,
    };

    struct Rule {
        QString program;    // as the user gave it
        int profile = -1;
    };

    explicit AppRules(const QString& dataRoot);
    QString fileName() const;

    // Every usable rule, ordered by profile, then by name without case.
    // Entries whose value is not a profile number are skipped (and kept in
    // the file).
    QList<Rule> rules() const;
    // The programs of `profile`, ordered by name without case.
    QStringList programsOf(int profile) const;
    // The rule of the first of `names` (best first) that has one.
    std::optional<Rule> match(const QStringList& names) const;

    // Gives `program` the profile `profile`; a rule of the same program
    // (compared as above) is replaced.
    Status add(int profile, const QString& program);
    // Removes the rule of `program` (compared as above).
    Status remove(const QString& program);
    // Removes every rule of `profile` (a deleted profile); Ok when it had none.
    Status removeProfile(int profile);

    // Ok, or BadName for a name that cannot be a program's file name: empty
    // (after trimming), longer than MaxNameLength, "." or "..", with a path
    // separator or a control character.
    static Status checkName(const QString& program);
    // The form names are compared in: lower case, without a trailing ".exe".
    static QString comparable(const QString& program);
    static bool isProfile(int profile) { return profile >= 0 && profile < ProfileCount; }
    // A short English text for logs and the command line.
    static QString statusText(Status status);

    // The profile numbers of the stored profile name list (name list type 2:
    // each entry a name followed by its number as one digit), in list order.
    static QList<int> listedProfiles(const QVariantList& nameList);
    // The name of `profile` in that list; empty when it is not listed.
    static QString profileName(const QVariantList& nameList, int profile);

private:
    enum class Read { Ok, Missing, Damaged };
    Read readAll(QList<QPair<QString, QVariant>>* entries, QList<Rule>* rules) const;
    Status write(const QList<QPair<QString, QVariant>>& entries) const;
    // Reads the entries, lets `change` edit them (Ok: write them back) and
    // writes them, all under the file's lock.
    Status edit(const std::function<Status(QList<QPair<QString, QVariant>>&)>& change) const;

    QString m_root;
};
