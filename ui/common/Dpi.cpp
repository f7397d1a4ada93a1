#include "ui/common/Dpi.h"

#include "platform/win32/SystemLibrary.h"

namespace claverix::ui {

namespace {

// Windows 10 functions, looked up so that the program still starts on older versions.
template <typename Function>
Function User32Function(const char* name) {
    return platform::win32::OptionalSystemFunction<Function>(L"user32.dll", name);
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT DpiOf(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (UINT dpi = getDpiForWindow(window); dpi != 0) {
            return dpi;
        }
    }
    return SystemDpi();
}

int MetricAt(int index, UINT dpi) {
    static const auto getSystemMetricsForDpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) {
        return getSystemMetricsForDpi(index, dpi);
    }
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

RECT OuterRectFor(const RECT& client, DWORD style, DWORD exStyle, bool hasMenu, UINT dpi) {
    static const auto adjustWindowRectExForDpi =
        User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT outer = client;
    if (adjustWindowRectExForDpi != nullptr) {
        adjustWindowRectExForDpi(&outer, style, hasMenu, exStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&outer, style, hasMenu, exStyle);
    }
    return outer;
}

int DialogFontHeight(UINT dpi) {
    return ::MulDiv(8, static_cast<int>(dpi), 72);
}

UniqueGdiObject CreateDialogFont(int pixelHeight) {
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

}  // namespace claverix::ui
