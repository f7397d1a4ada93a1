#include "app/Preview.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace claverix::app
