#include "engine/Merge.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "engine/ImportCheck.h"
#include "engine/MergeRecord.h"
#include "engine/RegFileFormat.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"
#include "engine/RestorationGaps.h"

namespace claverix::engine {

using namespace platform;

namespace {

constexpr int kMaxRestorationFilesPerSecond = 1000;
// The lock every merge of the program takes, whichever road it comes by.
constexpr std::string_view kMergeLock = "Claverix.Merge";

// What the importer is given: a copy beside the restoration file, which
// goes once the import has ended. Not a ".reg" file: no list shows it.
std::string ImportCopyName(std::string_view restorationName) {
    return std::string(restorationName) + ".tmp";
}

std::string ViewName(RegistryView view) {
    return view == RegistryView::Bits32 ? "32 bits" : "64 bits";
}

// A UTF-8 file's text without the byte-order mark some editors put first.
std::string_view WithoutUtf8Mark(std::string_view bytes) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return bytes.starts_with(kMark) ? bytes.substr(kMark.size()) : bytes;
}

// Whether a file holds a merge's record: a restoration file written by a merge.
bool HoldsRecord(std::string_view text) {
    LineReader lines(text);
    for (std::string_view line; lines.Next(line);) {
        if (line.starts_with(kRecordPrefix)) {
            return true;
        }
    }
    return false;
}

// The merge of one file, from its lock to the check of what the importer did.
class MergeTransaction {
public:
    MergeTransaction(Engine& engine, const MergeRequest& request)
        : engine_(engine), platform_(engine.platform), request_(request), fileName_(request.fileName) {}

    MergeResult Run() {
        result_.outcome = RunLocked();
        result_.check = check_;
        if (restoration_) {
            result_.restorationPath = RestorationPath();
        }
        // Said once the lock has gone: nothing else waits on the user's answer.
        if (check_ && !check_->AllTook()) {
            ReportNotTaken();
        }
        return std::move(result_);
    }

private:
    MergeOutcome RunLocked() {
        std::unique_ptr<HeldLock> lock = TakeLock();
        if (!lock) {
            ShowMessage(platform_, "Claverix n'a pas pu attendre la fin d'une autre fusion : le fichier " +
                                       fileName_ + " n'est pas fusionné.");
            return MergeOutcome::Blocked;
        }
        std::optional<Analysis> snapshot = ReadSnapshot();
        if (!snapshot) {
            return MergeOutcome::Blocked;
        }
        Analysis& analysis = *snapshot;
        if (std::optional<MergeOutcome> refused = Refused(analysis)) {
            return *refused;
        }
        if (request_.offersRecordedName) {
            if (std::optional<std::string> restored =
                    OfferRecordedName(engine_, request_.directory, analysis)) {
                fileName_ = std::move(*restored);
            }
        }
        return Merge(analysis);
    }

    // Why the snapshot must not be merged, said to the user; nullopt when it may be.
    std::optional<MergeOutcome> Refused(Analysis& analysis) {
        if (request_.shownBytes && *request_.shownBytes != analysis.bytes) {
            ShowMessage(platform_, "Le fichier " + fileName_ +
                                       " a été modifié depuis son affichage : il n'est pas fusionné.");
            return MergeOutcome::FileChanged;
        }
        if (analysis.savedAsUtf8 && !SavedAsUtf16(analysis)) {
            return result_.declined ? MergeOutcome::Declined : MergeOutcome::Blocked;
        }
        if (!analysis.refusal.empty()) {
            ShowMessage(platform_, analysis.refusal);
            return MergeOutcome::Blocked;
        }
        // A restoration file puts back the view its merge wrote, and no other.
        RegistryView view = RecordedView(analysis.text.shown);
        if (HoldsRecord(analysis.text.shown) && view != platform_.registry.View()) {
            ShowMessage(platform_, "Le fichier " + fileName_ + " restaure la vue " + ViewName(view) +
                                       " du Registre ; cette fusion écrirait dans la vue " +
                                       ViewName(platform_.registry.View()) + ". Il n'est pas fusionné.");
            return MergeOutcome::Blocked;
        }
        return std::nullopt;
    }

