// Drives the Windows dialog through its controls, found by their ids, the way
// a user would: Select with the picker replaced by a hook, the result field and
// the details beneath, the message boxes, a dropped file, the About box and
// its link (both when a browser opens it and when none does). The dialog runs
// on the main thread as in Frametally.exe; a second thread plays the user.
//
//   dialog_gui_test.exe [BROWSER_LOG]     the tests; BROWSER_LOG is where the
//                                         stand-in browser writes the address
//   dialog_gui_test.exe --probe EXE FILE  runs EXE FILE, prints what its dialog
//                                         shows, closes it
//   dialog_gui_test.exe --screenshot main|about OUT.bmp [FILE]
#include "windows_text.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "details_panel.h"
#include "file_types.h"
#include "main_dialog.h"
#include "resource_ids.h"
#include "synthetic_files.h"

namespace fs = std::filesystem;
using frametally::ChosenFile;
using frametally::SelectFlow;
using frametally::windows::narrow;
using frametally::windows::widen;

namespace {

int failures = 0;

void expect(bool ok, const std::string& what) {
    std::cout << (ok ? "ok:     " : "FAILED: ") << what << std::endl;
    if (!ok) ++failures;
}

std::string utf8(const std::wstring& text) { return narrow(text); }

HWND waitForWindow(const wchar_t* title, DWORD process = 0, int milliseconds = 15000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, L"#32770", title)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if ((process == 0 || owner == process) && IsWindowVisible(found)) return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

bool waitUntil(const std::function<bool()>& condition, int milliseconds = 15000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

std::wstring windowText(HWND window) {
    wchar_t text[4096] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::string controlText(HWND dialog, int id) { return utf8(windowText(GetDlgItem(dialog, id))); }

// Every static text of a dialog, one per line: a message box's text is one.
std::string staticTexts(HWND dialog) {
    std::string all;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (lstrcmpiW(name, L"Static") == 0) all += utf8(windowText(child)) + "\n";
    }
    return all;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Closes a message box (or the About box) with its OK button and waits until
// it is gone.
void dismiss(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    waitUntil([box] { return !IsWindow(box); });
}

void click(HWND dialog, int id, UINT notification = BN_CLICKED) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Clicks and waits until the dialog has handled the click (SendMessage
// returns once it has; a message box would keep it from returning).
void clickAndWait(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// What the picker hook answers, one answer per Select.
class Picks {
public:
    void push(SelectFlow::PickResult result, const std::string& path = {}) {
        std::lock_guard lock(mutex_);
        answers_.push_back({result, path});
    }
    SelectFlow::PickResult pick(ChosenFile& chosen) {
        std::lock_guard lock(mutex_);
        if (answers_.empty()) return SelectFlow::PickResult::Cancelled;
        const auto [result, path] = answers_.front();
        answers_.pop_front();
        if (result == SelectFlow::PickResult::Confirmed) chosen = ChosenFile{path, path};
        return result;
    }

private:
    std::mutex mutex_;
    std::deque<std::pair<SelectFlow::PickResult, std::string>> answers_;
};

std::string writeFile(const fs::path& path, const synthetic::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

synthetic::CameraFile camera(uint32_t count) {
    synthetic::CameraFile file;
    file.shutterCount = count;
    file.serialNumber = "3001234";
    return file;
}

// A JPEG whose JFIF segment is too long for the EXIF segment to be where it
// must: the reading raises "EXIF header text incorrect".
synthetic::Bytes raisingJpeg() {
    // An EXIF segment first whose TIFF header has no valid byte-order mark.
    synthetic::Bytes bytes = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x40, 'E', 'x', 'i', 'f', 0, 0, 'I', 'M'};
    bytes.resize(bytes.size() + 40);
    return bytes;
}

// A drop of one file, as the shell hands it to the window.
HDROP dropOf(const std::wstring& path) {
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
    path.copy(names, path.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Registry values under HKEY_CLASSES_ROOT, put back as they were at the end.
class ClassesOverride {
public:
    void set(const std::wstring& key, const std::wstring& value) {
        wchar_t old[1024] = {};
        DWORD bytes = sizeof old;
        const bool existed =
            RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, old, &bytes) == ERROR_SUCCESS;
        saved_.push_back({key, existed ? std::optional<std::wstring>(old) : std::nullopt});
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    ~ClassesOverride() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                RegSetKeyValueW(HKEY_CLASSES_ROOT, it->first.c_str(), nullptr, REG_SZ, it->second->c_str(),
                                static_cast<DWORD>((it->second->size() + 1) * sizeof(wchar_t)));
            } else {
                RegDeleteTreeW(HKEY_CLASSES_ROOT, it->first.c_str());
            }
        }
    }

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

// Whether a box that gives a link's address holds it selected in its field.
bool addressSelected(HWND box) {
    const HWND field = GetDlgItem(box, IDC_OPEN_LINK_ADDRESS);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::string address = controlText(box, IDC_OPEN_LINK_ADDRESS);
    return address == FRAMETALLY_WEB_ADDRESS && start == 0 && end == address.size() &&
           (GetWindowLongPtrW(field, GWL_STYLE) & ES_READONLY) != 0;
}

// The text on the clipboard.
std::string clipboardText() {
    std::string text;
    if (OpenClipboard(nullptr) == 0) return text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
        text = utf8(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Readings the test makes up, by path; every other file is read by the engine.
std::mutex madeUpMutex;
std::map<std::string, frametally::Inspection> madeUp;

void makeUp(const std::string& path, const frametally::Inspection& inspection) {
    std::lock_guard lock(madeUpMutex);
    madeUp[path] = inspection;
}

// What the Linux dialog shows, shown the same: what a count counts, the
// mechanical count and the rated life in rows of their own, a blank date as
// nothing; "Not Readable" whole; a long name shortened in the middle with the
// path as tooltip; the keyboard (Alt+S, Enter on Select, Tab to the details)
// and copying a value.
void testParityWithLinux(HWND dialog, Picks& picks) {
    frametally::Inspection both;
    both.status = tiffwalker::ReadingStatus::Count;
    both.result = "52000";
    both.maker = tiffwalker::Maker::Sony;
    both.countKind = tiffwalker::CountKind::AllReleases;
    both.mechanicalCount = 41000;
    both.ratedReleases = 200000;
    both.details.make = "SONY";
    both.details.model = "ILCE-1M2";
    both.details.serialNumber = "NO= 4711";
    both.details.dateTimeOriginal = ":  :    : :";
    const std::string longName = "C:\\card\\A_card_folder_name_long_enough_to_be_shortened_DSC_0001_9876.ARW";
    makeUp(longName, both);
    picks.push(SelectFlow::PickResult::Confirmed, longName);
    clickAndWait(dialog, IDC_SELECT);
    expect(controlText(dialog, IDC_RESULT) == "52000", "a made-up count is shown");
    expect(controlText(dialog, IDC_DETAIL_REASON) == "all releases, electronic ones included",
           "what it counts: " + controlText(dialog, IDC_DETAIL_REASON));
    expect(controlText(dialog, IDC_DETAIL_MECHANICAL) == "41000", "the mechanical count");
    expect(contains(controlText(dialog, IDC_DETAIL_RATED), "21% of the 200,000 releases Sony rates"),
           "the rated life: " + controlText(dialog, IDC_DETAIL_RATED));
    expect(controlText(dialog, IDC_DETAIL_DATE).empty(), "a blank date shows as nothing");
    expect(controlText(dialog, IDC_DETAIL_SERIAL) == "4711", "the serial number without NO=");
    RECT client{};
    GetClientRect(dialog, &client);
    LONG below = 0;
    for (const int id : {IDC_DETAIL_REASON, IDC_DETAIL_MECHANICAL, IDC_DETAIL_RATED}) {
        const HWND row = GetDlgItem(dialog, id);
        RECT area{};
        GetWindowRect(row, &area);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
        const LONG lines =
            id == IDC_DETAIL_MECHANICAL ? 1 : static_cast<LONG>(SendMessageW(row, EM_GETLINECOUNT, 0, 0));
        expect(IsWindowVisible(row) && area.top >= below && area.bottom <= client.bottom,
               "row " + std::to_string(id) + " in sight, below the one before");
        below = area.top + lines * 8;
    }
    const std::string file = controlText(dialog, IDC_DETAIL_FILE);
    expect(contains(file, "\xE2\x80\xA6") && file.rfind("A_card", 0) == 0 && file.ends_with("9876.ARW"),
           "a long name is shortened in the middle: " + file);
    wchar_t tip[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, IDC_DETAIL_FILE));
    tool.lpszText = tip;
    SendMessageW(frametally::win32::DetailsPanel::fileTooltip(GetDlgItem(dialog, IDC_DETAIL_FILE)), TTM_GETTEXTW, 512,
                 reinterpret_cast<LPARAM>(&tool));
    expect(utf8(tip) == longName, "with the whole path as its tooltip: " + utf8(tip));

    frametally::Inspection unreadable;
    unreadable.status = tiffwalker::ReadingStatus::NotReadable;
    unreadable.result = "Not Readable";
    makeUp("C:\\card\\gone.NEF", unreadable);
    picks.push(SelectFlow::PickResult::Confirmed, "C:\\card\\gone.NEF");
    // Alt+S presses Select.
    PostMessageW(dialog, WM_SYSCHAR, L's', 1 << 29);
    expect(waitUntil([&] { return controlText(dialog, IDC_RESULT) == "Not Readable"; }), "Alt+S presses Select");
    const HWND field = GetDlgItem(dialog, IDC_RESULT);
    const HDC dc = GetDC(field);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"Not Readable", 12, &extent);
    SelectObject(dc, previous);
    ReleaseDC(field, dc);
    RECT inside{};
    GetClientRect(field, &inside);
    const auto margins = static_cast<DWORD>(SendMessageW(field, EM_GETMARGINS, 0, 0));
    expect(extent.cx <= inside.right - LOWORD(margins) - HIWORD(margins),
           "\"Not Readable\" fits its field whole at this DPI");

    // Enter on the focused Select presses it.
    makeUp("C:\\card\\second.ARW", both);
    picks.push(SelectFlow::PickResult::Confirmed, "C:\\card\\second.ARW");
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_SELECT)), TRUE);
    PostMessageW(GetDlgItem(dialog, IDC_SELECT), WM_KEYDOWN, VK_RETURN, 0);
    expect(waitUntil([&] { return controlText(dialog, IDC_RESULT) == "52000"; }), "Enter on the focused Select");

    std::vector<int> reached;
    HWND at = GetDlgItem(dialog, IDC_SELECT);
    for (int i = 0; i < 20; ++i) {
        at = GetNextDlgTabItem(dialog, at, FALSE);
        reached.push_back(GetDlgCtrlID(at));
    }
    const auto reaches = [&](int id) { return std::find(reached.begin(), reached.end(), id) != reached.end(); };
    expect(reaches(IDC_DETAIL_SERIAL) && reaches(IDC_DETAIL_REASON) && reaches(IDC_DETAIL_MECHANICAL) &&
               reaches(IDC_DETAIL_RATED),
           "Tab reaches the details");
    const HWND serial = GetDlgItem(dialog, IDC_DETAIL_SERIAL);
    SendMessageW(serial, EM_SETSEL, 0, -1);
    SendMessageW(serial, WM_COPY, 0, 0);
    expect(clipboardText() == "4711", "a value is selected and copied: " + clipboardText());
}

// Whether every label of the dialog shows its text on one line in the
// dialog's font, as wide as its control: a label one pixel too narrow wraps,
// and its second line is cut off.
std::string wrappedLabels(HWND dialog) {
    std::string wrapped;
    const HDC dc = GetDC(dialog);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        const std::wstring text = windowText(child);
        if (lstrcmpiW(name, L"Static") != 0 || text.empty() || GetDlgCtrlID(child) == IDC_ABOUT_READS) continue;
        RECT area{};
        GetClientRect(child, &area);
        DrawTextW(dc, text.c_str(), -1, &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        if (area.bottom > metrics.tmHeight) wrapped += " \"" + utf8(text) + "\"";
    }
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    return wrapped;
}

void testMainDialog(HWND dialog, Picks& picks, const fs::path& folder) {
    expect(wrappedLabels(dialog).empty(), "every label fits on one line:" + wrappedLabels(dialog));
    expect(controlText(dialog, IDC_SELECT) == "&Select", "button 1000 is Select, Alt+S its key");
    const HWND result = GetDlgItem(dialog, IDC_RESULT);
    expect(result != nullptr && (GetWindowLongPtrW(result, GWL_STYLE) & ES_READONLY) != 0,
           "field 1001 is there and read-only");
    expect(utf8(windowText(dialog)) == "Imagewright - Frametally", "the caption");
    wchar_t item[64] = {};
    const HMENU menu = GetMenu(dialog);
    GetMenuStringW(menu, ID_FILE_EXIT, item, 64, MF_BYCOMMAND);
    expect(utf8(item) == "E&xit", "menu 129: File > Exit is command 32771");
    GetMenuStringW(menu, ID_HELP_ABOUT, item, 64, MF_BYCOMMAND);
    expect(utf8(item) == "&About Frametally", "menu 129: Help > About Frametally is command 32772");
    expect(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0) != 0, "the window has icon 128");
    expect(controlText(dialog, IDC_RESULT).empty(), "the result field is empty at first");

    picks.push(SelectFlow::PickResult::Cancelled);
    clickAndWait(dialog, IDC_SELECT);
    expect(controlText(dialog, IDC_RESULT).empty(), "Cancel before any file shows nothing");

    const std::string nef = writeFile(folder / u8"Café_ü.NEF", synthetic::makeNef(camera(4242)));
    picks.push(SelectFlow::PickResult::Confirmed, nef);
    clickAndWait(dialog, IDC_SELECT);
    expect(controlText(dialog, IDC_RESULT) == "4242", "a confirmed NEF file shows its count");
    expect(controlText(dialog, IDC_DETAIL_FILE) == "Café_ü.NEF", "the file's name, in any script");
    expect(controlText(dialog, IDC_DETAIL_CAMERA) == "NIKON D70", "the camera");
    expect(controlText(dialog, IDC_DETAIL_SERIAL) == "3001234", "the serial number");
    expect(controlText(dialog, IDC_DETAIL_DATE) == "2026-12-07 10:00:00", "the date taken, with dashes");
    expect(controlText(dialog, IDC_DETAIL_REASON_TITLE) == "What it counts:" &&
               controlText(dialog, IDC_DETAIL_REASON) == "mechanical releases",
           "a count says what it counts, as on Linux: " + controlText(dialog, IDC_DETAIL_REASON));

    picks.push(SelectFlow::PickResult::Cancelled);
    SetDlgItemTextW(dialog, IDC_RESULT, L"");
    clickAndWait(dialog, IDC_SELECT);
    expect(controlText(dialog, IDC_RESULT) == "4242", "Cancel reads the file chosen before again");

    synthetic::CameraFile edited = camera(1);
    edited.withMakerNote = false;
    const std::string jpeg = writeFile(folder / "edited.jpg", synthetic::makeJpeg(edited, true));
    picks.push(SelectFlow::PickResult::Confirmed, jpeg);
    clickAndWait(dialog, IDC_SELECT);
    expect(controlText(dialog, IDC_RESULT) == "No Count", "a JPEG file without maker notes shows No Count");
    expect(IsWindowVisible(GetDlgItem(dialog, IDC_DETAIL_REASON)) && !controlText(dialog, IDC_DETAIL_REASON).empty(),
           "and why: " + controlText(dialog, IDC_DETAIL_REASON));

    picks.push(SelectFlow::PickResult::NotCreated);
    click(dialog, IDC_SELECT);
    HWND box = waitForWindow(L"Frametally");
    expect(box != nullptr && contains(staticTexts(box), "Dialog box could not be created!"),
           "a picker that cannot be made says so");
    if (box != nullptr) dismiss(box);

    const std::string bad = writeFile(folder / "bad.jpg", raisingJpeg());
    picks.push(SelectFlow::PickResult::Confirmed, bad);
    click(dialog, IDC_SELECT);
    box = waitForWindow(L"Frametally");
    const std::string message = box != nullptr ? staticTexts(box) : std::string();
    expect(contains(message, "bad.jpg could not be read:") &&
               contains(message, "The EXIF segment holds no valid TIFF header"),
           "a raised error names the file in a box: " + message);
    if (box != nullptr) dismiss(box);
    expect(controlText(dialog, IDC_RESULT) == "No Count", "and leaves the result of the file before");

    const std::string dropped = writeFile(folder / "dropped.nef", synthetic::makeNef(camera(777)));
    PostMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(widen(dropped))), 0);
    expect(waitUntil([&] { return controlText(dialog, IDC_RESULT) == "777"; }), "a dropped file is read");
}

