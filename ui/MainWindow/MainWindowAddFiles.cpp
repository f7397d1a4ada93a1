// Adding files to the archive: files chosen in the open-file dialog or dropped
// on the window, copied into the archive's registry files.
#include "app/Archive.h"
#include "engine/Reporting.h"
#include "platform/Paths.h"
#include "platform/win32/Text.h"
#include "ui/MainWindow/MainWindow.h"
#include "ui/common/OpenFileDialog.h"

namespace claverix::ui {

using platform::win32::Utf8ToWide;
using platform::win32::WideToUtf8;

namespace {

// As the file system compares names.
bool SameName(const std::string& a, const std::string& b) {
    std::wstring wideA = Utf8ToWide(a);
    std::wstring wideB = Utf8ToWide(b);
    return ::CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                  static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

void MainWindow::ChooseFilesToAdd() {
    std::vector<std::wstring> paths =
        ChooseFilesToOpen(hwnd(), {L"Importation de fichiers Reg", L"Fichiers Reg", L"*.reg", L"reg"});
    if (!paths.empty()) {  // not cancelled
        AddFilesToArchive(paths);
    }
}

void MainWindow::OnDropFiles(const std::vector<std::wstring>& paths) {
    AddFilesToArchive(paths);
}

// Copies `paths` into the archive; one message names those that could not
// be. When one of them replaces the file shown, that file is shown afresh,
// as a new selection would show it.
void MainWindow::AddFilesToArchive(const std::vector<std::wstring>& paths) {
    if (!MayLeaveShownFile()) {
        return;
    }
    const std::string& archive = engine_.startup.ArchivePath;
    std::string refused;
    bool added = false;
    bool shownReplaced = false;
    for (const std::wstring& widePath : paths) {
        std::string path = WideToUtf8(widePath);
        std::string name(platform::NameOf(path));
        if (!app::IsRegFileName(path)) {
            refused += "\r\n" + name + " : ce n'est pas un fichier .reg.";
        } else if (app::AddToArchive(engine_.platform, archive, path)) {
            added = true;
            shownReplaced = shownReplaced || IsShownFile(engine::RegistryFilesDirectory(archive), name);
        }
    }
    if (!refused.empty()) {
        engine::ShowMessage(engine_.platform, "Ces fichiers n'ont pas été importés :" + refused);
    }
    if (shownReplaced) {
        RereadListAndFile();
    } else if (added) {
        RereadList();
    }
}

// Whether `directory`\`name` is the file the window shows.
bool MainWindow::IsShownFile(const std::string& directory, const std::string& name) const {
    const LoadedFile* shown = CurrentFile();
    return shown && SameName(shown->directory, directory) && SameName(shown->name, name);
}

}  // namespace claverix::ui
