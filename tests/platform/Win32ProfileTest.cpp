#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/TestWorld.h"

namespace claverix::platform::win32 {
namespace {

// The system writes a file it creates, and one without a byte-order mark, in
// the code page: a value it lacks must find the file Unicode.
TEST(Win32ProfileTest, ValuesOutsideTheCodePageComeBackExact) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "these characters are chosen for code page 1252";
    }
    std::unique_ptr<tests::TestWorld> world = tests::MakeWin32World();
    Win32Profile profile;
    const std::string created = world->directory() + "\\created.Ini";
    ASSERT_FALSE(profile.Write(created, "Options", "Signature", "\u0141ukasz").Failed());
    ASSERT_FALSE(
        profile.Write(created, "Options", "ArchivePath", "C:\\\u0410\u0440\u0445\u0438\u0432").Failed());
    EXPECT_EQ(profile.Read(created, "Options", "Signature", "?", 255), "\u0141ukasz");
    EXPECT_EQ(profile.Read(created, "Options", "ArchivePath", "", 255), "C:\\\u0410\u0440\u0445\u0438\u0432");

    // An ANSI file, as earlier versions wrote it, keeps what the code page holds.
    const std::string ansi = world->directory() + "\\ansi.Ini";
    const std::string ansiText = "[Options]\r\nSignature=Jos\xE9\r\n[MainWindow]\r\nLeft=120\r\n";
    world->WriteFile(ansi, ansiText);
    ASSERT_FALSE(profile.Write(ansi, "Options", "Signature", "Ren\u00E9e").Failed());
    EXPECT_FALSE(world->ReadFile(ansi)->starts_with("\xFF\xFE")) << "no need to turn it Unicode";
    ASSERT_FALSE(profile.Write(ansi, "Options", "ArchivePath", "D:\\\u0141\u00F3d\u017A").Failed());
    EXPECT_TRUE(world->ReadFile(ansi)->starts_with("\xFF\xFE"));
    EXPECT_EQ(profile.Read(ansi, "Options", "ArchivePath", "", 255), "D:\\\u0141\u00F3d\u017A");
    EXPECT_EQ(profile.Read(ansi, "Options", "Signature", "?", 255), "Ren\u00E9e");
    EXPECT_EQ(profile.Read(ansi, "MainWindow", "Left", "", 32), "120") << "every key kept";
}

}  // namespace
}  // namespace claverix::platform::win32
