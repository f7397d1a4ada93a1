#include "ui/common/Window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/win32/SystemLibrary.h"
#include "ui/common/Controls.h"
#include "ui/common/MessageLoop.h"
#include "ui/common/ProgramIcon.h"
#include "ui/common/Unexpected.h"

namespace claverix::ui {

// A filter on a control, kept by the control's window.
struct InstalledFilter {
    HWND control = nullptr;  // null once the control is gone
    MessageFilter filter;
};

namespace {

// Posted to a window for the calls it has to run later.
constexpr UINT kRunPostedCalls = WM_APP + 100;

LRESULT CALLBACK FilteredProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);

}  // namespace

WindowSetup DialogSetup(std::wstring caption, HWND owner, double clientWidth, double clientHeight) {
    WindowSetup setup;
    setup.caption = std::move(caption);
    setup.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    setup.exStyle = WS_EX_DLGMODALFRAME;
    setup.owner = owner;
    setup.clientWidth = clientWidth;
    setup.clientHeight = clientHeight;
    return setup;
}

Window::Window() = default;

Window::~Window() {
    // The derived window's members are gone: nothing may reach them now.
    controls_.clear();
    RemoveFilters();
    if (hwnd_ != nullptr) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        GiveInputBack();
        ::DestroyWindow(hwnd_);
    }
}

Window* Window::FromHandle(HWND window) {
    wchar_t className[32] = {};
    if (window == nullptr || ::GetClassNameW(window, className, 32) == 0 ||
        ::lstrcmpW(className, kWindowClassName) != 0) {
        return nullptr;
    }
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool Window::Create(const WindowSetup& setup) {
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &Window::Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClassName;
        return ::RegisterClassExW(&windowClass);
    }();
    if (atom == 0) {
        ::DestroyMenu(setup.menu);
        return false;
    }
    int position = (setup.style & WS_POPUP) != 0 ? 0 : CW_USEDEFAULT;
    HWND created = ::CreateWindowExW(
        setup.exStyle, kWindowClassName, setup.caption.c_str(), setup.style & ~WS_VISIBLE, position, position,
        CW_USEDEFAULT, CW_USEDEFAULT, setup.owner, setup.menu, ::GetModuleHandleW(nullptr), this);
    if (created == nullptr) {
        ::DestroyMenu(setup.menu);
        return false;
    }
    ApplyDpi(DpiOf(hwnd_));
    SetClientSize(setup.clientWidth, setup.clientHeight);
    if (setup.showsIcon) {
        ShowProgramIcon();
    }
    return true;
}

