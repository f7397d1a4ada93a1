// The main window's place on the screen: where it was, how large and whether
// maximised, kept in the settings file from one run to the next.
#include <cmath>

#include "app/Settings.h"
#include "ui/MainWindow/MainWindow.h"

namespace claverix::ui {

// Until a place is stored the system chooses where the window opens.
void MainWindow::ApplyStoredPlacement() {
    std::optional<app::MainWindowPlacement> stored =
        app::ReadMainWindowPlacement(engine_.platform.profile, engine_.startup.IniFile);
    if (!stored) {
        return;
    }
    SetOuterRectOnScreen({static_cast<double>(stored->left), static_cast<double>(stored->top),
                          static_cast<double>(stored->width), static_cast<double>(stored->height)});
    showsMaximised_ = stored->maximized;
}

void MainWindow::StorePlacement() {
    TwipsRect rect = NormalOuterRect();
    app::WriteMainWindowPlacement(engine_.platform.profile, engine_.startup.IniFile,
                                  {std::lround(rect.left), std::lround(rect.top), std::lround(rect.width),
                                   std::lround(rect.height), IsMaximised()});
}

// The window goes with the session, unclosed.
void MainWindow::OnEndSession() {
    StorePlacement();
}

}  // namespace claverix::ui
