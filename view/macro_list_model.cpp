#include "view/macro_list_model.h"

#include "store/macro_library.h"
#include "store/my_qquick_view.h"
#include "store/name_lists.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcViewModels, "stryde.view")

namespace {
// The name list of the macros (NameLists type 0).
constexpr int kMacroNames = 0;
} // namespace

MacroListModel::MacroListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void MacroListModel::setBackends(MacroLibrary* library, NameLists* names)
{
    m_library = library;
    m_lists = names;
}

void MacroListModel::setView(QObject* view)
{
    if (m_view == view)
        return;
    m_view = view;
    auto* host = qobject_cast<myQQuickView*>(view);
    if (view && !host)
        qCWarning(lcViewModels) << "macro list: the view given is not the interface's view host";
    setBackends(host ? &host->macroLibrary() : nullptr, host ? &host->nameLists() : nullptr);
    emit viewChanged();
}

int MacroListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant MacroListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count() || (role != TextValueRole && role != Qt::DisplayRole))
        return {};
    return m_names.at(index.row());
}

QHash<int, QByteArray> MacroListModel::roleNames() const
{
    return {{TextValueRole, "textValue"}};
}

void MacroListModel::reload()
{
    QStringList shown;
    if (m_lists) {
        for (const QVariant& entry : m_lists->getNameList(kMacroNames)) {
            const QString name = entry.toString();
            if (name.isEmpty() || name == NameLists::padEntry() || shown.contains(name))
                continue;
            if (shown.size() >= MaxMacros)
                break;
            shown.append(name);
        }
    }
    beginResetModel();
    m_names = shown;
    endResetModel();
    emit countChanged();
}

QVariant MacroListModel::get(int row) const
{
    if (row < 0 || row >= count())
        return QVariantMap();
    return QVariantMap{{QStringLiteral("textValue"), m_names.at(row)}};
}

QString MacroListModel::freeName() const
{
    for (int i = 0; i < MaxMacros; ++i) {
        const QString name = QStringLiteral("Macro_%1").arg(i);
        if (!m_names.contains(name))
            return name;
    }
    return {};
}

bool MacroListModel::add(int row, const QString& name)
{
    if (name.isEmpty() || count() >= MaxMacros || m_names.contains(name))
        return false;
    if (row < 0 || row > count())
        row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_names.insert(row, name);
    endInsertRows();
    emit countChanged();
    storeNames();
    return true;
}

bool MacroListModel::remove(int row)
{
    if (row < 0 || row >= count() || !m_library)
        return false;
    const QString name = m_names.at(row);
    if (!m_library->deleteMacroIni(name) && !m_library->loadMacroIni(name).isEmpty()) {
        qCWarning(lcViewModels) << "macro" << name << "could not be deleted; it stays in the list";
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_names.removeAt(row);
    endRemoveRows();
    emit countChanged();
    storeNames();
    return true;
}

bool MacroListModel::rename(int row, const QString& newName)
{
    if (row < 0 || row >= count() || !m_library)
        return false;
    const QString oldName = m_names.at(row);
    const QString name = newName.trimmed();
    if (name.isEmpty() || name == oldName || m_names.contains(name) || name == NameLists::padEntry())
        return false;
    if (!MacroLibrary::isValidMacroName(name)) {
        qCInfo(lcViewModels) << "macro name refused:" << name;
        return false;
    }
    if (!m_library->modifyMacroNameUpdateProfile(oldName, name)) {
        qCWarning(lcViewModels) << "macro" << oldName << "could not be renamed to" << name;
        return false;
    }
    m_names[row] = name;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {TextValueRole});
    storeNames();
    emit renamed(oldName, name);
    return true;
}

void MacroListModel::storeNames()
{
    if (m_lists && !m_lists->updataNameList(kMacroNames, m_names))
        qCWarning(lcViewModels) << "the macro name list could not be stored";
}