    // Waits its turn behind any other merge of the program, saying so.
    std::unique_ptr<HeldLock> TakeLock() {
        if (std::unique_ptr<HeldLock> lock = platform_.locks.TryTake(kMergeLock)) {
            return lock;
        }
        std::unique_ptr<Notice> notice =
            platform_.prompt.ShowNotice("Une autre fusion est en cours. Le fichier " + fileName_ +
                                            " sera fusionné dès qu'elle sera terminée.",
                                        kAppTitle);
        return platform_.locks.Take(kMergeLock);
    }

    // The one reading of the file: everything the merge does comes from these bytes.
    std::optional<Analysis> ReadSnapshot() {
        std::optional<std::string> bytes = ReadRegFileBytes(platform_, Path());
        if (!bytes) {
            return std::nullopt;
        }
        return AnalyseBytes(fileName_, std::move(*bytes), engine_.startup.Signature, platform_.codec);
    }

    MergeOutcome Merge(const Analysis& analysis) {
        // Taken once: the question names the restoration file that will be written.
        now_ = platform_.environment.Now();
        sequence_ = FreeSequence();
        restorationName_ = RestorationFileName(now_, fileName_, sequence_);
        const FileMarks& marks = analysis.marks;
        isUndoFile_ = marks.IsUndoFile;
        bool savesRestoration =
            !(request_.honoursNoUndo && marks.IsSigned && marks.NoUndo && !marks.IsUndoFile);
        if (!AcceptsMerge(analysis) || !AcceptsSystemHive(analysis) || !AcceptsRestoringOver(analysis)) {
            return MergeOutcome::Declined;
        }
        // The registry as it is once every question has been answered: what
        // the importer is about to change. Keys it cannot read are named in
        // the question that follows.
        RestorationText before = CurrentRestoration(engine_, analysis, true);
        if (savesRestoration && (!before.uncoveredKeys.empty() || !before.notCarried.empty())) {
            if (!AcceptsGaps({before.uncoveredKeys, before.notCarried},
                             "\r\n\r\nVoulez-vous fusionner quand même ?")) {
                return MergeOutcome::Declined;
            }
            before = CurrentRestoration(engine_, analysis, true);  // as it is after the answer
        }
        if (request_.beforeImport) {
            request_.beforeImport(analysis);
        }
        if (savesRestoration &&
            !WriteRestorationFile(before, MergeRecordText(analysis.foreseen, platform_.registry.View()))) {
            return MergeOutcome::Blocked;
        }
        if (std::optional<MergeOutcome> failure = Import(analysis)) {
            RemoveRestorationFile();  // it would restore a merge that never happened
            return *failure;
        }
        check_ = CheckImport(platform_.registry, analysis.foreseen, kListedItems);
        if (restoration_) {
            RecordWhatTook(check_->record);
        }
        if (check_->AllTook()) {
            if (marks.IsUndoFile) {
                // A restoration file is used once; one that cannot go stays listed.
                static_cast<void>(platform_.files.Remove(Path()));
            }
            return MergeOutcome::AllTook;
        }
        return check_->NothingTook() ? MergeOutcome::NothingTook : MergeOutcome::PartlyTook;
    }

    // An unsigned file's question, which names the lines the importer will
    // pass over; true to go on. A signed file is the user's own: its key and
    // value lines passed over count as not taken, and are named after the import.
    bool AcceptsMerge(const Analysis& analysis) {
        if (analysis.marks.IsSigned) {
            return true;
        }
        std::string question =
            "Ce fichier n'est pas signé. Si vous validez son exécution, le fichier de\r\nrestauration " +
            restorationName_ + " va être créé dans\r\nle répertoire " +
            JoinPath(engine_.startup.ArchivePath, kRestorationFilesDirectoryNameAsAsked) + "\r\n";
        if (!analysis.foreseen.skipped.empty()) {
            question +=
                "L'éditeur du Registre ignorera ces lignes :" + SkippedLinesList(analysis.foreseen) + "\r\n";
        }
        question += "Voulez-vous poursuivre ?";
        if (request_.preview) {
            MoreButton preview{"A&perçu...", [&] { request_.preview(analysis); }};
            return Ask(MergeQuestion::UnsignedFile, question, PromptIcon::None, false, &preview);
        }
        return Ask(MergeQuestion::UnsignedFile, question, PromptIcon::None);
    }

