#pragma once

#include "platform/Prompt.h"

namespace claverix::platform::win32 {

// Message boxes and a one-line input dialog, owned by the active window.
class Win32Prompt final : public Prompt {
public:
    void Message(std::string_view text, std::string_view title, PromptIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view title, PromptIcon icon) override;
    std::optional<std::string> AskText(std::string_view text, std::string_view title,
                                       std::string_view initialValue) override;
};

}  // namespace claverix::platform::win32
