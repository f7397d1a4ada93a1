#include "ui/Form1/Form1.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/Settings.h"
#include "platform/win32/Text.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"

namespace claverix::ui {
namespace {

using testing::WindowWorld;

class Form1AtEveryDpiTest : public ::testing::Test {
protected:
    // Opens the viewer on `text`; `act` plays the user from another thread.
    void Open(const std::string& text, std::function<void(HWND)> act) {
        Form1 viewer(world_.engine());
        testing::UserThread user(L"Fichier de restauration", std::move(act), L"ClaverixWindow");
        ASSERT_TRUE(viewer.ShowModal(nullptr, text));
        ASSERT_TRUE(user.Found());
    }

    app::UndoWindowPlacement Stored() {
        return app::ReadUndoWindowPlacement(world_.platform().profile, world_.engine().startup.IniFile);
    }

    void Store(const app::UndoWindowPlacement& placement) {
        app::WriteUndoWindowPlacement(world_.platform().profile, world_.engine().startup.IniFile, placement);
    }

    WindowWorld world_;
};

// In twips at the window's DPI, to the pixel.
void ExpectRect(const RECT& rect, double left, double top, double width, double height, UINT dpi) {
    EXPECT_NEAR(rect.left, TwipsToPixels(left, dpi), 1);
    EXPECT_NEAR(rect.top, TwipsToPixels(top, dpi), 1);
    EXPECT_NEAR(rect.right - rect.left, TwipsToPixels(width, dpi), 1);
    EXPECT_NEAR(rect.bottom - rect.top, TwipsToPixels(height, dpi), 1);
}

TEST_F(Form1AtEveryDpiTest, OpensWhereItWasLeftShowingTheWholeText) {
    std::string text;
    for (int i = 0; text.size() < 100000; ++i) {
        text += "[HKEY_CURRENT_USER\\Software\\Cl\xE9" + std::to_string(i) + "]\r\n\"Valeur\"=-\r\n";
    }
    RECT moved{};
    UINT dpi = 0;
    Open(text, [&](HWND viewer) {
        dpi = DpiOf(viewer);
        RECT outer{};
        ::GetWindowRect(viewer, &outer);
        ExpectRect(outer, 1000, 1000, 8000, 5000, dpi);
        HWND box = ::GetDlgItem(viewer, IDC_FORM1_TEXT);
        ExpectRect(testing::RectInParent(box), 0, 0, 7845, 4645, dpi);
        EXPECT_EQ(testing::TextOf(box), platform::win32::AnsiToWide(text));
        ::SetWindowPos(viewer, nullptr, 100, 150, 700, 400, SWP_NOZORDER);
        ::GetWindowRect(viewer, &moved);
        ExpectRect(testing::RectInParent(box), 0, 0, PixelsToTwips(700, dpi) - 155,
                   PixelsToTwips(400, dpi) - 355, dpi);
        // Closed minimised, it keeps its place as it will be restored.
        ::ShowWindow(viewer, SW_MINIMIZE);
        ::PostMessageW(viewer, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Stored().width, std::lround(PixelsToTwips(700, dpi))) << "stored in twips";

    Open("", [&](HWND viewer) {
        RECT outer{};
        ::GetWindowRect(viewer, &outer);
        EXPECT_TRUE(::EqualRect(&outer, &moved)) << "the place it was closed at, not the minimised one";
        HWND box = ::GetDlgItem(viewer, IDC_FORM1_TEXT);
        EXPECT_EQ(testing::TextOf(box), L"");
        ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
}

TEST_F(Form1AtEveryDpiTest, APlaceOnNoMonitorOpensOnTheNearestOne) {
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (long left : {-2000L, 900000L}) {
        Store({left, -200000, 6000, 3000});
        RECT outer{};
        Open("", [&](HWND viewer) {
            ::GetWindowRect(viewer, &outer);
            ::PostMessageW(viewer, WM_CLOSE, 0, 0);
        });
        RECT visible{};
        EXPECT_TRUE(::IntersectRect(&visible, &outer, &screen)) << left;
        EXPECT_TRUE(::EqualRect(&visible, &outer)) << left << ": wholly on the screen";
    }
    // A place partly in sight is the user's own.
    Store({-2000, 1000, 6000, 3000});
    Open("", [&](HWND viewer) {
        RECT outer{};
        ::GetWindowRect(viewer, &outer);
        EXPECT_EQ(outer.left, TwipsToPixels(-2000, DpiOf(viewer)));
        ::PostMessageW(viewer, WM_CLOSE, 0, 0);
    });
}

}  // namespace
}  // namespace claverix::ui
