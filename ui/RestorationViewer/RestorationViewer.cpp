#include "ui/RestorationViewer/RestorationViewer.h"

#include <cmath>

#include "app/Settings.h"
#include "platform/win32/Text.h"

namespace claverix::ui {

namespace {

// The text box leaves these to the window's outer size, borders and caption
// included.
constexpr double kTextWidthMargin = 155;
constexpr double kTextHeightMargin = 355;

}  // namespace

RestorationViewer::RestorationViewer(platform::Profile& profile, std::string iniFile)
    : profile_(profile), iniFile_(std::move(iniFile)) {}

bool RestorationViewer::Show(HWND owner, const std::string& restoreText) {
    if (!Load(owner)) {
        return false;
    }
    // A long text reaches the box in slices: the viewer answers at once.
    text_.ShowText(platform::win32::AnsiToWide(restoreText));
    ShowModal(owner);
    // The program is ending under the viewer: it closes as if the user had closed it.
    if (IsLoaded()) {
        CloseStoringGeometry();
    }
    return true;
}

bool RestorationViewer::Load(HWND owner) {
    WindowSetup setup;
    setup.caption = L"Fichier de restauration";
    setup.style = WS_OVERLAPPEDWINDOW;
    // Minimised, it is found again on the task bar.
    setup.exStyle = WS_EX_APPWINDOW;
    setup.owner = owner;
    if (!Create(setup)) {
        return false;
    }
    constexpr DWORD kStyle = WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                             ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
    text_.Create(*this, {WC_EDITW, L"", kStyle, WS_EX_CLIENTEDGE, IDC_VIEWER_TEXT, {}});
    ApplyStoredGeometry();
    text_.Focus();
    return true;
}

void RestorationViewer::ApplyStoredGeometry() {
    app::UndoWindowPlacement stored = app::ReadUndoWindowPlacement(profile_, iniFile_);
    SetOuterRectOnScreen({static_cast<double>(stored.left), static_cast<double>(stored.top),
                          static_cast<double>(stored.width), static_cast<double>(stored.height)});
}

void RestorationViewer::StoreGeometry() {
    TwipsRect rect = NormalOuterRect();
    app::WriteUndoWindowPlacement(
        profile_, iniFile_,
        {std::lround(rect.left), std::lround(rect.top), std::lround(rect.width), std::lround(rect.height)});
}

void RestorationViewer::CloseStoringGeometry() {
    StoreGeometry();
    Close();
}

KeyHandling RestorationViewer::OnControlKey(KeyEvent event, WPARAM key) {
    if (event != KeyEvent::Down || key != VK_ESCAPE) {
        return KeyHandling::ToControl;
    }
    CloseStoringGeometry();
    return KeyHandling::Handled;
}

void RestorationViewer::OnSize(UINT kind) {
    if (kind == SIZE_MINIMIZED) {
        return;
    }
    TwipsRect outer = OuterRect();
    text_.rect = {0, 0, outer.width - kTextWidthMargin, outer.height - kTextHeightMargin};
    PlaceControls();
}

void RestorationViewer::OnClose() {
    CloseStoringGeometry();
}

}  // namespace claverix::ui
