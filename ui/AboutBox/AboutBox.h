#pragma once

#include "platform/Platform.h"
#include "ui/common/Controls.h"
#include "ui/common/GuiHandles.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// Control ids of the About box. "OK" is IDOK: Enter and Esc both close the box.
inline constexpr int IDC_ABOUT_SYSINFO = 601;
inline constexpr int IDC_ABOUT_ICON = 602;
inline constexpr int IDC_ABOUT_TITLE = 603;
inline constexpr int IDC_ABOUT_VERSION = 604;
inline constexpr int IDC_ABOUT_DESCRIPTION = 605;

// The About box: the program's title, version and icon, and a way to the
// system's own information tool.
class AboutBox final : public Window {
public:
    explicit AboutBox(platform::Platform& platform);

    // Shows the box modal while `owner` waits; it is unloaded when it
    // closes. False when it cannot be created.
    bool ShowModal(HWND owner);

private:
    bool Load(HWND owner);
    void CreateControls();
    void ShowProgramIcon();
    void PaintSeparator(HDC context) const;

    int DefaultButtonId() const override { return IDOK; }
    void OnCommand(int id, int code, HWND control) override;
    void OnDpiChanged() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    platform::Platform& platform_;
    UniqueIcon icon_;

    Control cmdOK_;
    Control picIcon_;
    Control cmdSysInfo_;
    Control lblDescription_;
    Control lblDisclaimer_;
    Control lblTitle_;
    Control lblVersion_;
};

}  // namespace claverix::ui
