#include "tests/ui/MainWindow/MainWindowFixture.h"

#include "app/Settings.h"

namespace claverix::ui {
namespace {

using MainWindowPlacementUnderEveryFrameAtEveryDpiTest = MainWindowTest;

RECT OuterRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Twips are whole pixels at 96 and 144 DPI: the place comes back to the pixel.
TEST_F(MainWindowPlacementUnderEveryFrameAtEveryDpiTest, OpensWhereItWasClosedOrOnTheNearestMonitor) {
    Open();
    ::SetWindowPos(window_->hwnd(), nullptr, 40, 60, 700, 500, SWP_NOZORDER);
    RECT closed = OuterRect(window_->hwnd());
    ::SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);

    Open();
    RECT reopened = OuterRect(window_->hwnd());
    EXPECT_TRUE(::EqualRect(&reopened, &closed));
    // Maximised when the session ends: stored as maximised, over the place it had.
    ::ShowWindow(window_->hwnd(), SW_MAXIMIZE);
    ::SendMessageW(window_->hwnd(), WM_ENDSESSION, TRUE, 0);
    window_.reset();
    Open();
    EXPECT_TRUE(::IsZoomed(window_->hwnd()));
    ::ShowWindow(window_->hwnd(), SW_RESTORE);
    RECT restored = OuterRect(window_->hwnd());
    EXPECT_TRUE(::EqualRect(&restored, &closed));
    window_.reset();

    app::WriteMainWindowPlacement(world_.platform().profile, world_.engine().startup.IniFile,
                                  {900000, -200000, 6000, 3000, false});
    Open();
    RECT outer = OuterRect(window_->hwnd());
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    ::IntersectRect(&visible, &outer, &screen);
    EXPECT_TRUE(::EqualRect(&visible, &outer)) << "a place on no monitor comes back on the screen";
}

}  // namespace
}  // namespace claverix::ui
