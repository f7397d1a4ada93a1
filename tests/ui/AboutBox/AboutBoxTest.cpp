#include "ui/AboutBox/AboutBox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ClaverixVersion.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/StandIns.h"
#include "platform/win32/Text.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"

namespace claverix::ui {
namespace {

using namespace std::string_literals;
using platform::RootKey;

constexpr char kTool[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// ANSI text as the registry holds a string: UTF-16 and a zero character.
std::string StringBytes(const std::string& ansi) {
    std::wstring text = platform::win32::AnsiToWide(ansi) + L'\0';
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The real files, but a registry and a system directory of the test's own.
class AboutBoxTest : public ::testing::Test {
protected:
    AboutBoxTest() { environment_.windowsDirectory = world_.root(); }

    void Open(std::function<void(HWND)> act) {
        tests::UserThread user(L"À propos de Claverix", std::move(act), kWindowClassName);
        EXPECT_TRUE(AboutBox(platform_).ShowModal(nullptr));
        EXPECT_TRUE(user.Found());
    }

    tests::WindowWorld world_;
    platform::MemoryRegistry registry_;
    platform::FixedEnvironment environment_;
    platform::Platform& real_ = world_.platform();
    platform::Platform platform_{registry_,    real_.profile, real_.files, real_.processes,
                                 environment_, real_.prompt,  real_.codec, real_.locks};
};

TEST_F(AboutBoxTest, InfosSystemeStartsTheToolInANormalWindowOrSaysItIsMissing) {
    bool stillOpen = false;
    HWND tool = nullptr;
    Open([&](HWND about) {
        ::SendMessageW(about, WM_COMMAND, IDC_ABOUT_SYSINFO, 0);
        stillOpen = ::IsWindowVisible(about);
        registry_.SetValue(
            RootKey::LocalMachine, kTool, "PATH", platform::kRegSz,
            StringBytes(platform::win32::Win32Environment().WindowsDirectory() + "\\notepad.exe"));
        ::SendMessageW(about, WM_COMMAND, IDC_ABOUT_SYSINFO, 0);
        for (int attempt = 0; attempt < 1000 && !::IsWindowVisible(tool); ++attempt, ::Sleep(10)) {
            tool = ::FindWindowW(L"Notepad", nullptr);
        }
        EXPECT_TRUE(::IsWindowVisible(tool));
        EXPECT_FALSE(::IsIconic(tool));
        ::PostMessageW(tool, WM_CLOSE, 0, 0);
        tests::PostClick(about, IDOK);
    });
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_EQ(world_.prompt.shown()[0].text, "Les informations système ne sont pas disponibles actuellement");
    EXPECT_EQ(world_.prompt.shown()[0].icon, platform::PromptIcon::None);
    EXPECT_TRUE(stillOpen);
}

using AboutBoxAtEveryDpiTest = AboutBoxTest;

TEST_F(AboutBoxAtEveryDpiTest, AtEveryDpiShowsTheResourcesVersionAndClosesOnEnterOrEsc) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        std::vector<std::string> cut{"not measured"};
        std::wstring version;
        Open([&](HWND about) {
            cut = tests::TextsCutShort(about);
            version = tests::TextOf(::GetDlgItem(about, IDC_ABOUT_VERSION));
            EXPECT_NE(::SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
            ::PostMessageW(::GetDlgItem(about, IDOK), WM_KEYDOWN, key, 0);
        });
        EXPECT_EQ(cut, std::vector<std::string>{});
        EXPECT_EQ(version, L"Version " + platform::win32::AnsiToWide(CLAVERIX_VERSION_TEXT));
    }
}

TEST_F(AboutBoxTest, EnterOnInfosSystemePressesItAndTheBoxStays) {
    bool stillOpen = false;
    Open([&](HWND about) {
        tests::PostEnterOn(about, IDC_ABOUT_SYSINFO);
        for (int wait = 0; wait < 500 && world_.prompt.shown().empty(); ++wait) {
            ::Sleep(10);
        }
        stillOpen = ::IsWindowVisible(about);
        tests::PostClick(about, IDOK);
    });
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_EQ(world_.prompt.shown()[0].text, "Les informations système ne sont pas disponibles actuellement");
    EXPECT_TRUE(stillOpen);
}

}  // namespace
}  // namespace claverix::ui
