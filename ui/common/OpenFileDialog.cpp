#include "ui/common/OpenFileDialog.h"

#include <commdlg.h>

namespace claverix::ui {

std::wstring ChooseFileToOpen(HWND owner, const OpenFileRequest& request) {
    // Room for the longest path the dialog hands back.
    std::wstring path(32768, L'\0');
    std::wstring filter = request.filterName + L'\0' + request.pattern + L'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
    if (!::GetOpenFileNameW(&dialog)) {
        return {};  // cancelled
    }
    path.resize(path.find(L'\0'));
    return path;
}

}  // namespace claverix::ui
