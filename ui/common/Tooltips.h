#pragma once

#include <windows.h>

#include <string>

namespace claverix::ui {

// The tips a window's controls show under the mouse, through the common
// tooltip control. Windows destroys it with the window that owns it.
class Tooltips {
public:
    void Create(HWND owner);
    void Add(HWND control, const std::wstring& text);
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
};

}  // namespace claverix::ui
