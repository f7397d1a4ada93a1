#include "ui/common/WindowPrompt.h"

#include "platform/win32/Text.h"
#include "ui/common/InputDialog.h"
#include "ui/common/MessageBoxes.h"

namespace claverix::ui {

using platform::PromptIcon;
using platform::win32::Utf8ToWide;

namespace {

UINT IconStyle(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case PromptIcon::Information:
            return MB_ICONINFORMATION;
        case PromptIcon::None:
            break;
    }
    return 0;
}

}  // namespace

void WindowPrompt::Message(std::string_view text, std::string_view title, PromptIcon icon) {
    ShowMessageBox(::GetActiveWindow(), text, title, MB_OK | IconStyle(icon));
}

bool WindowPrompt::AskYesNo(std::string_view text, std::string_view title, PromptIcon icon) {
    return ShowMessageBox(::GetActiveWindow(), text, title, MB_YESNO | IconStyle(icon)) == IDYES;
}

platform::Answer WindowPrompt::AskYesNoCancel(std::string_view text, std::string_view title, PromptIcon icon) {
    switch (ShowMessageBox(::GetActiveWindow(), text, title, MB_YESNOCANCEL | IconStyle(icon))) {
        case IDYES:
            return platform::Answer::Yes;
        case IDNO:
            return platform::Answer::No;
    }
    return platform::Answer::Cancel;
}

std::optional<std::string> WindowPrompt::AskText(std::string_view text, std::string_view title,
                                                 std::string_view initialValue) {
    InputDialog dialog(Utf8ToWide(text), Utf8ToWide(title), Utf8ToWide(initialValue));
    std::optional<std::wstring> answer = dialog.Ask(::GetActiveWindow());
    if (!answer) {
        return std::nullopt;
    }
    return platform::win32::WideToUtf8(*answer);
}

}  // namespace claverix::ui
