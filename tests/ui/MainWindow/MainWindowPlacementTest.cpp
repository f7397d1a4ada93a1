#include <gtest/gtest.h>

#include <cmath>

#include "app/Settings.h"
#include "tests/ui/MainWindow/MainWindowFixture.h"
#include "ui/common/Dpi.h"

namespace claverix::ui {
namespace {

using MainWindowAtEveryDpiTest = MainWindowTest;

RECT OuterRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

void ExpectSameRect(const RECT& actual, const RECT& expected, const char* when) {
    EXPECT_NEAR(actual.left, expected.left, 1) << when;
    EXPECT_NEAR(actual.top, expected.top, 1) << when;
    EXPECT_NEAR(actual.right, expected.right, 1) << when;
    EXPECT_NEAR(actual.bottom, expected.bottom, 1) << when;
}

TEST_F(MainWindowAtEveryDpiTest, OpensWhereItWasClosedOrOnTheNearestMonitor) {
    platform::Profile& profile = world_.platform().profile;
    const std::string& iniFile = world_.engine().startup.IniFile;
    Open();
    ::SetWindowPos(window_->hwnd(), nullptr, 40, 60, 700, 500, SWP_NOZORDER);
    RECT closed = OuterRect(window_->hwnd());
    ::SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
    std::optional<app::MainWindowPlacement> stored = app::ReadMainWindowPlacement(profile, iniFile);
    ASSERT_TRUE(stored);
    UINT dpi = DpiOf(nullptr);
    EXPECT_EQ(stored->width, std::lround(PixelsToTwips(700, dpi)));
    EXPECT_FALSE(stored->maximized);

    Open();
    ExpectSameRect(OuterRect(window_->hwnd()), closed, "reopened");
    // Maximised when the session ends: the place it comes back to, and maximised.
    ::ShowWindow(window_->hwnd(), SW_MAXIMIZE);
    ASSERT_TRUE(::SendMessageW(window_->hwnd(), WM_QUERYENDSESSION, 0, 0));
    ::SendMessageW(window_->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(app::ReadMainWindowPlacement(profile, iniFile)->maximized);
    window_.reset();

    Open();
    EXPECT_TRUE(::IsZoomed(window_->hwnd()));
    ::ShowWindow(window_->hwnd(), SW_RESTORE);
    ExpectSameRect(OuterRect(window_->hwnd()), closed, "restored after the session");
    window_.reset();

    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    app::WriteMainWindowPlacement(profile, iniFile, {900000, -200000, 6000, 3000, false});
    Open();
    RECT outer = OuterRect(window_->hwnd());
    RECT visible{};
    EXPECT_TRUE(::IntersectRect(&visible, &outer, &screen));
    EXPECT_TRUE(::EqualRect(&visible, &outer)) << "wholly on the screen";
}

}  // namespace
}  // namespace claverix::ui
