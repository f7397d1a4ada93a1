#include "app/Settings.h"

#include <charconv>

namespace claverix::app {

namespace {

constexpr std::string_view kOptions = "Options";
constexpr std::string_view kUndoWindow = "UndoWindow";

// Leading blanks, an optional sign and digits; what follows them is ignored.
long TwipsOr(std::string_view text, long fallback) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return fallback;
    }
    text.remove_prefix(first);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} ? value : fallback;
}

struct PlacementKey {
    std::string_view name;
    long UndoWindowPlacement::*field;
};

constexpr PlacementKey kPlacementKeys[] = {
    {"Left", &UndoWindowPlacement::left},
    {"Top", &UndoWindowPlacement::top},
    {"Width", &UndoWindowPlacement::width},
    {"Height", &UndoWindowPlacement::height},
};

}  // namespace

std::string ExecutableDirectory(std::string_view executablePath) {
    auto slash = executablePath.rfind('\\');
    return std::string(slash == std::string_view::npos ? std::string_view{}
                                                       : executablePath.substr(0, slash));
}

std::string IniFilePath(std::string_view executablePath) {
    auto slash = executablePath.rfind('\\');
    std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    auto dot = executablePath.rfind('.');
    std::size_t nameEnd = (dot == std::string_view::npos || dot < nameStart) ? executablePath.size() : dot;
    return std::string(executablePath.substr(0, nameEnd)) + ".Ini";
}

std::string ReadArchivePath(platform::Profile& profile, const std::string& iniFile,
                            std::string_view executableDirectory) {
    return profile.Read(iniFile, kOptions, "ArchivePath", executableDirectory, kOptionsCapacity);
}

std::string ReadSignature(platform::Profile& profile, const std::string& iniFile) {
    return profile.Read(iniFile, kOptions, "Signature", kNoSignature, kOptionsCapacity);
}

UndoWindowPlacement ReadUndoWindowPlacement(platform::Profile& profile, const std::string& iniFile) {
    UndoWindowPlacement placement;
    for (const PlacementKey& key : kPlacementKeys) {
        long& field = placement.*key.field;
        std::string text =
            profile.Read(iniFile, kUndoWindow, key.name, std::to_string(field), kUndoWindowCapacity);
        field = TwipsOr(text, field);
    }
    return placement;
}

void WriteUndoWindowPlacement(platform::Profile& profile, const std::string& iniFile,
                              const UndoWindowPlacement& placement) {
    for (const PlacementKey& key : kPlacementKeys) {
        profile.Write(iniFile, kUndoWindow, key.name, std::to_string(placement.*key.field));
    }
}

}  // namespace claverix::app
