#pragma once

#include <functional>
#include <string>

#include "engine/Engine.h"
#include "ui/common/Controls.h"
#include "ui/common/Tooltips.h"
#include "ui/common/Window.h"
#include "ui/OptionsDialog/DirectoryList.h"
#include "ui/OptionsDialog/DriveList.h"

namespace claverix::ui {

// Control ids of the options dialog. Esc presses "Annuler", whose id is IDCANCEL.
inline constexpr int IDC_OPTIONS_DRIVE = 101;
inline constexpr int IDC_OPTIONS_DIRECTORY = 102;
inline constexpr int IDC_OPTIONS_SIGNATURE = 103;
inline constexpr int IDC_OPTIONS_OK = 104;
inline constexpr int IDC_OPTIONS_APPLY = 105;
inline constexpr int IDC_OPTIONS_SIGNATURE_LABEL = 106;

// The options dialog: the archive directory and the personal signature.
// Every opening shows what the settings file holds; Apply stores both,
// creates the archive's sub-directories and points the main window's list
// at the new archive.
class OptionsDialog final : public Window {
public:
    // Called on Apply with the new list directory (the archive's "\reg"); it
    // loads the main window first when it is not loaded yet.
    using PointFileList = std::function<void(const std::string& directory)>;

    OptionsDialog(engine::Engine& engine, PointFileList pointFileList);
    ~OptionsDialog() override { Close(); }

    // Loads the dialog and shows it modal; `owner` (or nothing) waits for it.
    // False when it cannot be created.
    bool ShowModal(HWND owner);

private:
    bool Load(HWND owner);
    void CreateControls();
    void FillSignature();
    // Stores the settings; false, after telling the user, when nothing could be stored.
    bool Apply();
    void OnDriveChanged();

    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged() override;

    engine::Engine& engine_;
    PointFileList pointFileList_;

    Control fraSample1_;
    Control Label1_;
    Control Label2_;
    Control lblSignature_;
    Control cmdOK_;
    Control cmdCancel_;
    Control cmdApply_;
    DirectoryList Dir1_;
    Control txtSignature_;
    DriveList Drive1_;
    Tooltips tooltips_;
};

}  // namespace claverix::ui
