#pragma once

#include <windows.h>

#include <string>

#include "bench/BenchEngine.h"
#include "program/ProgramWindows.h"
#include "ui/MainWindow/FileList.h"
#include "ui/MainWindow/MainWindow.h"
#include "ui/common/Window.h"

namespace claverix::bench {

// A shown window holding the main window's file list and nothing else.
class FileListWindow final : public ui::Window {
public:
    // Throws std::runtime_error when Windows refuses the window, as it does without a display.
    FileListWindow();

    ui::FileList& List() { return list_; }

private:
    BenchEngine engine_;
    ui::FileList list_{engine_.Platform()};
};

// The program's main window over an archive of its own under `root`, loaded
// and shown as start-up shows it.
class MainWindowInArchive {
public:
    // Creates the program's directory and the archive, both empty.
    explicit MainWindowInArchive(const std::string& root);

    // Where the registry files go before Open.
    const std::string& RegDirectory() const { return regDirectory_; }

    // Loads the window and shows it. Throws std::runtime_error when it cannot.
    void Open();
    // The list's entry for `name`. Throws std::runtime_error when it has none.
    int IndexOf(const std::string& name) const;
    // Selects the entry as a click does: the list's selection changes, then
    // the list tells the window, which loads the file.
    void Select(int index);
    // Throws std::runtime_error unless the window shows all of `name`'s
    // content and its loading showed no message.
    void CheckShows(const std::string& name);

private:
    HWND Item(int id) const { return ::GetDlgItem(window_.hwnd(), id); }

    std::string regDirectory_;
    BenchEngine engine_;
    program::ProgramWindows dialogs_{engine_.Engine()};
    ui::MainWindow window_;
};

// claverix.exe installed under `root` as MainWindowInArchive lays it out, its
// settings pointing at its archive, which holds `files` small registry files
// (WriteRegFiles). Returns the executable's path. Throws std::runtime_error
// when it cannot.
std::string InstallProgram(const std::string& root, std::size_t files);

}  // namespace claverix::bench
