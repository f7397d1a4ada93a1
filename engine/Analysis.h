#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/Engine.h"
#include "engine/FileText.h"
#include "engine/ForeseenImport.h"

namespace claverix::engine {

// What a file's directives say of it.
struct FileMarks {
    // A "#" line's text after "Sign:" is the user's signature: the user wrote or trusted the file.
    bool IsSigned = false;
    // "# NoUndo": no restoration file, for a signed file merged from the main window.
    bool NoUndo = false;
    // "# Undofile": a restoration file, which goes once all of it has taken.
    bool IsUndoFile = false;
};

// A registry file read once, and everything derived from those bytes: what
// the windows show of it, its marks, and what the importer will do with it.
// A merge, a preview or a rewrite works from this value, never from the
// file read again behind it.
struct Analysis {
    std::string fileName;  // the name it was read under
    std::string bytes;     // the file's bytes, as read
    FileText text;         // the bytes in the program's two forms
    FileMarks marks;
    // The file's first non-blank line, unless it is a "#" line or a key or
    // value line: the importer reads its header there. In the form of
    // `text.shown`, as the comment and the content.
    std::string HeaderLine;
    std::string CommentText;  // the "#" lines that are no directive, each ending in CR LF
    std::string ContentText;  // the key and value lines, each ending in CR LF
    // What its first "# FileName:" line records, in the form of `text.shown`.
    std::optional<std::string> recordedName;
    ForeseenImport foreseen;
    // Why the importer must not have the file: it cannot be read in a way
    // that foresees what the importer will do, or nothing of it would be
    // imported. Empty for a file that may be merged.
    std::string refusal;
    // The file cannot be foreseen at all: nothing of it may be written back either.
    bool unreadable = false;
    // Saved as UTF-8 (a UTF-8 byte-order mark, or bytes beyond ASCII that
    // are all UTF-8), which the importer reads in the ANSI code page.
    bool savedAsUtf8 = false;

    TextEncoding Encoding() const { return text.encoding; }
};

// Everything the bytes of the file `fileName` say, for a user whose
// signature is `signature`. Reads nothing else and asks nothing.
Analysis AnalyseBytes(std::string fileName, std::string bytes, std::string_view signature,
                      platform::TextCodec& codec);

// Reads the registry file `directory`\`fileName` and analyses it. Offers
// the name recorded in it back, when it differs, and then renames the file;
// the analysis holds the name it ends with. Tells the user when the file
// cannot be read (nullopt) or must not be imported (`refusal`, for an
// unreadable file).
std::optional<Analysis> AnalyseRegFile(Engine& engine, const std::string& directory,
                                       const std::string& fileName);

// The name the analysed file records in its "# FileName:" line, when it
// differs from its own: the user is asked whether to restore it, and the file
// is renamed in `directory`. The new name, or nullopt when it keeps its own.
std::optional<std::string> OfferRecordedName(Engine& engine, const std::string& directory,
                                             const Analysis& analysis);

// The lines the importer passes over, the first of them each on an indented
// line with its number and why, as a message lists them.
std::string SkippedLinesList(const ForeseenImport& foreseen);

// The file's bytes; nullopt, after telling the user, when it cannot be read.
std::optional<std::string> ReadRegFileBytes(platform::Platform& platform, const std::string& path);

// What a merge would save now of the keys and values the analysed file
// changes: the live registry's present state, in a form that holds the
// user's signature and the file's name too. Reports the registry errors it
// meets unless `quiet`.
RestorationText CurrentRestoration(Engine& engine, const Analysis& analysis, bool quiet = false);

}  // namespace claverix::engine
