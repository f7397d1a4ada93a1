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

// A scratch directory holding a copy of claverix.exe beside its settings (an
// archive there and a stored signature, so that it merges without a window),
// the archive itself and the directory of the files to merge, under the
// names given. Removed with everything in it. Paths are UTF-8.
class ClaverixSandbox {
public:
    static constexpr std::string_view kSignature = "Round trip, signed";

    explicit ClaverixSandbox(const SandboxNames& names = {});
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

// The bytes of a file; throws when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace claverix::e2e
