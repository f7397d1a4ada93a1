#include "ui/AboutBox/SystemInformation.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "engine/Engine.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"

namespace claverix::ui {

namespace {

using platform::RootKey;

std::string Expanded(const std::string& text) {
    DWORD size = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    std::string expanded(size, '\0');
    if (size == 0 || ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size) == 0) {
        return text;
    }
    expanded.resize(std::strlen(expanded.c_str()));
    return expanded;
}

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

// A string value's text up to its first NUL, in the ANSI code page that paths take here.
std::string StringData(const std::string& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return platform::win32::FromWide(text, CP_ACP);
}

bool IsFile(platform::FileSystem& files, const std::string& path) {
    return !path.empty() && files.Exists(path) && !files.IsDirectory(path);
}

bool StartInNormalWindow(const std::string& path) {
    std::wstring file = platform::win32::AnsiToWide(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The tool may ask for elevation, which only the shell can give.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE;
}

}  // namespace

bool GetKeyValue(platform::Registry& registry, RootKey root, std::string_view keyPath,
                 std::string_view valueName, std::string& text) {
    platform::OpenedKey opened = registry.Open(root, keyPath);
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
            text = Expanded(StringData(value.data));
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
    if (GetKeyValue(platform.registry, RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                    "PATH", text) &&
        IsFile(files, text)) {
        return text;
    }
    if (GetKeyValue(platform.registry, RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location",
                    "MSINFO", text)) {
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

void StartSysInfo(platform::Platform& platform) {
    std::optional<std::string> tool = FindSysInfo(platform);
    if (!tool || !StartInNormalWindow(*tool)) {
        engine::ShowMessage(platform, "Les informations système ne sont pas disponibles actuellement");
    }
}

}  // namespace claverix::ui
