#include "engine/RegFileWriter.h"

#include <vector>

#include "engine/Engine.h"
#include "engine/RegFileFormat.h"
#include "engine/Reporting.h"

namespace claverix::engine {

namespace {

// One "#" line per line of the comment, whatever line break separates them: a
// bare CR or LF left inside a comment line would end it for the importer,
// which would read the rest as a registry line.
void AppendCommentLines(std::string& out, std::string_view comment) {
    if (comment == kNoComment) {
        return;
    }
    while (!comment.empty()) {
        auto end = comment.find_first_of("\r\n");
        out.append("#").append(comment.substr(0, end)).append(kCrLf);
        if (end == std::string_view::npos) {
            break;
        }
        std::size_t breakLength = comment.substr(end).starts_with(kCrLf) ? 2 : 1;
        comment.remove_prefix(end + breakLength);
    }
}

// The record a merge left in the file, which a rewrite keeps: it is no part
// of what the window shows. ASCII, the same in either form of the file.
std::string KeptRecord(std::string_view shownText) {
    std::string record;
    LineReader lines(shownText);
    for (std::string_view line; lines.Next(line);) {
        if (ClassifyLine(line) == LineKind::Record) {
            record.append(line).append(kCrLf);
        }
    }
    return record;
}

}  // namespace

std::string CommentTextOf(std::string_view comment) {
    std::string lines;
    AppendCommentLines(lines, comment);
    std::string text;
    LineReader reader(lines);
    for (std::string_view line; reader.Next(line);) {
        text.append(CommentOf(line)).append(kCrLf);
    }
    return text;
}

Rewrite RewriteRegFile(platform::Platform& platform, const RewriteRequest& request) {
    std::string path = JoinPath(request.directory, request.fileName);
    std::string onDisk;
    if (platform::FileError error = platform.files.Read(path, onDisk); error.Failed()) {
        ReportFileError(platform, error, path);
        return {};
    }
    if (onDisk != request.shownBytes) {
        return {Rewrite::Status::FileChanged, {}};
    }
    platform::TextCodec& codec = platform.codec;
    TextEncoding encoding = request.encoding;
    std::string head;
    head.append(request.headerLine).append(kCrLf).append(kCrLf);
    if (request.isSigned) {
        std::optional<std::string> signature = ExactText(request.signature, encoding, codec);
        if (!signature) {
            ShowMessage(platform,
                        "Votre signature contient des caractères que la page de code du système ne "
                        "peut pas représenter : le fichier " +
                            std::string(request.fileName) +
                            ", écrit dans cette page de code, ne peut pas être signé. Il n'est pas "
                            "modifié.");
            return {};
        }
        AppendDirective(head, kSignatureDirective, *signature);
    }
    if (request.noUndo) {
        AppendDirective(head, kNoUndoDirective);
    }
    if (request.isUndoFile) {
        AppendDirective(head, kUndoFileDirective);
    }
    if (std::optional<std::string> fileName = ExactText(request.fileName, encoding, codec)) {
        AppendDirective(head, kFileNameDirective, *fileName);
    }
    AppendCommentLines(head, request.comment);
    head.append(kCrLf);

    std::string record = KeptRecord(DecodeFileText(onDisk).shown);
    if (!record.empty() && !request.content.empty() && !request.content.ends_with('\n')) {
        record.insert(0, kCrLf);  // an edited last line need not end in a line break
    }
    std::string text = head;
    text.append(request.content).append(record);
    std::string bytes = encoding == TextEncoding::Ansi
                            ? std::move(text)
                            : std::string(kUtf16ByteOrderMark) + EncodeFileText(text, encoding);
    const std::string_view pieces[] = {bytes};
    if (platform::FileError error = platform.files.Replace(path, pieces); error.Failed()) {
        ReportFileError(platform, error, path);
        return {};
    }
    return {Rewrite::Status::Written, std::move(bytes)};
}

std::string HandlerRegistrationText(platform::TextCodec& codec, std::string_view programDirectory,
                                    std::string_view signature) {
    TextEncoding encoding = ExactText(programDirectory, TextEncoding::Ansi, codec) &&
                                    ExactText(signature, TextEncoding::Ansi, codec)
                                ? TextEncoding::Ansi
                                : TextEncoding::Utf16;
    std::string text;  // UTF-8
    text.append(encoding == TextEncoding::Ansi ? "REGEDIT4" : "Windows Registry Editor Version 5.00")
        .append(kCrLf)
        .append(kCrLf);
    // The registration file has always spelled its signature in lower case.
    text.append("# sign:").append(signature).append(kCrLf);
    text.append("#Enregistre CLAVERIX comme gestionnaire de fichiers reg par défaut").append(kCrLf);
    text.append("[HKEY_CLASSES_ROOT\\regfile\\shell\\open\\command]").append(kCrLf);
    // The program's path quoted: a blank in it would otherwise end the program's name.
    std::string command = "\"";
    command.append(programDirectory).append("\\claverix.exe\" \"%1\"");
    text.append("@=");
    AppendQuotedString(text, command);
    text.append(kCrLf).append(kCrLf);
    if (encoding == TextEncoding::Ansi) {
        return codec.Utf8ToAnsi(text);
    }
    return std::string(kUtf16ByteOrderMark) + EncodeFileText(text, encoding);
}

std::string RestorationFileHead(TextEncoding encoding, std::string_view signature,
                                std::string_view restorationFileName) {
    std::string head;
    head.append(encoding == TextEncoding::Ansi ? "REGEDIT4" : "Windows Registry Editor Version 5.00")
        .append(kCrLf)
        .append(kCrLf);
    AppendDirective(head, kSignatureDirective, " " + std::string(signature));
    AppendDirective(head, kUndoFileDirective);
    AppendDirective(head, kFileNameDirective, restorationFileName);
    head.append(kCrLf);
    return head;
}

}  // namespace claverix::engine
