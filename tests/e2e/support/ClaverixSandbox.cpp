#include "tests/e2e/support/ClaverixSandbox.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/ArchivePaths.h"

namespace claverix::e2e {

namespace {

// Long enough for a slow start of Wine; a window that claverix shows ends the
// wait at once.
constexpr std::chrono::seconds kRunTimeout{60};

// What claverix says when the registry editor does not start. Under Wine that
// happens about once in several thousand process starts, when the new process
// finds part of its address range taken.
constexpr std::string_view kImporterNotStarted = "Une anomalie s'est produite lors de la fusion du fichier";

std::string TestProgramDirectory() {
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path, length);
    return program.substr(0, program.rfind('\\'));
}

std::string ArchiveDirectory(const std::string& directory) {
    return directory + "\\archive";
}

std::string RestorationDirectory(const std::string& directory) {
    return engine::RestorationFilesDirectory(ArchiveDirectory(directory));
}

}  // namespace

ClaverixSandbox::ClaverixSandbox() {
    std::filesystem::copy_file(TestProgramDirectory() + "\\claverix.exe", directory_ + "\\claverix.exe");
    std::filesystem::create_directories(engine::RegistryFilesDirectory(ArchiveDirectory(directory_)));
    std::filesystem::create_directories(RestorationDirectory(directory_));
    std::filesystem::create_directories(directory_ + "\\files");
    std::string iniFile = directory_ + "\\claverix.Ini";
    ::WritePrivateProfileStringA("Options", "ArchivePath", ArchiveDirectory(directory_).c_str(),
                                 iniFile.c_str());
    ::WritePrivateProfileStringA("Options", "Signature", std::string(kSignature).c_str(), iniFile.c_str());
}

ClaverixSandbox::~ClaverixSandbox() = default;

std::string ClaverixSandbox::WriteFile(const std::string& name, std::string_view bytes) const {
    std::string path = directory_ + "\\files\\" + name;
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

::testing::AssertionResult ClaverixSandbox::Run(const std::string& path, const Answering& answer,
                                                RunResult& run) const {
    ::testing::AssertionResult ran = RunOnce(path, answer, run);
    if (!ran && std::string_view(ran.message()).find(kImporterNotStarted) != std::string_view::npos) {
        // Nothing was imported, and the merge removed the restoration file of that attempt.
        run = {};
        ran = RunOnce(path, answer, run);
    }
    return ran;
}

::testing::AssertionResult ClaverixSandbox::Run(const std::string& path) const {
    RunResult run;
    if (auto ran = Run(path, {}, run); !ran) {
        return ran;
    }
    if (run.exitCode != 0) {
        return ::testing::AssertionFailure()
               << "claverix ended with exit code " << run.exitCode << " on " << path;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ClaverixSandbox::RunOnce(const std::string& path, const Answering& answer,
                                                    RunResult& run) const {
    std::string commandLine = "\"" + directory_ + "\\claverix.exe\" \"" + path + "\"";
    if (auto ended = RunAnswering(commandLine, kRunTimeout, answer, run); !ended) {
        return ended;
    }
    // claverix waits for the importers it starts; none must be left behind.
    return WaitUntilNoneRuns("regedit.exe", kRunTimeout);
}

std::set<std::string> ClaverixSandbox::RestorationFiles() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(RestorationDirectory(directory_))) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string ClaverixSandbox::RestorationPath(const std::string& name) const {
    return RestorationDirectory(directory_) + "\\" + name;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace claverix::e2e
