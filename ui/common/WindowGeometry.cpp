// The window's geometry: its controls placed from twips at its DPI, the
// font that fits their captions, and its place on the screen.
#include <algorithm>

#include "ui/common/Controls.h"
#include "ui/common/Window.h"

namespace claverix::ui {

namespace {

MONITORINFO MonitorNearest(const RECT& rect) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor;
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

void MoveTo(HWND window, const RECT& rect) {
    ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void Window::Register(Control& control) {
    controls_.push_back(&control);
    ::SendMessageW(control.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

void Window::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    fontHeight_ = 0;
    FitFont();
}

// The dialog font at its size, or a pixel smaller at a time when a caption
// would be cut: the font a platform substitutes for the dialog font may be
// wider than the one the layouts were drawn with.
void Window::FitFont() {
    const int fullHeight = DialogFontHeight(dpi_);
    if (fontHeight_ == fullHeight && CaptionsFit(font_.Get())) {
        return;
    }
    int height = fullHeight;
    UniqueGdiObject font = CreateDialogFont(height);
    while (height > fullHeight * 3 / 4 && !CaptionsFit(font.Get())) {
        font = CreateDialogFont(--height);
    }
    if (height == fontHeight_) {
        return;
    }
    for (Control* control : controls_) {
        ::SendMessageW(control->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
    font_ = std::move(font);  // the old font goes once no control uses it
    fontHeight_ = height;
}

bool Window::CaptionsFit(HGDIOBJ font) const {
    HDC context = ::GetDC(hwnd_);
    HGDIOBJ previous = ::SelectObject(context, font);
    bool fit = true;
    for (const Control* control : controls_) {
        int room = CaptionRoom(control->hwnd(), dpi_);
        std::wstring caption = control->Text();
        if (room < 0 || caption.empty()) {
            continue;
        }
        RECT needed{};
        ::DrawTextW(context, caption.c_str(), static_cast<int>(caption.size()), &needed,
                    DT_CALCRECT | DT_SINGLELINE);
        if (needed.right > room && BreaksCaptionIntoLines(control->hwnd())) {
            // Such a label fits when its lines fit in its height.
            RECT client{};
            ::GetClientRect(control->hwnd(), &client);
            needed = {0, 0, room, 0};
            ::DrawTextW(context, caption.c_str(), static_cast<int>(caption.size()), &needed,
                        DT_CALCRECT | DT_WORDBREAK);
            fit = fit && needed.bottom <= client.bottom;
        }
        fit = fit && needed.right <= room;
    }
    ::SelectObject(context, previous);
    ::ReleaseDC(hwnd_, context);
    return fit;
}

void Window::PlaceControls() {
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (Control* control : controls_) {
        const TwipsRect& r = control->rect;
        int left = TwipsToPixels(r.left, dpi_);
        int top = TwipsToPixels(r.top, dpi_);
        // Edges are rounded, not sizes, so that a control that ends where the
        // client area ends does so to the pixel. A window made very small
        // leaves no room: the control shrinks to nothing.
        int width = std::max(0, TwipsToPixels(r.left + r.width, dpi_) - left);
        int height = std::max(0, TwipsToPixels(r.top + r.height, dpi_) - top);
        if (positions != nullptr) {
            positions = ::DeferWindowPos(positions, control->hwnd(), nullptr, left, top, width, height,
                                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions != nullptr) {
        ::EndDeferWindowPos(positions);
    }
    FitFont();
}

TwipsRect Window::ClientRect() const {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    return {0, 0, PixelsToTwips(client.right, dpi_), PixelsToTwips(client.bottom, dpi_)};
}

TwipsRect Window::OuterRect() const {
    RECT outer{};
    ::GetWindowRect(hwnd_, &outer);
    return {PixelsToTwips(outer.left, dpi_), PixelsToTwips(outer.top, dpi_),
            PixelsToTwips(outer.right - outer.left, dpi_), PixelsToTwips(outer.bottom - outer.top, dpi_)};
}

void Window::SetOuterRect(const TwipsRect& rect) {
    ::SetWindowPos(hwnd_, nullptr, TwipsToPixels(rect.left, dpi_), TwipsToPixels(rect.top, dpi_),
                   TwipsToPixels(rect.width, dpi_), TwipsToPixels(rect.height, dpi_),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

TwipsRect Window::NormalOuterRect() const {
    RECT rect{};
    if (!::IsIconic(hwnd_) && !::IsZoomed(hwnd_)) {
        ::GetWindowRect(hwnd_, &rect);
    } else {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        ::GetWindowPlacement(hwnd_, &placement);
        rect = placement.rcNormalPosition;
        // That rectangle counts from the work area's corner, not the screen's.
        MONITORINFO monitor = MonitorNearest(rect);
        ::OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                     monitor.rcWork.top - monitor.rcMonitor.top);
    }
    return {PixelsToTwips(rect.left, dpi_), PixelsToTwips(rect.top, dpi_),
            PixelsToTwips(rect.right - rect.left, dpi_), PixelsToTwips(rect.bottom - rect.top, dpi_)};
}

bool Window::IsMaximised() const {
    if (!::IsIconic(hwnd_)) {
        return ::IsZoomed(hwnd_) != FALSE;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(hwnd_, &placement);
    return (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
}

void Window::SetOuterRectOnScreen(const TwipsRect& rect) {
    SetOuterRect(rect);
    RECT applied{};
    ::GetWindowRect(hwnd_, &applied);
    if (::MonitorFromRect(&applied, MONITOR_DEFAULTTONULL) == nullptr) {
        MoveTo(hwnd_, OnNearestMonitor(applied));
    }
}

void Window::SetClientSize(double width, double height) {
    RECT client{0, 0, TwipsToPixels(width, dpi_), TwipsToPixels(height, dpi_)};
    auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    RECT outer = OuterRectFor(client, style, exStyle, ::GetMenu(hwnd_) != nullptr, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::CentreOnScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT outer{};
    ::GetWindowRect(hwnd_, &outer);
    const RECT& screen = monitor.rcMonitor;
    int left = screen.left + ((screen.right - screen.left) - (outer.right - outer.left)) / 2;
    int top = screen.top + ((screen.bottom - screen.top) - (outer.bottom - outer.top)) / 2;
    ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::PlaceClientAt(const TwipsPoint& screen) {
    RECT outer{};
    ::GetWindowRect(hwnd_, &outer);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(hwnd_, &clientOrigin);
    int left = TwipsToPixels(screen.x, dpi_) - (clientOrigin.x - outer.left);
    int top = TwipsToPixels(screen.y, dpi_) - (clientOrigin.y - outer.top);
    ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace claverix::ui
