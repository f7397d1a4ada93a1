#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Search.h"
#include "engine/Analysis.h"
#include "engine/Engine.h"
#include "ui/MainWindow/FileBoxes.h"
#include "ui/MainWindow/FileList.h"
#include "ui/MainWindow/MainLayout.h"
#include "ui/MainWindow/MainWindowDialogs.h"
#include "ui/MainWindow/MainWindowIds.h"
#include "ui/common/Controls.h"
#include "ui/common/Tooltips.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// Which of the archive's lists the main window shows.
enum class ListMode { RegistryFiles, RestorationFiles };

// The main window: the archive's registry files or restoration files, the
// selected file's comment, content and marks, and the commands on them.
//
// What it shows of a file goes through four states:
// - nothing selected: the boxes are empty, or still show the previous file
//   (after a switch of lists), and nothing can be changed;
// - loading: selecting a file analyses it and fills the controls; what the
//   window sets then is no edit of the user's, and rewrites nothing;
// - content arriving: a long content reaches its box in slices, the window
//   answering meanwhile; nothing of the file can be changed until the last;
// - editable: changing the marks or the comment rewrites the file, unless
//   the analysis refused it or the boxes cannot give its text back byte for byte.
//
// The methods are spread by job: MainWindow.cpp creates the window and
// carries out its commands and messages; MainWindowFile.cpp shows the
// selected file and writes its marks and comment back; MainWindowAddFiles.cpp
// adds files to the archive ("Importer", dropped files); MainWindowMerge.cpp
// merges them, previews their merge and registers the program as the .reg
// files' opener; MainWindowPlacement.cpp keeps the window's place;
// MainWindowShortcutMenu.cpp carries the file list's shortcut menu. The menu
// bar is MainMenu.cpp's, the controls' places MainLayout.cpp's, the list
// FileList.cpp's and the content and comment boxes FileBoxes.cpp's. A new
// command gets its IDM_ id in MainWindowIds.h, its item in MainMenu.cpp, its
// case in MainWindow::OnCommand and its work in the file of its job.
class MainWindow final : public Window {
public:
    // `onClosed` runs when the window has closed: the program ends then.
    MainWindow(engine::Engine& engine, MainWindowDialogs& dialogs, std::function<void()> onClosed = {});

    // Creates the window hidden and runs its load: the registry-file list,
    // its first file, and the handler-registration file. False when Windows
    // refuses the window.
    bool Load();
    void Show();

    // Points the list at `directory`, whichever list it shows: nothing is selected then.
    void ShowFilesOf(const std::string& directory);

private:
    // What a command on the shown file says when no file is shown.
    static constexpr std::string_view kNoFileSelected = "Aucun fichier n'est sélectionné.";

    // The file the controls describe, while it is the list's selection.
    struct LoadedFile {
        std::string directory;
        std::string name;  // its entry in the list, under which it was read
        // The bytes the window shows, and all they say: what a merge,
        // a preview or a rewrite from the window works on.
        engine::Analysis analysis;
        // What the window shows of it can be written back unchanged.
        bool rewritable = false;
    };

    // MainWindow.cpp: creation and commands.
    void CreateControls();
    void CreateTooltips();
    void ApplyLayout();
    void SwitchListMode();
    void ChooseFilesToAdd();
    void AddFilesToArchive(const std::vector<std::wstring>& paths);
    bool IsShownFile(const std::string& directory, const std::string& name) const;
    void Toggle(CheckBox& box, bool fromMenu);
    void ShowOptions();
    void ShowRestoration();
    void Find(bool again);

    // MainWindowMerge.cpp: merges, and what a merge would do.
    void Merge();
    void Preview();
    void ShowPreviewOf(const engine::Analysis& analysis, HWND owner);
    void RegisterAsOpener();

    // MainWindowPlacement.cpp: its place on the screen, kept in the settings.
    void ApplyStoredPlacement();
    // Stores the window's place, as closing and the end of the session do.
    void StorePlacement();

    // MainWindowShortcutMenu.cpp: the file list's shortcut menu.
    void ShowShortcutMenu(POINT screen);
    void DeleteShownFile();
    void ShowShownFileInFolder();

    // MainWindowFile.cpp: the file shown.
    void LoadSelectedFile(int index);
    void SelectAndLoad(int index);
    void SelectAndLoadFirstFile();
    void ShowAnalysis(const std::string& directory, const std::string& name, engine::Analysis analysis);
    void ClearView();
    void SetEditable(bool editable);
    void RereadList();
    void LetGoOfUnselectedFile();
    // The file shown, while it is selected; null otherwise.
    const LoadedFile* CurrentFile() const;
    void OnSelectionChanged();
    void RereadListAndFile();
    void SelectSoughtText();
    void ValidateComment();
    void SavePendingComment();
    bool HasUnsavedContent() const;
    bool MayLeaveShownFile();
    bool SettleUnsavedContent(bool leavingFile);
    platform::Answer AskToSaveContent();
    bool RewriteFile();
    void OfferToReloadChangedFile();

    void OnCommand(int id, int code) override;
    void OnSize(UINT kind) override;
    void OnClose() override;
    void OnEndSession() override;
    void OnDestroy() override;
    void OnDropFiles(const std::vector<std::wstring>& paths) override;
    bool OnQueryEndSession() override;
    void OnInitMenuPopup(HMENU menu) override;
    void OnContextMenu(HWND control, std::optional<POINT> screen) override;
    KeyHandling OnControlKey(KeyEvent event, WPARAM key) override;

    engine::Engine& engine_;
    MainWindowDialogs& dialogs_;
    std::function<void()> onClosed_;
    ListMode listMode_ = ListMode::RegistryFiles;
    // Shown maximised, as it was when it last closed.
    bool showsMaximised_ = false;
    // Up while a file is loaded into the controls.
    bool loadingFile_ = false;
    std::optional<LoadedFile> loaded_;
    app::SearchState search_;
    MainLayout layout_;

    // Each named for its role; the old form's name follows.
    FileList fileList_;              // filList
    ContentBox contentBox_;          // txtContent
    CommentBox commentBox_;          // txtComment
    CheckBox noRestorationBox_;      // chkNoUndo
    CheckBox signedBox_;             // chkSigne
    Control listModeButton_;         // cmdListe
    Control mergeButton_;            // cmdApply
    Control previewButton_;          // beside it, where the window is wide enough
    Control viewRestorationButton_;  // cmdShowUndo
    Tooltips tooltips_;
};

}  // namespace claverix::ui
