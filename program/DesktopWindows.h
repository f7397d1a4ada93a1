#pragma once

#include <memory>

#include "app/Startup.h"
#include "ui/MainWindow/MainWindow.h"

namespace claverix::ui {

// The windows start-up opens: the options dialog until a signature is
// stored, then the main window, which the dialog's Apply may already have
// loaded hidden.
class DesktopWindows final : public app::StartupWindows {
public:
    bool ShowOptionsDialog(engine::Engine& engine) override;
    bool ShowMainWindow(engine::Engine& engine) override;

private:
    MainWindow* LoadedMainWindow(engine::Engine& engine);

    std::unique_ptr<MainWindow> main_;
};

}  // namespace claverix::ui
