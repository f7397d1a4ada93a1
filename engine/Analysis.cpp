#include "engine/Analysis.h"

#include <optional>
#include <string_view>

#include "engine/RegFileFormat.h"
#include "engine/Reporting.h"
#include "engine/RestorationBuilder.h"

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

// The file as its user sees it, line by line: flags, header, comment and
// content, and the offer to restore the name recorded in it.
class FileReading {
public:
    FileReading(Engine& engine, const std::string& directory, const std::string& fileName,
                TextEncoding encoding)
        : engine_(engine), directory_(directory), fileName_(fileName), encoding_(encoding) {}

    // Returns the name the file was renamed to, when the user accepted a rename.
    std::optional<std::string> Run(std::string_view text) {
        engine_.state.ContentText.reserve(text.size());  // most of a file is its content
        LineReader reader(text);
        std::string_view line;
        while (reader.Next(line)) {
            if (auto renamed = OnLine(line)) {
                return renamed;
            }
        }
        return std::nullopt;
    }

private:
    std::optional<std::string> OnLine(std::string_view line) {
        EngineState& state = engine_.state;
        switch (ClassifyLine(line)) {
            case LineKind::Header:
                state.HeaderLine.assign(line);
                state.HeaderEncoding = encoding_;
                break;
            case LineKind::Signature:
                // An empty signature is in every line: it would authorise every signed file.
                state.IsSigned = !Signature().empty() && line.find(Signature()) != std::string_view::npos;
                break;
            case LineKind::NoUndo:
                state.NoUndo = true;
                break;
            case LineKind::UndoFile:
                state.NoUndo = true;
                state.IsUndoFile = true;
                break;
            case LineKind::FileName:
                return CheckRecordedName(RecordedFileName(line));
            case LineKind::Comment:
                state.CommentText.append(CommentOf(line)).append(kCrLf);
                break;
            case LineKind::Empty:
            case LineKind::Record:
                break;
            case LineKind::Key:
                // An empty line before every key line but a deletion, as a rewrite writes them.
                if (!IsKeyDeletion(line) && !state.ContentText.empty()) {
                    state.ContentText += kCrLf;
                }
                state.ContentText.append(line).append(kCrLf);
                break;
            case LineKind::Value:
                state.ContentText.append(line).append(kCrLf);
                break;
        }
        return std::nullopt;
    }

    // The user's signature in the text's own encoding; empty, which signs
    // nothing, when an ANSI file cannot hold it.
    const std::string& Signature() {
        if (!signature_) {
            signature_ = ExactText(engine_.startup.Signature, encoding_, Codec()).value_or("");
        }
        return *signature_;
    }

    // A name read from the file, for a message.
    std::string ShownName(std::string_view name) {
        return encoding_ == TextEncoding::Ansi ? Codec().AnsiToUtf8(name) : std::string(name);
    }

    std::optional<std::string> CheckRecordedName(std::string_view recorded) {
        std::string recordedName = ShownName(recorded);
        if (recordedName == fileName_) {
            return std::nullopt;
        }
        Platform& platform = engine_.platform;
        std::string question = "Le fichier " + fileName_ +
                               " a été renommé depuis sa dernière utilisation. \r\n" +
                               "Voulez-vous rétablir le nom " + ShownName(recorded) + " ?";
        if (!platform.prompt.AskYesNo(question, kQuestionTitle, PromptIcon::Exclamation)) {
            return std::nullopt;
        }
        std::string reason;
        if (!IsPlainFileName(recordedName)) {
            reason = "ce n'est pas un nom de fichier valide.";
        } else if (FileError error = platform.files.Rename(JoinPath(directory_, fileName_),
                                                           JoinPath(directory_, recordedName))) {
            reason = error.code == kFileExists ? "un autre fichier porte déjà ce nom." : error.description;
        } else {
            return recordedName;
        }
        ShowMessage(platform, "Impossible de rétablir le nom " + ShownName(recorded) + " : " + reason +
                                  "\r\nLe fichier garde son nom actuel, " + fileName_ + ".");
        return std::nullopt;
    }

    TextCodec& Codec() { return engine_.platform.codec; }

    Engine& engine_;
    const std::string& directory_;
    const std::string& fileName_;
    TextEncoding encoding_;
    std::optional<std::string> signature_;
};

void ResetState(EngineState& state, const std::string& fileName) {
    std::string headerLine = std::move(state.HeaderLine);
    TextEncoding headerEncoding = state.HeaderEncoding;
    state = EngineState{};
    state.HeaderLine = std::move(headerLine);
    state.HeaderEncoding = headerEncoding;
    state.FileName = fileName;
}

// Analyses the file once; returns the restored name when the user accepted one.
std::optional<std::string> AnalyseOnce(Engine& engine, const std::string& directory,
                                       const std::string& fileName) {
    EngineState& state = engine.state;
    ResetState(state, fileName);
    std::optional<FileText> text = ReadRegFileText(engine.platform, JoinPath(directory, fileName));
    if (!text) {
        // What could not be read here must not reach the importer unsaved.
        state.ImportBlocked = true;
        return std::nullopt;
    }
    state.Encoding = text->encoding;
    if (std::optional<std::string> restoredName =
            FileReading(engine, directory, fileName, text->encoding).Run(text->shown)) {
        return restoredName;
    }
    if (std::optional<RestorationText> restoration = BuildRestoration(engine, fileName, *text)) {
        state.RestoreText = std::move(restoration->text);
        state.RestoreEncoding = restoration->encoding;
        state.UncoveredKeys = std::move(restoration->uncoveredKeys);
    } else {
        state.ImportBlocked = true;
    }
    return std::nullopt;
}

}  // namespace

std::optional<FileText> ReadRegFileText(Platform& platform, const std::string& path) {
    std::string bytes;
    if (FileError error = platform.files.Read(path, bytes)) {
        ReportFileError(platform, error, path);
        return std::nullopt;
    }
    return DecodeFileText(std::move(bytes));
}

void AnalyseRegFile(Engine& engine, const std::string& directory, const std::string& fileName) {
    std::string name = fileName;
    while (std::optional<std::string> restoredName = AnalyseOnce(engine, directory, name)) {
        name = std::move(*restoredName);
    }
}

std::optional<RestorationText> CurrentRestorationText(Engine& engine, const std::string& directory,
                                                      const std::string& fileName) {
    std::optional<FileText> text = ReadRegFileText(engine.platform, JoinPath(directory, fileName));
    if (!text) {
        return std::nullopt;
    }
    return BuildRestoration(engine, fileName, *text);
}

}  // namespace claverix::engine
