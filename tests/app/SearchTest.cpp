#include "app/Search.h"

#include <gtest/gtest.h>

#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

using testing::TestWorld;
using testing::WorldKind;

std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

class SearchTest : public ::testing::TestWithParam<WorldKind> {
protected:
    void SetUp() override { world_ = GetParam().make(); }

    void Write(const std::string& name, std::string_view bytes) {
        world_->WriteFile(world_->directory() + "\\" + name, bytes);
    }

    std::optional<std::size_t> Search(std::size_t first, std::string_view text) {
        return SearchFiles(world_->platform(), world_->directory(), names_, first, text);
    }

    std::unique_ptr<TestWorld> world_;
    std::vector<std::string> names_;
};

TEST_P(SearchTest, LinesAreComparedInUpperCaseOneAtATime) {
    Write("a.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"Nom\"=\"Val\"\r\n");
    Write("b.reg", "REGEDIT4\r\n[HKEY_CURRENT_\r\nUSER\\Software]\r\n");
    Write("c.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n");
    names_ = {"a.reg", "b.reg", "c.reg"};

    EXPECT_EQ(Search(0, "hkey_local"), 0u);
    EXPECT_EQ(Search(0, "\"nom\"=\"VAL\""), 0u);
    EXPECT_EQ(Search(0, "current_user"), 2u) << "b.reg has it split across two lines";
    EXPECT_EQ(Search(0, "_\r\nUSER"), std::nullopt) << "a line break in the text matches nothing";
    EXPECT_EQ(Search(1, "hkey_local"), std::nullopt) << "the files before `first` are not searched";
    EXPECT_EQ(Search(3, "REGEDIT4"), std::nullopt);
    EXPECT_EQ(Search(0, ""), std::nullopt);
    names_.clear();
    EXPECT_EQ(Search(0, "REGEDIT4"), std::nullopt);
}

TEST_P(SearchTest, Utf16FilesAreSearchedByTheirTextAndUnreadableOnesPassedOver) {
    Write("ancien.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Ancien]\r\n");
    Write("illisible.reg",
          Utf16File(u"Windows Registry Editor Version 5.00\r\n; \u4E2D\r\n[HKEY_CURRENT_USER\\Cible]"));
    Write("impair.reg", Utf16File(u"[HKEY_CURRENT_USER\\Cible]") + "!");
    Write("moderne.reg",
          Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Cible]\r\n"));
    names_ = {"ancien.reg", "efface.reg", "illisible.reg", "impair.reg", "moderne.reg"};

    EXPECT_EQ(Search(0, "version 5.00"), 4u) << "a file that cannot be decoded is passed over";
    EXPECT_EQ(Search(0, "user\\cible"), 3u) << "an odd last byte is dropped";
    EXPECT_EQ(Search(4, "\xFF\xFE"), std::nullopt) << "the byte-order mark is not text";
    EXPECT_EQ(Search(0, "ancien"), 0u);
    EXPECT_TRUE(world_->prompt.shown().empty()) << "the missing and undecodable files are not reported";
}

INSTANTIATE_TEST_SUITE_P(Worlds, SearchTest, ::testing::ValuesIn(testing::WorldKinds()), testing::WorldName);

TEST(SearchIndexTest, ListsLongerThanASixteenBitIndexReachTheirLastEntries) {
    testing::MemoryWorld world;
    std::vector<std::string> names(40000);
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = std::to_string(i) + ".reg";
    }
    world.WriteFile(world.directory() + "\\39999.reg", "[HKEY_USERS\\.DEFAULT]");
    world.WriteFile(world.directory() + "\\32768.reg", "[HKEY_USERS\\.DEFAULT]");
    EXPECT_EQ(SearchFiles(world.platform(), world.directory(), names, 0, ".default"), 32768u);
    EXPECT_EQ(SearchFiles(world.platform(), world.directory(), names, 32769, ".default"), 39999u);
}

}  // namespace
}  // namespace claverix::app
