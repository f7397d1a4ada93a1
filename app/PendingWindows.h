#pragma once

#include "app/Startup.h"

namespace claverix::app {

// Temporary stand-in for the options dialog and the main window until they
// are built: it says which window is not available yet, and the program ends.
class PendingWindows final : public StartupWindows {
public:
    explicit PendingWindows(platform::Prompt& prompt) : prompt_(prompt) {}

    bool ShowOptionsDialog() override;
    bool ShowMainWindow(engine::Engine& engine) override;

private:
    platform::Prompt& prompt_;
};

}  // namespace claverix::app
