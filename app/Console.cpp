#include "app/Console.h"

#include <algorithm>
#include <map>

#include "app/Settings.h"
#include "app/Startup.h"
#include "engine/Analysis.h"
#include "engine/ImportCheck.h"
#include "engine/MergeRecord.h"
#include "engine/Reporting.h"
#include "platform/Paths.h"

namespace claverix::app {

using engine::MergeOutcome;
using engine::MergeQuestion;
using platform::RegistryView;

namespace {

// The flags that answer a question Yes, each by its name.
const std::map<std::string_view, MergeQuestion, std::less<>> kAnsweringFlags = {
    {"yes", MergeQuestion::UnsignedFile},
    {"allow-uncovered", MergeQuestion::UncoveredKeys},
    {"allow-overwrite", MergeQuestion::ChangedSince},
    {"allow-delete", MergeQuestion::CreatedSince},
    {"allow-system-hkcu", MergeQuestion::SystemHive},
    {"convert-utf8", MergeQuestion::Utf8File},
};

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lowered;
}

void SetAction(ConsoleCommand& command, ConsoleAction action, std::string_view flag) {
    if (command.action != ConsoleAction::Merge && command.action != action) {
        command.errors.push_back("L'option /" + std::string(flag) + " ne se combine pas avec la précédente.");
    }
    command.action = action;
}

// One switch, without its "/" or "-": a name, and after a colon its value.
void ReadSwitch(ConsoleCommand& command, std::string_view argument) {
    std::size_t colon = argument.find(':');
    std::string name = Lowered(argument.substr(0, colon));
    std::string_view value =
        colon == std::string_view::npos ? std::string_view{} : argument.substr(colon + 1);
    bool hasValue = colon != std::string_view::npos;
    auto answering = kAnsweringFlags.find(name);
    if (answering != kAnsweringFlags.end() && !hasValue) {
        command.answers.yes.insert(answering->second);
    } else if ((name == "?" || name == "h") && !hasValue) {
        SetAction(command, ConsoleAction::Help, name);
    } else if (name == "whatif" && !hasValue) {
        SetAction(command, ConsoleAction::WhatIf, name);
    } else if (name == "verify" && !hasValue) {
        SetAction(command, ConsoleAction::Verify, name);
    } else if (name == "undo" && (!hasValue || Lowered(value) == "last")) {
        SetAction(command, ConsoleAction::Undo, name);
        command.undoLast = hasValue;
    } else if (name == "quiet" && !hasValue) {
        command.answers.quiet = true;
    } else if (name == "keep-partial" && !hasValue) {
        command.keepPartial = true;
    } else if (name == "json" && !hasValue) {
        command.json = true;
    } else if (name == "log" && !value.empty()) {
        command.logPath = std::string(value);
    } else if (name == "logformat" && (Lowered(value) == "cmtrace" || Lowered(value) == "plain")) {
        command.logFormat = Lowered(value) == "cmtrace" ? LogFormat::CmTrace : LogFormat::Plain;
    } else if (name == "archive" && !value.empty()) {
        command.archive = std::string(value);
    } else if (name == "reg" && (value == "32" || value == "64")) {
        command.view = value == "32" ? RegistryView::Bits32 : RegistryView::Bits64;
    } else {
        command.errors.push_back("Option non reconnue : /" + std::string(argument) + ". Voir claverix /?.");
    }
}

void CheckFileCount(ConsoleCommand& command) {
    std::size_t count = command.files.size();
    switch (command.action) {
        case ConsoleAction::Help:
            return;
        case ConsoleAction::Undo:
            if (count != (command.undoLast ? 0u : 1u)) {
                command.errors.push_back(command.undoLast ? "/undo:last ne prend aucun fichier."
                                                          : "/undo prend un seul fichier de restauration.");
            }
            return;
        case ConsoleAction::Merge:
        case ConsoleAction::WhatIf:
        case ConsoleAction::Verify:
            if (count == 0) {
                command.errors.push_back("Aucun fichier n'est nommé. Voir claverix /?.");
            }
            return;
    }
}

// `path` whole: a path of the current directory's made absolute.
std::string WholePath(std::string_view path, std::string_view currentDirectory) {
    bool absolute = path.starts_with("\\\\") || (path.size() >= 2 && path[1] == ':');
    return absolute ? std::string(path) : engine::JoinPath(currentDirectory, path);
}

// The English words of a report.
std::string_view OutcomeWord(MergeOutcome outcome) {
    switch (outcome) {
        case MergeOutcome::Declined:
            return "declined";
        case MergeOutcome::Blocked:
            return "blocked";
        case MergeOutcome::FileChanged:
            return "file-changed";
        case MergeOutcome::NotStarted:
            return "not-started";
        case MergeOutcome::ElevationRefused:
            return "elevation-refused";
        case MergeOutcome::AllTook:
            return "all-took";
        case MergeOutcome::PartlyTook:
            return "partly-took";
        case MergeOutcome::NothingTook:
            break;
    }
    return "nothing-took";
}

std::string_view QuestionWord(MergeQuestion question) {
    switch (question) {
        case MergeQuestion::UnsignedFile:
            return "unsigned-file";
        case MergeQuestion::Utf8File:
            return "utf8-file";
        case MergeQuestion::SystemHive:
            return "system-hive";
        case MergeQuestion::ChangedSince:
            return "changed-since";
        case MergeQuestion::CreatedSince:
            return "created-since";
        case MergeQuestion::UncoveredKeys:
            return "uncovered-keys";
        case MergeQuestion::UndoNow:
            break;
    }
    return "undo-now";
}

std::string AnsweringFlag(MergeQuestion question) {
    for (const auto& [flag, answered] : kAnsweringFlags) {
        if (answered == question) {
            return "/" + std::string(flag);
        }
    }
    return {};
}

// What the program says while it works on a file goes into that file's
// report; without windows, a question is answered No. A wait is said at once.
class ConsolePrompt final : public platform::Prompt {
public:
    ConsolePrompt(platform::Prompt* windows, ConsoleOutput& output) : windows_(windows), output_(output) {}

