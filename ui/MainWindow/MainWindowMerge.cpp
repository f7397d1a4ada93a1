#include "ui/MainWindow/MainWindow.h"

#include <string>
#include <vector>

#include "app/HandlerRegistration.h"
#include "app/Preview.h"
#include "app/Settings.h"
#include "engine/Analysis.h"
#include "engine/ArchivePaths.h"
#include "engine/Merge.h"
#include "engine/Reporting.h"

namespace claverix::ui {

void MainWindow::Merge() {
    std::optional<LoadedFile> file = CurrentFile();
    // The engine state is the shown file's analysis: only selecting a file analyses one.
    if (!file || engine_.state.ImportBlocked || !SettleUnsavedContent(false)) {
        return;  // nothing selected, a file the analysis has refused, or a cancelled save
    }
    // The file may have been rewritten since its analysis: what is saved is
    // what the importer is about to read. The question follows the marks
    // the file had when it was selected.
    std::optional<engine::RestorationText> restoration =
        engine::CurrentRestorationText(engine_, file->directory, file->name);
    if (!restoration) {
        return;
    }
    // Offered from the merge's question, the preview opens over it.
    engine::MergeRegFile(engine_, file->directory, file->name, *restoration,
                         [&] { ShowPreviewOf(*file, ::GetActiveWindow()); });
    RereadList();
}

void MainWindow::Preview() {
    std::optional<LoadedFile> file = CurrentFile();
    if (!file) {
        engine::ShowMessage(engine_.platform, kNoFileSelected);
        return;
    }
    if (SettleUnsavedContent(false)) {
        ShowPreviewOf(*file, hwnd());
    }
}

void MainWindow::ShowPreviewOf(const LoadedFile& file, HWND owner) {
    std::vector<app::PreviewRow> rows = app::BuildPreview(engine_.platform, file.directory, file.name);
    dialogs_.ShowPreview(owner, file.name, std::move(rows));
}

// Merges the file that makes Claverix the shell's "open" command for
// registry files, written afresh, through the safe merge: its restoration
// file brings the previous command back. Analysed apart, so that what the
// window shows keeps its own analysis.
void MainWindow::RegisterAsOpener() {
    platform::Platform& platform = engine_.platform;
    if (!app::WriteHandlerRegistrationFile(platform, engine_.startup.Signature)) {
        return;
    }
    std::string path =
        engine::HandlerRegistrationPath(app::ExecutableDirectory(platform.environment.ExecutablePath()));
    std::string directory = path.substr(0, path.rfind('\\'));
    engine::Engine registration{platform, engine_.startup, {}};
    engine::AnalyseRegFile(registration, directory, std::string(engine::kHandlerRegistrationFileName));
    engine::MergeRegFile(registration, directory, std::string(engine::kHandlerRegistrationFileName));
    RereadList();
}

}  // namespace claverix::ui
