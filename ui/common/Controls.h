#pragma once

#include <windows.h>
// The other Windows headers need windows.h first.
#include <commctrl.h>

#include <string>

#include "ui/common/Geometry.h"

namespace claverix::ui {

class Window;

// How a child control is made: a standard Windows class (WC_BUTTONW, ...),
// its text, styles, id and twips rectangle in its window's client area.
struct ControlSetup {
    const wchar_t* className = nullptr;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    TwipsRect rect;
};

// One child control of a Window, which places it, gives it its font and
// destroys it. Not copied: the window keeps its address.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Tab order is creation order: a window creates its controls in the
    // order the Tab key visits them.
    void Create(Window& parent, const ControlSetup& setup);

    HWND hwnd() const { return hwnd_; }
    int id() const { return id_; }

    // Where the window puts the control; PlaceControls applies it.
    TwipsRect rect;

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    void Enable(bool enabled);
    void Show(bool visible);
    bool IsVisible() const;
    void Focus();
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    Window& parent() const { return *parent_; }

private:
    HWND hwnd_ = nullptr;
    Window* parent_ = nullptr;
    int id_ = 0;
};

// A two-state check box.
class CheckBox : public Control {
public:
    bool IsChecked() const;
    // Sets the box as code does: no click reaches the window.
    void SetChecked(bool checked);
};

// The width, in pixels at `dpi`, that a label's, button's, check box's or
// frame's caption has in it, beside what the control draws itself; -1 for
// a control whose text is no caption (a text box, a list).
int CaptionRoom(HWND control, UINT dpi);

// Whether the control is a label that breaks its caption into lines at its width.
bool BreaksCaptionIntoLines(HWND control);

}  // namespace claverix::ui
