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

// Four files, each holding its name; the scripted user answers the question.
class ListSearchTest : public ::testing::Test {
protected:
    ListSearchTest() {
        for (const std::string& name : names_) {
            world_.WriteFile(world_.directory() + "\\" + name, "[HKEY_USERS\\" + name + "]");
        }
    }

    std::optional<std::size_t> Search(std::ptrdiff_t selected, std::string_view text) {
        return SearchListedFiles(world_.platform(), {world_.directory(), names_, selected}, text);
    }

    // What the user was shown, in order: Q for a question, M for a message.
    std::string Shown() const {
        std::string kinds;
        for (const platform::ScriptedPrompt::Shown& shown : world_.prompt.shown()) {
            kinds += shown.kind == platform::ScriptedPrompt::Kind::Question ? 'Q' : 'M';
        }
        return kinds;
    }

    tests::MemoryWorld world_;
    const std::vector<std::string> names_{"a0.reg", "a1.reg", "a2.reg", "a3.reg"};
};

TEST_F(ListSearchTest, BelowTheSelectionThenFromTheTopOnceTheUserAgrees) {
    EXPECT_EQ(Search(1, "a3"), 3u);
    EXPECT_EQ(Search(-1, "a1"), 1u) << "nothing selected: the whole list";
    world_.prompt.AnswerYesNo(true);
    EXPECT_EQ(Search(2, "A0"), 0u);
    ASSERT_EQ(Shown(), "Q") << "asked at the end of the list only";
    EXPECT_EQ(world_.prompt.shown()[0].text,
              "La recherche a atteint la fin de la liste.\r\nVoulez-vous la continuer depuis le début ?");
    EXPECT_EQ(world_.prompt.shown()[0].title, "AVERTISSEMENT");
    world_.prompt.AnswerYesNo(true);
    EXPECT_EQ(Search(2, "a2"), 2u) << "the selected file, searched last";
    EXPECT_EQ(Search(2, "a0"), std::nullopt) << "No stops at the end of the list";
    EXPECT_EQ(Shown(), "QQQ") << "and says nothing more";
}

TEST_F(ListSearchTest, NotFoundIsSaidOnceTheWholeListIsSearched) {
    world_.prompt.AnswerYesNo(true);
    EXPECT_EQ(Search(1, "absent"), std::nullopt);
    EXPECT_EQ(Search(-1, "absent"), std::nullopt);
    EXPECT_EQ(Search(1, "a\r\n"), std::nullopt);
    ASSERT_EQ(Shown(), "QMMM") << "no question with nothing above, nor for a text no line holds";
    EXPECT_EQ(world_.prompt.shown()[1].text, "Chaine non trouvée");
}

TEST(FindInTextTest, TheFirstOccurrenceInAnyLetterCase) {
    tests::MemoryWorld world;
    platform::TextCodec& codec = world.platform().codec;
    EXPECT_EQ(FindInText(codec, u"abc \u00C9T\u00C9 \u00E9t\u00E9", "\u00E9t\u00E9"), 4u);
    EXPECT_EQ(FindInText(codec, u"\u0416\u0436 ab", "\u0436A"), std::nullopt);
    EXPECT_EQ(FindInText(codec, u"\u0416\u0436 ab", "\u0436 A"), 1u) << "outside the code page, in any case";
    EXPECT_EQ(FindInText(codec, u"ab", "abc"), std::nullopt);
    EXPECT_EQ(FindInText(codec, u"ab", ""), std::nullopt);
}

}  // namespace
}  // namespace claverix::app
