#include "bench/RegFiles.h"

#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "engine/Engine.h"
#include "engine/RegFileFormat.h"
#include "engine/RegistryExport.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32TextCodec.h"

namespace claverix::bench {

namespace {

constexpr std::size_t kValueLinesPerKey = 8;
// Successive blocks visit keys this far apart, so that a file touches the
// whole tree rather than one corner of it; prime, so no key comes twice.
constexpr std::size_t kKeyStride = 7919;
// One block in this many names a key that does not exist yet.
constexpr std::size_t kMissingKeyPeriod = 50;
// One value line in this many names a value that does not exist yet.
constexpr std::size_t kNewValuePeriod = 5;
// Data for the file differs from the registry's: its seeds start here.
constexpr std::uint64_t kFileSeedBase = 1ull << 40;
// What the names of a collection of tweaks start with.
constexpr std::string_view kTopics[] = {"Explorateur", "Menu demarrer", "Barre des taches", "Reseau",
                                        "Securite",    "Clavier",       "Souris",           "Affichage"};

// Text made of whole lines, up to a fixed number of them.
class LineBudget {
public:
    explicit LineBudget(std::size_t lines) : left_(lines) {}

    bool Exhausted() const { return left_ == 0; }

    // Appends `line` and its CR LF when some lines are left.
    void Add(std::string_view line) {
        if (left_ > 0) {
            text_.append(line).append(engine::kCrLf);
            --left_;
        }
    }

    // Appends what AppendValueLine writes, which ends with its own CR LF.
    void AddValue(const platform::RegistryValue& value) {
        if (left_ > 0) {
            engine::AppendValueLine(text_, value, engine::TextEncoding::Ansi, codec_);
            --left_;
        }
    }

    const std::string& Text() const { return text_; }

private:
    std::size_t left_;
    std::string text_;
    platform::win32::Win32TextCodec codec_;
};

std::string BlockKeyPath(const BenchTree& tree, std::size_t block, std::size_t key) {
    std::string path = tree.KeyPath(key);
    if (block % kMissingKeyPeriod == kMissingKeyPeriod - 1) {
        // Half of them two levels deep, so the missing part is a parent.
        path += "\\Added" + std::to_string(block);
        if (block % (2 * kMissingKeyPeriod) == kMissingKeyPeriod - 1) {
            path += "\\Options";
        }
    }
    return path;
}

void Write(const std::string& path, std::string_view text) {
    const std::string_view pieces[] = {text};
    if (platform::FileError error = platform::win32::Win32FileSystem().CreateNew(path, pieces);
        error.Failed()) {
        throw std::runtime_error("cannot write " + path + ": " + error.description);
    }
}

void AddBlock(const BenchTree& tree, std::size_t block, LineBudget& text) {
    std::size_t key = block * kKeyStride % tree.KeyCount();
    text.Add("[HKEY_CURRENT_USER\\" + BlockKeyPath(tree, block, key) + "]");
    for (std::size_t line = 0; line < kValueLinesPerKey; ++line) {
        std::size_t slot = (block + line) % BenchTree::kValuesPerKey;
        std::uint64_t seed = kFileSeedBase + block * kValueLinesPerKey + line;
        bool isNew = seed % kNewValuePeriod == 0;
        text.AddValue(RandomValue(seed, isNew ? "Added" + std::to_string(line) : tree.ValueName(key, slot)));
    }
    text.Add("");
}

}  // namespace

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    if (platform::win32::Win32FileSystem().Read(path, bytes).Failed()) {
        throw std::runtime_error("cannot read " + path);
    }
    return bytes;
}

RegFile WriteRegFile(const BenchTree& tree, const std::string& directory, std::size_t lines) {
    LineBudget text(lines);
    text.Add("REGEDIT4");
    text.Add("# Sign:" + std::string(kSignature));
    text.Add("");
    for (std::size_t block = 0; !text.Exhausted(); ++block) {
        AddBlock(tree, block, text);
    }
    RegFile file{"bench-" + std::to_string(lines) + ".reg", lines, text.Text().size()};
    Write(engine::JoinPath(directory, file.name), text.Text());
    return file;
}

RegFile WriteVersion5Variant(const RegFile& file, const std::string& directory) {
    std::string text = ReadBytes(engine::JoinPath(directory, file.name));
    text.append("[-HKEY_CURRENT_USER\\").append(kUnicodeKeyPath).append("]").append(engine::kCrLf);
    RegFile variant{"version5-" + file.name, file.lines + 1, text.size()};
    Write(engine::JoinPath(directory, variant.name), text);
    return variant;
}

void WriteRegFiles(const std::string& directory, std::size_t count) {
    for (std::size_t created = 0; created < count; ++created) {
        // Numbers visited far apart, so the directory does not hold them sorted.
        std::string number = std::to_string(created * kKeyStride % count);
        std::string name = std::string(kTopics[created % std::size(kTopics)]) + " " + number + ".reg";
        std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kTreePath) + "\\Tweaks]\r\n";
        text += "\"Tweak" + number + "\"=dword:00000001\r\n";
        Write(engine::JoinPath(directory, name), text);
    }
}

std::vector<std::string> WriteSearchedFiles(const std::string& directory, std::size_t count,
                                            std::size_t bytes, std::string_view needle) {
    std::vector<std::string> names;
    for (std::size_t file = 0; file < count; ++file) {
        char name[32];
        std::snprintf(name, sizeof name, "Reglage %04zu.reg", file);
        std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kTreePath) + "\\Tweaks]\r\n";
        for (std::size_t line = 0; text.size() < bytes; ++line) {
            text += "\"Reglage" + std::to_string(line) + "\"=\"Valeur de r\xE9glage num\xE9ro " +
                    std::to_string(file * line) + "\"\r\n";
        }
        if (file + 1 == count) {
            text.append("\"Cherche\"=\"").append(needle).append("\"\r\n");
        }
        Write(engine::JoinPath(directory, name), text);
        names.emplace_back(name);
    }
    return names;
}

}  // namespace claverix::bench
