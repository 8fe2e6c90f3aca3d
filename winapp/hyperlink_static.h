#pragma once
// A static text control of a dialog turned into a web link: drawn in link
// colours (blue, purple once opened, red under the pointer), underlined while
// the pointer is over it, with the system's hand cursor and a tooltip naming
// the link, and opened through the shell when clicked. When no program opens
// it, the registered browser command for web pages is tried; when that fails
// too, the control beeps and shows the address in a box, so that it can be
// copied into a browser by hand.
//
// The dialog attaches it to its static control (attach()), and hands it the
// two notifications Windows sends to the dialog rather than to the control:
// WM_CTLCOLORSTATIC (ctlColor()) and STN_CLICKED (onClicked()).
#include "windows_text.h"

#include <string>

namespace frametally::win32 {

class HyperlinkStatic {
public:
    // Colours as Windows has them, 0x00BBGGRR.
    static constexpr COLORREF kLinkColour = RGB(0, 0, 238);
    static constexpr COLORREF kVisitedColour = RGB(85, 26, 139);
    static constexpr COLORREF kHoverColour = RGB(255, 0, 0);
    static constexpr UINT_PTR kHoverTimer = 100;
    static constexpr UINT kHoverInterval = 100;  // ms between hover checks
    // A started browser is watched this long for a failure at start.
    static constexpr UINT_PTR kBrowserTimer = 101;
    static constexpr UINT kBrowserCheckInterval = 100;
    static constexpr UINT kBrowserWatch = 2000;

    // openLink's results: above 32 means the link was opened.
    static constexpr INT_PTR kLinkDisabled = 33;
    static constexpr INT_PTR kEmptyLink = 36;

    enum UnderlineMode { UnderlineNever = 0, UnderlineAlways = 1, UnderlineHover = -1 };

    HyperlinkStatic() = default;
    ~HyperlinkStatic();
    HyperlinkStatic(const HyperlinkStatic&) = delete;
    HyperlinkStatic& operator=(const HyperlinkStatic&) = delete;

    // Makes the static control a link: its text is the link unless one was
    // set, the fonts are made, the control fits its text, and the cursor and
    // the tooltip are set.
    void attach(HWND control);

    void setLinkText(const std::wstring& link) { linkText_ = link; }
    const std::wstring& linkText() const { return linkText_; }
    bool visited() const { return visited_; }
    bool hovering() const { return hovering_; }
    HWND window() const { return control_; }

    // WM_CTLCOLORSTATIC for this control: its text colour, a transparent
    // background; returns the brush to hand back to Windows.
    HBRUSH ctlColor(HDC dc) const;
    // STN_CLICKED from this control.
    void onClicked();

    // Opens the link through the shell, else through the registered browser
    // command for web pages; the shell's result (above 32: opened).
    // started, when given, receives the handle of a program the opening
    // started, where there is one (the caller closes it).
    static INT_PTR openLink(const std::wstring& link, int showCommand, HANDLE* started = nullptr);
    // The browser command line for link from a registered command that names
    // its argument "%1" (quoted or not) or not at all; empty when the
    // command is empty.
    static std::wstring browserCommandLine(const std::wstring& registered, const std::wstring& link);

    // The registered message sent to the parent after a click (when notify
    // parent is set), with the control's id.
    static UINT clickedMessage();

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void fitToText();
    void setVisited(bool visited);
    void showOpenFailure() const;
    void failOpening();
    void watchBrowser();
    void stopWatching();
    void detach();

    HWND control_ = nullptr;
    HWND tooltip_ = nullptr;
    HANDLE browser_ = nullptr;  // a browser started by the last click, watched for a moment
    UINT browserChecks_ = 0;
    HFONT plainFont_ = nullptr;
    HFONT underlinedFont_ = nullptr;
    HCURSOR cursor_ = nullptr;
    std::wstring linkText_;
    bool hovering_ = false;
    bool visited_ = false;
    int underlineMode_ = UnderlineHover;
    bool fitToText_ = true;
    bool linkEnabled_ = true;
    bool notifyParent_ = false;
    bool showTooltip_ = true;
};

}  // namespace frametally::win32
