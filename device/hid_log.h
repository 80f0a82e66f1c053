#pragma once
// The logging category of the device link (HID traffic, hidapi errors, the listener).
// Every category logs by default; one alone is shown with, for example,
// QT_LOGGING_RULES="stryde.*.debug=false;stryde.hid.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHid)
