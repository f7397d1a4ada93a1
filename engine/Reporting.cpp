#include "engine/Reporting.h"

namespace claverix::engine {

void ShowMessage(platform::Platform& platform, std::string_view text) {
    platform.prompt.Message(text, kAppTitle, platform::PromptIcon::None);
}

void ReportFileError(platform::Platform& platform, const platform::FileError& error,
                     std::string_view ansiWhat) {
    std::string text = "Erreur " + error.description;
    std::string title = "Ouverture de " + platform.codec.AnsiToUtf8(ansiWhat);
    platform.prompt.Message(text, title, platform::PromptIcon::None);
}

}  // namespace claverix::engine
