#pragma once

#include <memory>

#include "app/Startup.h"
#include "program/ProgramDialogs.h"
#include "ui/MainWindow/MainWindow.h"

namespace claverix::program {

// The windows start-up opens: the options dialog until a signature is
// stored, then the main window, which the dialog's Apply may already have
// loaded hidden.
class DesktopWindows final : public app::StartupWindows {
public:
    bool ShowOptionsDialog(engine::Engine& engine) override;
    bool ShowMainWindow(engine::Engine& engine) override;
    void ShowPreview(const std::string& fileName, std::vector<app::PreviewRow> rows,
                     const std::string& note) override;

private:
    ui::MainWindow* LoadedMainWindow(engine::Engine& engine);

    // Made with the main window, and gone after it.
    std::unique_ptr<ProgramDialogs> dialogs_;
    std::unique_ptr<ui::MainWindow> main_;
};

}  // namespace claverix::program
