#include "hyperlink_static.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "resource_ids.h"

namespace frametally::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The default value of a key under HKEY_CLASSES_ROOT; empty when there is
// none.
std::wstring classesDefault(const std::wstring& key) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes < sizeof(wchar_t)) {
        return {};
    }
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

}  // namespace

HyperlinkStatic::~HyperlinkStatic() { detach(); }

UINT HyperlinkStatic::clickedMessage() {
    static const UINT message = RegisterWindowMessageW(L"WM_XHYPERLINK_CLICKED");
    return message;
}

void HyperlinkStatic::attach(HWND control) {
    detach();
    control_ = control;
    // SS_NOTIFY: the static control reports clicks (STN_CLICKED).
    SetWindowLongPtrW(control_, GWL_STYLE, GetWindowLongPtrW(control_, GWL_STYLE) | SS_NOTIFY);
    if (linkText_.empty()) linkText_ = windowText(control_);
    if (windowText(control_).empty() && !linkText_.empty()) {
        SetWindowTextW(control_, linkText_.c_str());
    }

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control_, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    plainFont_ = CreateFontIndirectW(&description);
    description.lfUnderline = TRUE;
    underlinedFont_ = CreateFontIndirectW(&description);
    if (underlineMode_ == UnderlineAlways)
        SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(underlinedFont_), TRUE);

    fitToText();
    // The system's own hand cursor (there since Windows 2000): shared, so it
    // is never destroyed.
    cursor_ = LoadCursorW(nullptr, IDC_HAND);

    if (showTooltip_) {
        tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, control_, nullptr, nullptr, nullptr);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        // TTF_SUBCLASS: the tooltip watches the control's mouse messages
        // itself, as relaying each of them would.
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = control_;
        tool.uId = 1;
        GetClientRect(control_, &tool.rect);
        tool.lpszText = linkText_.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SetWindowSubclass(control_, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void HyperlinkStatic::watchBrowser() {
    if (browser_ == nullptr) {
        stopWatching();
        return;
    }
    DWORD status = STILL_ACTIVE;
    const bool ended = WaitForSingleObject(browser_, 0) == WAIT_OBJECT_0 && GetExitCodeProcess(browser_, &status);
    if (ended) {
        stopWatching();
        if (status != 0) failOpening();
    } else if (++browserChecks_ * kBrowserCheckInterval >= kBrowserWatch) {
        stopWatching();  // still running: it has started
    }
}

void HyperlinkStatic::detach() {
    stopWatching();
    if (control_ != nullptr && IsWindow(control_)) {
        KillTimer(control_, kHoverTimer);
        RemoveWindowSubclass(control_, subclassProc, kSubclassId);
    }
    if (tooltip_ != nullptr && IsWindow(tooltip_)) DestroyWindow(tooltip_);
    if (plainFont_ != nullptr) DeleteObject(plainFont_);
    if (underlinedFont_ != nullptr) DeleteObject(underlinedFont_);
    control_ = tooltip_ = nullptr;
    plainFont_ = underlinedFont_ = nullptr;
    cursor_ = nullptr;
}

void HyperlinkStatic::fitToText() {
    if (!fitToText_ || control_ == nullptr || !IsWindow(control_)) return;
    RECT window{};
    RECT client{};
    GetWindowRect(control_, &window);
    GetClientRect(control_, &client);
    MapWindowPoints(control_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const HWND parent = GetParent(control_);
    if (parent != nullptr) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&client), 2);
    }
    const std::wstring text = windowText(control_);
    SIZE extent{};
    const HDC dc = GetDC(control_);
    const HGDIOBJ previous = SelectObject(dc, underlinedFont_);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control_, dc);

    const LONG height = extent.cy + (client.top - window.top) + (window.bottom - client.bottom);
    const LONG width = extent.cx + (client.left - window.left) + (window.right - client.right);
    const LONG_PTR style = GetWindowLongPtrW(control_, GWL_STYLE);
    if ((style & SS_CENTERIMAGE) != 0) {
        const LONG shift = (window.bottom - window.top - height) / 2;
        window.top += shift;
        window.bottom -= shift;
    } else {
        window.bottom = window.top + height;
    }
    if ((style & SS_TYPEMASK) == SS_CENTER) {
        const LONG shift = (window.right - window.left - width) / 2;
        window.left += shift;
        window.right -= shift;
    } else if ((style & SS_TYPEMASK) == SS_RIGHT) {
        window.left = window.right - width;
    } else {
        window.right = window.left + width;
    }
    SetWindowPos(control_, nullptr, window.left, window.top, window.right - window.left, window.bottom - window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH HyperlinkStatic::ctlColor(HDC dc) const {
    SetTextColor(dc, hovering_ ? kHoverColour : visited_ ? kVisitedColour : kLinkColour);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void HyperlinkStatic::setVisited(bool visited) {
    visited_ = visited;
    if (control_ != nullptr && IsWindow(control_)) InvalidateRect(control_, nullptr, TRUE);
}

std::wstring HyperlinkStatic::browserCommandLine(const std::wstring& registered, const std::wstring& link) {
    if (registered.empty()) return {};
    std::wstring command = registered;
    size_t placeholder = command.find(L"\"%1\"");
    if (placeholder == std::wstring::npos) placeholder = command.find(L"%1");
    if (placeholder != std::wstring::npos) command.resize(placeholder);
    return command + L" " + link;
}

INT_PTR HyperlinkStatic::openLink(const std::wstring& link, int showCommand, HANDLE* started) {
    if (started != nullptr) *started = nullptr;
    if (link.empty()) return kEmptyLink;
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpVerb = L"open";
    execute.lpFile = link.c_str();
    execute.nShow = showCommand;
    const bool executed = ShellExecuteExW(&execute) != FALSE;
    auto shell = reinterpret_cast<INT_PTR>(execute.hInstApp);
    if (executed) {
        if (started != nullptr) {
            *started = execute.hProcess;
        } else if (execute.hProcess != nullptr) {
            CloseHandle(execute.hProcess);
        }
        return shell > 32 ? shell : 42;  // opened, by a program that answered no number
    }
    if (shell > 32) shell = SE_ERR_NOASSOC;
    // The browser registered for web pages, started with the link.
    const std::wstring pageClass = classesDefault(L".htm");
    if (pageClass.empty()) return shell;
    std::wstring command = browserCommandLine(classesDefault(pageClass + L"\\shell\\open\\command"), link);
    if (command.empty()) return shell;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) ==
        0) {
        return shell;
    }
    CloseHandle(process.hThread);
    if (started != nullptr) {
        *started = process.hProcess;
    } else {
        CloseHandle(process.hProcess);
    }
    return 33;  // what WinExec answers for a program started
}

