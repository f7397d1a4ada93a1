#include "bench/BenchWindows.h"

#include "engine/Analysis.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

#include "bench/ChildProcesses.h"
#include "bench/RegFiles.h"
#include "engine/ArchivePaths.h"
#include "platform/win32/Text.h"
#include "ui/common/MessageLoop.h"

namespace claverix::bench {

namespace {

constexpr int kListId = 1;
// Where the main window has its list, and as large.
constexpr ui::TwipsRect kListPlacement{50, 425, 2415, 6150};

void Refused(const char* what) {
    throw std::runtime_error(std::string("Windows refused ") + what + " (is there a display?)");
}

engine::StartupValues StartupIn(const std::string& root) {
    return {root + "\\claverix.Ini", root + "\\archive", "Banc d'essai"};
}

// The program's own "reg" directory, which receives the handler-registration
// file, and the archive with its two sub-directories.
void CreateDirectoriesOf(const std::string& root) {
    const std::string archive = StartupIn(root).ArchivePath;
    for (const std::string& directory :
         {engine::JoinPath(root, engine::kHandlerRegistrationDirectoryName),
          engine::RegistryFilesDirectory(archive), engine::RestorationFilesDirectory(archive)}) {
        std::filesystem::create_directories(directory);
    }
}

}  // namespace

FileListWindow::FileListWindow() {
    ui::WindowSetup setup;
    setup.caption = L"Liste de fichiers";
    setup.clientWidth = kListPlacement.left * 2 + kListPlacement.width;
    setup.clientHeight = kListPlacement.top + kListPlacement.height + kListPlacement.left;
    if (!Create(setup)) {
        Refused("the file list's window");
    }
    list_.Create(*this, kListId, kListPlacement);
    PlaceControls();
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    ui::PumpWaitingMessages();
}

MainWindowInArchive::MainWindowInArchive(const std::string& root)
    : regDirectory_(engine::RegistryFilesDirectory(StartupIn(root).ArchivePath)),
      engine_(StartupIn(root), root + "\\claverix.exe"),
      window_(engine_.Engine(), dialogs_) {
    CreateDirectoriesOf(root);
}

void MainWindowInArchive::Open() {
    if (!window_.Load()) {
        Refused("the main window");
    }
    window_.Show();
    ui::PumpWaitingMessages();
    engine_.CheckNothingShown("the main window's load");
}

int MainWindowInArchive::IndexOf(const std::string& name) const {
    std::wstring wide = platform::win32::Utf8ToWide(name);
    auto index =
        static_cast<int>(::SendMessageW(Item(ui::IDC_MAIN_FILE_LIST), LB_FINDSTRINGEXACT,
                                        static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str())));
    if (index == LB_ERR) {
        throw std::runtime_error("the main window does not list " + name);
    }
    return index;
}

void MainWindowInArchive::Select(int index) {
    HWND list = Item(ui::IDC_MAIN_FILE_LIST);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(ui::IDC_MAIN_FILE_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

void MainWindowInArchive::CheckShows(const std::string& name) {
    engine_.CheckNothingShown("the selection of " + name);
    std::optional<engine::Analysis> analysis = engine::AnalyseRegFile(engine_.Engine(), regDirectory_, name);
    auto shown = static_cast<std::size_t>(::GetWindowTextLengthW(Item(ui::IDC_MAIN_CONTENT)));
    if (!analysis || analysis->ContentText.empty() || shown != analysis->ContentText.size()) {
        throw std::runtime_error("the main window does not show all of " + name);
    }
}

std::string InstallProgram(const std::string& root, std::size_t files) {
    CreateDirectoriesOf(root);
    engine::StartupValues startup = StartupIn(root);
    WriteRegFiles(engine::RegistryFilesDirectory(startup.ArchivePath), files);
    for (auto [key, value] :
         {std::pair{"ArchivePath", startup.ArchivePath}, {"Signature", startup.Signature}}) {
        if (!::WritePrivateProfileStringA("Options", key, value.c_str(), startup.IniFile.c_str())) {
            throw std::runtime_error("cannot write " + startup.IniFile);
        }
    }
    std::string executable = engine::JoinPath(root, "claverix.exe");
    std::filesystem::copy_file(engine::JoinPath(BenchDirectory(), "claverix.exe"), executable,
                               std::filesystem::copy_options::overwrite_existing);
    return executable;
}

}  // namespace claverix::bench
