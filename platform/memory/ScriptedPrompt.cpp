#include "platform/memory/ScriptedPrompt.h"

#include <utility>

namespace claverix::platform {

void ScriptedPrompt::Message(std::string_view text, std::string_view title, PromptIcon icon) {
    shown_.push_back({Kind::Message, std::string(text), std::string(title), icon});
}

bool ScriptedPrompt::NextYesNo() {
    if (yesNoAnswers_.empty()) {
        return false;
    }
    bool answer = yesNoAnswers_.front();
    yesNoAnswers_.pop_front();
    return answer;
}

bool ScriptedPrompt::AskYesNo(std::string_view text, std::string_view title, PromptIcon icon) {
    shown_.push_back({Kind::Question, std::string(text), std::string(title), icon});
    return NextYesNo();
}

bool ScriptedPrompt::AskYesNoDefaultNo(std::string_view text, std::string_view title, PromptIcon icon) {
    shown_.push_back({Kind::QuestionDefaultNo, std::string(text), std::string(title), icon});
    return NextYesNo();
}

bool ScriptedPrompt::AskYesNo(std::string_view text, std::string_view title, PromptIcon icon,
                              const MoreButton& more) {
    offeredMore_ = true;
    if (std::exchange(pressMore_, false)) {
        more.show();
    }
    return AskYesNo(text, title, icon);
}

Answer ScriptedPrompt::AskYesNoCancel(std::string_view text, std::string_view title, PromptIcon icon) {
    shown_.push_back({Kind::Question, std::string(text), std::string(title), icon});
    if (answers_.empty()) {
        return Answer::Cancel;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompt::AskText(std::string_view text, std::string_view title,
                                                   std::string_view initialValue) {
    shown_.push_back({Kind::TextEntry, std::string(text), std::string(title), PromptIcon::None});
    return std::string(initialValue);
}

std::unique_ptr<Notice> ScriptedPrompt::ShowNotice(std::string_view text, std::string_view title) {
    shown_.push_back({Kind::Notice, std::string(text), std::string(title), PromptIcon::None});
    return std::make_unique<Notice>();
}

}  // namespace claverix::platform
