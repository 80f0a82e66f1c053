#include "features/features_log.h"

Q_LOGGING_CATEGORY(lcFeatures, "stryde.features")
