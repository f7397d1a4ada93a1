#pragma once

#include <windows.h>

#include "ui/common/GuiHandles.h"

namespace claverix::ui {

// The DPI a window is drawn at: its monitor's, the program being
// per-monitor aware; the system's on Windows versions before 10.
UINT DpiOf(HWND window);
UINT SystemDpi();

// `pixels` of a drawing made for 96 DPI, at `dpi`.
inline int ScaledPixels(int pixels, UINT dpi) {
    return ::MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

// A system metric at `dpi`.
int MetricAt(int index, UINT dpi);

// The outer rectangle a window of these styles needs around `client`, at `dpi`.
RECT OuterRectFor(const RECT& client, DWORD style, DWORD exStyle, bool hasMenu, UINT dpi);

// The windows' font, the classic dialog font whose widths the twips layouts
// were drawn for: 8 points, DialogFontHeight(dpi) pixels high, unless a
// window's captions need it smaller.
int DialogFontHeight(UINT dpi);
UniqueGdiObject CreateDialogFont(int pixelHeight);

}  // namespace claverix::ui
