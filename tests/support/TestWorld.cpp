#include "tests/support/TestWorld.h"

#include <stdexcept>

#include "engine/FileText.h"
#include "platform/Unicode.h"

namespace claverix::tests {

using platform::RootKey;

TestWorld::TestWorld(platform::Registry& registry, platform::Profile& profile, platform::FileSystem& files,
                     platform::TextCodec& codec, std::string key, std::string directory)
    : platform_{registry, profile, files, launcher, environment, prompt, codec, locks},
      key_(std::move(key)),
      directory_(std::move(directory)) {}

std::string TestWorld::KeyPath(std::string_view relative) const {
    return relative.empty() ? key_ : key_ + "\\" + std::string(relative);
}

std::function<void()> TestWorld::Importer(std::size_t writes) {
    return [this, writes] {
        const std::string& commandLine = launcher.starts.back().commandLine;
        std::size_t open = commandLine.find('"');
        std::optional<std::string> bytes =
            ReadFile(commandLine.substr(open + 1, commandLine.size() - open - 2));
        if (!bytes) {
            throw std::runtime_error("the importer finds no file in " + commandLine);
        }
        ImportAsTheImporter(engine::DecodeFileText(std::move(*bytes)), platform_.codec, *this, writes);
    };
}

MemoryWorld::MemoryWorld()
    : TestWorld(memoryRegistry, memoryProfile, memoryFiles, latin1, "Software\\ClaverixTests",
                "C:\\ClaverixTests") {
    memoryFiles.AddDirectory(directory());
}

void MemoryRootWrites::SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                                std::string_view data) {
    registry_.SetValue(root_, path, name, type, data);
}

void MemoryRootWrites::CreateKey(std::string_view path) {
    registry_.CreateKey(root_, path);
}

void MemoryRootWrites::DeleteValue(std::string_view path, std::string_view name) {
    registry_.DeleteValue(root_, path, name);
}

void MemoryRootWrites::DeleteKey(std::string_view path) {
    registry_.DeleteKey(root_, path);
}

void MemoryWorld::SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                           std::string_view data) {
    WritesUnder(RootKey::CurrentUser)->SetValue(path, name, type, data);
}

void MemoryWorld::CreateKey(std::string_view path) {
    WritesUnder(RootKey::CurrentUser)->CreateKey(path);
}

void MemoryWorld::DeleteValue(std::string_view path, std::string_view name) {
    WritesUnder(RootKey::CurrentUser)->DeleteValue(path, name);
}

void MemoryWorld::DeleteKey(std::string_view path) {
    WritesUnder(RootKey::CurrentUser)->DeleteKey(path);
}

RegistryWrites* MemoryWorld::WritesUnder(RootKey root) {
    return &roots_.try_emplace(root, memoryRegistry, root).first->second;
}

void MemoryWorld::MakeDirectory(const std::string& path) {
    memoryFiles.AddDirectory(path);
}

std::set<std::string> MemoryWorld::FilesIn(const std::string& directory) {
    return memoryFiles.FileNamesIn(directory);
}

void MemoryWorld::CreateKeyWithTraits(std::string_view path, const platform::KeyTraits& traits,
                                      std::string_view /*linkTarget*/) {
    memoryRegistry.SetTraits(RootKey::CurrentUser, path, traits);
}

std::vector<WorldKind> WorldKinds() {
    std::vector<WorldKind> kinds{{"Memory", [] { return std::unique_ptr<TestWorld>(new MemoryWorld); }}};
#ifdef _WIN32
    kinds.push_back({"Win32", MakeWin32World});
#endif
    return kinds;
}

std::string WorldName(const ::testing::TestParamInfo<WorldKind>& info) {
    return info.param.name;
}

std::string DwordBytes(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string SzBytes(std::string_view utf8) {
    std::u16string text = platform::Utf8ToUtf16(utf8);
    text += u'\0';
    return platform::Utf16Bytes(text);
}

}  // namespace claverix::tests