    // Where the messages about the file being worked on go.
    void RecordInto(std::vector<std::string>* messages) { messages_ = messages; }

    void Message(std::string_view text, std::string_view title, platform::PromptIcon icon) override {
        Record(text);
        if (windows_) {
            windows_->Message(text, title, icon);
        }
    }
    bool AskYesNo(std::string_view text, std::string_view title, platform::PromptIcon icon) override {
        return windows_ ? windows_->AskYesNo(text, title, icon) : Unanswered(text);
    }
    bool AskYesNo(std::string_view text, std::string_view title, platform::PromptIcon icon,
                  const platform::MoreButton& more) override {
        return windows_ ? windows_->AskYesNo(text, title, icon, more) : Unanswered(text);
    }
    bool AskYesNoDefaultNo(std::string_view text, std::string_view title,
                           platform::PromptIcon icon) override {
        return windows_ ? windows_->AskYesNoDefaultNo(text, title, icon) : Unanswered(text);
    }
    platform::Answer AskYesNoCancel(std::string_view text, std::string_view title,
                                    platform::PromptIcon icon) override {
        return windows_ ? windows_->AskYesNoCancel(text, title, icon)
                        : (Unanswered(text), platform::Answer::Cancel);
    }
    std::optional<std::string> AskText(std::string_view text, std::string_view title,
                                       std::string_view initialValue) override {
        return windows_ ? windows_->AskText(text, title, initialValue) : (Unanswered(text), std::nullopt);
    }
    std::unique_ptr<platform::Notice> ShowNotice(std::string_view text, std::string_view title) override {
        output_.Err(std::string(text) + "\r\n");
        return windows_ ? windows_->ShowNotice(text, title) : std::make_unique<platform::Notice>();
    }

private:
    // Said with the file's report, once the run has ended.
    void Record(std::string_view text) {
        if (messages_) {
            messages_->emplace_back(text);
        }
    }

    bool Unanswered(std::string_view text) {
        Record(text);
        return false;
    }

