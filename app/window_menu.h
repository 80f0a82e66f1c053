#pragma once
// The tray menu's entries as the window offers them (the title bar's help
// menu), so that nothing the tray menu does is out of reach on a desktop
// without a tray. An entry is a QAction, the same one the tray menu holds:
// the window shows its text (without the "&" of its shortcut letter), and a
// checkable action shows its check.
//
//   menu.add(restoreAction);                          // only while no tray is there
//   menu.add(loginAction, WindowMenu::Shown::Always); // in the window with a tray too
//   menu.addSeparator();

#include <QList>
#include <QObject>
#include <QVariantList>

class QAction;

class WindowMenu : public QObject {
    Q_OBJECT
public:
    enum class Shown { WithoutTray, Always };

    explicit WindowMenu(QObject* parent = nullptr);

    // Appends an entry; its changes (text, enabled, checked) reach the window.
    void add(QAction* action, Shown shown = Shown::WithoutTray);
    // A line between groups; shown only between two shown entries.
    void addSeparator();
    void setTrayAvailable(bool available);

    // The entries the window shows now, in order, each a map:
    // {text, enabled, checkable, checked}, or {separator: true}.
    QVariantList entries() const;
    // Triggers entry `index` of entries() on the next turn of the event loop;
    // false for a separator, a disabled entry or an index out of range.
    bool trigger(int index);

    // "Quit (&Q)" -> "Quit (Q)"; "&&" stays one "&".
    static QString plainText(const QString& text);

signals:
    void entriesChanged();

private:
    struct Entry {
        QAction* action = nullptr;       // null: a separator
        Shown shown = Shown::WithoutTray;
    };
    QList<const Entry*> shownEntries() const;

    QList<Entry> m_entries;
    bool m_trayAvailable = true;
};
