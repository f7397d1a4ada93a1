#include "tests/ui/support/WindowWorld.h"

#include <filesystem>

#include "ui/common/MessageLoop.h"

namespace claverix::tests {

WindowWorld::WindowWorld() : processes_(ui::WaitPumpingMessages), locks_(ui::WaitPumpingMessages) {
    std::string handlerDirectory =
        engine::JoinPath(ProgramDirectory(), engine::kHandlerRegistrationDirectoryName);
    for (const std::string& directory : {handlerDirectory, RegDirectory(), UndoDirectory()}) {
        std::filesystem::create_directories(directory);
    }
    environment_ = std::make_unique<SandboxEnvironment>(ProgramDirectory() + "\\claverix.exe");
    platform_ = std::make_unique<platform::Platform>(
        platform::Platform{registry_, profile_, files_, processes_, *environment_, prompt, codec_, locks_});
    engine::StartupValues startup{ProgramDirectory() + "\\claverix.Ini", Archive(), std::string(kSignature)};
    engine_ = std::make_unique<engine::Engine>(engine::Engine{*platform_, std::move(startup)});
}

}  // namespace claverix::tests