    platform::Prompt* windows_;
    ConsoleOutput& output_;
    std::vector<std::string>* messages_ = nullptr;
};

// The newest restoration file of `directory`: the latest date and time in
// its name; within one second (merges of several files, or " (n)" of one),
// the one written last, else the highest " (n)".
std::optional<std::string> NewestRestorationFile(platform::FileSystem& files, const std::string& directory) {
    std::optional<std::vector<std::string>> names = files.ListFiles(directory, ".reg");
    auto stamp = [](const std::string& name) { return std::string_view(name).substr(0, 15); };
    auto withinSecond = [&](const std::string& name) {
        std::size_t open = name.rfind(" (");
        int sequence = open == std::string::npos ? 1 : std::atoi(name.c_str() + open + 2);
        return std::pair{files.LastWritten(platform::JoinPath(directory, name)).value_or(0), sequence};
    };
    std::optional<std::string> newest;
    for (const std::string& name : names.value_or(std::vector<std::string>{})) {
        if (name.size() <= 16 || name[8] != '-' || name[15] != '-') {
            continue;
        }
        if (!newest || stamp(*newest) < stamp(name) ||
            (stamp(*newest) == stamp(name) && withinSecond(*newest) < withinSecond(name))) {
            newest = name;
        }
    }
    return newest;
}

// One run of the console command: its settings, its files, its report.
class ConsoleRun {
public:
    ConsoleRun(platform::Platform& platform, const ConsoleCommand& command, ConsoleOutput& output)
        : prompt_(command.answers.quiet ? nullptr : &platform.prompt, output),
          platform_{platform.registry,    platform.profile, platform.files, platform.processes,
                    platform.environment, prompt_,          platform.codec, platform.locks},
          command_(command),
          output_(output) {}

    RunReport Run() && {
        platform::Environment& environment = platform_.environment;
        report_.action = command_.action;
        report_.started = environment.Now();
        report_.computer = environment.ComputerName();
        report_.user = environment.UserName();
        report_.runsAsSystem = environment.RunsAsSystem();
        report_.registryView = platform_.registry.View() == RegistryView::Bits32 ? 32 : 64;
        if (!command_.errors.empty()) {
            report_.errors = command_.errors;
            report_.exitCode = kExitBadCommandLine;
        } else if (command_.action == ConsoleAction::Help) {
            output_.Out(HelpText());
            return std::move(report_);
        } else if (TakeSettings()) {
            RunAction();
            report_.exitCode = report_.exitCode != 0 ? report_.exitCode : RunExitCode();
        }
        Write();
        return std::move(report_);
    }

private:
    // The archive and the signature; false, the run's error said, when no
    // archive can take the restoration files.
    bool TakeSettings() {
        std::string executable = platform_.environment.ExecutablePath();
        std::string iniFile = IniFilePath(executable);
        std::string signature = ReadSignature(platform_.profile, iniFile);
        std::string archive =
            command_.archive
                ? platform_.environment.ExpandVariables(*command_.archive)
                : ReadArchivePath(platform_.profile, iniFile, ExecutableDirectory(executable)).directory;
        // A stored "?" is no signature: every file is unsigned.
        engine_.emplace(
            engine::Engine{platform_, {iniFile, archive, signature == kNoSignature ? "" : signature}});
        report_.archive = archive;
        bool writes = command_.action == ConsoleAction::Merge || command_.action == ConsoleAction::Undo;
        if (writes && !MakeDirectories(engine::RestorationFilesDirectory(archive))) {
            report_.errors.push_back("Les fichiers de restauration ne peuvent pas être écrits dans " +
                                     engine::RestorationFilesDirectory(archive) + ".");
            report_.exitCode = static_cast<int>(ExitCode::Blocked);
            return false;
        }
        return true;
    }

    // Creates `directory` and those above it that are missing.
    bool MakeDirectories(const std::string& directory) {
        platform::FileSystem& files = platform_.files;
        if (files.IsDirectory(directory)) {
            return true;
        }
        std::string_view parent = platform::DirectoryOf(directory);
        if (parent.size() > 2 && !MakeDirectories(std::string(parent))) {
            return false;
        }
        platform::FileError error = files.MakeDirectory(directory);
        return !error.Failed() || error.code == platform::kAlreadyExists;
    }

    void RunAction() {
        std::string current = platform_.files.CurrentDirectory();
        std::vector<std::string> paths;
        for (const std::string& file : command_.files) {
            paths.push_back(WholePath(file, current));
        }
        switch (command_.action) {
            case ConsoleAction::Merge:
                return MergeAll(paths);
            case ConsoleAction::Undo:
                return Undo(paths);
            case ConsoleAction::WhatIf:
            case ConsoleAction::Verify:
                for (const std::string& path : paths) {
                    Read(path);
                }
                return;
            case ConsoleAction::Help:
                return;
        }
    }

