#include "app/active_window.h"

#include <algorithm>

QStringList ActiveWindow::names() const
{
    QStringList list;
    if (!program.isEmpty())
        list.append(program);
    for (const QString& c : classNames) {
        if (!c.isEmpty() && !list.contains(c))
            list.append(c);
    }
    return list;
}

QStringList sortedProgramNames(QStringList names)
{
    names.removeAll(QString());
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}
