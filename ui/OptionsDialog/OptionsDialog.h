#pragma once

#include <functional>
#include <string>

#include "app/Archive.h"
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
// creates the archive's sub-directories and hands what it stored on.
// Shown modal by ShowModal; every opening loads it afresh.
class OptionsDialog final : public Dialog {
public:
    // Called once Apply has stored the options, for the running program to use them.
    using OnApplied = std::function<void(const app::ArchiveOptions& options)>;

    OptionsDialog(platform::Platform& platform, std::string iniFile, OnApplied onApplied);

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
    OnApplied onApplied_;

    Control configurationFrame_;   // fraSample1
    Control archiveLabel_;         // Label1
    Control signatureHint_;        // Label2
    Control signatureLabel_;       // lblSignature
    Control okButton_;             // cmdOK
    Control cancelButton_;         // cmdCancel
    Control applyButton_;          // cmdApply
    DirectoryList directoryList_;  // Dir1
    Control signatureBox_;         // txtSignature
    DriveList driveList_;          // Drive1
    Tooltips tooltips_;
};

}  // namespace claverix::ui
