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

// The file the user chose in the common open-file dialog, which must exist,
// as a full path; empty when the dialog was cancelled.
std::wstring ChooseFileToOpen(HWND owner, const OpenFileRequest& request);

}  // namespace claverix::ui
