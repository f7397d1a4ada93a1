#pragma once

#include "platform/Platform.h"
#include "ui/AboutBox/AboutBoxIds.h"
#include "ui/common/Controls.h"
#include "ui/common/GuiHandles.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// The About box: the program's title, version and icon, and a way to the
// system's own information tool.
// Shown modal by ShowModal; it is unloaded when it closes.
class AboutBox final : public Dialog {
public:
    explicit AboutBox(platform::Platform& platform);

private:
    bool Load(HWND owner) override;
    void CreateControls();
    void ShowProgramIcon();
    void StartSysInfo();

    int DefaultButtonId() const override { return IDOK; }
    void OnCommand(int id, int code) override;
    void OnDpiChanged() override;
    // An etched line across the box: grey, with a white line twice as thick under it.
    void OnPaint(HDC context) override;

    platform::Platform& platform_;
    UniqueIcon icon_;

    Control okButton_;          // cmdOK
    Control iconPicture_;       // picIcon
    Control systemInfoButton_;  // cmdSysInfo
    Control descriptionLabel_;  // lblDescription
    Control disclaimerLabel_;   // lblDisclaimer
    Control titleLabel_;        // lblTitle
    Control versionLabel_;      // lblVersion
};

}  // namespace claverix::ui
