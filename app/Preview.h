#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Analysis.h"
#include "engine/ForeseenImport.h"
#include "platform/Registry.h"

namespace claverix::app {

// What a merge would do to one key or value, or a line the importer would pass over.
// Unknown: the key exists but cannot be read, so what the value holds now is not known.
enum class Change { KeyCreated, KeyDeleted, Added, Changed, Deleted, Unchanged, Unknown, Skipped };

// One row of a merge's preview. Texts are UTF-8.
struct PreviewRow {
    std::string key;    // the root's name and the key's path
    std::string value;  // "@" for the default value; empty on a key's own row and a skipped line
    std::string type;   // "REG_SZ", "REG_DWORD"...; empty where no value is concerned
    std::string now;    // the data in the registry now, as text
    std::string after;  // the data once the file is merged
    Change change = Change::Unchanged;
    std::string note;  // for a skipped line: which line, and why
    // The key sits under a "Policies" key: where a policy manages it, the
    // next policy refresh puts it back as the policy says.
    bool policy = false;
};

// What a preview says of the file beside its rows: that it is saved as
// UTF-8, which the importer reads in the code page. Empty when nothing.
std::string PreviewNote(const engine::Analysis& analysis);

// What merging a file would do, from the importer's reading of it
// (`foreseen`) and the registry now, in the order of the file; a value the
// file sets twice shows once, with the data set last.
std::vector<PreviewRow> BuildPreview(platform::Registry& registry, const engine::ForeseenImport& foreseen);

// Registry data as a preview shows it: strings quoted, a number of type
// REG_DWORD as "0x0000001a (26)", the strings of a REG_MULTI_SZ one after
// the other, other data in hex bytes; long data shortened.
std::string DataText(std::uint32_t type, std::string_view data);

// `text` with its line breaks and tabs made blanks: a cell, a log field, holds one line.
std::string OnOneLine(std::string text);

// Whether the key named `key` (its root's name and path) is a key named
// Policies or lies under one, as Software\Policies and
// ...\CurrentVersion\Policies: the next refresh of the group policies
// writes those again.
bool IsPolicyKey(std::string_view key);

// "REG_SZ", "REG_DWORD"..., or "REG_0x1f" for a type without a name.
std::string TypeName(std::uint32_t type);

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
