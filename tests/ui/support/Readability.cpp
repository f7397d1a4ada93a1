#include "tests/ui/support/Readability.h"

#include "platform/win32/Text.h"
#include "tests/ui/support/UserActions.h"
#include "ui/common/Controls.h"

namespace claverix::tests {

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

// The width a control's caption needs: for buttons and check boxes, their
// own answer (glyph, margins and text), for labels and frames the text's;
// for a label that breaks its text into lines, the widest line's when the
// lines fit in its height.
int NeededWidth(HWND control, const std::wstring& text, const RECT& client) {
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (::lstrcmpiW(className, L"Button") == 0 && type != BS_GROUPBOX) {
        SIZE ideal{};
        ::SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        return ideal.cx;
    }
    HDC context = ::GetDC(control);
    HGDIOBJ previous =
        ::SelectObject(context, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE needed{};
    ::GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &needed);
    RECT lines{0, 0, client.right, 0};
    if (needed.cx > client.right && ui::BreaksCaptionIntoLines(control) &&
        ::DrawTextW(context, text.c_str(), static_cast<int>(text.size()), &lines,
                    DT_CALCRECT | DT_WORDBREAK) <= client.bottom) {
        needed.cx = lines.right;
    }
    ::SelectObject(context, previous);
    ::ReleaseDC(control, context);
    return needed.cx;
}

struct Collected {
    std::vector<std::string> cut;
};

BOOL CALLBACK CheckChild(HWND control, LPARAM collected) {
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    bool hasCaption = ::lstrcmpiW(className, L"Button") == 0 || ::lstrcmpiW(className, L"Static") == 0;
    std::wstring text = TextOf(control);
    if (!hasCaption || text.empty()) {
        return TRUE;
    }
    text = WithoutAccessKeyMarks(text);
    RECT client{};
    ::GetClientRect(control, &client);
    int needed = NeededWidth(control, text, client);
    if (needed <= 0 || needed > client.right) {  // a caption that cannot be measured is no pass
        reinterpret_cast<Collected*>(collected)->cut.push_back(
            platform::win32::WideToUtf8(text) + " (needs " + std::to_string(needed) + " px, has " +
            std::to_string(client.right) + " px)");
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

}  // namespace claverix::tests
