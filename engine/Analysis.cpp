#include "engine/Analysis.h"

#include <optional>
#include <string_view>

#include "engine/RegFileFormat.h"
#include "engine/Reporting.h"
#include "engine/RestorationBuilder.h"
#include "platform/Unicode.h"

namespace claverix::engine {

using namespace platform;

namespace {

// A name the file can be given in its own directory: no path, no character
// the file system refuses, nothing it would silently change.
bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') {  // "." and ".." included
        return false;
    }
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// The file as its user sees it, line by line: marks, header, comment and
// content, and the name it records.
class FileReading {
public:
    FileReading(Analysis& analysis, std::optional<std::string> signature)
        : analysis_(analysis), signature_(std::move(signature)) {}

    void Run() {
        const std::string& text = analysis_.text.shown;
        analysis_.ContentText.reserve(text.size());  // most of a file is its content
        LineReader reader(text);
        for (std::string_view line; reader.Next(line);) {
            OnLine(line);
        }
    }

    std::optional<std::string> RecordedName() && { return std::move(recordedName_); }

private:
    void OnLine(std::string_view line) {
        LineKind kind = ClassifyLine(line);
        if (kind == LineKind::Empty) {
            return;
        }
        std::size_t start = line.find_first_not_of(" \t");
        bool first = !pastFirstLine_ && start != std::string_view::npos;
        pastFirstLine_ = pastFirstLine_ || first;
        // Whatever it says, the importer reads the first line as the header,
        // unless the line is one the program or the importer reads otherwise.
        if (first && std::string_view("[\"@#").find(line[start]) == std::string_view::npos) {
            analysis_.HeaderLine.assign(line);
            return;
        }
        switch (kind) {
            case LineKind::Signature:
                analysis_.marks.IsSigned = signature_ && SignedText(line) == *signature_;
                break;
            case LineKind::NoUndo:
                analysis_.marks.NoUndo = true;
                break;
            case LineKind::UndoFile:
                analysis_.marks.NoUndo = true;
                analysis_.marks.IsUndoFile = true;
                break;
            case LineKind::FileName:
                if (!recordedName_) {
                    recordedName_ = std::string(RecordedFileName(line));
                }
                break;
            case LineKind::Comment:
                analysis_.CommentText.append(CommentOf(line)).append(kCrLf);
                break;
            case LineKind::Empty:
            case LineKind::Record:
                break;
            case LineKind::Key:
                // An empty line before every key line but a deletion, as a rewrite writes them.
                if (!IsKeyDeletion(line) && !analysis_.ContentText.empty()) {
                    analysis_.ContentText += kCrLf;
                }
                analysis_.ContentText.append(line).append(kCrLf);
                break;
            case LineKind::Header:  // a header past the first line is no header: the importer reads it as
                                    // text
            case LineKind::Value:
                analysis_.ContentText.append(line).append(kCrLf);
                break;
        }
    }

    Analysis& analysis_;
    // In the text's own form; none when it has no exact form there, or is
    // empty: an empty signature would authorise every signed file.
    std::optional<std::string> signature_;
    bool pastFirstLine_ = false;
    std::optional<std::string> recordedName_;
};

// Whether the importer would import anything the check after the import can see.
bool ImportsAnything(const ForeseenImport& foreseen) {
    for (const ForeseenKey& key : foreseen.keys) {
        if (!key.uncertain) {
            return true;
        }
    }
    return false;
}

// Why the file must not reach the importer, as the user is told; empty when it may.
std::string Refusal(const Analysis& analysis) {
    std::string start = "Le fichier " + analysis.fileName + " ne peut pas être fusionné : ";
    const ForeseenImport& foreseen = analysis.foreseen;
    if (analysis.text.oddByteCount) {
        return start + "c'est un fichier UTF-16 corrompu, au nombre d'octets impair.\r\n" +
               std::string(kUnsafeRestoration);
    }
    if (foreseen.unreadable) {
        const SkippedLine& last = foreseen.skipped.back();
        return start + "ligne " + std::to_string(last.line) + ", " + std::string(last.reason) + ".\r\n" +
               std::string(kUnsafeRestoration);
    }
    if (!ImportsAnything(foreseen)) {
        return start + "l'éditeur du Registre n'en importerait rien." + SkippedLinesList(foreseen);
    }
    return {};
}

// Bytes a UTF-8 editor wrote: its byte-order mark, or characters beyond
// ASCII each in a well-formed UTF-8 sequence, which text in a Western or
// Cyrillic code page almost never forms by chance.
bool LooksLikeUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return true;
    }
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
        if (length == 0 || i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii;
}

}  // namespace

