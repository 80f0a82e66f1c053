#include "view/view_log.h"

Q_LOGGING_CATEGORY(lcView, "stryde.view")
