#pragma once
// The events of one macro as the macro editor shows and edits them: rows of
// { type, info } (type 0 a delay in ms, 1 / 2 a key pressed / released, 3 / 4
// a mouse button pressed / released; info the delay or the key's name). A
// stored entry that is not "<type digit>,<info>" is kept as it stands, with
// type -1. The model reads and writes the macro's file through the library.

#include <QAbstractListModel>
#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class MacroLibrary;

struct MacroEvent {
    int type = -1;
    QString info;
};

class MacroEventModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    // The page's ui_View: the model works on its macro library.
    Q_PROPERTY(QObject* view READ view WRITE setView NOTIFY viewChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role { TypeRole = Qt::UserRole + 1, InfoRole };

    explicit MacroEventModel(QObject* parent = nullptr);

    void setLibrary(MacroLibrary* library) { m_library = library; }
    QObject* view() const { return m_view; }
    void setView(QObject* view);
    int count() const { return int(m_events.size()); }

    // "<type digit>,<info>" as an event; anything else type -1 with the whole text.
    static MacroEvent parse(const QString& stored);
    // The stored text of an event.
    static QString text(const MacroEvent& event);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The stored macro `name` without showing it: { found, events, repeat }.
    Q_INVOKABLE QVariant read(const QString& name) const;
    // Shows the events of macro `name`; gives its repeat count (1 when it has no file).
    Q_INVOKABLE int load(const QString& name);
    // Writes the shown events and `repeat` into the file of macro `name`.
    Q_INVOKABLE bool save(const QString& name, int repeat) const;

    // The rows as { type, info }.
    Q_INVOKABLE QVariantList events() const;
    Q_INVOKABLE QVariant get(int row) const;
    Q_INVOKABLE void clear();
    Q_INVOKABLE void append(const QVariantMap& event) { insert(count(), event); }
    // Inserts { type, info } before `row` (appended when out of range).
    Q_INVOKABLE void insert(int row, const QVariantMap& event);
    Q_INVOKABLE void remove(int row);
    Q_INVOKABLE void setInfo(int row, const QString& info);

signals:
    void viewChanged();
    void countChanged();

private:
    void reset(const QList<MacroEvent>& events);

    QPointer<QObject> m_view;
    MacroLibrary* m_library = nullptr;
    QList<MacroEvent> m_events;
};
