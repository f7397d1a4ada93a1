#include "ui/common/Clipboard.h"

#include <cstring>

namespace claverix::ui {

bool CopyToClipboard(HWND owner, const std::wstring& text) {
    if (!::OpenClipboard(owner)) {
        return false;
    }
    ::EmptyClipboard();
    std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool copied = false;
    if (memory != nullptr) {
        std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
        ::GlobalUnlock(memory);
        // Once set, the memory is the clipboard's.
        copied = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!copied) {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
    return copied;
}

}  // namespace claverix::ui