    // Run as the local system account, a deployment agent's, the file's
    // HKEY_CURRENT_USER is that account's own hive, not a person's.
    bool AcceptsSystemHive(const Analysis& analysis) {
        result_.writesSystemHive =
            platform_.environment.RunsAsSystem() && WritesCurrentUser(analysis.foreseen);
        return !result_.writesSystemHive ||
               Ask(MergeQuestion::SystemHive,
                   "Claverix s'exécute sous le compte SYSTEM : HKEY_CURRENT_USER est la ruche de ce compte, "
                   "pas celle d'un utilisateur. Le fichier " +
                       fileName_ + " y écrirait.\r\n\r\nVoulez-vous le fusionner quand même ?",
                   PromptIcon::Exclamation, true);
    }

    // The importer reads a file without a UTF-16 byte-order mark in the code
    // page: saved as UTF-8, its characters beyond ASCII would arrive garbled.
    // Saved anew as UTF-16 first, at the user's word, the original kept in
    // the archive; true once the analysis is of the new bytes.
    bool SavedAsUtf16(Analysis& analysis) {
        std::string keptName = RestorationFileName(platform_.environment.Now(), fileName_, 1) + ".utf8";
        if (!Ask(MergeQuestion::Utf8File,
                 "Le fichier " + fileName_ +
                     " est enregistré en UTF-8 : l'éditeur du Registre le lirait dans la page de code du "
                     "système, et ses caractères accentués ou non latins arriveraient altérés.\r\n\r\n"
                     "Voulez-vous l'enregistrer en UTF-16 avant de le fusionner ? L'original est conservé "
                     "dans l'archive sous le nom " +
                     keptName + ".",
                 PromptIcon::Exclamation, false)) {
            return false;
        }
        std::string utf16 = std::string(kUtf16ByteOrderMark) +
                            EncodeFileText(WithoutUtf8Mark(analysis.bytes), TextEncoding::Utf16);
        const std::string_view original[] = {analysis.bytes};
        if (FileError error = platform_.files.Replace(JoinPath(RestorationDirectory(), keptName), original);
            error.Failed()) {
            ReportFileError(platform_, error, keptName);
            return false;
        }
        const std::string_view converted[] = {utf16};
        if (FileError error = platform_.files.Replace(Path(), converted); error.Failed()) {
            ReportFileError(platform_, error, fileName_);
            return false;
        }
        analysis = AnalyseBytes(fileName_, std::move(utf16), engine_.startup.Signature, platform_.codec);
        return true;
    }

    // Asks `question`, unless the caller has answered it: Yes in advance, or
    // No for a run without windows. A No that ends the merge is remembered.
    bool Ask(MergeQuestion question, const std::string& text, PromptIcon icon, bool defaultNo = false,
             const MoreButton* more = nullptr) {
        const PresetAnswers* answers = request_.answers;
        bool yes = false;
        if (answers && answers->yes.contains(question)) {
            yes = true;
        } else if (answers && answers->quiet) {
            platform_.prompt.Message(text, kQuestionTitle, icon);  // said, though nobody answers
        } else if (more) {
            yes = platform_.prompt.AskYesNo(text, kQuestionTitle, icon, *more);
        } else {
            yes = defaultNo ? platform_.prompt.AskYesNoDefaultNo(text, kQuestionTitle, icon)
                            : platform_.prompt.AskYesNo(text, kQuestionTitle, icon);
        }
        if (!yes && question != MergeQuestion::UndoNow) {
            result_.declined = question;
        }
        return yes;
    }

    // A restoration file undoes a merge by writing back what it saved: what
    // came after that merge would be lost unseen. What its key deletions would
    // remove beyond what that merge created, and what changed since, are
    // named first, No by default.
    bool AcceptsRestoringOver(const Analysis& analysis) {
        const std::string& text = analysis.text.shown;
        if (!analysis.marks.IsUndoFile && !HoldsRecord(text)) {
            return true;
        }
        RecordDrift created =
            CreatedSinceRecord(platform_.registry, platform_.codec, analysis.foreseen, text, kListedItems);
        if (created.count > 0 &&
            !AsksRisk(MergeQuestion::CreatedSince,
                      "Ces clés et valeurs ne font pas partie de ce que cette fusion a créé ; les "
                      "restaurer les supprimera :",
                      created, "Voulez-vous les supprimer quand même ?")) {
            return false;
        }
        RestorationGaps gaps = ReadRestorationGaps(text);
        if ((!gaps.uncovered.empty() || !gaps.notCarried.empty()) &&
            !AcceptsGaps(gaps,
                         "\r\n\r\nCe fichier de restauration ne remet donc pas tout en l'état. "
                         "Voulez-vous restaurer quand même ?")) {
            return false;
        }
        RecordDrift changed = ChangesSinceRecord(platform_.registry, text, kListedItems);
        return changed.count == 0 ||
               AsksRisk(MergeQuestion::ChangedSince,
                        "Ces valeurs ont été modifiées depuis cette fusion ; les restaurer écrasera ces "
                        "modifications :",
                        changed, "Voulez-vous restaurer quand même ?");
    }

