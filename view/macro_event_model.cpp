#include "view/macro_event_model.h"

#include "store/macro_library.h"
#include "store/my_qquick_view.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcViewModels)

namespace {

QVariantMap toMap(const MacroEvent& e)
{
    return {{QStringLiteral("type"), e.type}, {QStringLiteral("info"), e.info}};
}

MacroEvent fromMap(const QVariantMap& map)
{
    bool ok = false;
    const int type = map.value(QStringLiteral("type")).toInt(&ok);
    return {ok ? type : -1, map.value(QStringLiteral("info")).toString()};
}

// The library's list: the events, then the repeat count.
struct Stored {
    bool found = false;
    QList<MacroEvent> events;
    int repeat = 1;
};

Stored readStored(const MacroLibrary* library, const QString& name)
{
    Stored s;
    const QStringList list = library && !name.isEmpty() ? library->loadMacroIni(name) : QStringList();
    if (list.isEmpty())
        return s;
    s.found = true;
    for (int i = 0; i + 1 < list.size(); ++i)
        s.events.append(MacroEventModel::parse(list.at(i)));
    s.repeat = list.last().trimmed().toInt();   // not a number: 0
    return s;
}

} // namespace

MacroEventModel::MacroEventModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void MacroEventModel::setView(QObject* view)
{
    if (m_view == view)
        return;
    m_view = view;
    auto* host = qobject_cast<myQQuickView*>(view);
    if (view && !host)
        qCWarning(lcViewModels) << "macro events: the view given is not the interface's view host";
    m_library = host ? &host->macroLibrary() : nullptr;
    emit viewChanged();
}

MacroEvent MacroEventModel::parse(const QString& stored)
{
    const QChar digit = stored.isEmpty() ? QChar() : stored.at(0);
    if (stored.size() < 2 || digit < QLatin1Char('0') || digit > QLatin1Char('4') || stored.at(1) != QLatin1Char(','))
        return {-1, stored};
    return {digit.digitValue(), stored.mid(2)};
}

QString MacroEventModel::text(const MacroEvent& event)
{
    return event.type < 0 ? event.info : QString::number(event.type) + QLatin1Char(',') + event.info;
}

int MacroEventModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant MacroEventModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const MacroEvent& e = m_events.at(index.row());
    switch (role) {
    case TypeRole: return e.type;
    case InfoRole: return e.info;
    default: return {};
    }
}

QHash<int, QByteArray> MacroEventModel::roleNames() const
{
    return {{TypeRole, "type"}, {InfoRole, "info"}};
}

QVariant MacroEventModel::read(const QString& name) const
{
    const Stored s = readStored(m_library, name);
    QVariantList events;
    for (const MacroEvent& e : s.events)
        events.append(toMap(e));
    return QVariantMap{{QStringLiteral("found"), s.found}, {QStringLiteral("events"), events},
                       {QStringLiteral("repeat"), s.repeat}};
}

int MacroEventModel::load(const QString& name)
{
    const Stored s = readStored(m_library, name);
    reset(s.events);
    return s.found ? s.repeat : 1;
}

bool MacroEventModel::save(const QString& name, int repeat) const
{
    if (!m_library || name.isEmpty())
        return false;
    QStringList list;
    for (const MacroEvent& e : m_events)
        list.append(text(e));
    if (!m_library->saveMacroIni(name, list, repeat)) {
        qCWarning(lcViewModels) << "macro" << name << "could not be saved";
        return false;
    }
    return true;
}

QVariantList MacroEventModel::events() const
{
    QVariantList list;
    for (const MacroEvent& e : m_events)
        list.append(toMap(e));
    return list;
}

QVariant MacroEventModel::get(int row) const
{
    return row >= 0 && row < count() ? toMap(m_events.at(row)) : QVariantMap();
}

void MacroEventModel::clear()
{
    reset({});
}

void MacroEventModel::insert(int row, const QVariantMap& event)
{
    if (row < 0 || row > count())
        row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_events.insert(row, fromMap(event));
    endInsertRows();
    emit countChanged();
}

void MacroEventModel::remove(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_events.removeAt(row);
    endRemoveRows();
    emit countChanged();
}

void MacroEventModel::setInfo(int row, const QString& info)
{
    if (row < 0 || row >= count())
        return;
    m_events[row].info = info;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {InfoRole});
}

void MacroEventModel::reset(const QList<MacroEvent>& events)
{
    const bool countChanges = events.size() != m_events.size();
    beginResetModel();
    m_events = events;
    endResetModel();
    if (countChanges)
        emit countChanged();
}
