#pragma once

#include "platform/Prompt.h"

namespace claverix::ui {

// What the program says and asks, in message boxes and the one-line input
// dialog, over the window active at the time.
class WindowPrompt final : public platform::Prompt {
public:
    void Message(std::string_view text, std::string_view title, platform::PromptIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view title, platform::PromptIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view title, platform::PromptIcon icon,
                  const platform::MoreButton& more) override;
    bool AskYesNoDefaultNo(std::string_view text, std::string_view title, platform::PromptIcon icon) override;
    platform::Answer AskYesNoCancel(std::string_view text, std::string_view title,
                                    platform::PromptIcon icon) override;
    std::optional<std::string> AskText(std::string_view text, std::string_view title,
                                       std::string_view initialValue) override;
    std::unique_ptr<platform::Notice> ShowNotice(std::string_view text, std::string_view title) override;
};

}  // namespace claverix::ui