    bool AsksRisk(MergeQuestion id, std::string question, const RecordDrift& drift, std::string_view ending) {
        AppendList(question, drift.first, drift.count);
        question.append("\r\n\r\n").append(ending);
        return Ask(id, question, PromptIcon::Exclamation, true);
    }

    // What a restoration will not set back: keys and values that could not be
    // read, and what a registry file cannot carry.
    bool AcceptsGaps(const RestorationGaps& gaps, std::string_view ending) {
        std::string question;
        if (!gaps.uncovered.empty()) {
            question =
                "Ces clés n'ont pas pu être lues : le fichier de restauration ne les couvrira "
                "pas, et annuler la fusion ne les remettra pas en l'état.";
            AppendFirst(question, gaps.uncovered);
        }
        if (!gaps.notCarried.empty()) {
            question.append(question.empty() ? "" : "\r\n\r\n")
                .append("Un fichier de restauration ne peut pas remettre en l'état :");
            AppendFirst(question, gaps.notCarried);
        }
        question += ending;
        return Ask(MergeQuestion::UncoveredKeys, question, PromptIcon::Exclamation, true);
    }

    static void AppendFirst(std::string& text, const std::vector<std::string>& items) {
        AppendList(text, {items.begin(), items.begin() + std::min(items.size(), kListedItems)}, items.size());
    }

    // The first restoration file name not taken yet in the archive.
    int FreeSequence() {
        int sequence = 1;
        while (sequence < kMaxRestorationFilesPerSecond &&
               platform_.files.Exists(
                   JoinPath(RestorationDirectory(), RestorationFileName(now_, fileName_, sequence)))) {
            ++sequence;
        }
        return sequence;
    }

    // Writes the restoration file, complete and flushed, under the first free
    // name from the one the question named on; false, after telling the user,
    // when it cannot.
    bool WriteRestorationFile(RestorationText& before, std::string_view record) {
        for (int sequence = sequence_;; ++sequence) {
            std::string name = RestorationFileName(now_, fileName_, sequence);
            FileError error = platform_.files.CreateNew(JoinPath(RestorationDirectory(), name),
                                                        AsPieces(RestorationFileBytes(name, before, record)));
            if (!error.Failed()) {
                restorationName_ = std::move(name);
                restoration_ = std::move(before);
                return true;
            }
            if (error.code != kFileExists || sequence >= kMaxRestorationFilesPerSecond) {
                ReportFileError(platform_, error, name);
                return false;
            }
        }
    }

    // The restoration file written again with the record of what the registry
    // holds now; one that cannot be keeps the record it was created with.
    void RecordWhatTook(std::string_view record) {
        static_cast<void>(platform_.files.Replace(
            RestorationPath(), AsPieces(RestorationFileBytes(restorationName_, *restoration_, record))));
    }

    void RemoveRestorationFile() {
        if (restoration_) {
            // One that cannot go puts back what the registry still holds.
            static_cast<void>(platform_.files.Remove(RestorationPath()));
        }
    }

    // The restoration file's bytes: in a version 5 file the head and the text
    // are UTF-16 after a byte-order mark. The record is ASCII.
    std::vector<std::string> RestorationFileBytes(std::string_view name, const RestorationText& restoration,
                                                  std::string_view record) {
        TextEncoding encoding = restoration.encoding;
        TextCodec& codec = platform_.codec;
        // The restoration's form holds both exactly (see CurrentRestoration).
        std::string head = RestorationFileHead(
            encoding, ConvertText(engine_.startup.Signature, TextEncoding::Utf16, encoding, codec),
            ConvertText(name, TextEncoding::Utf16, encoding, codec));
        // After the record, what the restoration does not set back.
        std::string tail =
            std::string(record) + RestorationGapsText({restoration.uncoveredKeys, restoration.notCarried});
        if (encoding == TextEncoding::Ansi) {
            return {std::move(head), restoration.text, std::string(kCrLf), std::move(tail)};
        }
        return {std::string(kUtf16ByteOrderMark), EncodeFileText(head, encoding),
                EncodeFileText(restoration.text, encoding), EncodeFileText(kCrLf, encoding),
                EncodeFileText(tail, encoding)};
    }

