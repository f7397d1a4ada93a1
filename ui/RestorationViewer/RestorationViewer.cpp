#include "ui/RestorationViewer/RestorationViewer.h"

#include <algorithm>
#include <cmath>

#include "app/Settings.h"
#include "platform/win32/Text.h"

namespace claverix::ui {

namespace {

// The text box leaves 155 twips of the outer width to the frame and a margin,
// and 355 of the outer height to the frame and the caption: measured against
// Windows' classic frame (4-pixel borders, 19-pixel caption), a margin of 35
// twips at the right and none at the bottom, where those numbers would cut
// the box's edge; the client area holds that much whatever the real frame.
constexpr double kTextRightMargin = 155 - 2 * 4 * 15;

MONITORINFO MonitorNearest(const RECT& rect) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor;
}

// The window's outer rectangle in screen pixels as it is, or, minimised or
// maximised, as it will be once restored.
RECT NormalRect(HWND window) {
    RECT rect{};
    if (!::IsIconic(window) && !::IsZoomed(window)) {
        ::GetWindowRect(window, &rect);
        return rect;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    rect = placement.rcNormalPosition;
    // That rectangle counts from the work area's corner, not the screen's.
    MONITORINFO monitor = MonitorNearest(rect);
    ::OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                 monitor.rcWork.top - monitor.rcMonitor.top);
    return rect;
}

// `rect` moved, and shrunk if need be, into the work area of the monitor nearest to it.
RECT OnNearestMonitor(const RECT& rect) {
    const RECT work = MonitorNearest(rect).rcWork;
    LONG width = std::min(rect.right - rect.left, work.right - work.left);
    LONG height = std::min(rect.bottom - rect.top, work.bottom - work.top);
    LONG left = std::clamp(rect.left, work.left, work.right - width);
    LONG top = std::clamp(rect.top, work.top, work.bottom - height);
    return {left, top, left + width, top + height};
}

long ToTwips(LONG pixels, UINT dpi) {
    return std::lround(PixelsToTwips(pixels, dpi));
}

}  // namespace

RestorationViewer::RestorationViewer(platform::Profile& profile, std::string iniFile)
    : profile_(profile), iniFile_(std::move(iniFile)) {}

bool RestorationViewer::Show(HWND owner, const std::wstring& restoreText) {
    if (!Load(owner)) {
        return false;
    }
    // A long text reaches the box in slices: the viewer answers at once.
    text_.ShowText(restoreText);
    ShowModal(owner);
    // The program is ending under the viewer: it closes as if the user had closed it.
    if (IsLoaded()) {
        CloseStoringGeometry();
    }
    return true;
}

bool RestorationViewer::Load(HWND owner) {
    WindowSetup setup;
    setup.caption = L"Fichier de restauration";
    setup.style = WS_OVERLAPPEDWINDOW;
    // Minimised, it is found again on the task bar.
    setup.exStyle = WS_EX_APPWINDOW;
    setup.owner = owner;
    if (!Create(setup)) {
        return false;
    }
    constexpr DWORD kStyle = WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                             ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
    text_.Create(*this, {WC_EDITW, L"", kStyle, WS_EX_CLIENTEDGE, IDC_VIEWER_TEXT, {}});
    ApplyStoredGeometry();
    text_.Focus();
    return true;
}

void RestorationViewer::ApplyStoredGeometry() {
    app::UndoWindowPlacement stored = app::ReadUndoWindowPlacement(profile_, iniFile_);
    SetOuterRect({static_cast<double>(stored.left), static_cast<double>(stored.top),
                  static_cast<double>(stored.width), static_cast<double>(stored.height)});
    // A place on no monitor any more, such as one of a monitor since unplugged,
    // would open the viewer out of sight; a place partly in sight is the user's choice.
    RECT applied{};
    ::GetWindowRect(hwnd(), &applied);
    if (::MonitorFromRect(&applied, MONITOR_DEFAULTTONULL) == nullptr) {
        RECT moved = OnNearestMonitor(applied);
        ::SetWindowPos(hwnd(), nullptr, moved.left, moved.top, moved.right - moved.left,
                       moved.bottom - moved.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void RestorationViewer::StoreGeometry() {
    RECT rect = NormalRect(hwnd());
    UINT dpi = Dpi();
    app::WriteUndoWindowPlacement(
        profile_, iniFile_,
        {ToTwips(rect.left, dpi), ToTwips(rect.top, dpi), ToTwips(rect.right - rect.left, dpi),
         ToTwips(rect.bottom - rect.top, dpi)});
}

void RestorationViewer::CloseStoringGeometry() {
    StoreGeometry();
    Close();
}

KeyHandling RestorationViewer::OnControlKey(KeyEvent event, WPARAM key) {
    if (event != KeyEvent::Down || key != VK_ESCAPE) {
        return KeyHandling::ToControl;
    }
    CloseStoringGeometry();
    return KeyHandling::Handled;
}

void RestorationViewer::OnSize(UINT kind) {
    if (kind == SIZE_MINIMIZED) {
        return;
    }
    TwipsRect client = ClientRect();
    text_.rect = {0, 0, client.width - kTextRightMargin, client.height};
    PlaceControls();
}

void RestorationViewer::OnClose() {
    CloseStoringGeometry();
}

// Log-off closes no window: the place is kept now, as closing keeps it.
bool RestorationViewer::OnQueryEndSession() {
    StoreGeometry();
    return true;
}

}  // namespace claverix::ui
