#include "ui/common/WindowPrompt.h"

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "platform/win32/Text.h"
#include "ui/common/InputDialog.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/NoticeWindow.h"

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

bool WindowPrompt::AskYesNoDefaultNo(std::string_view text, std::string_view title, PromptIcon icon) {
    return ShowMessageBox(::GetActiveWindow(), text, title, MB_YESNO | MB_DEFBUTTON2 | IconStyle(icon)) ==
           IDYES;
}

namespace {

constexpr int kMoreButtonId = 100;

struct MoreQuestion {
    const platform::MoreButton& more;
};

// The third button shows more and leaves the question open.
HRESULT CALLBACK OnQuestionEvent(HWND, UINT event, WPARAM button, LPARAM, LONG_PTR data) {
    if (event == TDN_BUTTON_CLICKED && button == kMoreButtonId) {
        reinterpret_cast<MoreQuestion*>(data)->more.show();
        return S_FALSE;
    }
    return S_OK;
}

}  // namespace

bool WindowPrompt::AskYesNo(std::string_view text, std::string_view title, PromptIcon icon,
                            const platform::MoreButton& more) {
    std::wstring content = Utf8ToWide(text);
    std::wstring caption = Utf8ToWide(title);
    std::wstring moreCaption = Utf8ToWide(more.caption);
    TASKDIALOG_BUTTON moreButton{kMoreButtonId, moreCaption.c_str()};
    MoreQuestion question{more};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = ::GetActiveWindow();
    config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
    config.pszWindowTitle = caption.c_str();
    config.pszMainIcon = icon == PromptIcon::Exclamation ? TD_WARNING_ICON : nullptr;
    config.pszContent = content.c_str();
    config.cButtons = 1;
    config.pButtons = &moreButton;
    config.pfCallback = OnQuestionEvent;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&question);
    int pressed = 0;
    if (FAILED(::TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
        return AskYesNo(text, title, icon);  // without the third button rather than without a question
    }
    return pressed == IDYES;
}

platform::Answer WindowPrompt::AskYesNoCancel(std::string_view text, std::string_view title,
                                              PromptIcon icon) {
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

std::unique_ptr<platform::Notice> WindowPrompt::ShowNotice(std::string_view text, std::string_view title) {
    return std::make_unique<NoticeWindow>(Utf8ToWide(text), Utf8ToWide(title));
}

}  // namespace claverix::ui
