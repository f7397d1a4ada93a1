#include "program/ProgramDialogs.h"

#include "platform/win32/Text.h"
#include "ui/AboutBox/AboutBox.h"
#include "ui/OptionsDialog/OptionsDialog.h"
#include "ui/PreviewWindow/PreviewWindow.h"
#include "ui/RestorationViewer/RestorationViewer.h"

namespace claverix::program {

void TakeOptions(engine::Engine& engine, const app::ArchiveOptions& applied) {
    engine.startup.ArchivePath = applied.directory;
    engine.startup.Signature = applied.signature;
}

ProgramDialogs::ProgramDialogs(engine::Engine& engine) : engine_(engine), searchDialog_(engine.platform) {}

void ProgramDialogs::ShowOptions(HWND owner, std::function<void(const std::string&)> showFilesOf) {
    ui::OptionsDialog options(engine_.platform, engine_.startup.IniFile,
                              [&](const app::ArchiveOptions& applied) {
                                  TakeOptions(engine_, applied);
                                  showFilesOf(engine::RegistryFilesDirectory(applied.directory));
                              });
    options.ShowModal(owner);
}

void ProgramDialogs::ShowRestoration(HWND owner, const std::wstring& restoreText) {
    ui::RestorationViewer viewer(engine_.platform.profile, engine_.startup.IniFile);
    viewer.Show(owner, restoreText);
}

void ProgramDialogs::ShowAbout(HWND owner) {
    ui::AboutBox about(engine_.platform);
    about.ShowModal(owner);
}

void ProgramDialogs::ShowPreview(HWND owner, const std::string& fileName, std::vector<app::PreviewRow> rows,
                                 const std::string& note) {
    ui::PreviewWindow(platform::win32::Utf8ToWide(fileName), std::move(rows),
                      platform::win32::Utf8ToWide(note))
        .ShowModal(owner);
}

bool ProgramDialogs::Search(HWND owner, app::SearchState& state, const app::ListedFiles& files) {
    return searchDialog_.Run(owner, state, files);
}

}  // namespace claverix::program
