#pragma once

#include <string>

#include "platform/Prompt.h"
#include "ui/common/Controls.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// A few lines that say what the program waits for, in a small window over
// the active one, without buttons: shown while it lives. It takes no input,
// so that a wait that pumps messages cannot be interrupted from it.
class NoticeWindow final : public Window, public platform::Notice {
public:
    NoticeWindow(const std::wstring& text, const std::wstring& title);

private:
    Control text_;
};

}  // namespace claverix::ui
