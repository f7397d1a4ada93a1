#include "engine/Reporting.h"

namespace claverix::engine {

void ShowMessage(platform::Platform& platform, std::string_view text) {
    platform.prompt.Message(text, kAppTitle, platform::PromptIcon::None);
}

void ReportFileError(platform::Platform& platform, const platform::FileError& error, std::string_view what) {
    std::string text = "Erreur " + error.description;
    std::string title = "Ouverture de " + std::string(what);
    platform.prompt.Message(text, title, platform::PromptIcon::None);
}

}  // namespace claverix::engine