    static std::vector<std::string_view> AsPieces(const std::vector<std::string>& bytes) {
        return {bytes.begin(), bytes.end()};
    }

    // Hands the importer a copy of the bytes analysed and asked about, and
    // waits for it: an edit saved meanwhile in the file is never imported
    // unseen. Nullopt once the importer has ended; what went wrong otherwise.
    std::optional<MergeOutcome> Import(const Analysis& analysis) {
        std::string copyPath = JoinPath(RestorationDirectory(), ImportCopyName(restorationName_));
        const std::string_view copy[] = {analysis.bytes};
        if (FileError error = platform_.files.Replace(copyPath, copy); error.Failed()) {
            ReportFileError(platform_, error, ImportCopyName(restorationName_));
            return MergeOutcome::Blocked;
        }
        ProcessStart importer =
            platform_.processes.StartMinimized(ImporterPath(platform_.environment, platform_.registry.View()),
                                               "regedit /s \"" + copyPath + "\"");
        if (importer.status == ProcessStart::Status::Started) {
            // Whatever the wait says, what the registry holds now is what the user has.
            importer.process->WaitForExit();
        }
        // A copy that cannot go is a stray ".tmp" file, which no list shows.
        static_cast<void>(platform_.files.Remove(copyPath));
        switch (importer.status) {
            case ProcessStart::Status::Started:
                return std::nullopt;
            case ProcessStart::Status::ElevationRefused:
                ShowMessage(platform_,
                            "Le fichier " + fileName_ +
                                " n'a pas été importé : l'éditeur du Registre demandait les droits "
                                "d'administrateur, qui lui ont été refusés.");
                return MergeOutcome::ElevationRefused;
            case ProcessStart::Status::Failed:
                break;
        }
        ShowMessage(platform_, "Une anomalie s'est produite lors de la fusion du fichier " + fileName_);
        return MergeOutcome::NotStarted;
    }

    void ReportNotTaken() {
        const ImportCheck& check = *check_;
        std::string text =
            "Le fichier " + fileName_ +
            (check.NothingTook() ? " n'a pas été importé : " : " n'a été importé qu'en partie : ") +
            Counted(check.keysMissed, "clé", "clés") + " et " +
            Counted(check.valuesMissed, "valeur", "valeurs") + " ne sont pas comme il le demande.";
        AppendList(text, check.firstMissed, check.keysMissed + check.valuesMissed);
        if (isUndoFile_) {
            text += "\r\n\r\nLe fichier de restauration est conservé.";
        }
        if (!restoration_) {
            ShowMessage(platform_, text);
            return;
        }
        text +=
            "\r\n\r\nVoulez-vous annuler cette fusion maintenant, en fusionnant son fichier de "
            "restauration " +
            restorationName_ + " ?";
        if (Ask(MergeQuestion::UndoNow, text, PromptIcon::Exclamation)) {
            // The safe merge of the restoration file just written, as the user would merge it.
            MergeRequest undo{RestorationDirectory(), restorationName_};
            undo.answers = request_.answers;
            MergeRegFile(engine_, undo);
        }
    }

    std::string Path() const { return JoinPath(request_.directory, fileName_); }
    std::string RestorationDirectory() const {
        return RestorationFilesDirectory(engine_.startup.ArchivePath);
    }
    std::string RestorationPath() const { return JoinPath(RestorationDirectory(), restorationName_); }

    Engine& engine_;
    Platform& platform_;
    const MergeRequest& request_;
    std::string fileName_;
    std::string restorationName_;
    std::optional<RestorationText> restoration_;  // once written
    std::optional<ImportCheck> check_;            // once the importer has ended
    MergeResult result_;
    LocalTime now_;
    int sequence_ = 1;
    bool isUndoFile_ = false;
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

MergeResult MergeRegFile(Engine& engine, const MergeRequest& request) {
    return MergeTransaction(engine, request).Run();
}

std::string ImporterPath(Environment& environment, RegistryView view) {
    std::string windows = environment.WindowsDirectory();
    return JoinPath(view == RegistryView::Bits32 ? JoinPath(windows, "SysWOW64") : windows, "regedit.exe");
}

}  // namespace claverix::engine
