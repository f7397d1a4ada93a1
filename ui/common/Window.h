#pragma once

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/common/Dpi.h"
#include "ui/common/Geometry.h"
#include "ui/common/GuiHandles.h"
#include "ui/common/WindowClassName.h"

namespace claverix::ui {

class Control;
struct InstalledFilter;

// How a top-level window is made. Sizes and positions are in twips.
struct WindowSetup {
    std::wstring caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    HMENU menu = nullptr;  // the window destroys it
    double clientWidth = 0;
    double clientHeight = 0;
    // The program's icon in the title bar.
    bool showsIcon = true;
};

// A fixed dialog frame without minimise or maximise box, owned by `owner`
// (so without a task-bar entry of its own when there is one).
WindowSetup DialogSetup(std::wstring caption, HWND owner, double clientWidth, double clientHeight);

// Sees a control's messages before the control: the filter answers a message
// by returning a result, or lets it through with nullopt.
using MessageFilter = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

// How a key reached a control of the window.
enum class KeyEvent { Down, Character, MenuCharacter };

// What becomes of a key that reached a control of the window.
enum class KeyHandling {
    AsInADialog,  // Tab, the arrows, Enter and Esc move and press as in a dialog
    ToControl,    // the control (or the menu bar) takes it as it is
    Handled,      // the window has acted on it: nobody else sees it
};

// One top-level window: owns its HWND (destroyed with the object) and places
// its controls from their twips geometry at the DPI of its monitor. Derived
// classes are the program's windows; they see their own messages through the
// typed handlers, never a raw window procedure, and a control's only through
// the MessageFilter that its control class installs (LongTextBox, the main
// window's boxes, the options' directory list). The windows are plain
// windows, not dialog templates, so that they keep their twips layouts and
// follow their monitor's DPI; so the base does itself what the dialog manager
// would (Tab, the arrows, Enter, Esc, the default button, the focus kept
// across deactivation): take that away and the keyboard stops working in
// every window. No C++ exception leaves a handler: it goes to the
// unexpected-error sink and the message gets its default answer. The filters
// on its controls are the window's: they are removed before the window is
// destroyed, so that none reaches a window being torn down.
class Window {
public:
    Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    bool IsLoaded() const { return hwnd_ != nullptr; }
    UINT Dpi() const { return dpi_; }

    // The window object behind a top-level HWND of this program, or null.
    static Window* FromHandle(HWND window);

    // A message of the window's own controls, before it is dispatched: the
    // accelerators, then OnControlKey, then Tab, arrows, Enter and Esc as in a
    // dialog. True when handled: it is not to be dispatched.
    bool PreTranslateMessage(MSG& message);

    // Closes and destroys the window, giving the input back first to the
    // window that its modal run disabled.
    void Close();
    // Hides it, the same way; it stays loaded.
    void Hide();

    // Runs `call` once the messages already waiting have been handled: what
    // the window needs not have before it shows and answers.
    void PostCall(std::function<void()> call);

    // Installs `filter` on `control`, a child of this window, for as long as both live.
    void FilterMessages(HWND control, MessageFilter filter);

protected:
    // Creates the window hidden, its client area sized, at the system's
    // chosen position. False when Windows refuses.
    bool Create(const WindowSetup& setup);

    // Keyboard shortcuts that act wherever the focus is in the window.
    void SetAccelerators(std::span<const ACCEL> shortcuts);

    TwipsRect ClientRect() const;
    // Outer rectangle, in twips of the screen.
    TwipsRect OuterRect() const;
    void SetOuterRect(const TwipsRect& rect);
    // The outer rectangle as it is or, minimised or maximised, as it will be
    // once restored: the place a window keeps from one opening to the next.
    TwipsRect NormalOuterRect() const;
    // Whether the window is maximised, or minimised from maximised.
    bool IsMaximised() const;
    // SetOuterRect for a stored place. A place on no monitor any more, such as
    // one of a monitor since unplugged, would open the window out of sight: it
    // is moved, and shrunk if need be, into the work area of the nearest
    // monitor. A place partly in sight is the user's choice.
    void SetOuterRectOnScreen(const TwipsRect& rect);
    void SetClientSize(double width, double height);
    // Centres the outer window on its monitor.
    void CentreOnScreen();
    // Puts the client area's top-left corner at this screen position.
    void PlaceClientAt(const TwipsPoint& screen);

    // Moves every control to its twips rectangle at the current DPI.
    void PlaceControls();

    // The button that Enter presses wherever the focus is, or 0 for none.
    virtual int DefaultButtonId() const { return 0; }

    virtual void OnCommand(int id, int code);
    virtual void OnSize(UINT kind);
    // Close box, Alt+F4 or the system: closes by default.
    virtual void OnClose() { Close(); }
    virtual void OnDestroy() {}
    virtual void OnDpiChanged() {}
    virtual void OnPaint(HDC) {}
    // Files dropped on a window made with WS_EX_ACCEPTFILES.
    virtual void OnDropFiles(const std::vector<std::wstring>&) {}
    virtual void OnInitMenuPopup(HMENU) {}
    // A shortcut menu asked for over `control`: by the mouse at `screen`, or
    // from the keyboard (Shift+F10, the menu key) with no point.
    virtual void OnContextMenu(HWND, std::optional<POINT>) {}
    // The Windows session ends: false keeps it going. Then, when it does end,
    // OnEndSession: the window will be gone without being closed.
    virtual bool OnQueryEndSession() { return true; }
    virtual void OnEndSession() {}
    // Owner-drawn controls; true when the window measured or drew the item.
    virtual bool OnMeasureItem(int, MEASUREITEMSTRUCT&) { return false; }
    virtual bool OnDrawItem(int, const DRAWITEMSTRUCT&) { return false; }
    // A notification of a common control (list view...): its answer, or
    // nullopt for the default one.
    virtual std::optional<LRESULT> OnNotify(NMHDR&) { return std::nullopt; }
    // A key in one of the window's controls, before the control.
    virtual KeyHandling OnControlKey(KeyEvent, WPARAM) { return KeyHandling::AsInADialog; }

private:
    friend class Control;
    friend void RunModal(Window& dialog, HWND disabled);

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowProgramIcon();
    bool PressFocusedButton(const MSG& message);
    void RunPostedCalls();
    void Paint();
    void DropFiles(HDROP drop);
    void Register(Control& control);
    void RemoveFilters();
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
    UniqueAcceleratorTable accelerators_;
    std::vector<Control*> controls_;
    std::vector<std::unique_ptr<InstalledFilter>> filters_;
    std::vector<std::function<void()>> postedCalls_;
};

// A window shown modal: loaded when it is not, then run while its owner waits.
class Dialog : public Window {
public:
    // Loads the dialog when it is not loaded and runs it modal while `owner`
    // (a window, or null) takes no input; returns once it is closed or
    // hidden. False when it cannot be created.
    [[nodiscard]] bool ShowModal(HWND owner);

protected:
    // Creates the window and its controls. False when Windows refuses.
    virtual bool Load(HWND owner) = 0;
};

}  // namespace claverix::ui
