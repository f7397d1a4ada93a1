#include "tests/ui/support/Readability.h"

#include "platform/win32/Text.h"
#include "ui/common/Dpi.h"

namespace claverix::testing {

namespace {

std::wstring WithoutAccessKeyMarks(std::wstring text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

// Room the control's own drawing takes beside its text, in pixels.
int Decoration(HWND control, UINT dpi) {
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    if (::lstrcmpiW(className, L"Button") != 0) {
        return 0;
    }
    LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
        return ui::MetricAt(SM_CXMENUCHECK, dpi) + ::MulDiv(4, static_cast<int>(dpi), 96);
    }
    if (type == BS_GROUPBOX) {
        return ::MulDiv(16, static_cast<int>(dpi), 96);
    }
    return ::MulDiv(8, static_cast<int>(dpi), 96);  // a push button's edges
}

struct Collected {
    std::vector<std::string> cut;
};

BOOL CALLBACK CheckChild(HWND control, LPARAM collected) {
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    bool hasCaption = ::lstrcmpiW(className, L"Button") == 0 || ::lstrcmpiW(className, L"Static") == 0;
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    if (!hasCaption || text.empty()) {
        return TRUE;
    }
    text = WithoutAccessKeyMarks(text);
    UINT dpi = ui::DpiOf(control);
    HDC context = ::GetDC(control);
    HGDIOBJ previous = ::SelectObject(context, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE needed{};
    ::GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &needed);
    ::SelectObject(context, previous);
    ::ReleaseDC(control, context);
    RECT client{};
    ::GetClientRect(control, &client);
    int room = client.right - Decoration(control, dpi);
    if (needed.cx > room || needed.cy > client.bottom) {
        reinterpret_cast<Collected*>(collected)->cut.push_back(
            platform::win32::WideToUtf8(text) + " (needs " + std::to_string(needed.cx) + "x" +
            std::to_string(needed.cy) + " px, has " + std::to_string(room) + "x" + std::to_string(client.bottom) +
            " px)");
    }
    return TRUE;
}

}  // namespace

std::vector<std::string> TextsCutShort(HWND window) {
    Collected collected;
    ::EnumChildWindows(window, CheckChild, reinterpret_cast<LPARAM>(&collected));
    return collected.cut;
}

RECT RectInParent(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace claverix::testing
