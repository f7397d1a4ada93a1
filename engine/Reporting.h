#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace claverix::engine {

inline constexpr std::string_view kAppTitle = "Claverix";
inline constexpr std::string_view kQuestionTitle = "AVERTISSEMENT";
// Why a file that cannot be foreseen is never merged.
inline constexpr std::string_view kUnsafeRestoration = "Sa restauration ne pourrait pas être sûre.";

// "1 clé", "2 clés": French takes the singular for 0 and 1.
std::string Counted(std::size_t count, std::string_view singular, std::string_view plural);

// How many keys, values or lines a message names before it counts the rest.
inline constexpr std::size_t kListedItems = 10;

// One indented line for each of `first`, and how many more there are of
// `count` in all. A long item keeps its start and its end.
void AppendList(std::string& text, const std::vector<std::string>& first, std::size_t count);

// A message with the application's title and an OK button. UTF-8.
void ShowMessage(platform::Platform& platform, std::string_view text);

// "Erreur " and the system's description, titled "Ouverture de " and the
// path or name (UTF-8) of the file concerned: how a file that cannot be used is reported.
void ReportFileError(platform::Platform& platform, const platform::FileError& error, std::string_view what);

}  // namespace claverix::engine
