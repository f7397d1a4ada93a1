#include "program/DesktopWindows.h"

#include "ui/OptionsDialog/OptionsDialog.h"

namespace claverix::ui {

MainWindow* DesktopWindows::LoadedMainWindow(engine::Engine& engine) {
    if (!main_) {
        // Closing the main window ends the program.
        auto window = std::make_unique<MainWindow>(engine, [] { ::PostQuitMessage(0); });
        if (!window->Load()) {
            return nullptr;
        }
        main_ = std::move(window);
    }
    return main_.get();
}

bool DesktopWindows::ShowOptionsDialog(engine::Engine& engine) {
    OptionsDialog options(engine, [this, &engine](const std::string& directory) {
        if (MainWindow* window = LoadedMainWindow(engine)) {
            window->PointListAt(directory);
        }
    });
    return options.ShowModal(nullptr);
}

bool DesktopWindows::ShowMainWindow(engine::Engine& engine) {
    // Loaded already when the options dialog has pointed its list at the new archive.
    MainWindow* window = LoadedMainWindow(engine);
    if (window == nullptr) {
        return false;
    }
    window->Show();
    return true;
}

}  // namespace claverix::ui
