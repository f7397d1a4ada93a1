#include "engine/Analysis.h"

#include <memory>
#include <optional>
#include <string_view>

#include "engine/ImportReader.h"
#include "engine/RegFileFormat.h"
#include "engine/RegistryExport.h"
#include "engine/Reporting.h"
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

    // The user's signature, which is ANSI, in the text's own encoding.
    const std::string& Signature() {
        if (!signature_) {
            signature_ = ConvertText(engine_.startup.Signature, TextEncoding::Ansi, encoding_, Codec());
        }
        return *signature_;
    }

    // A name read from the file, for a message.
    std::string ShownName(std::string_view name) {
        return encoding_ == TextEncoding::Ansi ? Codec().AnsiToUtf8(name) : std::string(name);
    }

    // A name read from the file as the file system takes it; nullopt when
    // the ANSI code page lacks one of its characters.
    std::optional<std::string> AnsiName(std::string_view name) {
        if (encoding_ == TextEncoding::Ansi) {
            return std::string(name);
        }
        return Codec().Utf16ToAnsiExact(platform::Utf8ToUtf16(name));
    }

    std::optional<std::string> CheckRecordedName(std::string_view recorded) {
        std::optional<std::string> recordedName = AnsiName(recorded);
        if (recordedName == fileName_) {
            return std::nullopt;
        }
        Platform& platform = engine_.platform;
        std::string question = "Le fichier " + Codec().AnsiToUtf8(fileName_) +
                               " a été renommé depuis sa dernière utilisation. \r\n" +
                               "Voulez-vous rétablir le nom " + ShownName(recorded) + " ?";
        if (!platform.prompt.AskYesNo(question, kQuestionTitle, PromptIcon::Exclamation)) {
            return std::nullopt;
        }
        std::string reason;
        if (!recordedName || !IsPlainFileName(*recordedName)) {
            reason = "ce n'est pas un nom de fichier valide.";
        } else if (FileError error = platform.files.Rename(JoinPath(directory_, fileName_),
                                                           JoinPath(directory_, *recordedName))) {
            reason = error.code == kFileExists ? "un autre fichier porte déjà ce nom." : error.description;
        } else {
            return recordedName;
        }
        ShowMessage(platform, "Impossible de rétablir le nom " + ShownName(recorded) + " : " + reason +
                                  "\r\nLe fichier garde son nom actuel, " + Codec().AnsiToUtf8(fileName_) +
                                  ".");
        return std::nullopt;
    }

    TextCodec& Codec() { return engine_.platform.codec; }

    Engine& engine_;
    const std::string& directory_;
    const std::string& fileName_;
    TextEncoding encoding_;
    std::optional<std::string> signature_;
};

// The file as the importer reads it, against the live registry: for every
// key and value the importer will change, its present state goes into the
// restoration.
class RestorationBuilder final : public ImportVisitor {
public:
    RestorationBuilder(Platform& platform, Restoration& restoration)
        : platform_(platform), restoration_(restoration) {}

    // The step that makes the file unfit for import, if one does.
    const std::optional<ImportStep>& Unreadable() const { return unreadable_; }

    void OnStep(const ImportStep& step) override {
        switch (step.kind) {
            case ImportStep::Kind::OpenKey:
                currentKey_.reset();
                OnOpenKey(step.root, step.path);
                break;
            case ImportStep::Kind::DeleteKey:
                currentKey_.reset();
                ExportKey(platform_.registry, step.root, StoredKeyPath(step.root, step.path), restoration_);
                break;
            case ImportStep::Kind::SetValue:
            case ImportStep::Kind::DeleteValue:
                OnValue(step.value.name, step.kind == ImportStep::Kind::DeleteValue);
                break;
            case ImportStep::Kind::CloseKey:
                currentKey_.reset();
                break;
            case ImportStep::Kind::Unreadable:
                unreadable_ = step;
                break;
            case ImportStep::Kind::Skip:
            case ImportStep::Kind::Stop:
                break;
        }
    }

private:
    void OnOpenKey(RootKey root, const std::string& path) {
        OpenedKey opened = platform_.registry.Open(root, path);
        switch (opened.status) {
            case kRegSuccess:
                currentKey_ = std::move(opened.key);
                restoration_.AddKey(root, path);
                break;
            case kRegFileNotFound:
                restoration_.AddKeyDeletion(root, FirstMissingKey(root, path));
                break;
            case kRegAccessDenied:
                restoration_.AddUncoveredKey(root, path);
                ShowMessage(
                    platform_,
                    "Vous n'avez pas accès à la base de registre. L'opération d'analyse est interrompue");
                break;
            default:
                restoration_.AddUncoveredKey(root, path);
                ReportKeyError(opened.status, root, path);
        }
    }

