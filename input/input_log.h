#pragma once
// The logging category of keyboard and mouse capture.
// Every category logs by default; one alone is shown with, for example,
// QT_LOGGING_RULES="stryde.*.debug=false;stryde.input.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcInput)