    // Each file its own transaction; when one does not wholly take, those
    // merged before it are undone, newest first, unless the run keeps them.
    void MergeAll(const std::vector<std::string>& paths) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            FileReport& file = Merge(paths[i]);
            if (file.exitCode != 0 && !command_.keepPartial) {
                UndoMerged();
                for (std::size_t rest = i + 1; rest < paths.size(); ++rest) {
                    FileReport& notRun = report_.files.emplace_back();
                    notRun.path = paths[rest];
                    notRun.outcome = "not-run";
                }
                return;
            }
        }
    }

    void UndoMerged() {
        for (auto file = report_.files.rbegin(); file != report_.files.rend(); ++file) {
            if (!file->restorationPath.empty() && platform_.files.Exists(file->restorationPath)) {
                std::string restoration = file->restorationPath;
                engine::MergeResult undone =
                    engine::MergeRegFile(*engine_, Request(restoration, file->messages));
                file->outcome = undone.outcome == MergeOutcome::AllTook ? "undone" : "undo-failed";
            }
        }
    }

    void Undo(const std::vector<std::string>& paths) {
        std::string restorations = engine::RestorationFilesDirectory(engine_->startup.ArchivePath);
        std::optional<std::string> path = paths.empty() ? NewestRestorationFile(platform_.files, restorations)
                                                        : std::optional<std::string>(paths[0]);
        if (!path) {
            report_.errors.push_back("L'archive " + restorations +
                                     " ne contient aucun fichier de restauration.");
            report_.exitCode = static_cast<int>(ExitCode::Blocked);
            return;
        }
        Merge(paths.empty() ? engine::JoinPath(restorations, *path) : *path);
    }

    FileReport& Merge(const std::string& path) {
        FileReport& file = report_.files.emplace_back();
        file.path = path;
        engine::MergeRequest request = Request(path, file.messages);
        request.beforeImport = [&](const engine::Analysis& analysis) { Describe(analysis, file); };
        engine::MergeResult result = engine::MergeRegFile(*engine_, request);
        prompt_.RecordInto(nullptr);
        file.outcome = OutcomeWord(result.outcome);
        file.exitCode = static_cast<int>(ExitCodeOf(result.outcome));
        file.restorationPath = result.restorationPath;
        if (result.declined) {
            file.declinedQuestion = std::string(QuestionWord(*result.declined));
            file.answeringFlag = AnsweringFlag(*result.declined);
        }
        if (result.writesSystemHive) {
            AddWarning(file, "system-hive");
        }
        if (result.check) {
            TakeCounts(*result.check, file);
        }
        return file;
    }

    engine::MergeRequest Request(std::string_view path, std::vector<std::string>& messages) {
        prompt_.RecordInto(&messages);
        engine::MergeRequest request{std::string(platform::DirectoryOf(path)),
                                     std::string(platform::NameOf(path))};
        request.answers = &command_.answers;
        return request;
    }

    // /whatif and /verify: the file read once, the registry only read.
    void Read(const std::string& path) {
        FileReport& file = report_.files.emplace_back();
        file.path = path;
        prompt_.RecordInto(&file.messages);
        std::optional<std::string> bytes = engine::ReadRegFileBytes(platform_, path);
        std::optional<engine::Analysis> analysis;
        if (bytes) {
            analysis = engine::AnalyseBytes(std::string(platform::NameOf(path)), std::move(*bytes),
                                            engine_->startup.Signature, platform_.codec);
            if (!analysis->refusal.empty()) {
                file.messages.push_back(analysis->refusal);
            }
        }
        bool importable = analysis && analysis->refusal.empty();
        if (analysis) {
            Describe(*analysis, file);
        }
        if (command_.action == ConsoleAction::WhatIf) {
            bool pending = std::any_of(file.rows.begin(), file.rows.end(), [](const PreviewRow& row) {
                return row.change != Change::Unchanged && row.change != Change::Skipped;
            });
            file.outcome = !importable ? "refused" : pending ? "changes-pending" : "no-change";
            file.exitCode = !importable ? static_cast<int>(ExitCode::Blocked)
                            : pending   ? kExitChangesPending
                                        : 0;
        } else {
            bool applied = false;
            if (importable) {
                engine::ImportCheck check =
                    engine::CheckImport(platform_.registry, analysis->foreseen, engine::kListedItems);
                TakeCounts(check, file);
                applied = check.AllTook();
            }
            file.outcome = applied ? "applied" : "not-applied";
            file.exitCode = applied ? 0 : kExitNotApplied;
        }
        prompt_.RecordInto(nullptr);
    }

    // The run's exit code: the first file's that did not end well; for
    // /whatif, a file that cannot be imported says more than one that would change.
    int RunExitCode() const {
        int code = 0;
        for (const FileReport& file : report_.files) {
            if (code == 0 || code == kExitChangesPending) {
                code = file.exitCode != 0 ? file.exitCode : code;
            }
        }
        return code;
    }

    // The preview's rows and what the run should say of the file. /verify
    // goes without the rows: its check reads the registry once already.
    void Describe(const engine::Analysis& analysis, FileReport& file) {
        if (command_.action != ConsoleAction::Verify) {
            file.rows = BuildPreview(platform_.registry, analysis.foreseen);
        }
        for (const engine::SkippedLine& skipped : analysis.foreseen.skipped) {
            file.skipped.push_back({skipped.line, std::string(skipped.reason)});
        }
        if (analysis.savedAsUtf8) {
            AddWarning(file, "utf8-file");
        }
        const std::vector<engine::ForeseenKey>& keys = analysis.foreseen.keys;
        if (std::any_of(keys.begin(), keys.end(),
                        [](const engine::ForeseenKey& key) { return IsPolicyKey(key.path); })) {
            AddWarning(file, "policy-keys");
        }
        if (report_.runsAsSystem && engine::WritesCurrentUser(analysis.foreseen)) {
            AddWarning(file, "system-hive");
        }
    }

    static void AddWarning(FileReport& file, std::string warning) {
        if (std::find(file.warnings.begin(), file.warnings.end(), warning) == file.warnings.end()) {
            file.warnings.push_back(std::move(warning));
        }
    }

    static void TakeCounts(const engine::ImportCheck& check, FileReport& file) {
        file.keysChecked = check.keysChecked;
        file.valuesChecked = check.valuesChecked;
        file.keysMissed = check.keysMissed;
        file.valuesMissed = check.valuesMissed;
        file.firstMissed = check.firstMissed;
    }

    // The report where scripts and people read it, and in the log.
    void Write() {
        if (command_.json) {
            output_.Out(ReportJson(report_));
            if (!report_.errors.empty() ||
                std::any_of(report_.files.begin(), report_.files.end(),
                            [](const FileReport& file) { return file.exitCode != 0; })) {
                output_.Err(ReportText(report_));
            }
        } else if (command_.action == ConsoleAction::WhatIf) {
            output_.Out(ReportText(report_));
        } else {
            output_.Err(ReportText(report_));
            if (command_.action == ConsoleAction::Verify && report_.exitCode == 0) {
                output_.Out("Appliqué\r\n");  // detection scripts want a line on stdout
            }
        }
        if (command_.logPath) {
            if (platform::FileError error =
                    platform_.files.Append(*command_.logPath, LogLines(report_, command_.logFormat));
                error.Failed()) {
                output_.Err("Le journal " + *command_.logPath +
                            " ne peut pas être écrit : " + error.description + "\r\n");
            }
        }
    }

    ConsolePrompt prompt_;
    platform::Platform platform_;  // the caller's services, but for the prompt: the run's
    const ConsoleCommand& command_;
    ConsoleOutput& output_;
    std::optional<engine::Engine> engine_;
    RunReport report_;
};

}  // namespace

ConsoleCommand ParseConsoleCommand(const std::vector<std::string>& arguments) {
    ConsoleCommand command;
    for (const std::string& argument : arguments) {
        if (argument.size() > 1 && (argument.front() == '/' || argument.front() == '-')) {
            ReadSwitch(command, std::string_view(argument).substr(1));
        } else if (!argument.empty()) {
            command.files.push_back(argument);
        }
    }
    CheckFileCount(command);
    return command;
}

RegistryView ViewOfRun(const ConsoleCommand& command, platform::FileSystem& files,
                       std::string_view currentDirectory) {
    if (command.view) {
        return *command.view;
    }
    std::string bytes;
    if (command.action == ConsoleAction::Undo && !command.files.empty() &&
        !files.Read(WholePath(command.files[0], currentDirectory), bytes).Failed()) {
        return engine::RecordedView(engine::DecodeFileText(std::move(bytes)).shown);
    }
    return RegistryView::Bits64;
}

RunReport RunConsoleCommand(platform::Platform& platform, const ConsoleCommand& command,
                            ConsoleOutput& output) {
    return ConsoleRun(platform, command, output).Run();
}

}  // namespace claverix::app
