#include "device/hid_log.h"

Q_LOGGING_CATEGORY(lcHid, "stryde.hid")
