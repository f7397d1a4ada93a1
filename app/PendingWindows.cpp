#include "app/PendingWindows.h"

#include "engine/Reporting.h"

namespace claverix::app {

bool PendingWindows::ShowOptionsDialog() {
    prompt_.Message(
        "La fenêtre Options n'est pas encore disponible : aucune signature n'est enregistrée et elle ne peut "
        "pas "
        "encore être choisie ici.",
        engine::kAppTitle, platform::PromptIcon::Information);
    return false;
}

bool PendingWindows::ShowMainWindow(engine::Engine&) {
    prompt_.Message("La fenêtre principale n'est pas encore disponible.", engine::kAppTitle,
                    platform::PromptIcon::Information);
    return false;
}

}  // namespace claverix::app
