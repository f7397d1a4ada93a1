#include "engine/Analysis.h"

#include <memory>
#include <optional>
#include <string_view>

#include "engine/RegFileFormat.h"
#include "engine/RegistryExport.h"
#include "engine/Reporting.h"

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
    FileReading(Engine& engine, const std::string& directory, const std::string& fileName)
        : engine_(engine), directory_(directory), fileName_(fileName) {}

    // Returns the name the file was renamed to, when the user accepted a rename.
    std::optional<std::string> Run(std::string_view text) {
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
                break;
            case LineKind::Signature: {
                // An empty signature is in every line: it would authorise every signed file.
                const std::string& signature = engine_.startup.Signature;
                state.IsSigned = !signature.empty() && line.find(signature) != std::string_view::npos;
                break;
            }
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
                break;
            case LineKind::Key:
                // An empty line before every key line but a deletion, as a rewrite writes them.
                if (!ParseKeyLine(line).isDeletion && !state.ContentText.empty()) {
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

    std::optional<std::string> CheckRecordedName(std::string_view recorded) {
        if (recorded == fileName_) {
            return std::nullopt;
        }
        Platform& platform = engine_.platform;
        TextCodec& codec = platform.codec;
        std::string question = "Le fichier " + codec.AnsiToUtf8(fileName_) +
                               " a été renommé depuis sa dernière utilisation. \r\n" +
                               "Voulez-vous rétablir le nom " + codec.AnsiToUtf8(recorded) + " ?";
        if (!platform.prompt.AskYesNo(question, kQuestionTitle, PromptIcon::Exclamation)) {
            return std::nullopt;
        }
        std::string reason;
        if (!IsPlainFileName(recorded)) {
            reason = "ce n'est pas un nom de fichier valide.";
        } else if (FileError error = platform.files.Rename(JoinPath(directory_, fileName_),
                                                           JoinPath(directory_, recorded))) {
            reason = error.code == kFileExists ? "un autre fichier porte déjà ce nom." : error.description;
        } else {
            return std::string(recorded);
        }
        ShowMessage(platform, "Impossible de rétablir le nom " + codec.AnsiToUtf8(recorded) + " : " + reason +
                                  "\r\nLe fichier garde son nom actuel, " + codec.AnsiToUtf8(fileName_) +
                                  ".");
        return std::nullopt;
    }

    Engine& engine_;
    const std::string& directory_;
    const std::string& fileName_;
};

// The file as the importer reads it, against the live registry: for every
// key and value the importer will change, its present state goes into the
// restoration text.
class RestorationBuilder {
public:
    RestorationBuilder(Platform& platform, std::string& restore) : platform_(platform), restore_(restore) {}

    void Run(std::string_view text) {
        ImporterLineReader reader(text);
        std::string_view line;
        while (reader.Next(line)) {
            auto start = line.find_first_not_of(" \t");
            if (start == std::string_view::npos) {
                continue;
            }
            if (line[start] == '[') {
                OnKeyLine(ParseKeyLine(line));
            } else if (line[start] == '"' || line[start] == '@') {
                OnValueLine(line);
            }
        }
    }

private:
    void OnKeyLine(const KeyLine& key) {
        if (key.ignored) {
            return;  // the importer goes on writing to the key it has
        }
        currentKey_.reset();
        if (key.isDeletion) {
            // The importer deletes nothing for a bare root, so nothing is saved for it.
            if (!key.path.empty()) {
                ExportKey(platform_.registry, key.root, StoredKeyPath(key.root, key.path), restore_);
            }
            return;
        }
        OpenedKey opened = platform_.registry.Open(key.root, key.path);
        switch (opened.status) {
            case kRegSuccess:
                currentKey_ = std::move(opened.key);
                AppendKeyLine("[", key.root, key.path);
                break;
            case kRegFileNotFound:
                AppendKeyLine("[-", key.root, FirstMissingKey(key.root, key.path));
                break;
            case kRegAccessDenied:
                ShowMessage(
                    platform_,
                    "Vous n'avez pas accès à la base de registre. L'opération d'analyse est interrompue");
                break;
            default:
                ReportKeyError(opened.status, key);
        }
    }

    void OnValueLine(std::string_view line) {
        std::optional<ValueLine> value = ParseValueLine(line);
        if (!value) {
            return;
        }
        // Deletions are saved too, under the name's stored spelling: the
        // restoration must bring the value back as it was.
        if (currentKey_) {
            std::string name = value->name;
            if (value->isDeletion) {
                name = currentKey_->StoredValueName(name).value_or(name);
            }
            ExportValue(*currentKey_, name, scratchValue_, restore_);
        }
        latestValueName_ = std::move(value->name);
    }

    void AppendKeyLine(std::string_view opening, RootKey root, std::string_view path) {
        restore_.append(kCrLf)
            .append(opening)
            .append(RootKeyName(root))
            .append(path)
            .append("]")
            .append(kCrLf);
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

    // The shortest leading part of `path` that does not exist: deleting it
    // removes everything the file creates under it.
    std::string_view FirstMissingKey(RootKey root, std::string_view path) {
        for (std::size_t end = path.find('\\'); end != std::string_view::npos;
             end = path.find('\\', end + 1)) {
            std::string_view ancestor = path.substr(0, end);
            if (platform_.registry.Open(root, ancestor).status == kRegFileNotFound) {
                return ancestor;
            }
        }
        return path;
    }

    void ReportKeyError(RegStatus status, const KeyLine& key) {
        std::string where(RootKeyName(key.root));
        where.append(key.path);
        if (latestValueName_) {
            where += '\\';
            AppendWrittenName(where, *latestValueName_);
        }
        ShowMessage(platform_, "Erreur " + std::to_string(status) + " à la lecture de la clé " +
                                   platform_.codec.AnsiToUtf8(where));
    }

    Platform& platform_;
    std::string& restore_;
    std::unique_ptr<RegistryKey> currentKey_;
    std::optional<std::string> latestValueName_;
    RegistryValue scratchValue_;
};

// The file's text as ANSI bytes: as it is, or converted from UTF-16 when it
// starts with that byte-order mark, as today's registry editor writes it.
std::optional<std::string> ReadFileText(Engine& engine, const std::string& directory,
                                        const std::string& fileName) {
    Platform& platform = engine.platform;
    std::string path = JoinPath(directory, fileName);
    std::string bytes;
    if (FileError error = platform.files.Read(path, bytes)) {
        ReportFileError(platform, error, path);
        return std::nullopt;
    }
    std::optional<std::string> text = FileTextAsAnsi(platform.codec, std::move(bytes));
    if (!text) {
        ShowMessage(platform, "Le fichier " + platform.codec.AnsiToUtf8(fileName) +
                                  " contient des caractères que la page de code du système ne peut pas "
                                  "représenter.\r\nIl ne sera ni analysé ni fusionné.");
    }
    return text;
}

void ResetState(EngineState& state, const std::string& fileName) {
    std::string headerLine = std::move(state.HeaderLine);
    state = EngineState{};
    state.HeaderLine = std::move(headerLine);
    state.FileName = fileName;
}

// Analyses the file once; returns the restored name when the user accepted one.
std::optional<std::string> AnalyseOnce(Engine& engine, const std::string& directory,
                                       const std::string& fileName) {
    ResetState(engine.state, fileName);
    std::optional<std::string> text = ReadFileText(engine, directory, fileName);
    if (!text) {
        // What could not be read here must not reach the importer unsaved.
        engine.state.ImportBlocked = true;
        return std::nullopt;
    }
    if (std::optional<std::string> restoredName = FileReading(engine, directory, fileName).Run(*text)) {
        return restoredName;
    }
    RestorationBuilder(engine.platform, engine.state.RestoreText).Run(*text);
    return std::nullopt;
}

}  // namespace

void AnalyseRegFile(Engine& engine, const std::string& directory, const std::string& fileName) {
    std::string name = fileName;
    while (std::optional<std::string> restoredName = AnalyseOnce(engine, directory, name)) {
        name = std::move(*restoredName);
    }
}

std::optional<std::string> CurrentRestorationText(Engine& engine, const std::string& directory,
                                                  const std::string& fileName) {
    std::optional<std::string> text = ReadFileText(engine, directory, fileName);
    if (!text) {
        return std::nullopt;
    }
    std::string restore;
    RestorationBuilder(engine.platform, restore).Run(*text);
    return restore;
}

}  // namespace claverix::engine