namespace {

INT_PTR CALLBACK openFailureProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const HWND address = GetDlgItem(box, IDC_OPEN_LINK_ADDRESS);
            SetWindowTextW(address, reinterpret_cast<const wchar_t*>(lParam));
            SetFocus(address);
            SendMessageW(address, EM_SETSEL, 0, -1);
            return FALSE;  // the focus was set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(box, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void HyperlinkStatic::showOpenFailure() const {
    // Many systems never play the beep: say it, and give the address selected
    // in a field, so that Ctrl+C copies it.
    const HWND owner = GetParent(control_);
    if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_OPEN_LINK), owner, openFailureProc,
                        reinterpret_cast<LPARAM>(linkText_.c_str())) == -1) {
        const std::wstring text = L"No web browser could be opened. The address is:\n\n" + linkText_;
        MessageBoxW(owner, text.c_str(), L"Open Link", MB_OK | MB_ICONINFORMATION);
    }
}

void HyperlinkStatic::failOpening() {
    setVisited(false);
    MessageBeep(MB_ICONEXCLAMATION);
    showOpenFailure();
}

void HyperlinkStatic::stopWatching() {
    if (control_ != nullptr && IsWindow(control_)) KillTimer(control_, kBrowserTimer);
    if (browser_ != nullptr) CloseHandle(browser_);
    browser_ = nullptr;
}

void HyperlinkStatic::onClicked() {
    hovering_ = false;
    stopWatching();
    HANDLE started = nullptr;
    const INT_PTR result = linkEnabled_ ? openLink(linkText_, SW_SHOW, &started) : kLinkDisabled;
    setVisited(result > 32);
    if (result <= 32) {
        MessageBeep(MB_ICONEXCLAMATION);
        showOpenFailure();
    } else if (started != nullptr) {
        // A browser that cannot run (one that refuses to start as an
        // administrator, say) ends at once with a failure status: watched for
        // a moment, so that the user is then told and given the address.
        browser_ = started;
        browserChecks_ = 0;
        SetTimer(control_, kBrowserTimer, kBrowserCheckInterval, nullptr);
    }
    const HWND parent = GetParent(control_);
    if (notifyParent_ && parent != nullptr && IsWindow(parent)) {
        SendMessageW(parent, clickedMessage(), static_cast<WPARAM>(GetDlgCtrlID(control_)), 0);
    }
}

LRESULT CALLBACK HyperlinkStatic::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        auto* link = reinterpret_cast<HyperlinkStatic*>(self);
        RemoveWindowSubclass(window, subclassProc, kSubclassId);
        KillTimer(window, kHoverTimer);
        link->control_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return reinterpret_cast<HyperlinkStatic*>(self)->handle(message, wParam, lParam);
}

LRESULT HyperlinkStatic::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            if (cursor_ == nullptr) break;
            SetCursor(cursor_);
            return TRUE;
        case WM_MOUSEMOVE:
            if (!hovering_) {
                hovering_ = true;
                if (underlineMode_ == UnderlineHover) {
                    SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(underlinedFont_), TRUE);
                }
                InvalidateRect(control_, nullptr, TRUE);
                SetTimer(control_, kHoverTimer, kHoverInterval, nullptr);
            }
            break;
        case WM_TIMER: {
            if (wParam == kBrowserTimer) {
                watchBrowser();
                return 0;
            }
            const DWORD position = GetMessagePos();
            POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
            ScreenToClient(control_, &point);
            RECT client{};
            GetClientRect(control_, &client);
            if (!PtInRect(&client, point)) {
                hovering_ = false;
                KillTimer(control_, kHoverTimer);
                if (underlineMode_ != UnderlineAlways) {
                    SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(plainFont_), TRUE);
                }
                client.bottom += 10;
                InvalidateRect(control_, &client, TRUE);
            }
            break;
        }
        // Reached with Tab: Enter or Space opens the link, and a focus
        // rectangle shows where the keyboard is.
        case WM_GETDLGCODE:
            if (lParam != 0) {
                const auto* key = reinterpret_cast<const MSG*>(lParam);
                if (key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_SPACE))
                    return DLGC_WANTMESSAGE;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) {
                onClicked();
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(control_, nullptr, TRUE); break;
        case WM_PAINT: {
            const LRESULT painted = DefSubclassProc(control_, message, wParam, lParam);
            if (GetFocus() == control_) {
                RECT client{};
                GetClientRect(control_, &client);
                const HDC dc = GetDC(control_);
                DrawFocusRect(dc, &client);
                ReleaseDC(control_, dc);
            }
            return painted;
        }
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(control_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
            return TRUE;
        }
        default: break;
    }
    return DefSubclassProc(control_, message, wParam, lParam);
}

}  // namespace frametally::win32
