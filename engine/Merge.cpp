#include "engine/Merge.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "engine/Analysis.h"
#include "engine/ForeseenImport.h"
#include "engine/ImportCheck.h"
#include "engine/MergeRecord.h"
#include "engine/RegFileFormat.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"

namespace claverix::engine {

using namespace platform;

namespace {

constexpr int kMaxRestorationFilesPerSecond = 1000;
// How many keys or values a message names before it counts the rest.
constexpr std::size_t kListedItems = 10;

std::string RestorationDirectory(const Engine& engine) {
    return RestorationFilesDirectory(engine.startup.ArchivePath);
}

// The first restoration file name not taken yet in the archive.
int FreeSequence(Engine& engine, const LocalTime& time, std::string_view fileName) {
    std::string directory = RestorationDirectory(engine);
    int sequence = 1;
    while (sequence < kMaxRestorationFilesPerSecond &&
           engine.platform.files.Exists(JoinPath(directory, RestorationFileName(time, fileName, sequence)))) {
        ++sequence;
    }
    return sequence;
}

// "1 clé", "2 clés": French takes the singular for 0 and 1.
std::string Counted(std::size_t count, std::string_view singular, std::string_view plural) {
    return std::to_string(count) + " " + std::string(count > 1 ? plural : singular);
}

// A key path may run to thousands of characters, which no message box
// shows: a long item keeps its start, and its end, which says what became
// of it, around an ellipsis. UTF-8 characters are kept whole.
std::string ShortenedForAList(std::string_view item) {
    constexpr std::size_t kLongest = 160;
    constexpr std::size_t kHead = 60;
    if (item.size() <= kLongest) {
        return std::string(item);
    }
    auto isContinuation = [&](std::size_t at) {
        return (static_cast<unsigned char>(item[at]) & 0xC0) == 0x80;
    };
    std::size_t headEnd = kHead;
    while (isContinuation(headEnd)) {
        --headEnd;
    }
    std::size_t tailStart = item.size() - (kLongest - kHead);
    while (isContinuation(tailStart)) {
        ++tailStart;
    }
    return std::string(item.substr(0, headEnd)) + "\u2026" + std::string(item.substr(tailStart));
}

// One indented line for each of `first`, and how many more there are.
void AppendList(std::string& text, const std::vector<std::string>& first, std::size_t count) {
    for (const std::string& item : first) {
        text.append("\r\n    ").append(ShortenedForAList(item));
    }
    if (count > first.size()) {
        text.append("\r\n    et ").append(Counted(count - first.size(), "autre", "autres"));
    }
}

// The restoration file's bytes: in a version 5 file the head and the text
// are UTF-16 after a byte-order mark. The record is ASCII.
std::vector<std::string> RestorationFilePieces(Engine& engine, std::string_view name,
                                               const RestorationText& restoration, std::string_view record) {
    TextEncoding encoding = restoration.encoding;
    TextCodec& codec = engine.platform.codec;
    std::string head = RestorationFileHead(
        encoding, ConvertText(engine.startup.Signature, TextEncoding::Utf16, encoding, codec),
        ConvertText(name, TextEncoding::Utf16, encoding, codec));
    if (encoding == TextEncoding::Ansi) {
        return {std::move(head), restoration.text, std::string(kCrLf), std::string(record)};
    }
    return {std::string(kUtf16ByteOrderMark), EncodeFileText(head, encoding),
            EncodeFileText(restoration.text, encoding), EncodeFileText(kCrLf, encoding),
            EncodeFileText(record, encoding)};
}

// The merge of one file, from its questions to the check of what the importer did.
class Merger {
public:
    Merger(Engine& engine, const std::string& directory, const std::string& fileName,
           const RestorationText& restoration, const ShowPreview& preview)
        : engine_(engine),
          platform_(engine.platform),
          directory_(directory),
          fileName_(fileName),
          restoration_(restoration),
          preview_(preview) {}

    // Set for the merge of a restoration file just written: nothing can have changed since.
    void SkipRecordComparison() { compareRecord_ = false; }

