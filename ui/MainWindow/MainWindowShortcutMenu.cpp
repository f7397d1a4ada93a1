// The file list's shortcut menu, and what only it and the keyboard reach:
// the shown file to the Recycle Bin, and its folder in Explorer.
#include "engine/Reporting.h"
#include "platform/win32/Text.h"
#include "ui/MainWindow/MainMenu.h"
#include "ui/MainWindow/MainWindow.h"
#include "ui/common/GuiHandles.h"
#include "ui/common/Shell.h"

namespace claverix::ui {

using platform::win32::Utf8ToWide;

// A right click, Shift+F10 or the menu key over the file list. As in
// Explorer, a right click on an entry first selects it as a left click does,
// so that the menu acts on the file it shows.
void MainWindow::OnContextMenu(HWND control, std::optional<POINT> screen) {
    if (control != fileList_.hwnd()) {
        return;
    }
    if (screen) {
        int index = fileList_.IndexAt(*screen);
        if (index < 0) {
            return;  // the empty part of the list holds no file to act on
        }
        if (index != fileList_.SelectedIndex() || !CurrentFile()) {
            fileList_.Click(index);
        }
        // Leaving the file shown before may have been refused: the menu is the clicked file's only.
        if (index != fileList_.SelectedIndex()) {
            return;
        }
    }
    if (CurrentFile()) {
        ShowShortcutMenu(screen.value_or(fileList_.BelowEntry(fileList_.SelectedIndex())));
    }
}

void MainWindow::ShowShortcutMenu(POINT screen) {
    UniqueMenu menu(CreateFileShortcutMenu());
    // A double click merges: the menu shows that command as its default.
    ::SetMenuDefaultItem(menu.Get(), IDM_MERGE, FALSE);
    if (!CurrentFile()->analysis.refusal.empty()) {
        ::EnableMenuItem(menu.Get(), IDM_MERGE, MF_BYCOMMAND | MF_GRAYED);
    }
    UINT command =
        ::TrackPopupMenuEx(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, hwnd(), nullptr);
    if (command != 0) {
        OnCommand(static_cast<int>(command), 0);
    }
}

void MainWindow::DeleteShownFile() {
    const LoadedFile* file = CurrentFile();
    if (!file) {
        return;
    }
    platform::Platform& platform = engine_.platform;
    const std::string& name = file->name;
    if (!platform.prompt.AskYesNo("Voulez-vous mettre le fichier " + name + " à la corbeille ?",
                                  engine::kQuestionTitle, platform::PromptIcon::Exclamation)) {
        return;
    }
    switch (MoveToRecycleBin(hwnd(), Utf8ToWide(engine::JoinPath(file->directory, file->name)))) {
        case RecycleResult::Recycled:
            // Nothing is selected then, as in an empty list.
            ClearView();
            RereadList();
            break;
        case RecycleResult::Kept:
            break;
        case RecycleResult::Failed:
            engine::ShowMessage(platform, "Le fichier " + name + " ne peut pas être mis à la corbeille.");
            break;
    }
}

void MainWindow::ShowShownFileInFolder() {
    const LoadedFile* file = CurrentFile();
    if (file && !ShowInExplorer(Utf8ToWide(engine::JoinPath(file->directory, file->name)))) {
        engine::ShowMessage(engine_.platform, "L'Explorateur ne peut pas être ouvert.");
    }
}

}  // namespace claverix::ui
