#include "ui/common/Controls.h"

#include <commctrl.h>

#include <stdexcept>

#include "ui/common/Dpi.h"
#include "ui/common/Window.h"

namespace claverix::ui {

void Control::Create(Window& parent, const ControlSetup& setup) {
    parent_ = &parent;
    id_ = setup.id;
    rect = setup.rect;
    hwnd_ = ::CreateWindowExW(setup.exStyle, setup.className, setup.text.c_str(), setup.style | WS_CHILD, 0,
                              0, 0, 0, parent.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(setup.id)),
                              ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) {
        throw std::runtime_error("a control of the window cannot be created");
    }
    parent.Register(*this);
}

std::wstring Control::Text() const {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Control::SetText(const std::wstring& text) {
    ::SetWindowTextW(hwnd_, text.c_str());
}

void Control::Enable(bool enabled) {
    ::EnableWindow(hwnd_, enabled);
}

void Control::Show(bool visible) {
    ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::IsVisible() const {
    return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::Focus() {
    ::SetFocus(hwnd_);
}

LRESULT Control::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(hwnd_, message, wParam, lParam);
}

bool CheckBox::IsChecked() const {
    return Send(BM_GETCHECK) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

int CaptionRoom(HWND control, UINT dpi) {
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    RECT client{};
    ::GetClientRect(control, &client);
    auto scaled = [dpi](int pixels) { return ScaledPixels(pixels, dpi); };
    if (::lstrcmpiW(className, WC_STATICW) == 0) {
        return client.right;
    }
    if (::lstrcmpiW(className, WC_BUTTONW) != 0) {
        return -1;
    }
    switch (::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return client.right - MetricAt(SM_CXMENUCHECK, dpi) - scaled(4);
        case BS_GROUPBOX:
            return client.right - scaled(16);
        default:
            return client.right - scaled(8);  // a push button's edges
    }
}

bool BreaksCaptionIntoLines(HWND control) {
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK;
    return ::lstrcmpiW(className, WC_STATICW) == 0 &&
           (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
}

}  // namespace claverix::ui
