#include "app/window_menu.h"

#include <QAction>
#include <QPointer>
#include <QVariantMap>

WindowMenu::WindowMenu(QObject* parent) : QObject(parent) {}

void WindowMenu::add(QAction* action, Shown shown)
{
    m_entries.append(Entry{action, shown});
    connect(action, &QAction::changed, this, &WindowMenu::entriesChanged);
    connect(action, &QObject::destroyed, this, [this, action] {
        for (int i = m_entries.size() - 1; i >= 0; --i) {
            if (m_entries.at(i).action == action)
                m_entries.removeAt(i);
        }
        emit entriesChanged();
    });
    emit entriesChanged();
}

void WindowMenu::addSeparator()
{
    m_entries.append(Entry{});
    emit entriesChanged();
}

void WindowMenu::setTrayAvailable(bool available)
{
    if (available == m_trayAvailable)
        return;
    m_trayAvailable = available;
    emit entriesChanged();
}

QList<const WindowMenu::Entry*> WindowMenu::shownEntries() const
{
    QList<const Entry*> shown;
    bool separatorDue = false;
    for (const Entry& e : m_entries) {
        if (!e.action) {
            separatorDue = !shown.isEmpty();
            continue;
        }
        if (!e.action->isVisible() || (m_trayAvailable && e.shown == Shown::WithoutTray))
            continue;
        if (separatorDue)
            shown.append(nullptr);
        separatorDue = false;
        shown.append(&e);
    }
    return shown;
}

QVariantList WindowMenu::entries() const
{
    QVariantList list;
    for (const Entry* e : shownEntries()) {
        QVariantMap m;
        if (!e) {
            m.insert(QStringLiteral("separator"), true);
        } else {
            m.insert(QStringLiteral("text"), plainText(e->action->text()));
            m.insert(QStringLiteral("enabled"), e->action->isEnabled());
            m.insert(QStringLiteral("checkable"), e->action->isCheckable());
            m.insert(QStringLiteral("checked"), e->action->isChecked());
        }
        list.append(m);
    }
    return list;
}

bool WindowMenu::trigger(int index)
{
    const QList<const Entry*> shown = shownEntries();
    if (index < 0 || index >= shown.size() || !shown.at(index) || !shown.at(index)->action->isEnabled())
        return false;
    // On the next turn of the event loop: the window's click handler ends
    // before an entry opens a dialog of its own or ends the program.
    QPointer<QAction> action(shown.at(index)->action);
    QMetaObject::invokeMethod(this, [action] {
        if (action)
            action->trigger();
    }, Qt::QueuedConnection);
    return true;
}

QString WindowMenu::plainText(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
                plain += text.at(++i);
            continue;
        }
        plain += text.at(i);
    }
    return plain;
}
