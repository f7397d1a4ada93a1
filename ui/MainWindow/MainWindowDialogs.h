#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Preview.h"
#include "app/Search.h"

namespace claverix::ui {

// The windows the main window opens. It does not know them: the program
// gives them, so that no window depends on another.
class MainWindowDialogs {
public:
    virtual ~MainWindowDialogs() = default;

    // The options dialog, modal. On Apply the program takes the new archive
    // and signature, and `showFilesOf` receives the directory of the new
    // archive's registry files.
    virtual void ShowOptions(HWND owner, std::function<void(const std::string&)> showFilesOf) = 0;

    // The restoration viewer, modal, showing `restoreText`.
    virtual void ShowRestoration(HWND owner, const std::wstring& restoreText) = 0;

    virtual void ShowAbout(HWND owner) = 0;

    // The preview of a merge of `fileName` (UTF-8), modal.
    virtual void ShowPreview(HWND owner, const std::string& fileName, std::vector<app::PreviewRow> rows,
                             const std::string& note) = 0;

    // The search dialog, which stays loaded, hidden, between searches. True
    // when it ended after a search: the caller then selects state.SearchIndex.
    virtual bool Search(HWND owner, app::SearchState& state, const app::ListedFiles& files) = 0;
};

}  // namespace claverix::ui
