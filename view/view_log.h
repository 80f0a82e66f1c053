#pragma once
// The logging category of the view layer: the ui_View object the pages use
// and the window that shows them.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcView)
