#include "ui/OptionsDialog/DriveList.h"

#include <windows.h>

#include "ui/common/Window.h"

namespace claverix::ui {

namespace {

std::vector<std::wstring> DriveRoots() {
    std::wstring buffer(::GetLogicalDriveStringsW(0, nullptr), L'\0');
    buffer.resize(::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data()));
    std::vector<std::wstring> roots;
    for (std::size_t start = 0; start < buffer.size();) {
        std::size_t end = buffer.find(L'\0', start);
        roots.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return roots;
}

// "c: [label]"; a drive without a medium, or a label, shows its letter only.
std::wstring DriveCaption(const std::wstring& root) {
    std::wstring caption = root.substr(0, 2);
    ::CharLowerW(caption.data());
    wchar_t label[MAX_PATH + 1] = {};
    UINT type = ::GetDriveTypeW(root.c_str());
    bool hasFixedMedium = type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_RAMDISK;
    if (hasFixedMedium &&
        ::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
        label[0] != L'\0') {
        caption += L" [" + std::wstring(label) + L"]";
    }
    return caption;
}

}  // namespace

void DriveList::Create(Window& parent, int id, const TwipsRect& placement) {
    Control::Create(parent, {WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE, 0,
                             id, placement});
    roots_ = DriveRoots();
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    for (std::size_t i = 0; i < roots_.size(); ++i) {
        Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DriveCaption(roots_[i]).c_str()));
        if (::CompareStringOrdinal(roots_[i].c_str(), 2, current, 2, TRUE) == CSTR_EQUAL) {
            accepted_ = static_cast<int>(i);
        }
    }
    Send(CB_SETCURSEL, static_cast<WPARAM>(accepted_));
}

std::wstring DriveList::SelectedRoot() const {
    auto index = static_cast<int>(Send(CB_GETCURSEL));
    return index >= 0 && index < static_cast<int>(roots_.size()) ? roots_[static_cast<std::size_t>(index)]
                                                                 : std::wstring{};
}

void DriveList::RestorePrevious() {
    Send(CB_SETCURSEL, static_cast<WPARAM>(accepted_));
}

void DriveList::AcceptSelection() {
    accepted_ = static_cast<int>(Send(CB_GETCURSEL));
}

}  // namespace claverix::ui