// The program's icon in the title bar and the task bar. The class has none,
// so that a window without one shows none, under Wine as under Windows.
void Window::ShowProgramIcon() {
    for (auto [kind, size] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
        int pixels = MetricAt(size, dpi_);
        // Shared: the system keeps the icon, which is never destroyed.
        HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                   pixels, pixels, LR_SHARED);
        ::SendMessageW(hwnd_, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    std::optional<LRESULT> answer =
        AnswerReportingUnexpected(window, [&] { return self->HandleMessage(message, wParam, lParam); });
    return answer ? *answer : ::DefWindowProcW(window, message, wParam, lParam);
}

std::optional<LRESULT> Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DROPFILES:
            DropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(reinterpret_cast<HWND>(wParam),
                          lParam == -1
                              ? std::nullopt
                              : std::optional<POINT>(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
            return 0;
        case WM_NOTIFY:
            if (std::optional<LRESULT> answer = OnNotify(*reinterpret_cast<NMHDR*>(lParam))) {
                return answer;
            }
            break;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession() ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                OnEndSession();
            }
            return 0;
        case WM_MEASUREITEM:
            if (OnMeasureItem(static_cast<int>(wParam), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            if (OnDrawItem(static_cast<int>(wParam), *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            break;
    }
    return HandleFrameMessage(message, wParam, lParam);
}

// What every window does alike, as a dialog would: focus, Tab, the default
// button, the DPI of its monitor.
std::optional<LRESULT> Window::HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRunPostedCalls:
            RunPostedCalls();
            return 0;
        case WM_NCDESTROY: {
            HWND window = std::exchange(hwnd_, nullptr);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        case WM_NEXTDLGCTL: {
            // A multi-line box asks its window to move the focus on Tab, as a dialog would.
            HWND next = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                            : ::GetNextDlgTabItem(hwnd_, ::GetFocus(), wParam != 0);
            if (next != nullptr) {
                ::SetFocus(next);
            }
            return 0;
        }
        case DM_GETDEFID:
            return DefaultButtonId() != 0 ? MAKELRESULT(DefaultButtonId(), DC_HASDEFID) : 0;
        case WM_ACTIVATE:
            // Each window keeps its own focus, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                focusBeforeDeactivation_ = ::IsChild(hwnd_, focus) ? focus : nullptr;
            } else if (focusBeforeDeactivation_ != nullptr && ::IsWindow(focusBeforeDeactivation_)) {
                ::SetFocus(focusBeforeDeactivation_);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            PlaceControls();
            OnDpiChanged();
            return 0;
        }
    }
    return std::nullopt;
}

void Window::PostCall(std::function<void()> call) {
    postedCalls_.push_back(std::move(call));
    if (postedCalls_.size() == 1) {
        ::PostMessageW(hwnd_, kRunPostedCalls, 0, 0);
    }
}

void Window::RunPostedCalls() {
    std::vector<std::function<void()>> calls = std::move(postedCalls_);
    postedCalls_.clear();
    for (const std::function<void()>& call : calls) {
        call();
    }
}

void Window::Paint() {
    PAINTSTRUCT paint;
    HDC context = ::BeginPaint(hwnd_, &paint);
    OnPaint(context);
    ::EndPaint(hwnd_, &paint);
}

void Window::DropFiles(HDROP drop) {
    std::vector<std::wstring> paths;
    static const auto dragQueryFile =
        platform::win32::SystemFunction<decltype(&::DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    static const auto dragFinish =
        platform::win32::SystemFunction<decltype(&::DragFinish)>(L"shell32.dll", "DragFinish");
    UINT count = dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(dragQueryFile(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(dragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(std::move(path));
    }
    dragFinish(drop);
    OnDropFiles(paths);
}

void Window::OnCommand(int, int) {}

void Window::OnSize(UINT) {
    PlaceControls();
}

bool Window::PreTranslateMessage(MSG& message) {
    if (accelerators_ && ::TranslateAcceleratorW(hwnd_, accelerators_.Get(), &message)) {
        return true;
    }
    std::optional<KeyEvent> key;
    switch (message.message) {
        case WM_KEYDOWN:
            key = KeyEvent::Down;
            break;
        case WM_CHAR:
            key = KeyEvent::Character;
            break;
        case WM_SYSCHAR:
            key = KeyEvent::MenuCharacter;
            break;
    }
    switch (key ? OnControlKey(*key, message.wParam) : KeyHandling::AsInADialog) {
        case KeyHandling::Handled:
            return true;
        case KeyHandling::ToControl:
            return false;
        case KeyHandling::AsInADialog:
            break;
    }
    return PressFocusedButton(message) || ::IsDialogMessageW(hwnd_, &message) != FALSE;
}

// Enter presses the button that has the focus, as in any dialog. The dialog
// manager presses only the default button, which it moves to the focused
// one only in a real dialog.
bool Window::PressFocusedButton(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) {
        return false;
    }
    HWND focus = ::GetFocus();
    constexpr LRESULT kPushButton = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;
    if (!::IsChild(hwnd_, focus) || (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) & kPushButton) == 0) {
        return false;
    }
    ::SendMessageW(focus, BM_CLICK, 0, 0);
    return true;
}

void Window::SetAccelerators(std::span<const ACCEL> shortcuts) {
    std::vector<ACCEL> table(shortcuts.begin(), shortcuts.end());
    accelerators_.Reset(::CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

void Window::FilterMessages(HWND control, MessageFilter filter) {
    std::erase_if(filters_, [](const auto& installed) { return installed->control == nullptr; });
    auto installed = std::make_unique<InstalledFilter>(InstalledFilter{control, std::move(filter)});
    // Each filter its own id: a second filter on the same control would otherwise replace the first.
    auto id = reinterpret_cast<UINT_PTR>(installed.get());
    if (::SetWindowSubclass(control, FilteredProcedure, id, reinterpret_cast<DWORD_PTR>(installed.get()))) {
        filters_.push_back(std::move(installed));
    }
}

void Window::RemoveFilters() {
    for (const auto& installed : filters_) {
        if (installed->control != nullptr) {
            ::RemoveWindowSubclass(installed->control, FilteredProcedure,
                                   reinterpret_cast<UINT_PTR>(installed.get()));
        }
    }
    filters_.clear();
}

void Window::Close() {
    GiveInputBack();
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
}

void Window::Hide() {
    GiveInputBack();
    if (hwnd_ != nullptr) {
        ::ShowWindow(hwnd_, SW_HIDE);
    }
}

void Window::GiveInputBack() {
    // Before this window goes, so that Windows activates the one it disabled.
    if (modalDisabled_ != nullptr) {
        ::EnableWindow(modalDisabled_, TRUE);
        modalDisabled_ = nullptr;
    }
}

bool Dialog::ShowModal(HWND owner) {
    if (!IsLoaded() && !Load(owner)) {
        return false;
    }
    RunModal(*this, owner);
    return true;
}

namespace {

LRESULT CALLBACK FilteredProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data) {
    auto* installed = reinterpret_cast<InstalledFilter*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, FilteredProcedure, id);
        installed->control = nullptr;
        return ::DefSubclassProc(control, message, wParam, lParam);
    }
    std::optional<LRESULT> answer =
        AnswerReportingUnexpected(control, [&] { return installed->filter(message, wParam, lParam); });
    return answer ? *answer : ::DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

}  // namespace claverix::ui
