#include "view/view_types.h"

#include "view/view_facade.h"

#include <QQmlEngine>

// Written by the build from the types marked QML_ELEMENT in this folder.
void qml_register_types_Stryde_View();

void registerViewTypes()
{
    // A static library keeps the generated registration only when it is called.
    static const bool registered = [] {
        qml_register_types_Stryde_View();
        qmlRegisterUncreatableType<ViewFacade>("Stryde.View", 1, 0, "ViewFacade",
                                               QStringLiteral("ui_View is made by the program"));
        return true;
    }();
    Q_UNUSED(registered);
}
