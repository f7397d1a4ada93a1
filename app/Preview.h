#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace claverix::app {

// What a merge would do to one key or value, or a line the importer would pass over.
enum class Change { KeyCreated, KeyDeleted, Added, Changed, Deleted, Unchanged, Skipped };

// One row of a merge's preview. Texts are UTF-8.
struct PreviewRow {
    std::string key;    // the root's name and the key's path
    std::string value;  // "@" for the default value; empty on a key's own row and a skipped line
    std::string type;   // "REG_SZ", "REG_DWORD"...; empty where no value is concerned
    std::string now;    // the data in the registry now, as text
    std::string after;  // the data once the file is merged
    Change change = Change::Unchanged;
    std::string note;  // for a skipped line: which line, and why
};

// The columns a preview shows, in order.
enum class PreviewColumn { Key, Value, Type, Now, After, Change, Count };

// The French name of a column's heading, and of a change.
const char* ColumnHeading(PreviewColumn column);
const char* ChangeName(Change change);

// A row's text in a column.
std::string CellText(const PreviewRow& row, PreviewColumn column);

// The order of `rows` sorted on `column` (a stable sort, so that a sort on
// another column first keeps its order among equals), ascending or not.
std::vector<std::size_t> SortedOrder(const std::vector<PreviewRow>& rows, std::vector<std::size_t> order,
                                     PreviewColumn column, bool ascending);

// How many of each change, in one line of French: "2 valeurs ajoutées, ...".
std::string PreviewSummary(const std::vector<PreviewRow>& rows);

// The rows at `indices` as text to paste into a spreadsheet or a message: a
// heading line, then one line a row, cells separated by tabs, CR LF line ends.
std::string RowsAsText(const std::vector<PreviewRow>& rows, const std::vector<std::size_t>& indices);

}  // namespace claverix::app
