#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ForeseenImport.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace claverix::engine {

// What a merge set, recorded at the end of its restoration file so that
// merging that file later can tell what has changed since. Comment lines to
// the importer, each starting with kRecordPrefix, ASCII whatever the names,
// so that they fit a REGEDIT4 and a version 5 file alike:
//   #~claverix [HKEY_CURRENT_USER\Software\Demo]   a key the merge leaves present
//   #~claverix [-HKEY_CURRENT_USER\Software\Old]   a key it deletes
//   #~claverix "Count"=4:4:050c5d1f                 under the key above: type, byte count,
//                                                   32-bit FNV-1a hash of the bytes
//   #~claverix @=-                                  a value it deletes ("@": the default value)
//   #~claverix view 32                              first, when the merge wrote the 32-bit view
// A "~" after the byte count: the last byte, which the importer takes from
// its own buffer, is not in the hash. In names and paths, a byte outside
// printable ASCII, "%" and the double quote are "%" and two hex digits.
// The record a merge writes before the importer runs, from what it foresees:
// keys and values read after a line where Wine's importer stops are left out.
// Once the importer has ended, the record is written again from what the
// registry holds then (see CheckImport).
std::string MergeRecordText(const ForeseenImport& foreseen, platform::RegistryView view);

// A record, written key by key, each key's values after it.
class RecordWriter {
public:
    // Its first line: the registry view the merge wrote, when not the 64-bit one.
    void View(platform::RegistryView view);
    void Key(platform::RootKey root, std::string_view path, bool present);
    // A value of the latest key; `lastByteUnforeseen`: its last byte is left out of the hash.
    void Value(const platform::RegistryValue& value, bool lastByteUnforeseen = false);
    void DeletedValue(std::string_view name);

    std::string Text() && { return std::move(text_); }

private:
    void AppendName(std::string_view name);

    std::string text_;
};

// What the registry no longer holds as the record in `fileText` (a file's
// lines in either of its forms) says the merge set.
struct RecordDrift {
    std::size_t count = 0;
    std::vector<std::string> first;  // the first ones, in French
};

// The registry view a restoration file's record says its merge wrote:
// "#~claverix view 32" first, or the 64-bit one.
platform::RegistryView RecordedView(std::string_view fileText);

RecordDrift ChangesSinceRecord(platform::Registry& registry, std::string_view fileText, std::size_t listed);

// What the key deletions of a restoration file, `restoration` as the
// importer will read it, would remove beyond what its record says the merge
// created: the keys and values created since. A file without a record
// records nothing: everything its deletions remove is listed.
RecordDrift CreatedSinceRecord(platform::Registry& registry, platform::TextCodec& codec,
                               const ForeseenImport& restoration, std::string_view fileText,
                               std::size_t listed);

}  // namespace claverix::engine
