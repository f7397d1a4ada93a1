#pragma once

#include <string>
#include <string_view>

#include "engine/FileText.h"
#include "platform/Platform.h"

namespace claverix::engine {

// What the comment box shows for a file without comment; never written as one.
inline constexpr std::string_view kNoComment = "Pas de commentaire";

// A comment as the file's reader gives it back once written: one line for
// each of its lines, each ending in CR LF; none for kNoComment.
std::string CommentTextOf(std::string_view comment);

// What the main window hands over when the user changes a file's marks or comment.
// The file is written back in its own encoding: the header, the comment and
// the content are its ANSI bytes, or UTF-8 for a UTF-16 file; the directory,
// the file name and the signature are UTF-8.
struct RewriteRequest {
    std::string_view directory;
    std::string_view fileName;
    // The bytes the window shows the file with: a file that no longer holds
    // them has been changed by someone else, and is not overwritten.
    std::string_view shownBytes;
    TextEncoding encoding = TextEncoding::Ansi;
    std::string_view headerLine;
    std::string_view signature;
    bool isSigned = false;
    bool noUndo = false;
    // A restoration file stays one: its "# Undofile" line is written back.
    bool isUndoFile = false;
    std::string_view comment;  // "Pas de commentaire" stands for none
    std::string_view content;  // key and value lines, each ending in CR LF
};

struct Rewrite {
    enum class Status {
        Written,
        FileChanged,  // the file no longer holds the bytes shown: nothing was written
        Failed,       // the user has been told why; the file stays as it was
    };
    Status status = Status::Failed;
    std::string bytes;  // the file's new bytes, once written
};

// Writes the file anew: header, directives, comment lines, the content, then
// the record of a merge that the file held (see MergeRecord). An ANSI file
// whose name the code page cannot hold gets no file-name directive: a name
// written with the default character would never match the file's own. A
// signature the code page cannot hold is not written into an ANSI file: the
// user is told, and the file is left as it was.
// The original is replaced only once the new text is complete on disk.
Rewrite RewriteRegFile(platform::Platform& platform, const RewriteRequest& request);

// The bytes of the file that makes the program the shell's "open" command
// for registry files: `programDirectory` holds claverix.exe. Signed with
// "# sign:", so merging it asks nothing of the user whose signature it
// carries. REGEDIT4 in the ANSI code page when that holds the directory and
// the signature exactly, a version 5 file in UTF-16 otherwise.
std::string HandlerRegistrationText(platform::TextCodec& codec, std::string_view programDirectory,
                                    std::string_view signature);

// A restoration file's lines before its content, in the encoding of the
// file (ANSI bytes, or UTF-8 for UTF-16). The header is the one of the
// content's form, whatever the merged file's own header was: the importer
// reads no file without one.
std::string RestorationFileHead(TextEncoding encoding, std::string_view signature,
                                std::string_view restorationFileName);

}  // namespace claverix::engine
