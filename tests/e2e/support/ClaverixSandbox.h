#pragma once

#include <set>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "tests/e2e/support/Processes.h"
#include "tests/support/ScratchDirectory.h"

namespace claverix::e2e {

// The names of a sandbox's archive and of the directory of the files to merge.
struct SandboxNames {
    std::string archive = "archive";
    std::string files = "files";
};

// Whether a sandbox's claverix finds settings beside it.
enum class SandboxSettings { Stored, None };

// A scratch directory holding a copy of claverix.exe and claverix.com beside
// their settings (an archive there and a stored signature, so that they merge
// without a window), the archive itself and the directory of the files to
// merge, under the names given. Without settings, only the programs and that
// directory. Removed with everything in it. Paths are UTF-8.
class ClaverixSandbox {
public:
    static constexpr std::string_view kSignature = "Round trip, signed";

    explicit ClaverixSandbox(const SandboxNames& names = {},
                             SandboxSettings settings = SandboxSettings::Stored);
    ~ClaverixSandbox();
    ClaverixSandbox(const ClaverixSandbox&) = delete;
    ClaverixSandbox& operator=(const ClaverixSandbox&) = delete;

    // Writes a file to merge and returns its full path.
    std::string WriteFile(const std::string& name, std::string_view bytes) const;

    // Runs claverix on the file as its command-line argument, answering its
    // windows as `answer` says, and waits for it and for the registry editor
    // it starts. A merge whose importer could not be started is tried once more.
    ::testing::AssertionResult Run(const std::string& path, const Answering& answer, RunResult& run) const;

    // The same for a merge that shows no window and ends with code 0.
    ::testing::AssertionResult Run(const std::string& path) const;

    // Runs `line` with cmd in the sandbox's directory, where claverix.com is;
    // see RunCmd.
    ::testing::AssertionResult Cmd(const std::string& line, CommandRun& run) const;

    const std::string& Directory() const { return directory_; }
    const std::string& Archive() const { return archive_; }

    // The names of the files in the archive's restoration directory.
    std::set<std::string> RestorationFiles() const;
    std::string RestorationPath(const std::string& name) const;

private:
    ::testing::AssertionResult RunOnce(const std::string& path, const Answering& answer,
                                       RunResult& run) const;

    tests::ScratchDirectory scratch_{"roundtrip"};
    const std::string& directory_ = scratch_.Path();
    std::string archive_;
    std::string files_;
};

// The directory of the running test program, where claverix.exe is built too.
std::string TestProgramDirectory();

// The bytes of a file; throws when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes a file; throws when it cannot be written.
void WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace claverix::e2e
