#include "ui/common/NoticeWindow.h"

namespace claverix::ui {

NoticeWindow::NoticeWindow(const std::wstring& text, const std::wstring& title) {
    WindowSetup setup = DialogSetup(title, ::GetActiveWindow(), 5850, 1035);
    setup.style &= ~WS_SYSMENU;  // no close box: the wait ends it
    if (!Create(setup)) {
        return;  // the wait goes on without its notice
    }
    text_.Create(*this, {WC_STATICW, text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, {165, 165, 5520, 705}});
    PlaceControls();
    CentreOnScreen();
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd());
}

}  // namespace claverix::ui