    // Deletions are saved too, under the name's stored spelling: the
    // restoration must bring the value back as it was.
    void OnValue(const std::string& name, bool isDeletion) {
        if (currentKey_ && isDeletion) {
            ExportValue(*currentKey_, currentKey_->StoredValueName(name).value_or(name), scratchValue_,
                        restoration_);
        } else if (currentKey_) {
            ExportValue(*currentKey_, name, scratchValue_, restoration_);
        }
    }

    // `path` with its last key named as the registry spells it: the
    // restoration recreates that key under the name it writes.
    std::string StoredKeyPath(RootKey root, std::string_view path) {
        auto slash = path.rfind('\\');
        std::string_view parentPath =
            slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
        std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
        std::string storedPath(path);
        if (OpenedKey parent = platform_.registry.Open(root, parentPath); parent.key) {
            if (std::optional<std::string> stored = parent.key->StoredSubKeyName(name)) {
                storedPath.replace(storedPath.size() - name.size(), name.size(), *stored);
            }
        }
        return storedPath;
    }

    // The shortest leading part of `path` that does not exist, `path` being
    // missing: deleting it removes everything the file creates under it.
    // Sought from the key up, since a file mostly creates one key in an
    // existing one.
    std::string_view FirstMissingKey(RootKey root, std::string_view path) {
        std::string_view missing = path;
        for (std::size_t slash = path.rfind('\\'); slash != std::string_view::npos && slash > 0;
             slash = path.rfind('\\', slash - 1)) {
            std::string_view ancestor = path.substr(0, slash);
            if (platform_.registry.Open(root, ancestor).status != kRegFileNotFound) {
                break;
            }
            missing = ancestor;
        }
        return missing;
    }

    // The key only: the latest value line read may belong to another key.
    void ReportKeyError(RegStatus status, RootKey root, std::string_view path) {
        ShowMessage(platform_, "Erreur " + std::to_string(status) + " à la lecture de la clé " +
                                   std::string(RootKeyName(root)) + std::string(path));
    }

    Platform& platform_;
    Restoration& restoration_;
    std::unique_ptr<RegistryKey> currentKey_;
    RegistryValue scratchValue_;
    std::optional<ImportStep> unreadable_;
};

// Whether the importer must not read the file; when so, the user is told why.
bool RefusesImport(Platform& platform, const std::string& fileName, const FileText& text,
                   const std::optional<ImportStep>& unreadable) {
    std::string name = platform.codec.AnsiToUtf8(fileName);
    std::string reason;
    if (text.oddByteCount) {
        reason = "c'est un fichier UTF-16 corrompu, au nombre d'octets impair";
    } else if (unreadable) {
        reason = "ligne " + std::to_string(unreadable->line) + ", " + std::string(unreadable->reason);
    } else {
        return false;
    }
    ShowMessage(platform, "Le fichier " + name + " ne peut pas être fusionné : " + reason +
                              ".\r\nSa restauration ne pourrait pas être sûre.");
    return true;
}

// The restoration of the file's text as the importer will read it; nullopt,
// after telling the user, when the file must not be imported.
std::optional<RestorationText> BuildRestoration(Platform& platform, const std::string& fileName,
                                                const FileText& text) {
    Restoration restoration(platform.codec);
    // A restoration is about as long as the file it restores.
    restoration.Reserve(text.shown.size());
    RestorationBuilder builder(platform, restoration);
    if (!text.oddByteCount) {
        ReadImport(text.Read(), text.encoding, platform.codec, builder);
    }
    if (RefusesImport(platform, fileName, text, builder.Unreadable())) {
        return std::nullopt;
    }
    std::vector<std::string> uncoveredKeys = restoration.UncoveredKeys();
    return RestorationText{restoration.Encoding(), std::move(restoration).Text(), std::move(uncoveredKeys)};
}

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
    if (std::optional<RestorationText> restoration = BuildRestoration(engine.platform, fileName, *text)) {
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
    return BuildRestoration(engine.platform, fileName, *text);
}

}  // namespace claverix::engine
