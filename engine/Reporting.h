#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace claverix::engine {

inline constexpr std::string_view kAppTitle = "Claverix";
inline constexpr std::string_view kQuestionTitle = "AVERTISSEMENT";

// A message with the application's title and an OK button. UTF-8.
void ShowMessage(platform::Platform& platform, std::string_view text);

// "Erreur " and the system's description, titled "Ouverture de " and the
// path or name (UTF-8) of the file concerned: how a file that cannot be used is reported.
void ReportFileError(platform::Platform& platform, const platform::FileError& error, std::string_view what);

}  // namespace claverix::engine
