#include "app/Settings.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "platform/Paths.h"
#include "platform/Unicode.h"

namespace claverix::app {

namespace {

constexpr std::string_view kOptions = "Options";
// The restoration viewer's section. The settings file keeps the names it has
// always had: "Undo" there means the restoration, as in the "RegUnDO" directory.
constexpr std::string_view kRestorationViewer = "UndoWindow";
constexpr std::string_view kMainWindow = "MainWindow";
constexpr std::string_view kMaximized = "Maximized";
// The "MainWindow" keys hold numbers alone.
constexpr std::size_t kMainWindowCapacity = 32;

// Leading blanks, an optional sign and digits; what follows them is ignored.
std::optional<long> Twips(std::string_view text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text.remove_prefix(first);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} ? std::optional<long>(value) : std::nullopt;
}

// The keys of a window's outer rectangle, in the order they are read and written.
template <typename Placement>
struct RectKey {
    std::string_view name;
    long Placement::*field;
};

template <typename Placement>
constexpr RectKey<Placement> kRectKeys[] = {
    {"Left", &Placement::left},
    {"Top", &Placement::top},
    {"Width", &Placement::width},
    {"Height", &Placement::height},
};

// A window's place that cannot be stored is lost, unsaid: the window is
// closing, and opens next time where the system puts it.
void WritePlace(platform::Profile& profile, const std::string& iniFile, std::string_view section,
                std::string_view key, std::string_view value) {
    static_cast<void>(profile.Write(iniFile, section, key, value));
}

template <typename Placement>
void WriteRect(platform::Profile& profile, const std::string& iniFile, std::string_view section,
               const Placement& placement) {
    for (const RectKey<Placement>& key : kRectKeys<Placement>) {
        WritePlace(profile, iniFile, section, key.name, std::to_string(placement.*key.field));
    }
}

}  // namespace

std::string ExecutableDirectory(std::string_view executablePath) {
    return std::string(platform::DirectoryOf(executablePath));
}

std::string IniFilePath(std::string_view executablePath) {
    std::string_view name = platform::NameOf(executablePath);
    std::size_t extension = std::min(name.rfind('.'), name.size());
    return std::string(executablePath.substr(0, executablePath.size() - name.size() + extension)) + ".Ini";
}

// One character more than a whole directory may have: a longer one comes back cut, and is seen.
ArchivePathSetting ReadArchivePath(platform::Profile& profile, const std::string& iniFile,
                                   std::string_view executableDirectory) {
    constexpr std::size_t kShownStart = 60;
    std::string stored =
        profile.Read(iniFile, kOptions, "ArchivePath", executableDirectory, kLongestArchivePath + 2);
    std::u16string units = platform::Utf8ToUtf16(stored);
    if (units.size() <= kLongestArchivePath) {
        return {std::move(stored), {}};
    }
    units.resize(kShownStart);
    return {std::string(executableDirectory), platform::Utf16ToUtf8(units)};
}

std::string ReadSignature(platform::Profile& profile, const std::string& iniFile) {
    return profile.Read(iniFile, kOptions, "Signature", kNoSignature, kOptionsCapacity);
}

RestorationViewerPlacement ReadRestorationViewerPlacement(platform::Profile& profile,
                                                          const std::string& iniFile) {
    RestorationViewerPlacement placement;
    for (const RectKey<RestorationViewerPlacement>& key : kRectKeys<RestorationViewerPlacement>) {
        long& field = placement.*key.field;
        std::string text = profile.Read(iniFile, kRestorationViewer, key.name, std::to_string(field),
                                        kRestorationViewerCapacity);
        field = Twips(text).value_or(field);
    }
    return placement;
}

void WriteRestorationViewerPlacement(platform::Profile& profile, const std::string& iniFile,
                                     const RestorationViewerPlacement& placement) {
    WriteRect(profile, iniFile, kRestorationViewer, placement);
}

std::optional<MainWindowPlacement> ReadMainWindowPlacement(platform::Profile& profile,
                                                           const std::string& iniFile) {
    MainWindowPlacement placement;
    for (const RectKey<MainWindowPlacement>& key : kRectKeys<MainWindowPlacement>) {
        std::optional<long> value =
            Twips(profile.Read(iniFile, kMainWindow, key.name, "", kMainWindowCapacity));
        if (!value) {
            return std::nullopt;
        }
        placement.*key.field = *value;
    }
    if (placement.width <= 0 || placement.height <= 0) {
        return std::nullopt;
    }
    placement.maximized = profile.Read(iniFile, kMainWindow, kMaximized, "0", kMainWindowCapacity) == "1";
    return placement;
}

void WriteMainWindowPlacement(platform::Profile& profile, const std::string& iniFile,
                              const MainWindowPlacement& placement) {
    WriteRect(profile, iniFile, kMainWindow, placement);
    WritePlace(profile, iniFile, kMainWindow, kMaximized, placement.maximized ? "1" : "0");
}

}  // namespace claverix::app
