#pragma once
// The QML module Stryde.View: the types of this layer that the pages create
// or read (the key-function catalogue, KeyFunctions).

// Registers the module's types with QML; call once before loading a page
// (again is harmless).
void registerViewTypes();
