#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace claverix::engine {

inline constexpr std::string_view kCrLf = "\r\n";

// Splits registry-file text into the lines its user sees: a line ends at a
// CR, a LF or a CR LF, as the importer ends it, so that a file written with
// LF line ends shows its lines. Every other byte, NUL included, comes back
// unchanged, whatever the line's length.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& line);

private:
    std::string_view rest_;
};

enum class LineKind { Header, Signature, NoUndo, UndoFile, FileName, Comment, Empty, Key, Value, Record };

// What starts the comment lines in which a merge records, in its restoration
// file, what it set (see MergeRecord): neither comment nor content to show.
inline constexpr std::string_view kRecordPrefix = "#~claverix ";

// The directives' words. The program writes a directive as "# ", its word and,
// for the signature and the file name, their text (AppendDirective); it reads
// the words in any letter case anywhere in a "#" line (ClassifyLine).
inline constexpr std::string_view kSignatureDirective = "Sign:";
inline constexpr std::string_view kNoUndoDirective = "NoUndo";
inline constexpr std::string_view kUndoFileDirective = "Undofile";
inline constexpr std::string_view kFileNameDirective = "FileName:";

// Appends the line "# `word``text`" and its CR LF.
void AppendDirective(std::string& out, std::string_view word, std::string_view text = {});

// Text in such lines, kept ASCII whatever it holds: a byte outside printable
// ASCII, "%" and the double quote are "%" and two hex digits.
void AppendPercentEscaped(std::string& out, std::string_view text);
// Nullopt when a "%" is not followed by two hex digits.
std::optional<std::string> PercentUnescaped(std::string_view text);

// Gives a line its kind. Lines the importer acts on (a "[", a double quote or
// "@" first, after blanks) are key and value lines whatever words they hold,
// so that nothing the importer changes escapes the analysis. Directives are
// "#" lines, as the program writes them, tested for their words anywhere,
// ignoring case: a ";" comment or any other line of a downloaded file
// marks nothing. The file-name directive is tested first because the name it
// records may hold any word. A line that is neither, holding a header's
// words, is a Header; the file's header is its first line (see Analysis).
// A merge's record is known by its prefix before any directive word.
LineKind ClassifyLine(std::string_view line);

// Signature directive: the text after its word, blanks around it removed.
std::string_view SignedText(std::string_view line);

// File-name directive: everything after the first colon, blanks included.
std::string_view RecordedFileName(std::string_view line);

// Comment line: everything after the "#".
std::string_view CommentOf(std::string_view line);

// Root names: "HKEY_CURRENT_USER\" and the like, "?\" for anything else.
std::string_view RootKeyName(platform::RootKey root);

// The root that a written key name starts with ("HKEY_CURRENT_USER\\...", in
// this letter case), and in `path` what follows its backslash; None when the
// name starts with no root's name.
platform::RootKey SplitKeyName(std::string_view name, std::string_view& path);

// A key line that deletes its key: "[-" after any blanks.
bool IsKeyDeletion(std::string_view line);

// A value's name as written in a value line: "@" for the default value,
// otherwise between double quotes with backslash, quote, CR and LF escaped.
void AppendWrittenName(std::string& out, std::string_view name);

// String data between double quotes, with backslashes and quotes escaped.
void AppendQuotedString(std::string& out, std::string_view text);

}  // namespace claverix::engine
