#include "app/Search.h"

#include <gtest/gtest.h>

#include "platform/Unicode.h"
#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

// The search dialog's tests go through a list's cases; here, the index arithmetic of a long one.
TEST(SearchTest, ListsLongerThanASixteenBitIndexReachTheirLastEntries) {
    tests::MemoryWorld world;
    std::vector<std::string> names(40000);
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = std::to_string(i) + ".reg";
    }
    world.WriteFile(world.directory() + "\\32768.reg", "[HKEY_USERS\\.DEFAULT]");
    world.WriteFile(world.directory() + "\\39999.reg", "[HKEY_USERS\\.DEFAULT]");
    EXPECT_EQ(SearchFiles(world.platform(), world.directory(), names, 0, ".default"), 32768u);
    EXPECT_EQ(SearchFiles(world.platform(), world.directory(), names, 32769, ".default"), 39999u);
    EXPECT_EQ(SearchFiles(world.platform(), world.directory(), names, 0, "EFAULT]\r\n"), std::nullopt);
}

TEST(SearchTest, FindsTheTextInAnyLetterCaseWhereverItStands) {
    tests::MemoryWorld world;
    auto holds = [&](std::string_view bytes, std::string_view text) {
        world.WriteFile(world.directory() + "\\f.reg", bytes);
        const std::string names[] = {"f.reg"};
        return SearchFiles(world.platform(), world.directory(), names, 0, text).has_value();
    };
    EXPECT_TRUE(holds("\xC9t\xE9 \xE0 la plage", "\u00E9T\u00C9 \u00C0"))
        << "accented letters in either case";
    EXPECT_FALSE(holds("\xC9t\xE9 \x3F", "\u0416"))
        << "an ANSI file holds no character outside its code page";
    // UTF-16 files are searched in Unicode, letters in either case.
    EXPECT_TRUE(
        holds("\xFF\xFE" + platform::Utf16Bytes(u"x \u0436\u03C9\U0001F600 y"), "\u0416\u03A9\U0001F600"));
    EXPECT_FALSE(holds("\xFF\xFE" + platform::Utf16Bytes(u"\u0436 \u03C9"), "\u0416\u03A9"));
    EXPECT_TRUE(holds("aaab", "AAB"));
    EXPECT_TRUE(holds("abab abac", "ABAC"));
    EXPECT_TRUE(holds("x", "X"));
    EXPECT_FALSE(holds("ab", "abc"));
    EXPECT_FALSE(holds("aabaab", "aaa"));
}

}  // namespace
}  // namespace claverix::app
