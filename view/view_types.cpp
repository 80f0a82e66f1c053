#include "view/view_types.h"

#include "view/view_facade.h"

#include <QQmlEngine>

void registerViewTypes()
{
    static const bool registered = [] {
        qmlRegisterUncreatableType<ViewFacade>("Stryde.View", 1, 0, "ViewFacade",
                                               QStringLiteral("ui_View is made by the program"));
        return true;
    }();
    Q_UNUSED(registered);
}