void testAboutBox(HWND dialog, const std::string& browserLog) {
    PostMessageW(dialog, WM_COMMAND, ID_HELP_ABOUT, 0);
    const HWND about = waitForWindow(L"About Frametally");
    expect(about != nullptr, "Help > About opens the About box");
    if (about == nullptr) return;
    expect(wrappedLabels(about).empty(), "every About box label fits on one line:" + wrappedLabels(about));
    const std::string texts = staticTexts(about);
    expect(contains(texts, "Frametally Version 1.00"), "the About box names the version");
    expect(controlText(about, IDC_ABOUT_READS) == frametally::readsText(),
           "and which makers and file types are read: " + controlText(about, IDC_ABOUT_READS));
    expect(GetNextDlgTabItem(about, GetDlgItem(about, IDOK), FALSE) == GetDlgItem(about, IDC_WEBLINK),
           "Tab reaches the link");
    const HWND link = GetDlgItem(about, IDC_WEBLINK);
    expect(controlText(about, IDC_WEBLINK) == FRAMETALLY_WEB_ADDRESS, "control 1002 shows the web address");
    expect((GetWindowLongPtrW(link, GWL_STYLE) & SS_NOTIFY) != 0, "the link reports clicks");
    RECT area{};
    GetWindowRect(link, &area);
    RECT template_{0, 0, 222, 8};
    MapDialogRect(about, &template_);
    expect(area.right - area.left < template_.right, "the link fits its text");

    {
        // No program for web addresses and no browser for web pages.
        ClassesOverride classes;
        for (const wchar_t* scheme : {L"http", L"https"}) {
            classes.set(std::wstring(scheme) + L"\\shell\\open\\command", L"C:\\no-such-browser.exe \"%1\"");
        }
        classes.set(L".htm", L"FrametallyTestPage");
        classes.set(L"FrametallyTestPage\\shell\\open\\command", L"C:\\no-such-browser.exe \"%1\"");
        click(about, IDC_WEBLINK, STN_CLICKED);
        const HWND box = waitForWindow(L"Open Link");
        expect(box != nullptr && addressSelected(box), "a link no browser opens beeps and gives the address in a box");
        if (box != nullptr) dismiss(box);
    }
    {
        // A browser that starts and ends at once with a failure status.
        ClassesOverride classes;
        for (const wchar_t* scheme : {L"http", L"https"}) {
            classes.set(std::wstring(scheme) + L"\\shell\\open\\command",
                        L"C:\\windows\\system32\\cmd.exe /c exit 3 \"%1\"");
        }
        click(about, IDC_WEBLINK, STN_CLICKED);
        const HWND box = waitForWindow(L"Open Link");
        expect(box != nullptr && addressSelected(box),
               "a browser that fails at once leaves the address in front of the user, selected");
        if (box != nullptr) dismiss(box);
    }
    if (!browserLog.empty()) {
        fs::remove(fs::path(widen(browserLog)));
        click(about, IDC_WEBLINK, STN_CLICKED);
        std::string opened;
        waitUntil([&] {
            std::ifstream in(fs::path(widen(browserLog)));
            std::getline(in, opened);
            return !opened.empty();
        });
        expect(contains(opened, FRAMETALLY_WEB_ADDRESS), "a click opens the address in the browser: " + opened);
        expect(waitForWindow(L"Open Link", 0, 500) == nullptr, "without a box");
    }
    dismiss(about);
    expect(!IsWindow(about), "OK closes the About box");
}

