#include "ui/RestorationViewer/RestorationViewer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/Settings.h"
#include "platform/win32/Text.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"

namespace claverix::ui {
namespace {

// The viewer opened on `text`: its outer rectangle, before `act` plays the user.
RECT Open(tests::WindowWorld& world, const std::string& text, std::function<void(HWND)> act = {}) {
    RECT outer{};
    tests::UserThread user(L"Fichier de restauration", [&](HWND viewer) {
        ::GetWindowRect(viewer, &outer);
        act ? act(viewer) : void(::PostMessageW(viewer, WM_CLOSE, 0, 0));
    });
    RestorationViewer viewer(world.platform().profile, world.engine().startup.IniFile);
    EXPECT_TRUE(viewer.Show(nullptr, platform::win32::AnsiToWide(text)));
    EXPECT_TRUE(user.Found());
    return outer;
}

// The box's text once `length` characters are in: the text arrives in slices
// while the viewer answers.
std::wstring TextOnceArrived(HWND box, std::size_t length) {
    for (int wait = 0; wait < 500 && static_cast<std::size_t>(::GetWindowTextLengthW(box)) < length; ++wait) {
        ::Sleep(10);
    }
    return tests::TextOf(box);
}

// To the pixel, in twips at `dpi`.
void ExpectRect(const RECT& rect, double left, double top, double width, double height, UINT dpi) {
    EXPECT_NEAR(rect.left, TwipsToPixels(left, dpi), 1);
    EXPECT_NEAR(rect.top, TwipsToPixels(top, dpi), 1);
    EXPECT_NEAR(rect.right - rect.left, TwipsToPixels(width, dpi), 1);
    EXPECT_NEAR(rect.bottom - rect.top, TwipsToPixels(height, dpi), 1);
}

TEST(RestorationViewerUnderEveryFrameAtEveryDpiTest, OpensWhereItWasClosedOrOnTheNearestMonitor) {
    tests::WindowWorld world;
    std::string text;
    for (int i = 0; text.size() < 400000; ++i) {
        text += "[HKEY_CURRENT_USER\\Cl\xE9" + std::to_string(i) + "]\r\n\"Valeur\"=-\r\n";
    }
    const std::wstring shown = platform::win32::AnsiToWide(text);
    UINT dpi = DpiOf(nullptr);
    RECT moved{};
    ExpectRect(Open(world, text,
                    [&](HWND viewer) {
                        HWND box = ::GetDlgItem(viewer, IDC_VIEWER_TEXT);
                        EXPECT_LT(static_cast<std::size_t>(::GetWindowTextLengthW(box)), shown.size())
                            << "a long text shows at once, in slices";
                        EXPECT_EQ(TextOnceArrived(box, shown.size()), shown);
                        // The box fills the client area but for a right margin, whatever the frame.
                        RECT client{};
                        ::GetClientRect(viewer, &client);
                        RECT rect = tests::RectInParent(box);
                        EXPECT_NEAR(rect.right, client.right - TwipsToPixels(35, dpi), 1);
                        EXPECT_EQ(rect.bottom, client.bottom);
                        ::SetWindowPos(viewer, nullptr, 100, 150, 700, 400, SWP_NOZORDER);
                        ::GetWindowRect(viewer, &moved);
                        EXPECT_TRUE(::SendMessageW(viewer, WM_QUERYENDSESSION, 0, 0));
                        EXPECT_EQ(app::ReadRestorationViewerPlacement(world.platform().profile,
                                                                      world.engine().startup.IniFile)
                                      .left,
                                  std::lround(PixelsToTwips(100, dpi)))
                            << "kept when the session ends";
                        ::GetClientRect(viewer, &client);
                        rect = tests::RectInParent(box);
                        EXPECT_NEAR(rect.right, client.right - TwipsToPixels(35, dpi), 1);
                        EXPECT_EQ(rect.bottom, client.bottom);
                        ::ShowWindow(viewer, SW_MINIMIZE);
                        ::PostMessageW(viewer, WM_CLOSE, 0, 0);
                    }),
               1000, 1000, 8000, 5000, dpi);
    const std::string& iniFile = world.engine().startup.IniFile;
    EXPECT_EQ(app::ReadRestorationViewerPlacement(world.platform().profile, iniFile).width,
              std::lround(PixelsToTwips(700, dpi)));
    RECT reopened = Open(world, "", [](HWND viewer) {
        EXPECT_EQ(tests::TextOf(::GetDlgItem(viewer, IDC_VIEWER_TEXT)), L"");
        ::PostMessageW(::GetDlgItem(viewer, IDC_VIEWER_TEXT), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_TRUE(::EqualRect(&reopened, &moved)) << "where it was closed, minimised";

    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (long left : {-2000L, 900000L}) {
        app::WriteRestorationViewerPlacement(world.platform().profile, iniFile, {left, -200000, 6000, 3000});
        RECT outer = Open(world, "");
        RECT visible{};
        EXPECT_TRUE(::IntersectRect(&visible, &outer, &screen)) << left;
        EXPECT_TRUE(::EqualRect(&visible, &outer)) << left;
    }
    app::WriteRestorationViewerPlacement(world.platform().profile, iniFile, {-2000, 1000, 6000, 3000});
    EXPECT_EQ(Open(world, "").left, TwipsToPixels(-2000, dpi)) << "partly in sight: as stored";
}

}  // namespace
}  // namespace claverix::ui
