#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace claverix::platform {

// Answers questions from a script and records everything shown, so that tests
// see what the user would have seen and nothing waits for a person. A
// question that the script does not answer is answered No, or Cancel where
// Cancel is offered; a text entry keeps its initial value.
class ScriptedPrompt final : public Prompt {
public:
    enum class Kind { Message, Question, QuestionDefaultNo, TextEntry, Notice };

    struct Shown {
        Kind kind;
        std::string text;
        std::string title;
        PromptIcon icon;
    };

    void Message(std::string_view text, std::string_view title, PromptIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view title, PromptIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view title, PromptIcon icon,
                  const MoreButton& more) override;
    bool AskYesNoDefaultNo(std::string_view text, std::string_view title, PromptIcon icon) override;
    Answer AskYesNoCancel(std::string_view text, std::string_view title, PromptIcon icon) override;
    std::optional<std::string> AskText(std::string_view text, std::string_view title,
                                       std::string_view initialValue) override;
    std::unique_ptr<Notice> ShowNotice(std::string_view text, std::string_view title) override;

    void AnswerYesNo(bool yes) { yesNoAnswers_.push_back(yes); }
    void AnswerYesNoCancel(Answer answer) { answers_.push_back(answer); }
    // The next question with a third button has it pressed once before it is answered.
    void PressMoreButton() { pressMore_ = true; }
    // Whether a question so far has offered a third button.
    bool offeredMoreButton() const { return offeredMore_; }

    const std::vector<Shown>& shown() const { return shown_; }
    void Clear() { shown_.clear(); }

private:
    std::vector<Shown> shown_;
    std::deque<bool> yesNoAnswers_;
    std::deque<Answer> answers_;
    bool pressMore_ = false;
    bool offeredMore_ = false;

    bool NextYesNo();
};

}  // namespace claverix::platform