int runTests(const std::string& browserLog) {
    const fs::path folder = fs::temp_directory_path() / "frametally-gui-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    Picks picks;
    std::thread user([&] {
        const HWND dialog = waitForWindow(L"Imagewright - Frametally", GetCurrentProcessId());
        expect(dialog != nullptr, "the main dialog opens");
        if (dialog != nullptr) {
            testMainDialog(dialog, picks, folder);
            testParityWithLinux(dialog, picks);
            testAboutBox(dialog, browserLog);
            PostMessageW(dialog, WM_COMMAND, ID_FILE_EXIT, 0);
        }
    });
    frametally::win32::MainDialogHooks hooks;
    hooks.pickFile = [&picks](ChosenFile& chosen) { return picks.pick(chosen); };
    hooks.read = [engine = SelectFlow::inspectionReader()](const std::string& path) {
        {
            std::lock_guard lock(madeUpMutex);
            if (const auto found = madeUp.find(path); found != madeUp.end()) return found->second;
        }
        return engine(path);
    };
    frametally::win32::runMainDialog(GetModuleHandleW(nullptr), std::nullopt, hooks);
    user.join();
    fs::remove_all(folder);
    std::cout << (failures == 0 ? "All dialog checks passed." : std::to_string(failures) + " dialog checks FAILED.")
              << std::endl;
    return failures == 0 ? 0 : 1;
}

