#pragma once
// Registers the view's C++ types with QML (uncreatable: the program makes
// them and publishes them by name), so that the pages and qmllint know them.
// Repeated calls do nothing.

void registerViewTypes();
