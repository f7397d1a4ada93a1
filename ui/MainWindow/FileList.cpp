#include "ui/MainWindow/FileList.h"

#include <shlwapi.h>
#include <windows.h>

#include <algorithm>

#include "app/Archive.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"
#include "ui/common/Window.h"

namespace claverix::ui {

namespace {

struct Listed {
    std::string name;
    std::wstring wide;
    std::string sortKey;
};

// The collation's sort key, digits as numbers: its bytes compare as the names
// do. Empty when the system could not make it.
std::string SortKey(const std::wstring& name) {
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE | SORT_DIGITSASNUMBERS;
    // Room for the key of any file name, so that one call makes it.
    constexpr int kCapacity = 16 * MAX_PATH;
    alignas(wchar_t) char key[kCapacity];
    int size = ::LCMapStringW(LOCALE_USER_DEFAULT, kFlags, name.c_str(), -1, reinterpret_cast<LPWSTR>(key),
                              kCapacity);
    return std::string(key, static_cast<std::size_t>(size));
}

// Explorer lists names as StrCmpLogicalW orders them: the locale's collation,
// ignoring case, digits compared as numbers. Sort keys made with those rules
// give that order for one call per name rather than one per comparison,
// which counts where each call is slow (Wine); without keys, the names are
// compared one pair at a time.
void SortAsExplorer(std::vector<Listed>& listed) {
    bool keyed =
        std::none_of(listed.begin(), listed.end(), [](const Listed& file) { return file.sortKey.empty(); });
    if (keyed) {
        std::sort(listed.begin(), listed.end(),
                  [](const Listed& a, const Listed& b) { return a.sortKey < b.sortKey; });
    } else {
        std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
            return ::StrCmpLogicalW(a.wide.c_str(), b.wide.c_str()) < 0;
        });
    }
}

// The directory's registry files in Explorer's order; nullopt when it cannot be read.
std::optional<std::vector<Listed>> ListSorted(const std::string& directory) {
    std::vector<Listed> listed;
    WIN32_FIND_DATAA entry;
    platform::win32::UniqueFindHandle search(
        ::FindFirstFileExA((directory + "\\*.reg").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return std::nullopt;
        }
        return listed;
    }
    do {
        // The pattern also matches a longer extension through an 8.3 short name.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && app::IsRegFileName(entry.cFileName)) {
            std::wstring wide = platform::win32::AnsiToWide(entry.cFileName);
            std::string sortKey = SortKey(wide);
            listed.push_back({entry.cFileName, std::move(wide), std::move(sortKey)});
        }
    } while (::FindNextFileA(search.Get(), &entry));
    SortAsExplorer(listed);
    return listed;
}

}  // namespace

std::optional<std::vector<std::string>> ListRegFiles(const std::string& directory) {
    std::optional<std::vector<Listed>> listed = ListSorted(directory);
    if (!listed) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    names.reserve(listed->size());
    for (Listed& file : *listed) {
        names.push_back(std::move(file.name));
    }
    return names;
}

void FileList::Create(Window& parent, int id, const TwipsRect& placement) {
    Control::Create(
        parent, {WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE,
                 WS_EX_CLIENTEDGE, id, placement});
}

void FileList::SetDirectory(std::string directory) {
    directory_ = std::move(directory);
    std::vector<Listed> listed = ListSorted(directory_).value_or(std::vector<Listed>{});
    names_.clear();
    names_.reserve(listed.size());
    Send(WM_SETREDRAW, FALSE);
    Send(LB_RESETCONTENT);
    Send(LB_INITSTORAGE, listed.size(), static_cast<LPARAM>(listed.size() * 32 * sizeof(wchar_t)));
    for (Listed& file : listed) {
        Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file.wide.c_str()));
        names_.push_back(std::move(file.name));
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
