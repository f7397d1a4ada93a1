#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/RegistryExport.h"
#include "platform/win32/Text.h"
#include "tests/support/TestWorld.h"

namespace claverix::platform::win32 {
namespace {

// A name holding a surrogate without its pair has no UTF-8 form: an export
// that meets one does not cover its key, and goes on past it.
TEST(Win32RegistryTest, AnExportPassesOverNamesWithoutAUtf8FormAndLeavesTheirKeyUncovered) {
    std::unique_ptr<tests::TestWorld> world = tests::MakeWin32World();
    std::string path = world->KeyPath("Odd");
    world->SetValue(path, "b", kRegDword, tests::DwordBytes(1));
    world->CreateKey(path + "\\b sub");
    const wchar_t unpaired[] = {L'a', 0xD800, L'\0'};  // enumerated first, before "b"
    HKEY key = nullptr;
    ASSERT_EQ(
        ::RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(path).c_str(), 0, KEY_WRITE | KEY_WOW64_64KEY, &key),
        ERROR_SUCCESS);
    HKEY subKey = nullptr;
    EXPECT_EQ(::RegSetValueExW(key, unpaired, 0, REG_DWORD, reinterpret_cast<const BYTE*>("\1\0\0\0"), 4),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegCreateKeyExW(key, unpaired, 0, nullptr, 0, KEY_WRITE, nullptr, &subKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(subKey);
    ::RegCloseKey(key);

    engine::Restoration restoration(world->platform().codec);
    engine::ExportKey(world->platform().registry, RootKey::CurrentUser, path, restoration);
    EXPECT_EQ(restoration.UncoveredKeys(), std::vector<std::string>{"HKEY_CURRENT_USER\\" + path});
    EXPECT_NE(restoration.Text().find("\"b\"=dword:00000001\r\n"), std::string::npos);
    EXPECT_NE(restoration.Text().find("\\Odd\\b sub]"), std::string::npos);
}

}  // namespace
}  // namespace claverix::platform::win32
