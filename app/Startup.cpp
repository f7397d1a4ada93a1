#include "app/Startup.h"

#include "app/Settings.h"
#include "engine/Merge.h"
#include "engine/Reporting.h"
#include "platform/Paths.h"

namespace claverix::app {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The stored archive directory, or the program's when it is too long to be
// read whole: a cut one would name another directory. The user is told.
std::string ArchivePathToUse(platform::Platform& platform, const std::string& iniFile,
                             std::string_view executableDirectory) {
    ArchivePathSetting setting = ReadArchivePath(platform.profile, iniFile, executableDirectory);
    if (!setting.tooLongStart.empty()) {
        engine::ShowMessage(platform, "Le répertoire d'archivage enregistré dans " + iniFile + " dépasse " +
                                          std::to_string(kLongestArchivePath) + " caractères :\r\n" +
                                          setting.tooLongStart + "\u2026\r\nLe répertoire du programme, " +
                                          setting.directory +
                                          ", sert d'archive à sa place. Choisissez un répertoire plus court "
                                          "dans les options.");
    }
    return setting.directory;
}

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
    std::size_t end = 0;
    if (commandLine.starts_with('"')) {
        auto closing = commandLine.find('"', 1);
        end = closing == std::string_view::npos ? commandLine.size() : closing + 1;
    } else {
        end = std::min(commandLine.find_first_of(" \t"), commandLine.size());
    }
    std::string_view rest = commandLine.substr(end);
    if (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) {
        rest.remove_prefix(1);
    }
    return rest;
}

FileArgument SplitFileArgument(std::string_view arguments, std::string_view currentDirectory) {
    std::string_view path = TrimBlanks(arguments);
    if (path.starts_with('"')) {
        path.remove_prefix(1);
    }
    if (path.ends_with('"')) {
        path.remove_suffix(1);
    }
    if (path.find('\\') == std::string_view::npos) {
        return {std::string(currentDirectory), std::string(path)};
    }
    // A lone leading backslash names the current drive's root: the directory is empty.
    return {std::string(platform::DirectoryOf(path)), std::string(platform::NameOf(path))};
}

ExitCode ExitCodeOf(engine::MergeOutcome outcome) {
    switch (outcome) {
        case engine::MergeOutcome::AllTook:
            return ExitCode::AllTook;
        case engine::MergeOutcome::PartlyTook:
            return ExitCode::PartlyTook;
        case engine::MergeOutcome::NothingTook:
            return ExitCode::NothingTook;
        case engine::MergeOutcome::NotStarted:
            return ExitCode::NotStarted;
        case engine::MergeOutcome::ElevationRefused:
            return ExitCode::ElevationRefused;
        case engine::MergeOutcome::Declined:
            return ExitCode::Declined;
        case engine::MergeOutcome::Blocked:
        case engine::MergeOutcome::FileChanged:
            break;
    }
    return ExitCode::Blocked;
}

Started Main(platform::Platform& platform, StartupWindows& windows, std::string_view arguments) {
    auto engine = std::make_unique<engine::Engine>(engine::Engine{platform, {}});
    engine::StartupValues& startup = engine->startup;
    std::string executablePath = platform.environment.ExecutablePath();
    startup.IniFile = IniFilePath(executablePath);
    startup.ArchivePath = ArchivePathToUse(platform, startup.IniFile, ExecutableDirectory(executablePath));
    std::string signature = ReadSignature(platform.profile, startup.IniFile);
    if (signature == kNoSignature) {
        // Closed without storing a signature, the options end the program.
        if (!windows.ShowOptionsDialog(*engine)) {
            return {nullptr, ExitCode::Declined};
        }
        signature = ReadSignature(platform.profile, startup.IniFile);
        if (signature == kNoSignature) {
            return {nullptr, ExitCode::Declined};
        }
        // What the dialog stored is what this run uses.
        startup.ArchivePath =
            ArchivePathToUse(platform, startup.IniFile, ExecutableDirectory(executablePath));
    }
    startup.Signature = std::move(signature);

    if (arguments.empty()) {
        if (!windows.ShowMainWindow(*engine)) {
            return {nullptr, ExitCode::Unexpected};
        }
        return {std::move(engine), ExitCode::AllTook};
    }
    FileArgument file = SplitFileArgument(arguments, platform.files.CurrentDirectory());
    engine::MergeRequest request{file.directory, file.fileName};
    request.offersRecordedName = true;
    request.preview = [&](const engine::Analysis& analysis) {
        windows.ShowPreview(analysis.fileName, BuildPreview(platform.registry, analysis.foreseen),
                            PreviewNote(analysis));
    };
    return {nullptr, ExitCodeOf(engine::MergeRegFile(*engine, request).outcome)};
}

}  // namespace claverix::app
