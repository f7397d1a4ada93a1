#pragma once

#include <string>

#include "platform/Profile.h"
#include "ui/RestorationViewer/RestorationViewerIds.h"
#include "ui/common/LongTextBox.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// The restoration viewer: the restoration text of the latest analysis in one
// text box, in a window whose place and size the settings file keeps from
// one opening to the next. What the user types there is never read back.
class RestorationViewer final : public Dialog {
public:
    RestorationViewer(platform::Profile& profile, std::string iniFile);

    // Loads the viewer at its stored place, shows `restoreText` whole and
    // runs the viewer modal while `owner` waits. False when the window
    // cannot be created.
    bool Show(HWND owner, const std::wstring& restoreText);

private:
    // Show is the one way to show it.
    using Dialog::ShowModal;

    bool Load(HWND owner) override;
    void ApplyStoredGeometry();
    void StoreGeometry();
    void CloseStoringGeometry();

    // Esc closes the viewer wherever the focus is; every other key goes to
    // the text box as typed.
    KeyHandling OnControlKey(KeyEvent event, WPARAM key) override;
    void OnSize(UINT kind) override;
    void OnClose() override;
    bool OnQueryEndSession() override;

    platform::Profile& profile_;
    std::string iniFile_;
    LongTextBox text_;  // Text1
};

}  // namespace claverix::ui
