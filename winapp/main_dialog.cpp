#include "main_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <string>

#include "about_dialog.h"
#include "details_panel.h"
#include "file_types.h"
#include "resource_ids.h"

namespace frametally::win32 {

namespace {

// The dialog's own controls take 80 dialog units; the details follow.
constexpr int kControlsHeight = 80;

class MainDialog : public SelectFlow::Ui {
public:
    MainDialog(HINSTANCE instance, const std::optional<ChosenFile>& file, MainDialogHooks hooks)
        : instance_(instance),
          initialFile_(file),
          hooks_(std::move(hooks)),
          flow_(*this, hooks_.read ? hooks_.read : SelectFlow::inspectionReader()) {}

    void run() {
        DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_FRAMETALLY_DIALOG), nullptr, dialogProc,
                        reinterpret_cast<LPARAM>(this));
    }

    SelectFlow::PickResult pickFile(ChosenFile& chosen) override {
        if (hooks_.pickFile) return hooks_.pickFile(chosen);
        std::wstring path(32768, L'\0');
        // The picker opens in the folder of the file read last, if any.
        std::wstring folder;
        if (flow_.selectedFile()) {
            folder = windows::widen(flow_.selectedFile()->path);
            const size_t separator = folder.find_last_of(L"\\/");
            folder = separator == std::wstring::npos ? std::wstring() : folder.substr(0, separator);
        }
        OPENFILENAMEW picker{};
        picker.lStructSize = sizeof picker;
        picker.hwndOwner = dialog_;
        picker.lpstrFilter = pickerFilter();
        picker.nFilterIndex = filterIndex_;
        picker.lpstrFile = path.data();
        picker.nMaxFile = static_cast<DWORD>(path.size());
        picker.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        picker.lpstrDefExt = L"NEF";
        picker.Flags =
            OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;
        if (GetOpenFileNameW(&picker) == 0) {
            return CommDlgExtendedError() == 0 ? SelectFlow::PickResult::Cancelled : SelectFlow::PickResult::NotCreated;
        }
        filterIndex_ = picker.nFilterIndex;
        chosen = chosenFile(path.c_str());
        return SelectFlow::PickResult::Confirmed;
    }

    void showMessage(const std::string& text) override {
        MessageBoxW(dialog_, windows::widen(text).c_str(), L"Frametally", MB_OK | MB_ICONWARNING);
    }

    void showReading(const SelectReading& reading) override {
        SetDlgItemTextW(dialog_, IDC_RESULT, windows::widen(reading.result).c_str());
        details_.show(reading);
    }

