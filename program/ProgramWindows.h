#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "engine/Engine.h"
#include "ui/MainWindow/MainWindow.h"
#include "ui/MainWindow/MainWindowDialogs.h"
#include "ui/SearchDialog/SearchDialog.h"

namespace claverix::program {

// Every window of the program, wired together. Start-up opens the options
// dialog until a signature is stored, then the main window, which the
// dialog's Apply may already have loaded hidden. The main window opens the
// others: the options dialog, the restoration viewer, the preview and the
// About box, each loaded afresh for each opening, and the search dialog,
// which stays loaded, hidden, between searches. What the options dialog
// stores becomes what the running program uses.
class ProgramWindows final : public app::StartupWindows, public ui::MainWindowDialogs {
public:
    // Start-up's: the engine comes with its first call.
    ProgramWindows() = default;
    // The windows of a main window made on `engine` by someone else.
    explicit ProgramWindows(engine::Engine& engine) : engine_(&engine) {}

    bool ShowOptionsDialog(engine::Engine& engine) override;
    bool ShowMainWindow(engine::Engine& engine) override;
    // Over the question that offers it, which is the active window.
    void ShowPreview(const std::string& fileName, std::vector<app::PreviewRow> rows,
                     const std::string& note) override;

    void ShowOptions(HWND owner, std::function<void(const std::string&)> showFilesOf) override;
    void ShowRestoration(HWND owner, const std::wstring& restoreText) override;
    void ShowAbout(HWND owner) override;
    void ShowPreview(HWND owner, const std::string& fileName, std::vector<app::PreviewRow> rows,
                     const std::string& note) override;
    bool Search(HWND owner, app::SearchState& state, const app::ListedFiles& files) override;

private:
    ui::MainWindow* LoadedMainWindow();
    bool RunOptionsDialog(HWND owner, const std::function<void(const std::string&)>& showFilesOf);
    void TellIfNotShown(bool shown);

    engine::Engine* engine_ = nullptr;
    // Made at the first search, and kept.
    std::optional<ui::SearchDialog> searchDialog_;
    // Gone before the search dialog it owns.
    std::unique_ptr<ui::MainWindow> main_;
};

}  // namespace claverix::program
