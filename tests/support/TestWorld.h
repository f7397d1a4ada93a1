#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryProfile.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/ScriptedPrompt.h"
#include "platform/memory/StandIns.h"
#include "tests/support/FileBytes.h"
#include "tests/support/StandInImporter.h"

namespace claverix::tests {

// What an engine test runs against: a registry, files, settings and a code
// page (in memory, or the real Windows ones under Wine), with a scripted
// user, a fixed clock and a launcher that starts nothing.
class TestWorld : public RegistryWrites {
public:
    ~TestWorld() override = default;
    TestWorld(const TestWorld&) = delete;
    TestWorld& operator=(const TestWorld&) = delete;

    platform::Platform& platform() { return platform_; }

    // The test's own key under HKEY_CURRENT_USER, which it may fill freely.
    const std::string& key() const { return key_; }
    // `relative` under the test's key; the key itself for an empty one.
    std::string KeyPath(std::string_view relative = {}) const;
    // The test's own directory, existing and empty at the start.
    const std::string& directory() const { return directory_; }

    virtual void MakeDirectory(const std::string& path) = 0;
    virtual std::set<std::string> FilesIn(const std::string& directory) = 0;

    // Creates the key `path` holding what `traits` says a registry file
    // cannot carry; a symbolic link leads to the existing key `linkTarget`.
    virtual void CreateKeyWithTraits(std::string_view path, const platform::KeyTraits& traits,
                                     std::string_view linkTarget = {}) = 0;
    // Whether the registry tells a volatile key: Wine 8 does not.
    virtual bool TellsVolatileKeys() const { return true; }

    // What the launcher's importer does once waited for: imports the file its
    // latest start names into the world's HKEY_CURRENT_USER, `writes` writes
    // of it at most (see ImportAsTheImporter).
    std::function<void()> Importer(std::size_t writes = std::numeric_limits<std::size_t>::max());

    void WriteFile(const std::string& path, std::string_view bytes) {
        WriteFileBytes(platform_.files, path, bytes);
    }
    std::optional<std::string> ReadFile(const std::string& path) {
        return ReadFileBytes(platform_.files, path);
    }

    platform::ScriptedPrompt prompt;
    platform::FixedEnvironment environment;
    platform::RecordingLauncher launcher;
    platform::MemoryLocks locks;

protected:
    TestWorld(platform::Registry& registry, platform::Profile& profile, platform::FileSystem& files,
              platform::TextCodec& codec, std::string key, std::string directory);

private:
    platform::Platform platform_;
    std::string key_;
    std::string directory_;
};

// The stand-ins live in a base built before TestWorld, which refers to them.
struct MemoryServices {
    platform::MemoryRegistry memoryRegistry;
    platform::MemoryProfile memoryProfile;
    platform::MemoryFileSystem memoryFiles;
    platform::Latin1TextCodec latin1;
};

// Writes under one root of a memory registry; those under
// HKEY_CLASSES_ROOT go where Windows puts them (see MemoryRegistry).
class MemoryRootWrites final : public RegistryWrites {
public:
    MemoryRootWrites(platform::MemoryRegistry& registry, platform::RootKey root)
        : registry_(registry), root_(root) {}

    void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                  std::string_view data) override;
    void CreateKey(std::string_view path) override;
    void DeleteValue(std::string_view path, std::string_view name) override;
    void DeleteKey(std::string_view path) override;

private:
    platform::MemoryRegistry& registry_;
    platform::RootKey root_;
};

// Everything in memory, with the stand-ins' own controls within reach
// (keys that refuse opening, files that fail). Its importer writes under
// every root.
class MemoryWorld final : public MemoryServices, public TestWorld {
public:
    MemoryWorld();

    void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                  std::string_view data) override;
    void CreateKey(std::string_view path) override;
    void DeleteValue(std::string_view path, std::string_view name) override;
    void DeleteKey(std::string_view path) override;
    RegistryWrites* WritesUnder(platform::RootKey root) override;
    void MakeDirectory(const std::string& path) override;
    std::set<std::string> FilesIn(const std::string& directory) override;
    void CreateKeyWithTraits(std::string_view path, const platform::KeyTraits& traits,
                             std::string_view linkTarget) override;

private:
    std::map<platform::RootKey, MemoryRootWrites> roots_;
};

struct WorldKind {
    std::string name;
    std::unique_ptr<TestWorld> (*make)();
};

// In memory everywhere; the real Windows API too in the Windows build.
std::vector<WorldKind> WorldKinds();
std::string WorldName(const ::testing::TestParamInfo<WorldKind>& info);
#ifdef _WIN32
std::unique_ptr<TestWorld> MakeWin32World();
#endif

// Little-endian bytes of a 32-bit number, as the registry stores a DWORD.
std::string DwordBytes(std::uint32_t value);

// UTF-8 text as the registry stores a string: UTF-16LE and a zero character.
std::string SzBytes(std::string_view utf8);

}  // namespace claverix::tests