// Starts exe with file, waits for its dialog to show a result, prints the
// result and the details, and closes it with its close box.
int probe(const std::wstring& exe, const std::wstring& file) {
    std::wstring command = L"\"" + exe + L"\" \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) ==
        0) {
        std::cerr << "probe: cannot start " << utf8(exe) << "\n";
        return 2;
    }
    const HWND dialog = waitForWindow(L"Imagewright - Frametally", process.dwProcessId, 30000);
    int status = 1;
    if (dialog != nullptr && waitUntil([&] { return !controlText(dialog, IDC_RESULT).empty(); })) {
        std::cout << "result: " << controlText(dialog, IDC_RESULT) << "\n"
                  << "file: " << controlText(dialog, IDC_DETAIL_FILE) << "\n"
                  << "camera: " << controlText(dialog, IDC_DETAIL_CAMERA) << "\n";
        status = 0;
    } else {
        std::cerr << "probe: no dialog with a result from " << utf8(exe) << "\n";
    }
    if (dialog != nullptr) PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 3);
        std::cerr << "probe: the dialog did not close\n";
        status = 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

// The window as the screen shows it, frame included, as a 24-bit BMP file.
bool capture(HWND window, const std::wstring& out) {
    RECT area{};
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageBytes),
                          0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream stream{fs::path(out), std::ios::binary};
    stream.write(reinterpret_cast<const char*>(&file), sizeof file);
    stream.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    stream.write(static_cast<const char*>(bits), imageBytes);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return stream.good();
}

