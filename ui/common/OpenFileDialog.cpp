#include "ui/common/OpenFileDialog.h"

#include <commdlg.h>

#include "platform/win32/SystemLibrary.h"

namespace claverix::ui {

namespace {

// Room for the names of many files: the dialog refuses a choice whose names
// do not fit.
constexpr std::size_t kChosenNamesRoom = 1 << 20;

// What the dialog hands back, each piece ended by a NUL and the whole by
// another: one file's path, or the folder and then each file's name.
std::vector<std::wstring> PathsOf(const std::vector<wchar_t>& chosen) {
    std::vector<std::wstring> pieces;
    for (const wchar_t* piece = chosen.data(); *piece != L'\0'; piece += pieces.back().size() + 1) {
        pieces.emplace_back(piece);
    }
    if (pieces.size() < 2) {
        return pieces;
    }
    // A drive's root comes with its backslash.
    std::wstring folder = pieces.front().ends_with(L'\\') ? pieces.front() : pieces.front() + L'\\';
    std::vector<std::wstring> paths;
    for (auto name = pieces.begin() + 1; name != pieces.end(); ++name) {
        paths.push_back(folder + *name);
    }
    return paths;
}

}  // namespace

std::vector<std::wstring> ChooseFilesToOpen(HWND owner, const OpenFileRequest& request) {
    std::vector<wchar_t> chosen(kChosenNamesRoom, L'\0');
    std::wstring filter = request.filterName + L'\0' + request.pattern + L'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_LONGNAMES | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    platform::win32::EnsureComInitialized();
    static const auto openFileName =
        platform::win32::SystemFunction<decltype(&::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!openFileName(&dialog)) {
        return {};  // cancelled
    }
    return PathsOf(chosen);
}

}  // namespace claverix::ui
