#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "program/ProgramWindows.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"
#include "ui/MainWindow/MainWindow.h"
#include "ui/common/MessageLoop.h"

namespace claverix::ui {

// The names of the files in `directory`; none when it is missing.
std::vector<std::string> FilesIn(const std::string& directory);
// A string value below HKEY_CURRENT_USER; nothing when it is missing.
std::optional<std::string> RegistryString(const std::string& key, const char* name);

// The main window on a world of its own, opened once the test has set the
// archive up; the tests of each of the window's jobs share it.
class MainWindowTest : public ::testing::Test {
protected:
    void Open() {
        window_ = std::make_unique<MainWindow>(world_.engine(), dialogs_);
        ASSERT_TRUE(window_->Load());
        window_->Show();
        ui::PumpWaitingMessages();
    }

    HWND Control(int id) const { return ::GetDlgItem(window_->hwnd(), id); }
    void Command(int id) { ::SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::wstring Shown(int id) const { return tests::TextOf(Control(id)); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

    std::string RegFile(std::string_view name) const {
        return world_.RegDirectory() + "\\" + std::string(name);
    }
    std::string Read(const std::string& path) { return world_.ReadFile(path).value_or("<missing>"); }
    // A key line naming `sub` below the test's own key.
    std::string Key(std::string_view sub) const {
        return "[HKEY_CURRENT_USER\\" + world_.key() + "\\" + std::string(sub) + "]\r\n";
    }

    std::vector<std::wstring> ListedFiles() const {
        std::vector<std::wstring> names;
        HWND list = Control(IDC_MAIN_FILE_LIST);
        for (int i = 0; i < static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0)); ++i) {
            wchar_t name[MAX_PATH] = {};
            ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
            names.emplace_back(name);
        }
        return names;
    }

    tests::WindowWorld world_;
    program::ProgramWindows dialogs_{world_.engine()};
    std::unique_ptr<MainWindow> window_;
};

}  // namespace claverix::ui
