#include "ui/frmAbout/frmAbout.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ClaverixVersion.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/StandIns.h"
#include "platform/win32/Text.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"
#include "ui/frmAbout/SystemInformation.h"

namespace claverix::ui {
namespace {

using namespace std::string_literals;
using platform::RootKey;

constexpr char kToolKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

// The real files and settings, but a registry and a system directory of the test's own.
class frmAboutTest : public ::testing::Test {
protected:
    frmAboutTest() { environment_.windowsDirectory = world_.root() + "\\windows"; }

    void Open(std::function<void(HWND)> act) {
        frmAbout about(platform_);
        testing::UserThread user(L"À propos de Claverix", std::move(act), L"ClaverixWindow");
        ASSERT_TRUE(about.ShowModal(nullptr));
        ASSERT_TRUE(user.Found());
    }

    std::string File(const std::string& path) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        world_.WriteFile(path, "");
        return path;
    }

    testing::WindowWorld world_;
    platform::MemoryRegistry registry_;
    platform::FixedEnvironment environment_;
    platform::Platform& real_ = world_.platform();
    platform::Platform platform_{registry_,    real_.profile, real_.files, real_.processes,
                                 environment_, real_.prompt,  real_.codec};
};

TEST_F(frmAboutTest, TheToolIsFoundThroughEitherEntryOrTheSystemDirectory) {
    EXPECT_EQ(FindSysInfo(platform_), std::nullopt);
    std::string inSystem = File(environment_.windowsDirectory + "\\System32\\msinfo32.exe");
    EXPECT_EQ(FindSysInfo(platform_), inSystem);
    registry_.SetValue(RootKey::LocalMachine, kLocationKey, "MSINFO", platform::kRegSz,
                       world_.root() + "\\\0"s);
    EXPECT_EQ(FindSysInfo(platform_), inSystem) << "the directory named has no MSINFO32.EXE";
    std::string located = File(world_.root() + "\\MSINFO32.EXE");
    EXPECT_EQ(FindSysInfo(platform_), located);
    ::SetEnvironmentVariableA("CLAVERIX_OUTILS", world_.root().c_str());
    registry_.SetValue(RootKey::LocalMachine, kToolKey, "PATH", platform::kRegExpandSz,
                       "%CLAVERIX_OUTILS%\\info.exe");
    EXPECT_EQ(FindSysInfo(platform_), located) << "the first entry names no file";
    std::string tool = File(world_.root() + "\\info.exe");
    EXPECT_EQ(FindSysInfo(platform_), tool);

    std::string text = "kept";
    registry_.SetValue(RootKey::LocalMachine, "K", "binary", platform::kRegBinary, "\x01");
    EXPECT_TRUE(GetKeyValue(registry_, RootKey::LocalMachine, "K", "binary", text));
    EXPECT_EQ(text, "kept");
    registry_.SetValue(RootKey::LocalMachine, "K", "dword", platform::kRegDword, "\x2A\x01\0\0"s);
    EXPECT_TRUE(GetKeyValue(registry_, RootKey::LocalMachine, "K", "dword", text));
    EXPECT_EQ(text, "&h0000012A");
    registry_.SetValue(RootKey::LocalMachine, "K", "long", platform::kRegSz, std::string(3000, 'x') + '\0');
    EXPECT_TRUE(GetKeyValue(registry_, RootKey::LocalMachine, "K", "long", text));
    EXPECT_EQ(text, std::string(3000, 'x'));
    registry_.SetValue(RootKey::LocalMachine, "K", "empty", platform::kRegSz, "");
    EXPECT_FALSE(GetKeyValue(registry_, RootKey::LocalMachine, "K", "empty", text));
    EXPECT_EQ(text, "");
}

TEST_F(frmAboutTest, InfosSystemeStartsTheToolOrSaysItIsMissing) {
    bool stillOpen = false;
    bool toolShownNormal = false;
    Open([&](HWND about) {
        ::SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_SYSINFO, BN_CLICKED), 0);
        stillOpen = ::IsWindowVisible(about);
        registry_.SetValue(RootKey::LocalMachine, kToolKey, "PATH", platform::kRegSz,
                           platform::win32::Win32Environment().WindowsDirectory() + "\\notepad.exe");
        testing::PostClick(about, IDC_ABOUT_SYSINFO);
        for (int attempt = 0; attempt < 1000 && !toolShownNormal; ++attempt, ::Sleep(10)) {
            HWND tool = ::FindWindowW(L"Notepad", nullptr);
            toolShownNormal = tool != nullptr && ::IsWindowVisible(tool) && !::IsIconic(tool);
            if (toolShownNormal) {
                ::PostMessageW(tool, WM_CLOSE, 0, 0);
            }
        }
        testing::PostClick(about, IDOK);
    });
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_EQ(world_.prompt.shown()[0].text, "Les informations système ne sont pas disponibles actuellement");
    EXPECT_EQ(world_.prompt.shown()[0].icon, platform::PromptIcon::None);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(toolShownNormal);
}

TEST_F(frmAboutTest, AtEveryDpiShowsTheVersionOfTheResourceAndClosesOnEnterOrEsc) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        std::vector<std::string> cut{"not measured"};
        std::wstring version;
        bool showsIcon = false;
        Open([&](HWND about) {
            cut = testing::TextsCutShort(about);
            version = testing::TextOf(::GetDlgItem(about, IDC_ABOUT_VERSION));
            showsIcon = ::SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0) != 0;
            ::PostMessageW(::GetDlgItem(about, IDOK), WM_KEYDOWN, key, 0);
        });
        EXPECT_EQ(cut, std::vector<std::string>{});
        EXPECT_EQ(version, L"Version " + platform::win32::AnsiToWide(CLAVERIX_VERSION_TEXT));
        EXPECT_TRUE(showsIcon);
    }
}

}  // namespace
}  // namespace claverix::ui
