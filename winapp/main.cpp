// Frametally.exe: the Windows dialog. One optional operand, the file to read
// at once (as "Open with" and a drop onto the program's icon give it).
#include "windows_text.h"

#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "main_dialog.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::optional<frametally::ChosenFile> file;
    if (arguments != nullptr && count > 2) {
        MessageBoxW(nullptr, L"Frametally shows one file at a time: name one file.", L"Frametally",
                    MB_OK | MB_ICONWARNING);
        LocalFree(arguments);
        return 2;
    }
    if (arguments != nullptr && count == 2) {
        // A relative name is taken against the working folder.
        std::wstring full(32768, L'\0');
        const DWORD length = GetFullPathNameW(arguments[1], static_cast<DWORD>(full.size()), full.data(), nullptr);
        full.resize(length > 0 && length < full.size() ? length : 0);
        const std::string path = frametally::windows::narrow(full.empty() ? std::wstring(arguments[1]) : full);
        file = frametally::ChosenFile{path, path};
    }
    if (arguments != nullptr) LocalFree(arguments);
    frametally::win32::runMainDialog(instance, file);
    return 0;
}
