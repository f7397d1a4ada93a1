#include "program/DesktopWindows.h"

#include "platform/win32/Text.h"
#include "ui/OptionsDialog/OptionsDialog.h"
#include "ui/PreviewWindow/PreviewWindow.h"

namespace claverix::program {

ui::MainWindow* DesktopWindows::LoadedMainWindow(engine::Engine& engine) {
    if (!main_) {
        dialogs_ = std::make_unique<ProgramDialogs>(engine);
        // Closing the main window ends the program.
        auto window = std::make_unique<ui::MainWindow>(engine, *dialogs_, [] { ::PostQuitMessage(0); });
        if (!window->Load()) {
            return nullptr;
        }
        main_ = std::move(window);
    }
    return main_.get();
}

bool DesktopWindows::ShowOptionsDialog(engine::Engine& engine) {
    ui::OptionsDialog options(engine.platform, engine.startup.IniFile,
                              [this, &engine](const app::ArchiveOptions& applied) {
                                  TakeOptions(engine, applied);
                                  if (ui::MainWindow* window = LoadedMainWindow(engine)) {
                                      window->ShowFilesOf(engine::RegistryFilesDirectory(applied.directory));
                                  }
                              });
    return options.ShowModal(nullptr);
}

bool DesktopWindows::ShowMainWindow(engine::Engine& engine) {
    // Loaded already when the options dialog has pointed its list at the new archive.
    ui::MainWindow* window = LoadedMainWindow(engine);
    if (window == nullptr) {
        return false;
    }
    window->Show();
    return true;
}

void DesktopWindows::ShowPreview(const std::string& fileName, std::vector<app::PreviewRow> rows,
                                 const std::string& note) {
    // Over the question that offers it, which is the active window.
    ui::PreviewWindow(platform::win32::Utf8ToWide(fileName), std::move(rows),
                      platform::win32::Utf8ToWide(note))
        .ShowModal(::GetActiveWindow());
}

}  // namespace claverix::program
