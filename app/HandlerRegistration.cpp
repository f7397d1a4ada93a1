#include "app/HandlerRegistration.h"

#include <string>

#include "app/Settings.h"
#include "engine/ArchivePaths.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"

namespace claverix::app {

bool WriteHandlerRegistrationFile(platform::Platform& platform, std::string_view signature) {
    std::string programDirectory = ExecutableDirectory(platform.environment.ExecutablePath());
    std::string text = engine::HandlerRegistrationText(platform.codec, programDirectory, signature);
    const std::string_view pieces[] = {text};
    if (platform.files.Replace(engine::HandlerRegistrationPath(programDirectory), pieces).Failed()) {
        engine::ShowMessage(platform, "Impossible de créer \"Enregistre CLAVERIX.reg\"");
        return false;
    }
    return true;
}

}  // namespace claverix::app
