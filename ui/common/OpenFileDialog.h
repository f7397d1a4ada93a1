#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace claverix::ui {

// What the common open-file dialog asks for.
struct OpenFileRequest {
    std::wstring title;
    std::wstring filterName;  // "Fichiers Reg"
    std::wstring pattern;     // "*.reg"
    std::wstring defaultExtension;
};

// The files the user chose in the common open-file dialog, one or several
// of one folder, each of which must exist, as full paths; none when the
// dialog was cancelled.
std::vector<std::wstring> ChooseFilesToOpen(HWND owner, const OpenFileRequest& request);

}  // namespace claverix::ui
