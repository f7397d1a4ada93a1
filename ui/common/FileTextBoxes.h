#pragma once

#include <optional>
#include <string>

#include "engine/FileText.h"

namespace claverix::ui {

// A file's text as the engine holds it (an ANSI file's own bytes, or UTF-8
// for a UTF-16 file) as a box shows it.
std::wstring ShownText(const std::string& text, engine::TextEncoding encoding);

// A box's text in the file's encoding; nullopt when an ANSI file cannot hold it.
std::optional<std::string> StoredText(const std::wstring& shown, engine::TextEncoding encoding);

// Whether the box shows the file's text so that it is written back unchanged:
// no NUL cuts it short, and every character goes back to the same bytes.
bool ShowsFaithfully(const std::string& text, const std::wstring& shown, engine::TextEncoding encoding);

}  // namespace claverix::ui
