#pragma once
// Beneath the main dialog's controls: the file the shown result belongs to
// (its name, shortened in the middle where it is long, the full path as
// tooltip), the camera, its serial number, the date the picture was taken and
// the lens; for a count, what it counts, the mechanical count and the share of
// the rated life where there are; for a file without a count, why there is
// none. The same rows with the same words as the Linux dialog. Every value is
// a read-only edit field without a frame: Tab reaches it, and its text can be
// selected and copied. Made when the dialog opens, laid out in dialog units
// like the controls above, which it adds to the dialog's height.
#include "windows_text.h"

#include <string>

#include "select_flow.h"

namespace frametally::win32 {

class DetailsPanel {
public:
    // The panel's height in dialog units.
    static constexpr int kHeight = 118;

    // Makes the panel's controls in dialog, top dialog units down.
    void create(HWND dialog, int top);
    void show(const SelectReading& reading);

    // The last part of a path.
    static std::string fileName(const std::string& path);
    // text as it fits width pixels in the font selected into dc: whole, or
    // its start and end with an ellipsis between them.
    static std::wstring elidedInTheMiddle(HDC dc, const std::wstring& text, int width);
    // The tooltip control of the file's name (its window holds the full path).
    static HWND fileTooltip(HWND fileValue);

private:
    // Places a title and its value top dialog units down, lines high; hides
    // both for an empty text. Returns the dialog units they take.
    int placeRow(int titleId, int valueId, const std::string& text, int top, int lines);

    HWND dialog_ = nullptr;
    int top_ = 0;
    HWND tooltip_ = nullptr;
    std::wstring fullPath_;
};

}  // namespace frametally::win32