    MergeOutcome Run() {
        const EngineState& state = engine_.state;
        if (state.ImportBlocked) {
            return MergeOutcome::Blocked;  // the analysis has told the user why
        }
        std::optional<FileText> text = ReadRegFileText(platform_, JoinPath(directory_, fileName_));
        if (!text) {
            return MergeOutcome::Blocked;
        }
        ForeseenImport foreseen = ForeseeImport(*text, platform_.codec);
        LocalTime now = platform_.environment.Now();
        int sequence = FreeSequence(engine_, now, fileName_);
        bool savesRestoration = !(state.IsSigned && state.NoUndo);
        if ((!state.IsSigned && !AcceptsUnsignedMerge(RestorationFileName(now, fileName_, sequence))) ||
            (savesRestoration && !AcceptsUncoveredKeys()) ||
            (compareRecord_ && !AcceptsChangesSince(text->shown))) {
            return MergeOutcome::Declined;
        }
        std::optional<std::string> restorationName;
        if (savesRestoration) {
            restorationName = WriteRestorationFile(now, sequence, MergeRecordText(foreseen));
            if (!restorationName) {
                return MergeOutcome::Blocked;
            }
        }
        return Import(foreseen, restorationName);
    }

private:
    bool AcceptsUnsignedMerge(std::string_view restorationName) {
        std::string question =
            "Ce fichier n'est pas signé. Si vous validez son exécution, le fichier de\r\nrestauration " +
            std::string(restorationName) + " va être créé dans\r\nle répertoire " +
            JoinPath(engine_.startup.ArchivePath, kRestorationFilesDirectoryNameAsAsked) +
            "\r\nVoulez-vous poursuivre ?";
        if (preview_) {
            return platform_.prompt.AskYesNo(question, kQuestionTitle, PromptIcon::None,
                                             MoreButton{"A&perçu...", preview_});
        }
        return platform_.prompt.AskYesNo(question, kQuestionTitle, PromptIcon::None);
    }

    bool AcceptsUncoveredKeys() {
        const std::vector<std::string>& keys = restoration_.uncoveredKeys;
        if (keys.empty()) {
            return true;
        }
        std::string question =
            "Ces clés n'ont pas pu être lues : le fichier de restauration ne les couvrira "
            "pas, et annuler la fusion ne les remettra pas en l'état.";
        AppendList(question, {keys.begin(), keys.begin() + std::min(keys.size(), kListedItems)}, keys.size());
        question += "\r\n\r\nVoulez-vous fusionner quand même ?";
        return platform_.prompt.AskYesNoDefaultNo(question, kQuestionTitle, PromptIcon::Exclamation);
    }

    // A restoration file's record against the registry now: restoring
    // overwrites whatever was changed since its merge.
    bool AcceptsChangesSince(std::string_view fileText) {
        RecordDrift drift = ChangesSinceRecord(platform_.registry, fileText, kListedItems);
        if (drift.count == 0) {
            return true;
        }
        std::string question =
            "Ces valeurs ont été modifiées depuis cette fusion ; les restaurer écrasera ces "
            "modifications :";
        AppendList(question, drift.first, drift.count);
        question += "\r\n\r\nVoulez-vous restaurer quand même ?";
        return platform_.prompt.AskYesNoDefaultNo(question, kQuestionTitle, PromptIcon::Exclamation);
    }

    // Writes the restoration file, complete and flushed, under the first
    // free name from `sequence` on, and returns that name. Nullopt, after
    // telling the user, when it cannot.
    std::optional<std::string> WriteRestorationFile(const LocalTime& time, int sequence,
                                                    std::string_view record) {
        std::string directory = RestorationDirectory(engine_);
        for (;; ++sequence) {
            std::string name = RestorationFileName(time, fileName_, sequence);
            std::vector<std::string> bytes = RestorationFilePieces(engine_, name, restoration_, record);
            const std::vector<std::string_view> pieces(bytes.begin(), bytes.end());
            FileError error = platform_.files.CreateNew(JoinPath(directory, name), pieces);
            if (!error) {
                return name;
            }
            if (error.code != kFileExists || sequence >= kMaxRestorationFilesPerSecond) {
                ReportFileError(platform_, error, name);
                return std::nullopt;
            }
        }
    }

