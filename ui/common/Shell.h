#pragma once

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <string>

namespace claverix::ui {

enum class RecycleResult {
    Recycled,  // the file is in the Recycle Bin
    Kept,      // the user kept it, when it could only have been deleted for good
    Failed,
};

// Moves the file at `path` to the Recycle Bin without a question of the
// shell's own: the caller has asked. Where the file cannot go there (a drive
// without one), the shell asks over `owner` whether to delete it for good.
RecycleResult MoveToRecycleBin(HWND owner, const std::wstring& path);

// Opens an Explorer window on the folder of the file at `path`, the file
// selected. False when Explorer cannot be started.
bool ShowInExplorer(const std::wstring& path);

// ShellExecuteEx, the shell's DLL loaded and COM initialised as it needs them.
bool Execute(SHELLEXECUTEINFOW& execute);

}  // namespace claverix::ui