std::string SkippedLinesList(const ForeseenImport& foreseen) {
    std::vector<std::string> first;
    for (std::size_t i = 0; i < foreseen.skipped.size() && i < kListedItems; ++i) {
        const SkippedLine& skipped = foreseen.skipped[i];
        first.push_back("ligne " + std::to_string(skipped.line) + " : " + std::string(skipped.reason));
    }
    std::string list;
    AppendList(list, first, foreseen.skipped.size());
    return list;
}

Analysis AnalyseBytes(std::string fileName, std::string bytes, std::string_view signature, TextCodec& codec) {
    Analysis analysis;
    analysis.fileName = std::move(fileName);
    analysis.text = DecodeFileText(bytes);
    analysis.bytes = std::move(bytes);
    FileReading reading(analysis,
                        signature.empty() ? std::nullopt : ExactText(signature, analysis.Encoding(), codec));
    reading.Run();
    analysis.recordedName = std::move(reading).RecordedName();
    analysis.foreseen = ForeseeImport(analysis.text, codec);
    analysis.unreadable = analysis.text.oddByteCount || analysis.foreseen.unreadable;
    // A restoration file is the program's own: ANSI bytes, whatever they look like.
    analysis.savedAsUtf8 = analysis.Encoding() == TextEncoding::Ansi && !analysis.marks.IsUndoFile &&
                           LooksLikeUtf8(analysis.bytes);
    analysis.refusal = Refusal(analysis);
    return analysis;
}

std::optional<std::string> ReadRegFileBytes(Platform& platform, const std::string& path) {
    std::string bytes;
    if (FileError error = platform.files.Read(path, bytes); error.Failed()) {
        ReportFileError(platform, error, path);
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> OfferRecordedName(Engine& engine, const std::string& directory,
                                             const Analysis& analysis) {
    if (!analysis.recordedName) {
        return std::nullopt;
    }
    Platform& platform = engine.platform;
    // The name read from the file, as the file system takes it.
    const std::string& recorded = *analysis.recordedName;
    std::string recordedName =
        analysis.Encoding() == TextEncoding::Ansi ? platform.codec.AnsiToUtf8(recorded) : recorded;
    const std::string& fileName = analysis.fileName;
    if (recordedName == fileName) {
        return std::nullopt;
    }
    std::string question = "Le fichier " + fileName + " a été renommé depuis sa dernière utilisation. \r\n" +
                           "Voulez-vous rétablir le nom " + recordedName + " ?";
    if (!platform.prompt.AskYesNo(question, kQuestionTitle, PromptIcon::Exclamation)) {
        return std::nullopt;
    }
    std::string reason;
    if (!IsPlainFileName(recordedName)) {
        reason = "ce n'est pas un nom de fichier valide.";
    } else if (FileError error =
                   platform.files.Rename(JoinPath(directory, fileName), JoinPath(directory, recordedName));
               error.Failed()) {
        reason = error.code == kFileExists ? "un autre fichier porte déjà ce nom." : error.description;
    } else {
        return recordedName;
    }
    ShowMessage(platform, "Impossible de rétablir le nom " + recordedName + " : " + reason +
                              "\r\nLe fichier garde son nom actuel, " + fileName + ".");
    return std::nullopt;
}

std::optional<Analysis> AnalyseRegFile(Engine& engine, const std::string& directory,
                                       const std::string& fileName) {
    Platform& platform = engine.platform;
    std::optional<std::string> bytes = ReadRegFileBytes(platform, JoinPath(directory, fileName));
    if (!bytes) {
        return std::nullopt;
    }
    Analysis analysis = AnalyseBytes(fileName, std::move(*bytes), engine.startup.Signature, platform.codec);
    if (std::optional<std::string> restoredName = OfferRecordedName(engine, directory, analysis)) {
        analysis.fileName = std::move(*restoredName);
        analysis.recordedName.reset();
    }
    if (analysis.unreadable) {
        ShowMessage(platform, analysis.refusal);
    }
    return analysis;
}

RestorationText CurrentRestoration(Engine& engine, const Analysis& analysis, bool quiet) {
    return BuildRestoration(engine.platform, analysis.text, {engine.startup.Signature, analysis.fileName},
                            quiet);
}

}  // namespace claverix::engine
