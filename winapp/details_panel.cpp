#include "details_panel.h"

#include <commctrl.h>

#include "resource_ids.h"
#include "text_shape.h"

namespace frametally::win32 {

namespace {

// As the Linux dialog: titles line up with the texts above them, values leave
// room for a lens name, and the reason (or what a count counts) takes the
// whole width beneath its title, with room for three lines; the mechanical
// count and the rated life follow it, the rated life with room for two lines.
constexpr int kTitleLeft = 32;
constexpr int kTitleWidth = 64;
constexpr int kValueLeft = 96;
constexpr int kValueWidth = 112;
constexpr int kRowPitch = 11;
constexpr int kLineHeight = 8;
constexpr int kReasonTop = 5 * kRowPitch;
constexpr int kReasonWidth = kValueLeft + kValueWidth - kTitleLeft;
constexpr int kReasonLines = 3;
constexpr int kRatedLifeLines = 2;
constexpr wchar_t kTooltipProperty[] = L"FrametallyTooltip";

RECT dialogRect(HWND dialog, int x, int y, int width, int height) {
    RECT area{x, y, x + width, y + height};
    MapDialogRect(dialog, &area);
    return area;
}

HWND addControl(HWND dialog, const wchar_t* type, int id, const wchar_t* text, DWORD style, int x, int y, int width,
                int height) {
    const RECT area = dialogRect(dialog, x, y, width, height);
    const HWND control = CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, area.left, area.top,
                                         area.right - area.left, area.bottom - area.top, dialog,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

// A multi-line edit field asks the dialog for every key, Tab included: this
// one lets Tab and Enter go to the dialog, as a one-line field does.
LRESULT CALLBACK passTabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_GETDLGCODE) return DefSubclassProc(window, message, wParam, lParam) & ~DLGC_WANTALLKEYS;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, passTabProc, 1);
    return DefSubclassProc(window, message, wParam, lParam);
}

// A value: read-only, reached with Tab, selectable and copyable.
HWND addValue(HWND dialog, int id, bool multiLine, int x, int y, int width, int height) {
    const DWORD style = WS_TABSTOP | ES_READONLY | ES_LEFT | (multiLine ? ES_MULTILINE : ES_AUTOHSCROLL);
    const HWND value = addControl(dialog, L"EDIT", id, L"", style, x, y, width, height);
    SendMessageW(value, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if (multiLine) SetWindowSubclass(value, passTabProc, 1, 0);
    return value;
}

void setText(HWND dialog, int id, const std::string& utf8) {
    SetDlgItemTextW(dialog, id, windows::widen(onOneLine(utf8)).c_str());
}

}  // namespace

void DetailsPanel::create(HWND dialog, int top) {
    dialog_ = dialog;
    top_ = top;
    const wchar_t* titles[] = {L"File:", L"Camera:", L"Serial number:", L"Date taken:", L"Lens:"};
    const int ids[] = {IDC_DETAIL_FILE, IDC_DETAIL_CAMERA, IDC_DETAIL_SERIAL, IDC_DETAIL_DATE, IDC_DETAIL_LENS};
    for (int row = 0; row < 5; ++row) {
        const int y = top + row * kRowPitch;
        addControl(dialog, L"STATIC", IDC_STATIC, titles[row], SS_LEFT | SS_NOPREFIX, kTitleLeft, y, kTitleWidth,
                   kLineHeight);
        addValue(dialog, ids[row], false, kValueLeft, y, kValueWidth, kLineHeight);
    }
    addControl(dialog, L"STATIC", IDC_DETAIL_REASON_TITLE, L"Why no count:", SS_LEFT | SS_NOPREFIX, kTitleLeft,
               top + kReasonTop, kTitleWidth, kLineHeight);
    addValue(dialog, IDC_DETAIL_REASON, true, kTitleLeft, top + kReasonTop + 10, kReasonWidth,
             kReasonLines * kLineHeight);
    addControl(dialog, L"STATIC", IDC_DETAIL_MECHANICAL_TITLE, L"Mechanical count:", SS_LEFT | SS_NOPREFIX, kTitleLeft,
               0, kTitleWidth, kLineHeight);
    addValue(dialog, IDC_DETAIL_MECHANICAL, false, kValueLeft, 0, kValueWidth, kLineHeight);
    addControl(dialog, L"STATIC", IDC_DETAIL_RATED_TITLE, L"Rated life:", SS_LEFT | SS_NOPREFIX, kTitleLeft, 0,
               kTitleWidth, kLineHeight);
    addValue(dialog, IDC_DETAIL_RATED, true, kValueLeft, 0, kValueWidth, kRatedLifeLines * kLineHeight);
    for (const int id : {IDC_DETAIL_REASON_TITLE, IDC_DETAIL_REASON, IDC_DETAIL_MECHANICAL_TITLE, IDC_DETAIL_MECHANICAL,
                         IDC_DETAIL_RATED_TITLE, IDC_DETAIL_RATED}) {
        ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
    }

    // The file's full path as the tooltip of its name.
    const HWND file = GetDlgItem(dialog, IDC_DETAIL_FILE);
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(file);
    tool.lpszText = fullPath_.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
    SetPropW(file, kTooltipProperty, tooltip_);
}

