#pragma once
// The QML module Stryde.View: the types of this layer that the pages create
// or read (the key-function catalogue KeyFunctions, the macro models, and
// ViewFacade, uncreatable: the program makes it and publishes it as ui_View).

// Registers the module's types with QML, so that the pages and qmllint know
// them; call before loading a page (again is harmless).
void registerViewTypes();
