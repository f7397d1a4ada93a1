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
#include "ui/AboutBox/SystemInformation.h"

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
        tests::UserThread user(L"À propos de Claverix", std::move(act), L"ClaverixWindow");
        EXPECT_TRUE(AboutBox(platform_).ShowModal(nullptr) && user.Found());
    }

    std::string NewFile(const std::string& path) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        world_.WriteFile(path, "");
        return path;
    }

    tests::WindowWorld world_;
    platform::MemoryRegistry registry_;
    platform::FixedEnvironment environment_;
    platform::Platform& real_ = world_.platform();
    platform::Platform platform_{registry_,    real_.profile, real_.files, real_.processes,
                                 environment_, real_.prompt,  real_.codec};
};

TEST_F(AboutBoxTest, TheToolIsFoundThroughEitherEntryOrTheSystemDirectory) {
    EXPECT_EQ(FindSysInfo(platform_), std::nullopt);
    std::string inSystem = NewFile(world_.root() + "\\System32\\msinfo32.exe");
    EXPECT_EQ(FindSysInfo(platform_), inSystem);
    registry_.SetValue(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                       platform::kRegSz, StringBytes(world_.root() + "\\"));
    EXPECT_EQ(FindSysInfo(platform_), inSystem) << "no MSINFO32.EXE in the directory named";
    std::string located = NewFile(world_.root() + "\\MSINFO32.EXE");
    EXPECT_EQ(FindSysInfo(platform_), located);
    ::SetEnvironmentVariableA("CLAVERIX_OUTILS", world_.root().c_str());
    registry_.SetValue(RootKey::LocalMachine, kTool, "PATH", platform::kRegExpandSz,
                       StringBytes("%CLAVERIX_OUTILS%\\i.exe"));
    EXPECT_EQ(FindSysInfo(platform_), located) << "the first entry names no file";
    std::string named = NewFile(world_.root() + "\\i.exe");
    EXPECT_EQ(FindSysInfo(platform_), named);
    std::string text;
    registry_.SetValue(RootKey::LocalMachine, "K", "long", platform::kRegSz,
                       StringBytes(std::string(3000, 'x')));
    EXPECT_TRUE(GetKeyValue(registry_, RootKey::LocalMachine, "K", "long", text) &&
                text == std::string(3000, 'x'));
}

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
        EXPECT_TRUE(::IsWindowVisible(tool) && !::IsIconic(tool));
        ::PostMessageW(tool, WM_CLOSE, 0, 0);
        tests::PostClick(about, IDOK);
    });
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_EQ(world_.prompt.shown()[0].text, "Les informations système ne sont pas disponibles actuellement");
    EXPECT_TRUE(world_.prompt.shown()[0].icon == platform::PromptIcon::None && stillOpen);
}

TEST_F(AboutBoxTest, AtEveryDpiShowsTheResourcesVersionAndClosesOnEnterOrEsc) {
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

}  // namespace
}  // namespace claverix::ui
