#include "ui/common/MessageBoxes.h"

#include "platform/win32/Text.h"

namespace claverix::ui {

int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT style) {
    return ::MessageBoxW(owner, platform::win32::Utf8ToWide(text).c_str(),
                         platform::win32::Utf8ToWide(title).c_str(), style | MB_SETFOREGROUND);
}

}  // namespace claverix::ui
