#include "app/Archive.h"

#include <algorithm>

#include "app/Settings.h"
#include "engine/Engine.h"
#include "engine/Reporting.h"
#include "platform/Paths.h"
#include "platform/Unicode.h"

namespace claverix::app {

namespace {

constexpr std::string_view kRegEnding = "\\REG";

// `upperEnding` is upper case. Byte by byte: no code page has a character
// whose bytes end in these ASCII ones.
bool EndsWithIgnoringCase(std::string_view text, std::string_view upperEnding) {
    if (text.size() < upperEnding.size()) {
        return false;
    }
    std::string_view ending = text.substr(text.size() - upperEnding.size());
    return std::equal(ending.begin(), ending.end(), upperEnding.begin(),
                      [](char c, char upper) { return (c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) == upper; });
}

}  // namespace

bool IsRegFileName(std::string_view name) {
    constexpr std::string_view kExtension = ".REG";
    return name.size() > kExtension.size() && EndsWithIgnoringCase(name, kExtension);
}

std::optional<std::vector<std::string>> ListRegFiles(platform::Platform& platform,
                                                     const std::string& directory) {
    std::optional<std::vector<std::string>> listed = platform.files.ListFiles(directory, ".reg");
    if (!listed) {
        return std::nullopt;
    }
    struct Keyed {
        std::string key;
        std::string name;
    };
    std::vector<Keyed> files;
    files.reserve(listed->size());
    for (std::string& name : *listed) {
        if (IsRegFileName(name)) {  // not a longer extension matched through a short name
            files.push_back({platform.codec.SortKey(name), std::move(name)});
        }
    }
    std::sort(files.begin(), files.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    std::vector<std::string> names;
    names.reserve(files.size());
    for (Keyed& file : files) {
        names.push_back(std::move(file.name));
    }
    return names;
}

std::string ArchiveDirectoryToShow(platform::FileSystem& files, const std::string& stored,
                                   const std::string& programDirectory) {
    std::string directory = stored;
    while (!directory.empty() && !files.IsDirectory(directory)) {
        directory = std::string(platform::DirectoryOf(directory));
    }
    // A drive's root is a directory with its backslash only.
    if (directory.size() == 2 && directory[1] == ':' && files.IsDirectory(directory + "\\")) {
        return directory + "\\";
    }
    return directory.empty() ? programDirectory : directory;
}

std::string NormaliseArchiveDirectory(std::string_view chosen) {
    while (chosen.size() > 1 && chosen.ends_with('\\')) {
        chosen.remove_suffix(1);
    }
    while (EndsWithIgnoringCase(chosen, kRegEnding)) {
        chosen.remove_suffix(kRegEnding.size());
    }
    return std::string(chosen);
}

bool ApplyArchiveOptions(platform::Platform& platform, const std::string& iniFile,
                         const ArchiveOptions& options) {
    if (options.signature.empty()) {
        // Every file with a "# Sign:" line would carry it, and merge without a question.
        engine::ShowMessage(platform,
                            "La signature ne peut pas être vide : elle désigne les fichiers que vous "
                            "autorisez, et une signature vide les autoriserait tous.");
        return false;
    }
    if (std::size_t length = platform::Utf8ToUtf16(options.directory).size(); length > kLongestArchivePath) {
        engine::ShowMessage(platform, "Le répertoire d'archivage ne peut pas dépasser " +
                                          std::to_string(kLongestArchivePath) +
                                          " caractères, et celui-ci en compte " + std::to_string(length) +
                                          ".\r\nChoisissez un répertoire plus court.");
        return false;
    }
    platform::FileSystem& files = platform.files;
    std::string regDirectory = engine::RegistryFilesDirectory(options.directory);
    // An existing sub-directory is the usual case after the first Apply.
    platform::FileError regError = files.MakeDirectory(regDirectory);
    // A merge that cannot write its restoration file there says so.
    static_cast<void>(files.MakeDirectory(engine::RestorationFilesDirectory(options.directory)));
    if (!files.IsDirectory(regDirectory)) {
        engine::ShowMessage(platform, "Le répertoire " + regDirectory +
                                          " ne peut pas être créé : " + regError.description +
                                          "\r\nChoisissez un autre répertoire d'archivage.");
        return false;
    }
    for (auto [key, value] :
         {std::pair{"ArchivePath", &options.directory}, std::pair{"Signature", &options.signature}}) {
        if (platform::FileError error = platform.profile.Write(iniFile, "Options", key, *value);
            error.Failed()) {
            engine::ShowMessage(platform, "Les réglages ne peuvent pas être enregistrés dans " + iniFile +
                                              " : " + error.description);
            return false;
        }
    }
    // A convenience only: nothing the options store depends on it.
    static_cast<void>(files.ChangeCurrentDirectory(regDirectory));
    return true;
}

bool AddToArchive(platform::Platform& platform, const std::string& archivePath,
                  const std::string& sourcePath) {
    platform::FileSystem& files = platform.files;
    std::string bytes;
    if (platform::FileError error = files.Read(sourcePath, bytes); error.Failed()) {
        engine::ShowMessage(platform, error.description);
        return false;
    }
    std::string_view name = platform::NameOf(sourcePath);
    std::string target = engine::JoinPath(engine::RegistryFilesDirectory(archivePath), name);
    std::string archived;
    if (files.Exists(target) && (files.Read(target, archived).Failed() || archived != bytes)) {
        // The archived file may carry the user's signature and comment.
        std::string question = "Le fichier " + std::string(name) +
                               " existe déjà dans l'archive et son contenu est différent.\r\n"
                               "Voulez-vous le remplacer par celui que vous importez ?";
        if (!platform.prompt.AskYesNo(question, engine::kQuestionTitle, platform::PromptIcon::Exclamation)) {
            return false;
        }
    }
    const std::string_view pieces[] = {bytes};
    if (platform::FileError error = files.Replace(target, pieces); error.Failed()) {
        engine::ShowMessage(platform, error.description);
        return false;
    }
    return true;
}

}  // namespace claverix::app
