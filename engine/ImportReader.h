#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/FileText.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace claverix::engine {

// One thing the importer does, or declines to do, as it reads a file.
struct ImportStep {
    enum class Kind {
        OpenKey,      // creates `root`\`path` if needed; the values that follow go there
        DeleteKey,    // deletes `root`\`path` with everything below it; no key is open after it
        SetValue,     // sets `value` in the open key, if any
        DeleteValue,  // deletes the value `value.name` of the open key, if any
        CloseKey,     // a key line it cannot use: no key is open after it
        Skip,         // a line it passes over; the open key stays open
        // Wine's importer reads nothing more of the file (a fault of its own,
        // mostly): the steps that follow are what another importer would do.
        Stop,
        Unreadable,  // what it reads from here on cannot be foreseen: the file must not be imported
    };

    Kind kind = Kind::Skip;
    std::size_t line = 0;  // the line where the step's text starts, from 1
    platform::RootKey root = platform::RootKey::None;
    std::string path;               // UTF-8, after the root's backslash; empty for the root itself
    platform::RegistryValue value;  // name in UTF-8 (empty: the default value), type, exact bytes
    // The importer stores one byte more than it read, from its own buffer:
    // the last byte of `value.data` stands for it (see ReadImport).
    bool lastByteUnforeseen = false;
    std::string_view reason;  // for the last four kinds: why, in a few French words
    // For CloseKey, Skip and Stop: the line passed over is a key or value
    // line, which a merge counts as not taken, rather than a header or a line
    // that is neither.
    bool keyOrValueLine = false;
    bool keyLine = false;  // a key line, of those

    // For CloseKey, Skip and Stop on a key or value line: what the line names
    // when that can still be read, for another importer may take the line
    // that Wine's passes over. A key line read as another importer might
    // (blanks after "[" or "-", a missing "]", a root abbreviated as HKCU)
    // names `root`\`path`, to open or to delete (a whole root's deletion
    // names nothing); a value line whose data Wine's importer refuses, or a
    // line it swallows as hex data, names `value.name`, in the key open then.
    // Wine's importer does nothing with it: what it leaves is foreseen without.
    enum class Named { Nothing, Key, DeletedKey, Value };
    Named named = Named::Nothing;
};

class ImportVisitor {
public:
    virtual ~ImportVisitor() = default;
    // The step and its strings stay valid until the next call.
    virtual void OnStep(const ImportStep& step) = 0;
};

// Reads `text`, a file's bytes in `encoding` (for UTF-16, after the
// byte-order mark), decoding them line by line as the importer does, and hands `visitor` the importer's steps
// in order. The rules are those of the system's registry editor, established against Wine's: a header line
// first
// ("REGEDIT4" or "Windows Registry Editor Version 5.00", or "REGEDIT" for the Windows 3.1 form), then key
// lines, value lines with their escapes and data forms, hex data continued over lines ending in a backslash,
// comments and anything else passed over. The encoding, not the header, decides what hex(1), hex(2) and
// hex(7) bytes mean: ANSI bytes that the importer converts through `codec`, or UTF-16 as it is. Such data of
// an odd byte count is the one thing that cannot be foreseen whole: where the importer adds the zero
// character it lays it over the odd byte and stores one byte of its buffer after it.
void ReadImport(std::string_view text, TextEncoding encoding, platform::TextCodec& codec,
                ImportVisitor& visitor);

}  // namespace claverix::engine
