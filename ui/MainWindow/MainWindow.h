#pragma once

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

#include "engine/Engine.h"
#include "ui/common/Controls.h"
#include "ui/common/GuiHandles.h"
#include "ui/common/Tooltips.h"
#include "ui/common/Window.h"
#include "ui/MainWindow/FileList.h"
#include "ui/MainWindow/MainLayout.h"
#include "ui/SearchDialog/SearchDialog.h"

namespace claverix::ui {

// Control and menu ids of the main window.
inline constexpr int IDC_MAIN_LISTE = 201;
inline constexpr int IDC_MAIN_FILES = 202;
inline constexpr int IDC_MAIN_APPLY = 203;
inline constexpr int IDC_MAIN_SHOWUNDO = 204;
inline constexpr int IDC_MAIN_SIGNE = 205;
inline constexpr int IDC_MAIN_NOUNDO = 206;
inline constexpr int IDC_MAIN_COMMENT = 207;
inline constexpr int IDC_MAIN_CONTENT = 208;
inline constexpr int IDM_OPEN = 301;
inline constexpr int IDM_IMPORT = 302;
inline constexpr int IDM_UNDO = 303;
inline constexpr int IDM_QUIT = 304;
inline constexpr int IDM_FIND = 305;
inline constexpr int IDM_FINDNEXT = 306;
inline constexpr int IDM_SIGN = 307;
inline constexpr int IDM_NOUNDO = 308;
inline constexpr int IDM_OPTIONS = 309;
inline constexpr int IDM_ABOUT = 310;

// The main window: the archive's registry files or restoration files, the
// selected file's comment, content and marks, and the commands on them.
// Selecting a file analyses it; changing its marks or its comment rewrites it.
class MainWindow final : public Window {
public:
    // `onClosed` runs when the window has closed: the program ends then.
    explicit MainWindow(engine::Engine& engine, std::function<void()> onClosed = {});
    ~MainWindow() override;

    // Creates the window hidden and runs its load: the registry-file list,
    // its first file, and the handler-registration file. False when Windows
    // refuses the window.
    bool Load();
    void Show();

    // Points the list at `directory`, whichever list it shows: nothing is selected then.
    void PointListAt(const std::string& directory);

    bool PreTranslateMessage(MSG& message) override;

private:
    // The file the controls describe, while it is the list's selection.
    struct LoadedFile {
        std::string directory;
        std::string name;
        // What the window shows of it can be written back unchanged.
        bool rewritable = false;
    };

    void CreateControls();
    HMENU CreateMenuBar() const;
    void WriteHandlerRegistrationFile();
    void ApplyLayout();

    void SelectionLoad(int index);
    void SelectFirstFile();
    void SelectByCode(int index);
    void ShowAnalysis(const std::string& directory, int index);
    void ShowContent(std::wstring content);
    std::wstring NextContentSlice();
    void AppendContent();
    bool ContentComplete() const { return pendingContent_.empty(); }
    void ClearView();
    void SetEditable(bool editable);
    void AfterListRefresh();
    void RefreshList();
    std::optional<LoadedFile> CurrentFile() const;

    void SwitchMode();
    void Merge();
    void Import();
    void ImportDropped(HDROP drop);
    void Toggle(CheckBox& box, bool fromMenu);
    void ValidateComment();
    void CommitPendingComment();
    void RewriteFile();
    void ShowOptions();
    void ShowRestoration();
    void ShowAbout();
    void Find(bool again);

    void OnCommand(int id, int code, HWND control) override;
    void OnSize(UINT kind) override;
    void OnClose() override;
    void OnDestroy() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    engine::Engine& engine_;
    std::function<void()> onClosed_;
    bool LoadingFile = false;
    std::optional<LoadedFile> loaded_;
    // A long content reaches its box in slices, from posted messages, so that
    // the window answers while the box lays its lines out; until the last
    // one, nothing of the file can be changed from the window.
    std::wstring pendingContent_;
    std::size_t pendingOffset_ = 0;
    std::size_t contentSlice_ = 0;
    MainLayout layout_;
    UniqueAcceleratorTable accelerators_;

    FileList filList_;
    Control txtContent_;
    Control txtComment_;
    CheckBox chkNoUndo_;
    CheckBox chkSigne_;
    Control cmdListe_;
    Control cmdApply_;
    Control cmdShowUndo_;
    Tooltips tooltips_;

    // The search dialog stays loaded, hidden, between searches.
    SearchState search_;
    SearchDialog searchDialog_{engine_, search_, filList_};
};

}  // namespace claverix::ui
