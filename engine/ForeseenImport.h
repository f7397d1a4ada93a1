#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/FileText.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace claverix::engine {

// A key the file opens or deletes, as the importer leaves it.
struct ForeseenKey {
    platform::RootKey root = platform::RootKey::None;
    std::string path;                 // UTF-8, as the file first writes it
    bool present = true;              // the key exists once the file is imported
    bool deleted = false;             // the file deletes it, or a key above it, on the way
    bool uncertain = false;           // last changed after a line where Wine's importer stops
    std::vector<std::size_t> values;  // its values, as indices of ForeseenImport::values
};

// A value the file sets or deletes, as the importer leaves it.
struct ForeseenValue {
    std::size_t key = 0;              // index of its key in ForeseenImport::keys
    platform::RegistryValue value;    // the name as the file first writes it; the type and bytes set last
    bool present = false;             // set, rather than deleted, once the file is imported
    bool lastByteUnforeseen = false;  // see ImportStep
    bool uncertain = false;           // as for a key
};

// A line the importer passes over, or after which it reads no more.
struct SkippedLine {
    std::size_t line = 0;
    std::string_view reason;      // French, from the reader: lives as long as the program
    bool keyOrValueLine = false;  // see ImportStep
    bool keyLine = false;
};

// What the registry will hold for everything a file touches once the
// importer has read it: the last step wins for a key or a value met twice,
// a key's deletion takes what the file set below it. Names are compared as
// the registry compares them, without regard to letter case.
struct ForeseenImport {
    enum class Kind { Key, Value, Skipped };
    struct Entry {
        Kind kind;
        std::size_t index;  // in keys, values or skipped
    };

    std::vector<ForeseenKey> keys;
    std::vector<ForeseenValue> values;
    std::vector<SkippedLine> skipped;
    std::vector<Entry> order;  // where each first appears in the file
    bool unreadable = false;   // the file must not be imported (see ImportStep)
};

ForeseenImport ForeseeImport(const FileText& text, platform::TextCodec& codec);

// Whether the file writes or deletes anything under HKEY_CURRENT_USER.
bool WritesCurrentUser(const ForeseenImport& foreseen);

// Appends `name` in a form equal for every spelling the registry takes for
// the same name, character by character, so that a path's folded form starts
// with its parent's: the system's capitals, then ASCII in small letters (a
// character whose capital is ASCII, as a dotless i, meets its ASCII twin).
void AppendFolded(std::string& out, std::string_view name, platform::TextCodec& codec);

// Whether `actual` is what `foreseen` says is set: the same type and bytes,
// but for a last byte the importer takes from its own buffer.
bool HoldsForeseenData(const platform::RegistryValue& actual, const ForeseenValue& foreseen);

// "HKEY_CURRENT_USER\path", and with a value, "\" and its written name.
std::string KeyText(const ForeseenKey& key);
std::string ValueText(const ForeseenKey& key, const ForeseenValue& value);

}  // namespace claverix::engine
