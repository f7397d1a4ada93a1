#include "ui/OptionsDialog/DirectoryList.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "platform/win32/FilePath.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibrary.h"
#include "ui/common/Window.h"

namespace claverix::ui {

namespace {

bool IsDirectory(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(platform::win32::FilePathForSystem(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
    while (path.size() > 1 && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

// The drive's root of a full path, with its backslash: "C:\" or "\\server\share\".
std::wstring RootOf(const std::wstring& path) {
    if (path.starts_with(L"\\\\")) {
        auto server = path.find(L'\\', 2);
        auto share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        return (share == std::wstring::npos ? path : path.substr(0, share)) + L"\\";
    }
    return path.substr(0, std::min<std::size_t>(path.size(), 2)) + L"\\";
}

std::vector<std::wstring> SubDirectoryNames(const std::wstring& directory) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    platform::win32::UniqueFindHandle search(::FindFirstFileExW(
        platform::win32::FilePathForSystem(WithoutTrailingBackslash(directory) + L"\\*").c_str(),
        FindExInfoBasic, &entry, FindExSearchLimitToDirectories, nullptr, 0));
    if (!search) {
        return names;
    }
    do {
        std::wstring_view name = entry.cFileName;
        bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool isHidden = (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        if (isDirectory && !isHidden && name != L"." && name != L"..") {
            names.emplace_back(name);
        }
    } while (::FindNextFileW(search.Get(), &entry));
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        static const auto compare =
            platform::win32::SystemFunction<decltype(&::StrCmpLogicalW)>(L"shlwapi.dll", "StrCmpLogicalW");
        return compare(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

UniqueIcon FolderIcon(bool opened) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES | (opened ? SHGFI_OPENICON : 0);
    static const auto fileInfo =
        platform::win32::SystemFunction<decltype(&::SHGetFileInfoW)>(L"shell32.dll", "SHGetFileInfoW");
    fileInfo(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags);
    return UniqueIcon(info.hIcon);
}

}  // namespace

void DirectoryList::Create(Window& parent, int id, const TwipsRect& placement) {
    Control::Create(parent, {WC_LISTBOXW, L"",
                             LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                                 WS_VSCROLL | WS_TABSTOP | WS_VISIBLE,
                             WS_EX_CLIENTEDGE, id, placement});
    openedIcon_ = FolderIcon(true);
    closedIcon_ = FolderIcon(false);
    OnDpiChanged(parent.Dpi());
    // Enter opens the highlighted directory instead of going to the dialog.
    parent.FilterMessages(hwnd(), [this](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_GETDLGCODE && wParam == VK_RETURN) {
            return DLGC_WANTALLKEYS;
        }
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            OnDoubleClick();
            return 0;
        }
        return std::nullopt;
    });
}

int DirectoryList::ItemHeight(UINT dpi) {
    return MetricAt(SM_CYSMICON, dpi) + 2;
}

void DirectoryList::OnDpiChanged(UINT dpi) {
    dpi_ = dpi;
    Send(LB_SETITEMHEIGHT, 0, ItemHeight(dpi));
}

bool DirectoryList::SetPath(const std::wstring& path) {
    if (!IsDirectory(path)) {
        return false;
    }
    // Joined with names from here on: a root keeps its backslash, nothing else does.
    std::wstring existing = WithoutTrailingBackslash(path) + L"\\";
    path_ = RootOf(existing) == existing ? existing : WithoutTrailingBackslash(existing);
    Fill();
    return true;
}

void DirectoryList::Fill() {
    entries_.clear();
    std::wstring root = RootOf(path_);
    std::wstring rootName = root;
    ::CharLowerW(rootName.data());  // drives show as "c:\", as the classic list shows them
    entries_.push_back({root, rootName, 0, true});
    std::wstring current = WithoutTrailingBackslash(root);
    std::wstring rest = path_.size() > root.size() ? path_.substr(root.size()) : std::wstring{};
    for (std::size_t start = 0; start < rest.size();) {
        std::size_t end = std::min(rest.find(L'\\', start), rest.size());
        std::wstring name = rest.substr(start, end - start);
        current += L"\\" + name;
        entries_.push_back({current, name, static_cast<int>(entries_.size()), true});
        start = end + 1;
    }
    int openedIndex = static_cast<int>(entries_.size()) - 1;
    int childLevel = openedIndex + 1;
    for (const std::wstring& name : SubDirectoryNames(path_)) {
        entries_.push_back({WithoutTrailingBackslash(path_) + L"\\" + name, name, childLevel, false});
    }

    Send(WM_SETREDRAW, FALSE);
    Send(LB_RESETCONTENT);
    for (const Entry& entry : entries_) {
        Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
    }
    Send(LB_SETCURSEL, static_cast<WPARAM>(openedIndex));
    Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void DirectoryList::OnDoubleClick() {
    auto index = static_cast<int>(Send(LB_GETCURSEL));
    if (index >= 0 && index < static_cast<int>(entries_.size())) {
        SetPath(entries_[static_cast<std::size_t>(index)].path);
    }
}

void DirectoryList::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size()) {
        return;
    }
    const Entry& entry = entries_[item.itemID];
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    int iconSize = MetricAt(SM_CXSMICON, dpi_);
    int indent = item.rcItem.left + 2 + entry.level * ScaledPixels(8, dpi_);
    int iconTop = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - iconSize) / 2;
    if (HICON icon = (entry.opened ? openedIcon_ : closedIcon_).Get()) {
        ::DrawIconEx(item.hDC, indent, iconTop, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    }
    RECT text = item.rcItem;
    text.left = indent + iconSize + ScaledPixels(4, dpi_);
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::DrawTextW(item.hDC, entry.name.c_str(), static_cast<int>(entry.name.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) != 0) {
        ::DrawFocusRect(item.hDC, &item.rcItem);
    }
}

}  // namespace claverix::ui
