#include "tests/ui/support/WindowWorld.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

#include "ui/common/MessageLoop.h"

namespace claverix::tests {

namespace {

std::string UniqueName() {
    static std::atomic<int> counter{0};
    return std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

}  // namespace

WindowWorld::WindowWorld()
    : processes_(ui::WaitPumpingMessages),
      locks_(ui::WaitPumpingMessages),
      key_("Software\\ClaverixWindowTests\\" + UniqueName()) {
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

WindowWorld::~WindowWorld() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
}

void WindowWorld::WriteFile(const std::string& path, std::string_view bytes) {
    const std::string_view pieces[] = {bytes};
    if (platform::FileError error = files_.Replace(path, pieces); error.Failed()) {
        throw std::runtime_error("cannot write " + path + ": " + error.description);
    }
}

std::optional<std::string> WindowWorld::ReadFile(const std::string& path) {
    std::string bytes;
    if (files_.Read(path, bytes).Failed()) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace claverix::tests
