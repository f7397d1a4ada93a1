#include "app/SystemInformation.h"

#include <gtest/gtest.h>

#include "platform/Unicode.h"
#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

using platform::RootKey;

constexpr char kTool[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kToolLocation[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

// A string value's data as the registry holds it: UTF-16, with its NUL.
std::string StringData(const std::string& text) {
    return platform::Utf16Bytes(platform::Utf8ToUtf16(text)) + std::string(2, '\0');
}

TEST(SystemInformationTest, TheToolIsFoundThroughEitherEntryOrTheSystemDirectory) {
    tests::MemoryWorld world;
    platform::Platform& platform = world.platform();
    const std::string root = world.directory();
    world.environment.windowsDirectory = root;
    auto newFile = [&](const std::string& directory, const std::string& name) {
        world.MakeDirectory(directory);
        world.WriteFile(directory + "\\" + name, "");
        return directory + "\\" + name;
    };

    EXPECT_EQ(FindSysInfo(platform), std::nullopt);
    std::string inSystem = newFile(root + "\\System32", "msinfo32.exe");
    EXPECT_EQ(FindSysInfo(platform), inSystem);
    world.memoryRegistry.SetValue(RootKey::LocalMachine, kToolLocation, "MSINFO", platform::kRegSz,
                                  StringData(root + "\\"));
    EXPECT_EQ(FindSysInfo(platform), inSystem) << "no MSINFO32.EXE in the directory named";
    std::string located = newFile(root, "MSINFO32.EXE");
    EXPECT_EQ(FindSysInfo(platform), located);
    world.memoryRegistry.SetValue(RootKey::LocalMachine, kTool, "PATH", platform::kRegExpandSz,
                                  StringData("%SystemRoot%\\\u0436.exe"));
    EXPECT_EQ(FindSysInfo(platform), located) << "the first entry names no file";
    std::string named = newFile(root, "\u0436.exe");  // outside the code page
    EXPECT_EQ(FindSysInfo(platform), named);

    std::string text;
    world.memoryRegistry.SetValue(RootKey::LocalMachine, "K", "long", platform::kRegSz,
                                  StringData(std::string(3000, 'x')));
    EXPECT_TRUE(GetKeyValue(platform, RootKey::LocalMachine, "K", "long", text));
    EXPECT_EQ(text, std::string(3000, 'x'));
}

}  // namespace
}  // namespace claverix::app
