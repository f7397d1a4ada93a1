#include "ui/RestorationViewer/RestorationViewer.h"

#include <cmath>

#include "app/Settings.h"
#include "platform/win32/Text.h"

namespace claverix::ui {

namespace {

// The text box leaves 155 twips of the outer width to the frame and a margin,
// and 355 of the outer height to the frame and the caption: measured against
// Windows' classic frame (4-pixel borders, 19-pixel caption), a margin of 35
// twips at the right and none at the bottom, where those numbers would cut
// the box's edge; the client area holds that much whatever the real frame.
constexpr double kTextRightMargin = 155 - 2 * 4 * 15;

}  // namespace

RestorationViewer::RestorationViewer(platform::Profile& profile, std::string iniFile)
    : profile_(profile), iniFile_(std::move(iniFile)) {}

bool RestorationViewer::Show(HWND owner, const std::wstring& restoreText) {
    if (!Load(owner)) {
        return false;
    }
    // A long text reaches the box in slices: the viewer answers at once.
    text_.ShowText(restoreText);
    // Loaded: it runs.
    static_cast<void>(ShowModal(owner));
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
    app::RestorationViewerPlacement stored = app::ReadRestorationViewerPlacement(profile_, iniFile_);
    SetOuterRectOnScreen({static_cast<double>(stored.left), static_cast<double>(stored.top),
                          static_cast<double>(stored.width), static_cast<double>(stored.height)});
}

void RestorationViewer::StoreGeometry() {
    TwipsRect rect = NormalOuterRect();
    app::WriteRestorationViewerPlacement(
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
    TwipsRect client = ClientRect();
    text_.rect = {0, 0, client.width - kTextRightMargin, client.height};
    PlaceControls();
}

void RestorationViewer::OnClose() {
    CloseStoringGeometry();
}

// Log-off closes no window: the place is kept now, as closing keeps it.
bool RestorationViewer::OnQueryEndSession() {
    StoreGeometry();
    return true;
}

}  // namespace claverix::ui
