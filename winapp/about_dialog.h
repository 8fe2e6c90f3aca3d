#pragma once
// The About box (dialog 100): the program's name and version, the maker's
// copyright line and web address as a link, and the systems and cameras it is
// meant for. Modal over the main dialog; made afresh for every opening, so
// the link starts unvisited each time.
#include "windows_text.h"

namespace frametally::win32 {

void runAboutDialog(HINSTANCE instance, HWND owner);

}  // namespace frametally::win32
