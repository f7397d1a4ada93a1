#pragma once

#include "app/Archive.h"
#include "engine/Engine.h"
#include "ui/MainWindow/MainWindowDialogs.h"
#include "ui/SearchDialog/SearchDialog.h"

namespace claverix::program {

// What the options dialog has just stored becomes what the running program uses.
void TakeOptions(engine::Engine& engine, const app::ArchiveOptions& applied);

// The windows the main window opens: the options dialog, the restoration
// viewer, the preview and the About box, each loaded afresh for each opening, and the
// search dialog, which stays loaded, hidden, between searches.
class ProgramDialogs final : public ui::MainWindowDialogs {
public:
    explicit ProgramDialogs(engine::Engine& engine);

    void ShowOptions(HWND owner, std::function<void(const std::string&)> showFilesOf) override;
    void ShowRestoration(HWND owner, const std::wstring& restoreText) override;
    void ShowAbout(HWND owner) override;
    void ShowPreview(HWND owner, const std::string& fileName, std::vector<app::PreviewRow> rows,
                     const std::string& note) override;
    bool Search(HWND owner, app::SearchState& state, const app::ListedFiles& files) override;

private:
    engine::Engine& engine_;
    ui::SearchDialog searchDialog_;
};

}  // namespace claverix::program
