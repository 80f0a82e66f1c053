#pragma once
// The logging category of the program: window, tray, device checks.
// Every category logs by default; one alone is shown with, for example,
// QT_LOGGING_RULES="stryde.*.debug=false;stryde.app.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