int screenshot(const std::wstring& which, const std::wstring& out, const std::wstring& file) {
    std::optional<ChosenFile> initial;
    if (!file.empty()) initial = ChosenFile{narrow(file), narrow(file)};
    bool saved = false;
    std::thread user([&] {
        const HWND dialog = waitForWindow(L"Imagewright - Frametally", GetCurrentProcessId());
        if (dialog == nullptr) return;
        if (initial) waitUntil([&] { return !controlText(dialog, IDC_RESULT).empty(); });
        HWND shown = dialog;
        if (which == L"about") {
            PostMessageW(dialog, WM_COMMAND, ID_HELP_ABOUT, 0);
            shown = waitForWindow(L"About Frametally");
        }
        if (shown != nullptr) {
            SetForegroundWindow(shown);
            std::this_thread::sleep_for(std::chrono::milliseconds(800));  // painted
            saved = capture(shown, out);
            if (shown != dialog) dismiss(shown);
        }
        PostMessageW(dialog, WM_COMMAND, ID_FILE_EXIT, 0);
    });
    frametally::win32::runMainDialog(GetModuleHandleW(nullptr), initial);
    user.join();
    return saved ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"--probe" && argc == 4) return probe(argv[2], argv[3]);
    if (mode == L"--screenshot" && (argc == 4 || argc == 5))
        return screenshot(argv[2], argv[3], argc == 5 ? argv[4] : L"");
    if (argc > 2 || mode.rfind(L"--", 0) == 0) {
        std::cerr
            << "usage: dialog_gui_test [BROWSER_LOG] | --probe EXE FILE | --screenshot main|about OUT.bmp [FILE]\n";
        return 2;
    }
    return runTests(argc == 2 ? narrow(argv[1]) : std::string());
}
