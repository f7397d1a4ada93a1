#include "app/SystemInformation.h"

#include <cstdio>

#include "engine/ArchivePaths.h"
#include "platform/Unicode.h"

namespace claverix::app {

namespace {

using platform::RootKey;

// The bytes of a double word, last one first.
std::string HexText(std::string_view bytes) {
    std::string text = "&h";
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*byte));
        text += digits;
    }
    return text;
}

// A string value's text up to its first NUL, in UTF-8.
std::string StringData(const std::string& data) {
    std::u16string text = platform::Utf16FromBytes(data);
    return platform::Utf16ToUtf8(std::u16string_view(text).substr(0, text.find(u'\0')));
}

bool IsFile(platform::FileSystem& files, const std::string& path) {
    return !path.empty() && files.Exists(path) && !files.IsDirectory(path);
}

}  // namespace

bool GetKeyValue(platform::Platform& platform, RootKey root, std::string_view keyPath,
                 std::string_view valueName, std::string& text) {
    platform::OpenedKey opened = platform.registry.Open(root, keyPath);
    platform::RegistryValue value;
    if (opened.status != platform::kRegSuccess ||
        opened.key->QueryValue(valueName, value) != platform::kRegSuccess || value.data.empty()) {
        text.clear();
        return false;
    }
    switch (value.type) {
        case platform::kRegSz:
            text = StringData(value.data);
            break;
        case platform::kRegExpandSz:
            text = platform.environment.ExpandVariables(StringData(value.data));
            break;
        case platform::kRegDword:
            text = HexText(value.data);
            break;
    }
    return true;
}

std::optional<std::string> FindSysInfo(platform::Platform& platform) {
    platform::FileSystem& files = platform.files;
    std::string text;
    if (GetKeyValue(platform, RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                    text) &&
        IsFile(files, text)) {
        return text;
    }
    if (GetKeyValue(platform, RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                    text)) {
        if (text.ends_with('\\')) {
            text.pop_back();
        }
        std::string path = engine::JoinPath(text, "MSINFO32.EXE");
        if (IsFile(files, path)) {
            return path;
        }
    }
    std::string windows = platform.environment.WindowsDirectory();
    std::string inSystem = windows + "\\System32\\msinfo32.exe";
    if (!windows.empty() && IsFile(files, inSystem)) {
        return inSystem;
    }
    return std::nullopt;
}

}  // namespace claverix::app
