#include "tests/e2e/support/ClaverixSandbox.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/ArchivePaths.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Environment.h"

namespace claverix::e2e {

namespace {

// Long enough for a slow start of Wine; a window that claverix shows ends the
// wait at once.
constexpr std::chrono::seconds kRunTimeout{60};

// What claverix says when the registry editor does not start. Under Wine that
// happens about once in several thousand process starts, when the new process
// finds part of its address range taken.
constexpr std::string_view kImporterNotStarted = "Une anomalie s'est produite lors de la fusion du fichier";

}  // namespace

using tests::FileSystemPath;

// The settings file begins with a byte-order mark, as claverix writes it:
// the system keeps every character of a Unicode one.
ClaverixSandbox::ClaverixSandbox(const SandboxNames& names, SandboxSettings settings)
    : archive_(directory_ + "\\" + names.archive), files_(directory_ + "\\" + names.files) {
    for (const char* program : {"claverix.exe", "claverix.com"}) {
        std::filesystem::copy_file(FileSystemPath(TestProgramDirectory() + "\\" + program),
                                   FileSystemPath(directory_ + "\\" + program));
    }
    std::filesystem::create_directories(FileSystemPath(files_));
    if (settings == SandboxSettings::None) {
        return;
    }
    std::filesystem::create_directories(FileSystemPath(engine::RegistryFilesDirectory(archive_)));
    std::filesystem::create_directories(FileSystemPath(engine::RestorationFilesDirectory(archive_)));
    std::wstring iniFile = platform::win32::Utf8ToWide(directory_ + "\\claverix.Ini");
    std::ofstream(std::filesystem::path(iniFile), std::ios::binary) << "\xFF\xFE";
    ::WritePrivateProfileStringW(L"Options", L"ArchivePath", platform::win32::Utf8ToWide(archive_).c_str(),
                                 iniFile.c_str());
    ::WritePrivateProfileStringW(L"Options", L"Signature", platform::win32::Utf8ToWide(kSignature).c_str(),
                                 iniFile.c_str());
}

ClaverixSandbox::~ClaverixSandbox() = default;

std::string ClaverixSandbox::WriteFile(const std::string& name, std::string_view bytes) const {
    std::string path = files_ + "\\" + name;
    WriteFileBytes(path, bytes);
    return path;
}

::testing::AssertionResult ClaverixSandbox::Cmd(const std::string& line, CommandRun& run) const {
    return RunCmd(line, directory_, kRunTimeout, run);
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
    for (const auto& entry :
         std::filesystem::directory_iterator(FileSystemPath(engine::RestorationFilesDirectory(archive_)))) {
        names.insert(tests::Utf8(entry.path().filename()));
    }
    return names;
}

std::string ClaverixSandbox::RestorationPath(const std::string& name) const {
    return engine::JoinPath(engine::RestorationFilesDirectory(archive_), name);
}

std::string TestProgramDirectory() {
    return tests::Utf8(FileSystemPath(platform::win32::Win32Environment().ExecutablePath()).parent_path());
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(tests::FileSystemPath(path), std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream file(tests::FileSystemPath(path), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace claverix::e2e
