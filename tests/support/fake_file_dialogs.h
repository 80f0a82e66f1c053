#pragma once
// The tests' file dialogs: answers from a queue, records what was asked.

#include "store/scripted_file_dialogs.h"

using FakeFileDialogs = ScriptedFileDialogs;