HWND DetailsPanel::fileTooltip(HWND fileValue) { return static_cast<HWND>(GetPropW(fileValue, kTooltipProperty)); }

std::string DetailsPanel::fileName(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::wstring DetailsPanel::elidedInTheMiddle(HDC dc, const std::wstring& text, int width) {
    const auto fits = [dc, width](const std::wstring& candidate) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, candidate.c_str(), static_cast<int>(candidate.size()), &extent);
        return extent.cx <= width;
    };
    if (fits(text)) return text;
    // The most characters kept, about as many from the end as from the start.
    size_t low = 0;
    size_t high = text.size();
    const auto shortened = [&text](size_t kept) {
        const size_t head = (kept + 1) / 2;
        return text.substr(0, head) + L"\u2026" + text.substr(text.size() - (kept - head));
    };
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        if (fits(shortened(middle))) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return shortened(low);
}

int DetailsPanel::placeRow(int titleId, int valueId, const std::string& text, int top, int lines) {
    const HWND title = GetDlgItem(dialog_, titleId);
    const HWND value = GetDlgItem(dialog_, valueId);
    SetWindowTextW(value, windows::widen(text).c_str());
    const int show = text.empty() ? SW_HIDE : SW_SHOW;
    ShowWindow(title, show);
    ShowWindow(value, show);
    if (text.empty()) return 0;
    const RECT titleArea = dialogRect(dialog_, kTitleLeft, top, kTitleWidth, kLineHeight);
    SetWindowPos(title, nullptr, titleArea.left, titleArea.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT valueArea{};
    GetWindowRect(value, &valueArea);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&valueArea), 2);
    SetWindowPos(value, nullptr, valueArea.left, titleArea.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int used = lines > 1 ? static_cast<int>(SendMessageW(value, EM_GETLINECOUNT, 0, 0)) : 1;
    return (used < 1 ? 1 : used > lines ? lines : used) * kLineHeight + 3;
}

void DetailsPanel::show(const SelectReading& reading) {
    // The file's name, shortened in the middle where it is too long (its
    // start and its number both stay in sight), the full path as tooltip.
    const HWND file = GetDlgItem(dialog_, IDC_DETAIL_FILE);
    const std::wstring name = windows::widen(onOneLine(fileName(reading.file.displayPath)));
    RECT client{};
    GetClientRect(file, &client);
    const HDC dc = GetDC(file);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(file, WM_GETFONT, 0, 0)));
    SetWindowTextW(file, elidedInTheMiddle(dc, name, client.right - client.left).c_str());
    SelectObject(dc, previous);
    ReleaseDC(file, dc);
    fullPath_ = windows::widen(onOneLine(reading.file.displayPath));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(file);
    tool.lpszText = fullPath_.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));

    setText(dialog_, IDC_DETAIL_CAMERA, reading.camera);
    setText(dialog_, IDC_DETAIL_SERIAL, reading.serialNumber);
    setText(dialog_, IDC_DETAIL_DATE, reading.dateTaken);
    setText(dialog_, IDC_DETAIL_LENS, reading.lens);

    // Under a count, the reason's place says what it counts.
    const bool counts = reading.reason.empty() && !reading.countKind.empty();
    SetDlgItemTextW(dialog_, IDC_DETAIL_REASON_TITLE, counts ? L"What it counts:" : L"Why no count:");
    const std::string words = counts ? reading.countKind : reading.reason;
    int top = top_ + kReasonTop;
    const HWND reasonTitle = GetDlgItem(dialog_, IDC_DETAIL_REASON_TITLE);
    const HWND reason = GetDlgItem(dialog_, IDC_DETAIL_REASON);
    SetWindowTextW(reason, windows::widen(words).c_str());
    ShowWindow(reasonTitle, words.empty() ? SW_HIDE : SW_SHOW);
    ShowWindow(reason, words.empty() ? SW_HIDE : SW_SHOW);
    if (!words.empty()) {
        const int lines = static_cast<int>(SendMessageW(reason, EM_GETLINECOUNT, 0, 0));
        top += 10 + (lines < 1 ? 1 : lines > kReasonLines ? kReasonLines : lines) * kLineHeight + 3;
    }
    top += placeRow(IDC_DETAIL_MECHANICAL_TITLE, IDC_DETAIL_MECHANICAL, reading.mechanicalCount, top, 1);
    placeRow(IDC_DETAIL_RATED_TITLE, IDC_DETAIL_RATED, reading.ratedLife, top, kRatedLifeLines);
}

}  // namespace frametally::win32
