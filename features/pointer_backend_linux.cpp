// Linux: the desktop's settings where it offers them (GNOME through gsettings).

#include "features/pointer_backend.h"
#include "features/pointer_gsettings.h"

std::unique_ptr<PointerBackend> makePointerBackend()
{
    return std::make_unique<GsettingsPointerBackend>();
}
