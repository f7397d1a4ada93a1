#include "app/Preview.h"

#include <gtest/gtest.h>

#include <tuple>

#include "engine/FileText.h"
#include "engine/ImportCheck.h"
#include "platform/Unicode.h"
#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

std::vector<PreviewRow> Rows() {
    return {
        {"HKEY_CURRENT_USER\\B", "v", "REG_SZ", "un", "deux", Change::Changed, ""},
        {"HKEY_CURRENT_USER\\A", "w", "REG_DWORD", "", "0x00000001 (1)", Change::Added, ""},
        {"HKEY_CURRENT_USER\\A", "x", "REG_SZ", "a\tb\r\nc", "a\tb\r\nc", Change::Unchanged, ""},
        {"", "", "", "", "", Change::Skipped, "ligne 7 : donnée hexadécimale invalide"},
    };
}

// A row's fields, each compared: the row's text leaves some out.
auto Fields(const PreviewRow& row) {
    return std::tie(row.key, row.value, row.type, row.now, row.after, row.change, row.note, row.policy);
}

TEST(PreviewTest, SortsOnAnyColumnKeepingTheOrderOfEquals) {
    std::vector<PreviewRow> rows = Rows();
    std::vector<std::size_t> order{0, 1, 2, 3};
    order = SortedOrder(rows, order, PreviewColumn::Value, false);
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 1, 0, 3}));
    order = SortedOrder(rows, order, PreviewColumn::Key, true);
    EXPECT_EQ(order, (std::vector<std::size_t>{3, 2, 1, 0})) << "the A rows keep the value order";
    order = SortedOrder(rows, order, PreviewColumn::Change, true);
    EXPECT_EQ(order, (std::vector<std::size_t>{1, 0, 2, 3}));
}

TEST(PreviewTest, CopiedRowsAreTabSeparatedLinesUnderTheirHeadings) {
    std::vector<PreviewRow> rows = Rows();
    EXPECT_EQ(RowsAsText(rows, {2, 3}),
              "Clé\tValeur\tType\tActuellement\tAprès la fusion\tChangement\r\n"
              "HKEY_CURRENT_USER\\A\tx\tREG_SZ\ta b  c\ta b  c\tInchangée\r\n"
              "\t\t\t\t\tLigne ignorée : ligne 7 : donnée hexadécimale invalide\r\n");
    EXPECT_EQ(PreviewSummary(rows),
              "1 valeur ajoutée, 1 modifiée, 0 supprimée, 1 inchangée ; 0 clé créée, 0 supprimée ; "
              "1 ligne ignorée.");
}

TEST(PreviewDataTest, ReadableDataOfEveryType) {
    using namespace platform;
    EXPECT_EQ(DataText(kRegSz, tests::SzBytes("Bonjour é")), "\"Bonjour é\"");
    EXPECT_EQ(DataText(kRegExpandSz, tests::SzBytes("%SystemRoot%")), "\"%SystemRoot%\"");
    EXPECT_EQ(DataText(kRegMultiSz, Utf16Bytes(std::u16string_view(u"un\0deux\0\0", 9))), "\"un\", \"deux\"");
    EXPECT_EQ(DataText(kRegMultiSz, Utf16Bytes(std::u16string_view(u"\0", 1))), "(aucune chaîne)");
    EXPECT_EQ(DataText(kRegDword, tests::DwordBytes(26)), "0x0000001a (26)");
    EXPECT_EQ(DataText(kRegDword, "\x01\x02"), "01 02") << "a dword of the wrong size shows its bytes";
    EXPECT_EQ(DataText(kRegBinary, std::string("\x00\xAB\xff", 3)), "00 ab ff");
    EXPECT_EQ(DataText(kRegQword, ""), "(aucun octet)");
    EXPECT_EQ(
        DataText(kRegBinary, std::string(40, '\x11')),
        "11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 … "
        "(40 octets)");
    std::string longText = DataText(kRegSz, tests::SzBytes(std::string(99, 'a') + "\U0001F600" + "bbb"));
    EXPECT_EQ(longText, "\"" + std::string(99, 'a') + "…\"") << "cut before the pair it would split";
    EXPECT_EQ(TypeName(kRegMultiSz), "REG_MULTI_SZ");
    EXPECT_EQ(TypeName(0x1F), "REG_0x1f");
}

using platform::kRegDword;
using tests::DwordBytes;

class BuildPreviewTest : public ::testing::TestWithParam<tests::WorldKind> {
protected:
    void SetUp() override { world_ = GetParam().make(); }

    std::string Key(std::string_view relative = {}) const {
        return "HKEY_CURRENT_USER\\" + world_->KeyPath(relative);
    }

