#include "ui/frmMain/FileList.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "platform/win32/Text.h"
#include "ui/common/Window.h"

namespace claverix::ui {

namespace {

bool HasRegExtension(std::string_view name) {
    // The pattern also matches a longer extension through an 8.3 short name.
    return name.size() > 4 && ::lstrcmpiA(std::string(name.substr(name.size() - 4)).c_str(), ".reg") == 0;
}

struct Listed {
    std::string name;
    std::wstring wide;
};

}  // namespace

std::optional<std::vector<std::string>> ListRegFiles(const std::string& directory) {
    std::vector<Listed> listed;
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileExA((directory + "\\*.reg").c_str(), FindExInfoBasic, &entry,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return std::nullopt;
        }
        return std::vector<std::string>{};
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && HasRegExtension(entry.cFileName)) {
            listed.push_back({entry.cFileName, platform::win32::AnsiToWide(entry.cFileName)});
        }
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);

    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return ::StrCmpLogicalW(a.wide.c_str(), b.wide.c_str()) < 0; });
    std::vector<std::string> names;
    names.reserve(listed.size());
    for (Listed& file : listed) {
        names.push_back(std::move(file.name));
    }
    return names;
}

void FileList::Create(Window& parent, int id, const TwipsRect& placement) {
    Control::Create(parent, {WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE,
                             WS_EX_CLIENTEDGE, id, placement});
}

void FileList::SetDirectory(std::string directory) {
    directory_ = std::move(directory);
    names_ = ListRegFiles(directory_).value_or(std::vector<std::string>{});
    Send(WM_SETREDRAW, FALSE);
    Send(LB_RESETCONTENT);
    Send(LB_INITSTORAGE, names_.size(), static_cast<LPARAM>(names_.size() * 32 * sizeof(wchar_t)));
    for (const std::string& name : names_) {
        Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::win32::AnsiToWide(name).c_str()));
    }
    Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void FileList::Refresh() {
    int selected = SelectedIndex();
    std::string selectedName = selected >= 0 ? names_[static_cast<std::size_t>(selected)] : std::string{};
    SetDirectory(directory_);
    Select(selected >= 0 ? IndexOf(selectedName) : -1);
}

int FileList::SelectedIndex() const {
    auto index = static_cast<int>(Send(LB_GETCURSEL));
    return index >= 0 && index < Count() ? index : -1;
}

void FileList::Select(int index) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(index));
}

int FileList::IndexOf(const std::string& name) const {
    auto found = std::find(names_.begin(), names_.end(), name);
    return found == names_.end() ? -1 : static_cast<int>(found - names_.begin());
}

}  // namespace claverix::ui
