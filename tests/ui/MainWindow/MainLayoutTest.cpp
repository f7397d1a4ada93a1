#include "tests/ui/MainWindow/MainWindowFixture.h"

#include <algorithm>
#include <cstdlib>

#include "tests/ui/support/Dpi.h"
#include "tests/ui/support/Readability.h"
#include "ui/common/Dpi.h"
#include "ui/common/Geometry.h"

namespace claverix::ui {
namespace {

using MainLayoutUnderEveryFrameAtEveryDpiTest = MainWindowTest;

TEST_F(MainLayoutUnderEveryFrameAtEveryDpiTest, LayoutFollowsTheClientAreaAndStaysInIt) {
    Open();
    UINT dpi = DpiOf(window_->hwnd());
    if (UINT requested = tests::RequestedDpi()) {
        ASSERT_EQ(dpi, requested);
    }
    auto pixels = [dpi](double twips) { return TwipsToPixels(twips, dpi); };
    struct Expected {
        int id;
        double left, top, width, height;
    };
    // The layout table for an outer size of 9600 x 7200 twips with the classic frame.
    const Expected table[] = {
        {IDC_MAIN_FILE_LIST, 50, 425, 2415, 6150},
        {IDC_MAIN_LIST_MODE, 50, 0, 2415, 375},
        {IDC_MAIN_MERGE, 2515, 0, 1095, 375},
        {IDC_MAIN_SIGNED, 2515, 360, 855, 255},
        {IDC_MAIN_NO_RESTORATION, 3370, 360, 1815, 255},
        {IDC_MAIN_COMMENT, 2515, 665, 6830, 2910},
        {IDC_MAIN_CONTENT, 2515, 3625, 6830, 2910},
        {IDC_MAIN_VIEW_RESTORATION, 8250, 0, 1095, 375},
    };
    auto checkLayout = [&](const char* when) {
        RECT client{};
        ::GetClientRect(window_->hwnd(), &client);
        RECT outer{};
        ::GetWindowRect(window_->hwnd(), &outer);
        bool classicFrame = std::abs((outer.bottom - outer.top - client.bottom) - pixels(690)) <= 1 &&
                            std::abs((outer.right - outer.left - client.right) - pixels(120)) <= 1;
        for (const Expected& control : table) {
            RECT rect = tests::RectInParent(Control(control.id));
            EXPECT_LE(rect.right, client.right) << when << ", control " << control.id;
            EXPECT_LE(rect.bottom, client.bottom) << when << ", control " << control.id;
            if (!classicFrame) {
                continue;
            }
            EXPECT_NEAR(rect.left, pixels(control.left), 1) << when << ", control " << control.id;
            EXPECT_NEAR(rect.top, pixels(control.top), 1) << when << ", control " << control.id;
            EXPECT_NEAR(rect.right - rect.left, pixels(control.width), 1)
                << when << ", control " << control.id;
            // The table's list and content box go a few pixels past the client area's bottom.
            int height =
                std::min(pixels(control.height), static_cast<int>(client.bottom) - pixels(control.top));
            EXPECT_NEAR(rect.bottom - rect.top, height, 1) << when << ", control " << control.id;
        }
    };
    auto resize = [&](double width, double height) {
        ::SetWindowPos(window_->hwnd(), nullptr, 0, 0, pixels(width), pixels(height), SWP_NOZORDER);
        ui::PumpWaitingMessages();
    };

    resize(9600, 7200);
    checkLayout("9600 x 7200");
    // In restoration mode the hidden check boxes still follow, and the result
    // depends on the size alone, whatever came before.
    tests::Click(Control(IDC_MAIN_LIST_MODE));
    ::ShowWindow(window_->hwnd(), SW_MAXIMIZE);
    ::ShowWindow(window_->hwnd(), SW_MINIMIZE);
    ::ShowWindow(window_->hwnd(), SW_RESTORE);
    resize(1000, 800);
    resize(9600, 7200);
    checkLayout("after maximise, minimise and a tiny size");
}

}  // namespace
}  // namespace claverix::ui
