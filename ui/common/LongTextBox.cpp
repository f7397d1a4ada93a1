#include "ui/common/LongTextBox.h"

#include <algorithm>

#include "ui/common/Window.h"

namespace claverix::ui {

namespace {

// Posted to the box itself for each further slice.
constexpr UINT kAppendSlice = WM_APP + 1;
// Characters a slice holds, up to the end of a line. The first is small, so
// that the text shows at once; each further one doubles, up to a size that
// takes the box under a second to lay out where that is slow (Wine's edit
// control takes about 30 µs a line), since every slice also costs the box a
// pass over the text it holds.
constexpr std::size_t kFirstSliceLength = 64 * 1024;
constexpr std::size_t kLargestSliceLength = 1024 * 1024;

}  // namespace

void LongTextBox::Create(Window& parent, const ControlSetup& setup) {
    Control::Create(parent, setup);
    Send(EM_SETLIMITTEXT, 0);  // a text of any size shows whole
    parent.FilterMessages(hwnd(), [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != kAppendSlice) {
            return std::nullopt;
        }
        AppendNextSlice();
        return 0;
    });
}

void LongTextBox::ShowText(std::wstring text) {
    pending_ = std::move(text);
    offset_ = 0;
    sliceLength_ = kFirstSliceLength;
    selection_.reset();
    std::wstring slice = NextSlice();
    arrived_ = slice.size();
    SetText(slice);
    if (!IsComplete()) {
        ::PostMessageW(hwnd(), kAppendSlice, 0, 0);
    }
}

// The next slice of the text on its way, up to a line's end; the last one
// empties what is on its way.
std::wstring LongTextBox::NextSlice() {
    std::size_t end = pending_.find(L"\r\n", std::min(offset_ + sliceLength_, pending_.size()));
    sliceLength_ = std::min(sliceLength_ * 2, kLargestSliceLength);
    end = end == std::wstring::npos ? pending_.size() : end + 2;
    std::wstring slice = pending_.substr(offset_, end - offset_);
    offset_ = end;
    if (offset_ == pending_.size()) {
        pending_.clear();
        offset_ = 0;
    }
    return slice;
}

void LongTextBox::AppendNextSlice() {
    if (IsComplete()) {
        return;  // another text has been shown since
    }
    // Appended at the end, where the box moves its caret: the user's place is kept.
    DWORD start = 0;
    DWORD end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    LRESULT firstLine = Send(EM_GETFIRSTVISIBLELINE);
    // A slice is no edit of the user's.
    LRESULT modified = Send(EM_GETMODIFY);
    Send(WM_SETREDRAW, FALSE);
    // Asking the box for its length would cost another pass over its text.
    auto length = static_cast<LPARAM>(arrived_);
    Send(EM_SETSEL, static_cast<WPARAM>(length), length);
    std::wstring slice = NextSlice();
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(slice.c_str()));
    Send(EM_SETMODIFY, static_cast<WPARAM>(modified));
    arrived_ += slice.size();
    Send(EM_SETSEL, start, static_cast<LPARAM>(end));
    Send(EM_LINESCROLL, 0, firstLine - Send(EM_GETFIRSTVISIBLELINE));
    SelectOnceArrived();
    Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    if (!IsComplete()) {
        ::PostMessageW(hwnd(), kAppendSlice, 0, 0);
    } else if (onComplete_) {
        onComplete_();
    }
}

void LongTextBox::Select(std::size_t start, std::size_t end) {
    selection_.emplace(start, end);
    SelectOnceArrived();
}

void LongTextBox::SelectOnceArrived() {
    if (!selection_ || (!IsComplete() && selection_->second > arrived_)) {
        return;
    }
    Send(EM_SETSEL, selection_->first, static_cast<LPARAM>(selection_->second));
    Send(EM_SCROLLCARET);
    selection_.reset();
}

}  // namespace claverix::ui
