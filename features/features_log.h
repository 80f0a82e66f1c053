#pragma once
// The logging category of the mouse feature operations.
// Every category logs by default; one alone is shown with, for example,
// QT_LOGGING_RULES="stryde.*.debug=false;stryde.features.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFeatures)
