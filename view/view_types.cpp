#include "view/view_types.h"

// Written by the build from the types marked QML_ELEMENT in this folder.
void qml_register_types_Stryde_View();

void registerViewTypes()
{
    // A static library keeps the generated registration only when it is called.
    static const bool registered = [] {
        qml_register_types_Stryde_View();
        return true;
    }();
    (void)registered;
}
