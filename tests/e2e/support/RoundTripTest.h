#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/support/ClaverixSandbox.h"
#include "tests/e2e/support/RegFileText.h"
#include "tests/e2e/support/RegistryTree.h"
#include "tests/support/ScratchKey.h"

namespace claverix::e2e {

// What merging a file is expected to do to the registry.
enum class FileEffect { Changes, ChangesNothing };

// Each test owns a key below HKEY_CURRENT_USER\Software\ClaverixRoundTrip and
// a sandbox with its own copy of claverix, both gone when it ends.
class RoundTripTest : public ::testing::Test {
protected:
    explicit RoundTripTest(const SandboxNames& names = {});

    // The test's key below HKEY_CURRENT_USER, as files write it.
    const std::string& key() const { return key_.Path(); }

    // `body` with "{key}" replaced by key() and every LF that no CR precedes
    // made CR LF.
    std::string WithKey(std::string_view body) const;

    // A signed REGEDIT4 file: the head, then WithKey(body).
    std::string SignedFile(std::string_view body) const;

    // Sets the registry to `start`, merges `files` in order through claverix,
    // then merges their restoration files in the reverse order. Checks that
    // every file changes the registry (or not, as `effect` says) and that
    // every undo brings back exactly the state from before its file.
    //
    // `start` holds only what a restoration file can carry back: string data
    // ends in a zero character, which the importer adds to every string it
    // writes, after its last whole character.
    void CheckRoundTrip(const RegistryTree& start, const std::vector<RegFile>& files,
                        FileEffect effect = FileEffect::Changes);

    // Sets the registry to `start`, merges `file` through claverix, checks
    // that the importer left what `foresee` gives (it is handed the state
    // the importer left), then merges the restoration file and checks that
    // the registry is `start` again.
    void CheckForeseenImport(const RegistryTree& start, const RegFile& file,
                             const std::function<RegistryTree(const RegistryTree&)>& foresee);

    struct Restoration {
        std::string name;
        std::string text;  // kept for the report: the file goes with its merge
    };

    // Sets the registry below the test's key to `tree`.
    void SetState(const RegistryTree& tree) { WriteTree(wideKey_, tree); }
    // Writes `file` where the merges take it; returns its directory.
    std::string WriteFile(const RegFile& file) const;
    // Merges `file` through claverix, which must end as all took, and
    // names the restoration file it wrote.
    void Merge(const RegFile& file, Restoration& restoration);
    // Merges the restoration file, which goes once merged.
    void Undo(const Restoration& restoration);

    // The registry below the test's key.
    RegistryTree State() const { return ReadTree(wideKey_); }
    const ClaverixSandbox& sandbox() const { return sandbox_; }

private:
    tests::ScratchKey key_{"Software\\ClaverixRoundTrip"};
    std::wstring wideKey_;
    ClaverixSandbox sandbox_;
};

}  // namespace claverix::e2e