    MergeOutcome Import(const ForeseenImport& foreseen, const std::optional<std::string>& restorationName) {
        std::string mergedPath = JoinPath(directory_, fileName_);
        const std::string& shownName = fileName_;
        ProcessStart importer = platform_.processes.StartMinimized(
            JoinPath(platform_.environment.WindowsDirectory(), "regedit.exe"),
            "regedit /s \"" + mergedPath + "\"");
        switch (importer.status) {
            case ProcessStart::Status::Started:
                break;
            case ProcessStart::Status::ElevationRefused:
                ShowMessage(platform_,
                            "Le fichier " + shownName +
                                " n'a pas été importé : l'éditeur du Registre demandait les droits "
                                "d'administrateur, qui lui ont été refusés.");
                return MergeOutcome::ElevationRefused;
            case ProcessStart::Status::Failed:
                ShowMessage(platform_,
                            "Une anomalie s'est produite lors de la fusion du fichier " + shownName);
                return MergeOutcome::NotStarted;
        }
        // Whatever the wait says, what the registry holds now is what the user has.
        importer.process->WaitForExit();
        ImportCheck check = CheckImport(platform_.registry, foreseen, kListedItems);
        if (check.AllTook()) {
            // A restoration file is used once; it goes only when all of it took.
            if (engine_.state.IsUndoFile) {
                platform_.files.Remove(mergedPath);
            }
            return MergeOutcome::AllTook;
        }
        ReportNotTaken(check, shownName, restorationName);
        return check.NothingTook() ? MergeOutcome::NothingTook : MergeOutcome::PartlyTook;
    }

    void ReportNotTaken(const ImportCheck& check, const std::string& shownName,
                        const std::optional<std::string>& restorationName) {
        std::string text =
            "Le fichier " + shownName +
            (check.NothingTook() ? " n'a pas été importé : " : " n'a été importé qu'en partie : ") +
            Counted(check.keysMissed, "clé", "clés") + " et " +
            Counted(check.valuesMissed, "valeur", "valeurs") + " ne sont pas comme il le demande.";
        AppendList(text, check.firstMissed, check.keysMissed + check.valuesMissed);
        if (engine_.state.IsUndoFile) {
            text += "\r\n\r\nLe fichier de restauration est conservé.";
        }
        if (!restorationName) {
            ShowMessage(platform_, text);
            return;
        }
        text +=
            "\r\n\r\nVoulez-vous annuler cette fusion maintenant, en fusionnant son fichier de "
            "restauration " +
            *restorationName + " ?";
        if (platform_.prompt.AskYesNo(text, kQuestionTitle, PromptIcon::Exclamation)) {
            Undo(*restorationName);
        }
    }

    // The safe merge of the restoration file just written, as the user would merge it.
    void Undo(const std::string& restorationName) {
        Engine undo{platform_, engine_.startup, {}};
        std::string directory = RestorationDirectory(engine_);
        AnalyseRegFile(undo, directory, restorationName);
        const EngineState& state = undo.state;
        RestorationText restoration{state.RestoreEncoding, state.RestoreText, state.UncoveredKeys};
        ShowPreview noPreview;
        Merger merger(undo, directory, state.FileName, restoration, noPreview);
        merger.SkipRecordComparison();
        merger.Run();
    }

    Engine& engine_;
    Platform& platform_;
    const std::string& directory_;
    const std::string& fileName_;
    const RestorationText& restoration_;
    const ShowPreview& preview_;
    bool compareRecord_ = true;
};

}  // namespace

std::string RestorationFileName(const LocalTime& time, std::string_view mergedFileName, int sequence) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    std::string name(stamp);
    if (sequence <= 1) {
        return name.append(mergedFileName);
    }
    auto dot = mergedFileName.rfind('.');
    std::string_view stem = mergedFileName.substr(0, dot);
    std::string_view extension =
        dot == std::string_view::npos ? std::string_view{} : mergedFileName.substr(dot);
    return name.append(stem).append(" (").append(std::to_string(sequence)).append(")").append(extension);
}

MergeOutcome MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName,
                          const ShowPreview& preview) {
    const EngineState& state = engine.state;
    return MergeRegFile(engine, directory, fileName,
                        RestorationText{state.RestoreEncoding, state.RestoreText, state.UncoveredKeys},
                        preview);
}

MergeOutcome MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName,
                          const RestorationText& restoration, const ShowPreview& preview) {
    return Merger(engine, directory, fileName, restoration, preview).Run();
}

}  // namespace claverix::engine
