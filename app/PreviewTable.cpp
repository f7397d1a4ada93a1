#include "app/Preview.h"

#include <algorithm>

#include "engine/Reporting.h"

namespace claverix::app {

namespace {

constexpr std::size_t kColumnCount = static_cast<std::size_t>(PreviewColumn::Count);

// How many of `rows` make `change`, with its noun in the right number.
std::string Counted(const std::vector<PreviewRow>& rows, Change change, std::string_view singular,
                    std::string_view plural) {
    auto count = std::count_if(rows.begin(), rows.end(),
                               [change](const PreviewRow& row) { return row.change == change; });
    return engine::Counted(static_cast<std::size_t>(count), singular, plural);
}

// Rare: said only when there are some.
std::string UnknownCount(const std::vector<PreviewRow>& rows) {
    bool any = std::any_of(rows.begin(), rows.end(),
                           [](const PreviewRow& row) { return row.change == Change::Unknown; });
    return any ? ", " + Counted(rows, Change::Unknown, "inconnue", "inconnues") : std::string{};
}

}  // namespace

std::string OnOneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return text;
}

bool IsPolicyKey(std::string_view key) {
    constexpr std::string_view kPolicies = "policies";
    for (std::size_t start = 0; start <= key.size();) {
        std::size_t end = std::min(key.find('\\', start), key.size());
        std::string_view name = key.substr(start, end - start);
        if (std::equal(name.begin(), name.end(), kPolicies.begin(), kPolicies.end(),
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; })) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

const char* ColumnHeading(PreviewColumn column) {
    switch (column) {
        case PreviewColumn::Key:
            return "Clé";
        case PreviewColumn::Value:
            return "Valeur";
        case PreviewColumn::Type:
            return "Type";
        case PreviewColumn::Now:
            return "Actuellement";
        case PreviewColumn::After:
            return "Après la fusion";
        case PreviewColumn::Change:
        case PreviewColumn::Count:
            break;
    }
    return "Changement";
}

const char* ChangeName(Change change) {
    switch (change) {
        case Change::KeyCreated:
            return "Clé créée";
        case Change::KeyDeleted:
            return "Clé supprimée";
        case Change::Added:
            return "Ajoutée";
        case Change::Changed:
            return "Modifiée";
        case Change::Deleted:
            return "Supprimée";
        case Change::Unchanged:
            return "Inchangée";
        case Change::Unknown:
            return "Inconnue";
        case Change::Skipped:
            break;
    }
    return "Ligne ignorée";
}

std::string CellText(const PreviewRow& row, PreviewColumn column) {
    switch (column) {
        case PreviewColumn::Key:
            return row.key;
        case PreviewColumn::Value:
            return row.value;
        case PreviewColumn::Type:
            return row.type;
        case PreviewColumn::Now:
            return row.now;
        case PreviewColumn::After:
            return row.after;
        case PreviewColumn::Change:
        case PreviewColumn::Count:
            break;
    }
    std::string change = ChangeName(row.change);
    if (row.policy) {
        change += " (clé de stratégie)";
    }
    return row.note.empty() ? change : change + " : " + row.note;
}

std::vector<std::size_t> SortedOrder(const std::vector<PreviewRow>& rows, std::vector<std::size_t> order,
                                     PreviewColumn column, bool ascending) {
    auto sortOn = [&](auto key) {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return ascending ? key(rows[a]) < key(rows[b]) : key(rows[b]) < key(rows[a]);
        });
    };
    if (column == PreviewColumn::Change) {
        sortOn([](const PreviewRow& row) { return row.change; });
        return order;
    }
    constexpr std::string PreviewRow::*kTexts[] = {&PreviewRow::key, &PreviewRow::value, &PreviewRow::type,
                                                   &PreviewRow::now, &PreviewRow::after};
    std::string PreviewRow::*text = kTexts[static_cast<std::size_t>(column)];
    sortOn([text](const PreviewRow& row) -> const std::string& { return row.*text; });
    return order;
}

std::string PreviewSummary(const std::vector<PreviewRow>& rows) {
    return Counted(rows, Change::Added, "valeur ajoutée", "valeurs ajoutées") + ", " +
           Counted(rows, Change::Changed, "modifiée", "modifiées") + ", " +
           Counted(rows, Change::Deleted, "supprimée", "supprimées") + ", " +
           Counted(rows, Change::Unchanged, "inchangée", "inchangées") + UnknownCount(rows) + " ; " +
           Counted(rows, Change::KeyCreated, "clé créée", "clés créées") + ", " +
           Counted(rows, Change::KeyDeleted, "supprimée", "supprimées") + " ; " +
           Counted(rows, Change::Skipped, "ligne ignorée", "lignes ignorées") + ".";
}

std::string RowsAsText(const std::vector<PreviewRow>& rows, const std::vector<std::size_t>& indices) {
    std::string text;
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        text.append(column == 0 ? "" : "\t").append(ColumnHeading(static_cast<PreviewColumn>(column)));
    }
    text += "\r\n";
    for (std::size_t index : indices) {
        for (std::size_t column = 0; column < kColumnCount; ++column) {
            text.append(column == 0 ? "" : "\t")
                .append(OnOneLine(CellText(rows[index], static_cast<PreviewColumn>(column))));
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace claverix::app