    std::unique_ptr<tests::TestWorld> world_;
};

// A value set twice shows once, where the file first sets it, with the data
// set last; after the merge, nothing is left to change.
TEST_P(BuildPreviewTest, EveryChangeOfAFileBeforeAndAfterItsMerge) {
    world_->SetValue(world_->KeyPath("P"), "a", kRegDword, DwordBytes(1));
    world_->SetValue(world_->KeyPath("P"), "b", platform::kRegSz, tests::SzBytes("vieux"));
    world_->SetValue(world_->KeyPath("P"), "d", kRegDword, DwordBytes(7));
    world_->SetValue(world_->KeyPath("Vieille"), "z", kRegDword, DwordBytes(3));
    std::string file = "REGEDIT4\r\n[" + Key("P") +
                       "]\r\n\"a\"=dword:0000001a\r\n\"B\"=-\r\n\"n\"=hex(7):75,6e,00,64,00,00\r\n"
                       "\"d\"=dword:00000007\r\n\"A\"=dword:00000002\r\nn'importe quoi\r\n[" +
                       Key("P\\Neuve") + "]\r\n@=\"x\"\r\n[-" + Key("Vieille") + "]\r\n";
    engine::ForeseenImport foreseen =
        engine::ForeseeImport(engine::DecodeFileText(file), world_->platform().codec);

    std::vector<PreviewRow> rows = BuildPreview(world_->platform().registry, foreseen);

    const std::vector<PreviewRow> expected = {
        {Key("P"), "a", "REG_DWORD", "0x00000001 (1)", "0x00000002 (2)", Change::Changed, ""},
        {Key("P"), "B", "REG_SZ", "\"vieux\"", "", Change::Deleted, ""},
        {Key("P"), "n", "REG_MULTI_SZ", "", "\"un\", \"d\"", Change::Added, ""},
        {Key("P"), "d", "REG_DWORD", "0x00000007 (7)", "0x00000007 (7)", Change::Unchanged, ""},
        {"", "", "", "", "", Change::Skipped, "ligne 8 : ni clé ni valeur : ligne ignorée"},
        {Key("P\\Neuve"), "", "", "", "", Change::KeyCreated, ""},
        {Key("P\\Neuve"), "@", "REG_SZ", "", "\"x\"", Change::Added, ""},
        {Key("Vieille"), "", "", "", "", Change::KeyDeleted, ""},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(Fields(rows[i]), Fields(expected[i])) << "row " << i;
    }

    tests::ImportAsTheImporter(engine::DecodeFileText(file), world_->platform().codec, *world_);
    rows = BuildPreview(world_->platform().registry, foreseen);
    ASSERT_EQ(rows.size(), 6u) << "the created and deleted keys have nothing more to say";
    for (const PreviewRow& row : rows) {
        EXPECT_EQ(row.change, row.note.empty() ? Change::Unchanged : Change::Skipped) << row.key << row.value;
    }
}

// A key that exists but may not be read: what its values hold is unknown,
// to the preview and to the check after the import alike.
TEST(UnreadableKeyTest, IsNeitherAddedNorUncreated) {
    tests::MemoryWorld world;
    world.SetValue(world.KeyPath("Ferme"), "v", kRegDword, DwordBytes(1));
    world.memoryRegistry.RefuseOpen(platform::RootKey::CurrentUser, world.KeyPath("Ferme"),
                                    platform::kRegAccessDenied);
    std::string key = "HKEY_CURRENT_USER\\" + world.KeyPath("Ferme");
    engine::ForeseenImport foreseen = engine::ForeseeImport(
        engine::DecodeFileText("REGEDIT4\r\n[" + key + "]\r\n\"v\"=dword:00000002\r\n"), world.latin1);

    std::vector<PreviewRow> rows = BuildPreview(world.memoryRegistry, foreseen);
    ASSERT_EQ(rows.size(), 1u) << "no key row: the key exists";
    EXPECT_EQ(rows[0].change, Change::Unknown);
    EXPECT_EQ(rows[0].now, "(clé illisible)");
    engine::ImportCheck check = engine::CheckImport(world.memoryRegistry, foreseen, 10);
    EXPECT_EQ(check.firstMissed, (std::vector<std::string>{key + " : clé illisible, non vérifiée",
                                                           key + "\\\"v\" : clé illisible, non vérifiée"}));
}

INSTANTIATE_TEST_SUITE_P(Worlds, BuildPreviewTest, ::testing::ValuesIn(tests::WorldKinds()),
                         tests::WorldName);

}  // namespace
}  // namespace claverix::app
