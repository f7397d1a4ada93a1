#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace claverix::platform {

enum class PromptIcon { None, Exclamation, Information };

enum class Answer { Yes, No, Cancel };

// A button beside Yes and No that shows more before the user answers: `show`
// runs, and the question stays.
struct MoreButton {
    std::string caption;  // UTF-8, "&" before its access key
    std::function<void()> show;
};

// A notice on screen while the program waits, without buttons; it goes with the object.
class Notice {
public:
    virtual ~Notice() = default;
};

// Everything the program says to the user, and every answer it asks for.
// Texts are UTF-8; every window opened here is modal.
class Prompt {
public:
    virtual ~Prompt() = default;

    // A message with an OK button only.
    virtual void Message(std::string_view text, std::string_view title, PromptIcon icon) = 0;

    // A question with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(std::string_view text, std::string_view title, PromptIcon icon) = 0;

    // The same with a third button, `more`.
    virtual bool AskYesNo(std::string_view text, std::string_view title, PromptIcon icon,
                          const MoreButton& more) = 0;

    // The same with No as the default button: for a question whose Yes takes
    // a risk, so that Enter does not take it.
    virtual bool AskYesNoDefaultNo(std::string_view text, std::string_view title, PromptIcon icon) = 0;

    // A question with the buttons Yes, No and Cancel; Cancel also when the
    // question is closed without an answer.
    virtual Answer AskYesNoCancel(std::string_view text, std::string_view title, PromptIcon icon) = 0;

    // A notice the user reads while the program waits for something outside
    // it; no answer is asked.
    virtual std::unique_ptr<Notice> ShowNotice(std::string_view text, std::string_view title) = 0;

    // A one-line entry with OK and Cancel; nullopt when cancelled.
    virtual std::optional<std::string> AskText(std::string_view text, std::string_view title,
                                               std::string_view initialValue) = 0;
};

}  // namespace claverix::platform
