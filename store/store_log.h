#pragma once
// The logging category of the settings files and the libraries.
// Every category logs by default; one alone is shown with, for example,
// QT_LOGGING_RULES="stryde.*.debug=false;stryde.store.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcStore)