    static ChosenFile chosenFile(const wchar_t* path) {
        // The engine's file layer takes UTF-8 and opens it with the wide API.
        const std::string utf8 = windows::narrow(path);
        return ChosenFile{utf8, utf8};
    }

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            reinterpret_cast<MainDialog*>(lParam)->onInit(dialog);
            return FALSE;  // the focus was set
        }
        auto* self = reinterpret_cast<MainDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self != nullptr ? self->handle(message, wParam, lParam) : FALSE;
    }

    void onInit(HWND dialog) {
        dialog_ = dialog;
        const HMENU menu = LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_MAINMENU));
        SetMenu(dialog_, menu);
        const int big = GetSystemMetrics(SM_CXICON);
        const int small = GetSystemMetrics(SM_CXSMICON);
        bigIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, big, big, 0));
        smallIcon_ =
            static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, small, small, 0));
        SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
        SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

        fitResultField();
        details_.create(dialog_, kControlsHeight);
        // The client area holds the controls, the details and the menu bar.
        RECT client{0, 0, 216, kControlsHeight + DetailsPanel::kHeight};
        MapDialogRect(dialog_, &client);
        AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE)), TRUE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE)));
        SetWindowPos(dialog_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DragAcceptFiles(dialog_, TRUE);
        SetFocus(GetDlgItem(dialog_, IDC_SELECT));
        // "Open with" and the command line: read once the dialog is shown.
        if (initialFile_) PostMessageW(dialog_, WM_APP, 0, 0);
    }

    // The result field holds the longest result text whole ("Not Readable"
    // is wider than the field's 50 dialog units in some fonts at 96 DPI):
    // widened to the right where it would cut one off.
    void fitResultField() {
        const HWND field = GetDlgItem(dialog_, IDC_RESULT);
        const HDC dc = GetDC(field);
        const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
        LONG widest = 0;
        for (const wchar_t* text : {L"Not Readable", L"No EXIF data", L"No Count", L"4294967295"}) {
            SIZE extent{};
            GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
            widest = extent.cx > widest ? extent.cx : widest;
        }
        SelectObject(dc, previous);
        ReleaseDC(field, dc);
        RECT window{};
        RECT client{};
        GetWindowRect(field, &window);
        GetClientRect(field, &client);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&window), 2);
        const auto margins = static_cast<DWORD>(SendMessageW(field, EM_GETMARGINS, 0, 0));
        // The caret takes a pixel or two past the text.
        const LONG needed = widest + LOWORD(margins) + HIWORD(margins) + 4;
        if (client.right - client.left >= needed) return;
        SetWindowPos(field, nullptr, 0, 0, window.right - window.left + needed - (client.right - client.left),
                     window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    INT_PTR handle(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
            case WM_APP:
                if (initialFile_) flow_.readFile(*initialFile_);
                return TRUE;
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDC_SELECT:
                        if (HIWORD(wParam) == BN_CLICKED) flow_.select();
                        return TRUE;
                    case ID_HELP_ABOUT: runAboutDialog(instance_, dialog_); return TRUE;
                    case ID_FILE_EXIT:
                    case IDCANCEL:  // Escape and the close box
                        EndDialog(dialog_, 0);
                        return TRUE;
                    case IDOK:
                        // No default button: Enter presses the Select button
                        // when it has the focus, and does nothing elsewhere.
                        if (GetFocus() == GetDlgItem(dialog_, IDC_SELECT)) flow_.select();
                        return TRUE;
                    default: return FALSE;
                }
            case WM_DROPFILES: {
                const auto drop = reinterpret_cast<HDROP>(wParam);
                std::wstring path;
                const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
                if (length > 0) {
                    path.resize(length + 1);
                    path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
                }
                DragFinish(drop);
                if (!path.empty()) flow_.readFile(chosenFile(path.c_str()));
                return TRUE;
            }
            case WM_DESTROY:
                if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
                if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
                bigIcon_ = smallIcon_ = nullptr;
                return FALSE;
            default: return FALSE;
        }
    }

    HINSTANCE instance_;
    std::optional<ChosenFile> initialFile_;
    MainDialogHooks hooks_;
    SelectFlow flow_;
    DetailsPanel details_;
    HWND dialog_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    DWORD filterIndex_ = 1;
};

}  // namespace

const wchar_t* pickerFilter() {
    // Made once, from the list of file types read: pairs of a name and its
    // patterns, each ended by a NUL, the whole by a second NUL.
    static const std::wstring filter = [] {
        std::wstring camera;
        for (const std::string& extension : fileExtensions()) {
            camera += (camera.empty() ? L"*." : L";*.") + std::wstring(extension.begin(), extension.end());
        }
        std::wstring text;
        for (const std::wstring& part :
             {std::wstring(L"NEF Files (*.nef)"), std::wstring(L"*.nef"), std::wstring(L"JPG Files (*.jpg;*.jpeg)"),
              std::wstring(L"*.jpg;*.jpeg"), L"Camera Files (" + camera + L")", camera,
              std::wstring(L"All Files (*.*)"), std::wstring(L"*.*")}) {
            text += part;
            text += L'\0';
        }
        return text;
    }();
    return filter.c_str();
}

void runMainDialog(HINSTANCE instance, const std::optional<ChosenFile>& file, MainDialogHooks hooks) {
    MainDialog dialog(instance, file, std::move(hooks));
    dialog.run();
}

}  // namespace frametally::win32
