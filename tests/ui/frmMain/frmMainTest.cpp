#include "ui/frmMain/frmMain.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/support/Dpi.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"
#include "ui/common/Dpi.h"
#include "ui/common/Geometry.h"

namespace claverix::ui {
namespace {

using testing::WindowWorld;

class frmMainTest : public ::testing::Test {
protected:
    void Open() {
        window_ = std::make_unique<frmMain>(world_.engine());
        ASSERT_TRUE(window_->Load());
        window_->Show();
        testing::PumpMessages();
    }

    HWND Control(int id) const { return ::GetDlgItem(window_->hwnd(), id); }

    WindowWorld world_;
    std::unique_ptr<frmMain> window_;
};

using frmMainAtEveryDpiTest = frmMainTest;

TEST_F(frmMainAtEveryDpiTest, LayoutFollowsTheOuterSize) {
    Open();
    UINT dpi = DpiOf(window_->hwnd());
    if (UINT requested = testing::RequestedDpi()) {
        ASSERT_EQ(dpi, requested);
    }
    auto pixels = [dpi](double twips) { return TwipsToPixels(twips, dpi); };
    struct Expected {
        int id;
        double left, top, width, height;
    };
    const Expected table[] = {
        {IDC_MAIN_FILES, 50, 425, 2415, 6150},      {IDC_MAIN_LISTE, 50, 0, 2415, 375},
        {IDC_MAIN_APPLY, 2515, 0, 1095, 375},       {IDC_MAIN_SIGNE, 2515, 360, 855, 255},
        {IDC_MAIN_NOUNDO, 3370, 360, 1815, 255},    {IDC_MAIN_COMMENT, 2515, 665, 6830, 2910},
        {IDC_MAIN_CONTENT, 2515, 3625, 6830, 2910}, {IDC_MAIN_SHOWUNDO, 8250, 0, 1095, 375},
    };
    auto checkLayout = [&](const char* when) {
        for (const Expected& control : table) {
            RECT rect = testing::RectInParent(Control(control.id));
            EXPECT_NEAR(rect.left, pixels(control.left), 1) << when << ", control " << control.id;
            EXPECT_NEAR(rect.top, pixels(control.top), 1) << when << ", control " << control.id;
            EXPECT_NEAR(rect.right - rect.left, pixels(control.width), 1) << when << ", control " << control.id;
            EXPECT_NEAR(rect.bottom - rect.top, pixels(control.height), 1) << when << ", control " << control.id;
        }
    };
    auto resize = [&](double width, double height) {
        ::SetWindowPos(window_->hwnd(), nullptr, 0, 0, pixels(width), pixels(height), SWP_NOZORDER);
        testing::PumpMessages();
    };

    resize(9600, 7200);
    checkLayout("9600 x 7200");
    // In restoration mode the hidden check boxes still follow, and the result
    // depends on the outer size alone, whatever came before.
    testing::Click(Control(IDC_MAIN_LISTE));
    ::ShowWindow(window_->hwnd(), SW_MAXIMIZE);
    ::ShowWindow(window_->hwnd(), SW_MINIMIZE);
    ::ShowWindow(window_->hwnd(), SW_RESTORE);
    resize(1000, 800);
    resize(9600, 7200);
    checkLayout("after maximise, minimise and a tiny size");
}

TEST_F(frmMainAtEveryDpiTest, EveryTextShowsWhole) {
    Open();
    EXPECT_EQ(testing::TextsCutShort(window_->hwnd()), std::vector<std::string>{});
}

}  // namespace
}  // namespace claverix::ui
