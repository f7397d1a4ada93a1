#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"
#include "ui/OptionsDialog/DirectoryList.h"
#include "ui/OptionsDialog/DriveList.h"
#include "ui/OptionsDialog/OptionsDialogIds.h"
#include "ui/common/Controls.h"
#include "ui/common/Tooltips.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// The options dialog: the archive directory and the personal signature.
// Every opening shows what the settings file holds; Apply stores both,
// creates the archive's sub-directories and points the main window's list
// at the new archive.
// Shown modal by ShowModal; every opening loads it afresh.
class OptionsDialog final : public Dialog {
public:
    // Called on Apply with the new list directory (the archive's registry
    // files); it loads the main window first when it is not loaded yet.
    using PointFileList = std::function<void(const std::string& directory)>;

    OptionsDialog(platform::Platform& platform, std::string iniFile, PointFileList pointFileList);

private:
    bool Load(HWND owner) override;
    void CreateControls();
    void FillSignature();
    // Stores the settings; false, after telling the user, when nothing could be stored.
    bool Apply();
    void OnDriveChanged();

    void OnCommand(int id, int code) override;
    bool OnMeasureItem(int id, MEASUREITEMSTRUCT& item) override;
    bool OnDrawItem(int id, const DRAWITEMSTRUCT& item) override;
    void OnDpiChanged() override;

    platform::Platform& platform_;
    std::string iniFile_;
    PointFileList pointFileList_;

    Control configurationFrame_;  // fraSample1
    Control archiveLabel_;        // Label1
    Control signatureHint_;       // Label2
    Control lblSignature_;
    Control cmdOK_;
    Control cmdCancel_;
    Control cmdApply_;
    DirectoryList directoryList_;  // Dir1
    Control txtSignature_;
    DriveList driveList_;  // Drive1
    Tooltips tooltips_;
};

}  // namespace claverix::ui
