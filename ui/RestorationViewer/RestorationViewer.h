#pragma once

#include <string>

#include "engine/Engine.h"
#include "ui/common/Controls.h"
#include "ui/common/Window.h"

namespace claverix::ui {

inline constexpr int IDC_FORM1_TEXT = 401;

// The restoration viewer: the restoration text of the latest analysis in one
// text box, in a window whose place and size the settings file keeps from
// one opening to the next. What the user types there is never read back.
class RestorationViewer final : public Window {
public:
    explicit RestorationViewer(engine::Engine& engine);

    // Loads the viewer at its stored place, shows `restoreText` whole and
    // runs the viewer modal while `owner` waits. False when the window
    // cannot be created.
    bool ShowModal(HWND owner, const std::wstring& restoreText);

    // Esc closes the viewer wherever the focus is; every other key goes to
    // the text box as typed.
    bool PreTranslateMessage(MSG& message) override;

private:
    bool Load(HWND owner);
    void ApplyStoredGeometry();
    void StoreGeometry();
    void CloseStoringGeometry();

    void OnSize(UINT kind) override;
    void OnClose() override;

    engine::Engine& engine_;
    Control Text1_;
};

}  // namespace claverix::ui
