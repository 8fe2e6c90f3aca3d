#pragma once
// Beneath the main dialog's controls: the file the shown result belongs to,
// the camera, its serial number, the date the picture was taken and the lens,
// and for a file without a count, why there is none. Made when the dialog
// opens, laid out in dialog units like the controls above, which it adds to
// the dialog's height.
#include "windows_text.h"

#include <string>

#include "select_flow.h"

namespace frametally::win32 {

class DetailsPanel {
public:
    // The panel's height in dialog units.
    static constexpr int kHeight = 96;

    // Makes the panel's controls in dialog, top dialog units down.
    void create(HWND dialog, int top);
    void show(const SelectReading& reading);

    // "2025:01:10 10:10:00" as people read it, "2025-01-10 10:10:00";
    // anything else as the file has it.
    static std::string dateText(const std::string& exifDate);
    // The last part of a path.
    static std::string fileName(const std::string& path);

private:
    HWND dialog_ = nullptr;
};

}  // namespace frametally::win32
