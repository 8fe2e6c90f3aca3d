#pragma once
// The main dialog (dialog 102 with menu 129 and icon 128): Select opens the
// file picker and the dialog shows the chosen file's shutter count in the
// result field and its details beneath; a file dropped onto the dialog or
// given on the command line is read the same way. The Select command itself
// is the toolkit-free SelectFlow, which the Linux dialog shares.
#include "windows_text.h"

#include <functional>
#include <optional>

#include "select_flow.h"

namespace frametally::win32 {

struct MainDialogHooks {
    // Stands in for the open-file picker (the tests' hook); unset, the
    // system's picker runs.
    std::function<SelectFlow::PickResult(ChosenFile&)> pickFile;
    // Stands in for the reading of a file (the tests' hook); unset, the
    // engine reads it.
    SelectFlow::Reader read;
};

// Runs the main dialog modally until it is closed (File > Exit, Escape or the
// close box); reads file first when one is given.
void runMainDialog(HINSTANCE instance, const std::optional<ChosenFile>& file, MainDialogHooks hooks = {});

// The picker's file types, NEF first, then JPEG, every camera file read
// (from the list of file types), and all files: pairs of description and patterns, each
// ended by a NUL, the whole by a second one.
const wchar_t* pickerFilter();

}  // namespace frametally::win32
