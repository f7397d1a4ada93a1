#pragma once

#include <functional>

#include "ui/common/Controls.h"
#include "ui/common/LongTextBox.h"

namespace claverix::ui {

// The main window's box of a file's content: a long text, and a double
// click that runs `onDoubleClick` once the box has taken it.
class ContentBox final : public LongTextBox {
public:
    void Create(Window& parent, const ControlSetup& setup, std::function<void()> onDoubleClick);
};

// The main window's box of a file's comment, of any size. A double click
// selects all of it. Leaving it for another control of the window runs
// `onLeft`; a message box or another program taking the focus does not, so
// that they never rewrite the file.
class CommentBox final : public Control {
public:
    void Create(Window& parent, const ControlSetup& setup, std::function<void()> onLeft);
};

}  // namespace claverix::ui
