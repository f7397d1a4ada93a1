#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/common/Dpi.h"
#include "ui/common/Geometry.h"

namespace claverix::ui {

class Control;

// How a top-level window is made. Sizes and positions are in twips.
struct WindowSetup {
    std::wstring caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    HMENU menu = nullptr;  // the window destroys it
    double clientWidth = 0;
    double clientHeight = 0;
};

// A fixed dialog frame without minimise or maximise box, owned by `owner`
// (so without a task-bar entry of its own when there is one).
inline WindowSetup DialogSetup(std::wstring caption, HWND owner, double clientWidth, double clientHeight) {
    return {std::move(caption),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
            WS_EX_DLGMODALFRAME,
            owner,
            nullptr,
            clientWidth,
            clientHeight};
}

// One top-level window: owns its HWND (destroyed with the object) and places
// its controls from their twips geometry at the DPI of its monitor. Derived
// classes are the program's windows; they see messages through the virtual
// handlers, never a raw window procedure. No C++ exception leaves a handler:
// it is shown to the user and the message gets its default answer.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    bool IsLoaded() const { return hwnd_ != nullptr; }
    UINT Dpi() const { return dpi_; }

    // The window object behind a top-level HWND of this program, or null.
    static Window* FromHandle(HWND window);

    // Keyboard messages of the window's own controls come here first; true
    // when handled. By default Tab, arrows, Enter and Esc move and press as
    // in a dialog.
    virtual bool PreTranslateMessage(MSG& message);

    // Closes and destroys the window, giving the input back first to the
    // window that its modal run disabled.
    void Close();
    // Hides it, the same way; it stays loaded.
    void Hide();

protected:
    // Creates the window hidden, its client area sized, at the system's
    // chosen position. False when Windows refuses.
    bool Create(const WindowSetup& setup);

    // Outer rectangle, in twips of the screen.
    TwipsRect OuterRect() const;
    void SetOuterRect(const TwipsRect& rect);
    void SetClientSize(double width, double height);
    // Centres the outer window on its monitor.
    void CentreOnScreen();
    // Puts the client area's top-left corner at this screen position.
    void PlaceClientAt(const TwipsPoint& screen);

    // Moves every control to its twips rectangle at the current DPI.
    void PlaceControls();

    // The button that Enter presses wherever the focus is, or 0 for none.
    virtual int DefaultButtonId() const { return 0; }

    virtual void OnCommand(int id, int code, HWND control);
    virtual void OnSize(UINT kind);
    // Close box, Alt+F4 or the system: closes by default.
    virtual void OnClose() { Close(); }
    virtual void OnDestroy() {}
    virtual void OnDpiChanged() {}
    // Every other message; DefWindowProc by default.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class Control;
    friend void RunModal(Window& dialog, HWND disabled);

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Register(Control& control);
    void ApplyDpi(UINT dpi);
    void FitFont();
    bool CaptionsFit(HGDIOBJ font) const;
    void GiveInputBack();

    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueGdiObject font_;
    int fontHeight_ = 0;
    HWND focusBeforeDeactivation_ = nullptr;
    HWND modalDisabled_ = nullptr;
    std::vector<Control*> controls_;
};

}  // namespace claverix::ui
