#pragma once
// The macro editor's list of macros: the names of the macro library in the
// order of the stored name list, at most MaxMacros. Every change is one step
// that keeps the files, the profiles and the name list in agreement: a
// rename renames the macro file, carries the new name into the profiles'
// bindings, stores the list and reports renamed(); a refused rename changes
// nothing.

#include <QAbstractListModel>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class MacroLibrary;
class NameLists;

class MacroListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    // The page's ui_View: the model works on its macro library and name lists.
    Q_PROPERTY(QObject* view READ view WRITE setView NOTIFY viewChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    static constexpr int MaxMacros = 100;
    enum Role { TextValueRole = Qt::UserRole + 1 };

    explicit MacroListModel(QObject* parent = nullptr);

    // The library and the name lists to work on (the view's, or a test's).
    void setBackends(MacroLibrary* library, NameLists* names);

    QObject* view() const { return m_view; }
    void setView(QObject* view);
    int count() const { return int(m_names.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Reads the stored name list again: the pad entry, empty and repeated
    // names are left out, and no more than MaxMacros are shown.
    Q_INVOKABLE void reload();
    // { textValue } of a row; empty for a row that does not exist.
    Q_INVOKABLE QVariant get(int row) const;
    Q_INVOKABLE QStringList names() const { return m_names; }
    Q_INVOKABLE int indexOf(const QString& name) const { return int(m_names.indexOf(name)); }
    // The first "Macro_<i>" not in use, "" when all are.
    Q_INVOKABLE QString freeName() const;
    // Shows the macro `name`, whose file exists, at `row` (appended when out
    // of range) and stores the list. False when the list is full or has it.
    Q_INVOKABLE bool add(int row, const QString& name);
    // Deletes the macro of `row` and its row; a file that refuses to go keeps
    // its row, so that list and files agree.
    Q_INVOKABLE bool remove(int row);
    // Renames the macro of `row` to `newName` (trimmed). Refused, changing
    // nothing: an empty or unchanged name, a name in use, the name list's pad
    // entry, a name the library refuses (see MacroLibrary::isValidMacroName),
    // or a rename the library cannot carry out.
    Q_INVOKABLE bool rename(int row, const QString& newName);

signals:
    void viewChanged();
    void countChanged();
    // A macro was renamed: its file, the profiles' bindings and the list follow.
    void renamed(const QString& oldName, const QString& newName);

private:
    void storeNames();

    QPointer<QObject> m_view;
    MacroLibrary* m_library = nullptr;
    NameLists* m_lists = nullptr;
    QStringList m_names;
};
