#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "ui/common/Controls.h"

namespace claverix::ui {

// A multi-line text box that takes a long text in slices, each from a
// message it posts to itself, so that its window answers while the box lays
// the lines out: the first slice shows at once.
class LongTextBox : public Control {
public:
    void Create(Window& parent, const ControlSetup& setup);

    // Replaces the box's text; what does not fit in the first slice follows.
    void ShowText(std::wstring text);
    // Whether the last text shown is in the box whole.
    bool IsComplete() const { return pending_.empty(); }
    // Runs once the last slice of a text has reached the box.
    void OnComplete(std::function<void()> handler) { onComplete_ = std::move(handler); }
    // Selects the characters from `start` to `end` of the text shown and
    // scrolls them into view: at once when they are in the box, otherwise
    // when the slice that holds them arrives.
    void Select(std::size_t start, std::size_t end);

private:
    std::wstring NextSlice();
    void AppendNextSlice();
    void SelectOnceArrived();

    std::wstring pending_;  // the text on its way, empty once it is all in
    std::size_t offset_ = 0;
    // Characters in the box while the text arrives.
    std::size_t arrived_ = 0;
    // A selection waiting for its characters: start and end.
    std::optional<std::pair<std::size_t, std::size_t>> selection_;
    std::size_t sliceLength_ = 0;
    std::function<void()> onComplete_;
};

}  // namespace claverix::ui
