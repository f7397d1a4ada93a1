#include "program/ProgramWindows.h"

#include "engine/ArchivePaths.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"
#include "ui/AboutBox/AboutBox.h"
#include "ui/OptionsDialog/OptionsDialog.h"
#include "ui/PreviewWindow/PreviewWindow.h"
#include "ui/RestorationViewer/RestorationViewer.h"

namespace claverix::program {

using platform::win32::Utf8ToWide;

ui::MainWindow* ProgramWindows::LoadedMainWindow() {
    if (!main_) {
        // Closing the main window ends the program.
        auto window = std::make_unique<ui::MainWindow>(*engine_, *this, [] { ::PostQuitMessage(0); });
        if (!window->Load()) {
            return nullptr;
        }
        main_ = std::move(window);
    }
    return main_.get();
}

bool ProgramWindows::ShowOptionsDialog(engine::Engine& engine) {
    engine_ = &engine;
    return RunOptionsDialog(nullptr, [this](const std::string& registryFiles) {
        if (ui::MainWindow* window = LoadedMainWindow()) {
            window->ShowFilesOf(registryFiles);
        }
    });
}

bool ProgramWindows::ShowMainWindow(engine::Engine& engine) {
    engine_ = &engine;
    // Loaded already when the options dialog has pointed its list at the new archive.
    ui::MainWindow* window = LoadedMainWindow();
    if (window == nullptr) {
        return false;
    }
    window->Show();
    return true;
}

void ProgramWindows::ShowPreview(const std::string& fileName, std::vector<app::PreviewRow> rows,
                                 const std::string& note) {
    ShowPreview(::GetActiveWindow(), fileName, std::move(rows), note);
}

void ProgramWindows::ShowOptions(HWND owner, std::function<void(const std::string&)> showFilesOf) {
    TellIfNotShown(RunOptionsDialog(owner, showFilesOf));
}

void ProgramWindows::ShowRestoration(HWND owner, const std::wstring& restoreText) {
    TellIfNotShown(
        ui::RestorationViewer(engine_->platform.profile, engine_->startup.IniFile).Show(owner, restoreText));
}

void ProgramWindows::ShowAbout(HWND owner) {
    TellIfNotShown(ui::AboutBox(engine_->platform).ShowModal(owner));
}

void ProgramWindows::ShowPreview(HWND owner, const std::string& fileName, std::vector<app::PreviewRow> rows,
                                 const std::string& note) {
    TellIfNotShown(
        ui::PreviewWindow(Utf8ToWide(fileName), std::move(rows), Utf8ToWide(note)).ShowModal(owner));
}

bool ProgramWindows::Search(HWND owner, app::SearchState& state, const app::ListedFiles& files) {
    if (!searchDialog_) {
        searchDialog_.emplace(engine_->platform);
    }
    return searchDialog_->Run(owner, state, files);
}

// On Apply, the new archive and signature are the engine's; `showFilesOf`
// receives the directory of the new archive's registry files.
bool ProgramWindows::RunOptionsDialog(HWND owner,
                                      const std::function<void(const std::string&)>& showFilesOf) {
    ui::OptionsDialog options(engine_->platform, engine_->startup.IniFile,
                              [&](const app::ArchiveOptions& applied) {
                                  engine_->startup.ArchivePath = applied.directory;
                                  engine_->startup.Signature = applied.signature;
                                  showFilesOf(engine::RegistryFilesDirectory(applied.directory));
                              });
    return options.ShowModal(owner);
}

// A window that Windows refused to create: the user is told, rather than left
// waiting for it.
void ProgramWindows::TellIfNotShown(bool shown) {
    if (!shown) {
        engine::ShowMessage(engine_->platform, "Windows n'a pas pu créer la fenêtre demandée.");
    }
}

}  // namespace claverix::program
