#include "details_panel.h"

#include <cctype>

#include "resource_ids.h"
#include "text_shape.h"

namespace frametally::win32 {

namespace {

// As the Linux dialog: titles line up with the texts above them, values leave
// room for a lens name, and the reason takes the whole width beneath its
// title, with room for three lines.
constexpr int kTitleLeft = 32;
constexpr int kTitleWidth = 60;
constexpr int kValueLeft = 96;
constexpr int kValueWidth = 112;
constexpr int kRowPitch = 11;
constexpr int kReasonTop = 5 * kRowPitch;
constexpr int kReasonWidth = kValueLeft + kValueWidth - kTitleLeft;
constexpr int kReasonHeight = 3 * 8;

HWND addStatic(HWND dialog, int id, const wchar_t* text, DWORD style, int x, int y, int width, int height) {
    RECT area{x, y, x + width, y + height};
    MapDialogRect(dialog, &area);
    const HWND control = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, area.left,
                                         area.top, area.right - area.left, area.bottom - area.top, dialog,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

void setText(HWND dialog, int id, const std::string& utf8) {
    SetDlgItemTextW(dialog, id, windows::widen(onOneLine(utf8)).c_str());
}

}  // namespace

void DetailsPanel::create(HWND dialog, int top) {
    dialog_ = dialog;
    const wchar_t* titles[] = {L"File:", L"Camera:", L"Serial number:", L"Date taken:", L"Lens:"};
    const int ids[] = {IDC_DETAIL_FILE, IDC_DETAIL_CAMERA, IDC_DETAIL_SERIAL, IDC_DETAIL_DATE, IDC_DETAIL_LENS};
    for (int row = 0; row < 5; ++row) {
        const int y = top + row * kRowPitch;
        addStatic(dialog, IDC_STATIC, titles[row], SS_LEFT, kTitleLeft, y, kTitleWidth, 8);
        // Long names end in an ellipsis rather than being cut off.
        addStatic(dialog, ids[row], L"", SS_LEFTNOWORDWRAP | (row == 0 ? SS_PATHELLIPSIS : SS_ENDELLIPSIS), kValueLeft,
                  y, kValueWidth, 8);
    }
    addStatic(dialog, IDC_DETAIL_REASON_TITLE, L"Why no count:", SS_LEFT, kTitleLeft, top + kReasonTop, kTitleWidth, 8);
    addStatic(dialog, IDC_DETAIL_REASON, L"", SS_LEFT | SS_EDITCONTROL, kTitleLeft, top + kReasonTop + 10, kReasonWidth,
              kReasonHeight);
    ShowWindow(GetDlgItem(dialog, IDC_DETAIL_REASON_TITLE), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_DETAIL_REASON), SW_HIDE);
}

std::string DetailsPanel::dateText(const std::string& exifDate) {
    const std::string pattern = "dddd:dd:dd dd:dd:dd";
    if (exifDate.size() != pattern.size()) return exifDate;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(exifDate[i])) != 0;
        if (pattern[i] == 'd' ? !digit : exifDate[i] != pattern[i]) return exifDate;
    }
    std::string shown = exifDate;
    shown[4] = shown[7] = '-';
    return shown;
}

std::string DetailsPanel::fileName(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

void DetailsPanel::show(const SelectReading& reading) {
    setText(dialog_, IDC_DETAIL_FILE, fileName(reading.file.displayPath));
    setText(dialog_, IDC_DETAIL_CAMERA, reading.camera);
    setText(dialog_, IDC_DETAIL_SERIAL, reading.serialNumber);
    setText(dialog_, IDC_DETAIL_DATE, dateText(reading.dateTaken));
    setText(dialog_, IDC_DETAIL_LENS, reading.lens);
    SetDlgItemTextW(dialog_, IDC_DETAIL_REASON, windows::widen(reading.reason).c_str());
    const int show = reading.reason.empty() ? SW_HIDE : SW_SHOW;
    ShowWindow(GetDlgItem(dialog_, IDC_DETAIL_REASON_TITLE), show);
    ShowWindow(GetDlgItem(dialog_, IDC_DETAIL_REASON), show);
}

}  // namespace frametally::win32
