#include "platform/win32/Win32Prompt.h"

#include <windows.h>

#include "platform/win32/InputDialog.h"
#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

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

int Show(std::string_view text, std::string_view title, UINT style) {
    return ::MessageBoxW(::GetActiveWindow(), Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(),
                         style | MB_SETFOREGROUND);
}

}  // namespace

void Win32Prompt::Message(std::string_view text, std::string_view title, PromptIcon icon) {
    Show(text, title, MB_OK | IconStyle(icon));
}

bool Win32Prompt::AskYesNo(std::string_view text, std::string_view title, PromptIcon icon) {
    return Show(text, title, MB_YESNO | IconStyle(icon)) == IDYES;
}

std::optional<std::string> Win32Prompt::AskText(std::string_view text, std::string_view title,
                                                std::string_view initialValue) {
    std::optional<std::wstring> answer =
        RunInputDialog(::GetActiveWindow(), Utf8ToWide(text), Utf8ToWide(title), Utf8ToWide(initialValue));
    if (!answer) {
        return std::nullopt;
    }
    return WideToUtf8(*answer);
}

}  // namespace claverix::platform::win32
