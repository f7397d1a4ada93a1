#include "ui/MainWindow/MainWindow.h"

#include <string>
#include <vector>

#include "app/HandlerRegistration.h"
#include "app/Preview.h"
#include "app/Settings.h"
#include "engine/ArchivePaths.h"
#include "engine/Merge.h"
#include "engine/Reporting.h"
#include "platform/Paths.h"

namespace claverix::ui {

void MainWindow::Merge() {
    // A file the analysis has refused says why when the merge reads it.
    if (!CurrentFile() || !SettleUnsavedContent(false)) {
        return;  // nothing selected, or a cancelled save
    }
    const LoadedFile& file = *CurrentFile();
    engine::MergeRequest request{file.directory, file.name};
    // What is merged is what the window shows: the marks as ticked, the content as saved.
    request.shownBytes = file.analysis.bytes;
    request.honoursNoUndo = true;
    // Offered from the merge's question, the preview opens over it.
    request.preview = [this](const engine::Analysis& analysis) {
        ShowPreviewOf(analysis, ::GetActiveWindow());
    };
    if (engine::MergeRegFile(engine_, request).outcome == engine::MergeOutcome::FileChanged) {
        RereadListAndFile();  // the window shows the file as it is now
    } else {
        RereadList();
    }
}

void MainWindow::Preview() {
    if (!CurrentFile()) {
        engine::ShowMessage(engine_.platform, kNoFileSelected);
        return;
    }
    if (SettleUnsavedContent(false)) {
        ShowPreviewOf(CurrentFile()->analysis, hwnd());
    }
}

void MainWindow::ShowPreviewOf(const engine::Analysis& analysis, HWND owner) {
    dialogs_.ShowPreview(owner, analysis.fileName,
                         app::BuildPreview(engine_.platform.registry, analysis.foreseen),
                         app::PreviewNote(analysis));
}

// Merges the file that makes Claverix the shell's "open" command for
// registry files, written afresh, through the safe merge: its restoration
// file brings the previous command back.
void MainWindow::RegisterAsOpener() {
    platform::Platform& platform = engine_.platform;
    if (!app::WriteHandlerRegistrationFile(platform, engine_.startup.Signature)) {
        return;
    }
    std::string path =
        engine::HandlerRegistrationPath(app::ExecutableDirectory(platform.environment.ExecutablePath()));
    engine::MergeRegFile(engine_,
                         {std::string(platform::DirectoryOf(path)), std::string(platform::NameOf(path))});
    RereadList();
}

}  // namespace claverix::ui
