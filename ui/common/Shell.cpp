#include "ui/common/Shell.h"

// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/win32/SystemLibrary.h"

namespace claverix::ui {

RecycleResult MoveToRecycleBin(HWND owner, const std::wstring& path) {
    // A list of paths, each ended by a NUL, the list by another.
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // FOF_WANTNUKEWARNING overrides FOF_NOCONFIRMATION for a file that would be deleted for good.
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_SILENT | FOF_NOERRORUI;
    platform::win32::EnsureComInitialized();
    static const auto fileOperation =
        platform::win32::SystemFunction<decltype(&::SHFileOperationW)>(L"shell32.dll", "SHFileOperationW");
    if (fileOperation(&operation) != 0) {
        return RecycleResult::Failed;
    }
    return operation.fAnyOperationsAborted ? RecycleResult::Kept : RecycleResult::Recycled;
}

bool ShowInExplorer(const std::wstring& path) {
    // Explorer by its full path: a program of that name elsewhere on the search path is not it.
    std::wstring explorer(MAX_PATH, L'\0');
    explorer.resize(::GetWindowsDirectoryW(explorer.data(), MAX_PATH));
    explorer += L"\\explorer.exe";
    std::wstring parameters = L"/select,\"" + path + L"\"";
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_FLAG_NO_UI;
    execute.lpFile = explorer.c_str();
    execute.lpParameters = parameters.c_str();
    execute.nShow = SW_SHOWNORMAL;
    return Execute(execute);
}

bool Execute(SHELLEXECUTEINFOW& execute) {
    platform::win32::EnsureComInitialized();
    static const auto shellExecute =
        platform::win32::SystemFunction<decltype(&::ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    return shellExecute(&execute) != FALSE;
}

}  // namespace claverix::ui
