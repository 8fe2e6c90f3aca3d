#include "about_dialog.h"

#include "hyperlink_static.h"
#include "resource_ids.h"

namespace frametally::win32 {

namespace {

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* link = reinterpret_cast<HyperlinkStatic*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            reinterpret_cast<HyperlinkStatic*>(lParam)->attach(GetDlgItem(dialog, IDC_WEBLINK));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (link != nullptr && reinterpret_cast<HWND>(lParam) == link->window()) {
                return reinterpret_cast<INT_PTR>(link->ctlColor(reinterpret_cast<HDC>(wParam)));
            }
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_WEBLINK && HIWORD(wParam) == STN_CLICKED && link != nullptr) {
                link->onClicked();
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void runAboutDialog(HINSTANCE instance, HWND owner) {
    HyperlinkStatic link;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, aboutProc, reinterpret_cast<LPARAM>(&link));
}

}  // namespace frametally::win32
