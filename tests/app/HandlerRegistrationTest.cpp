#include "app/HandlerRegistration.h"

#include <gtest/gtest.h>

#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

TEST(HandlerRegistrationTest, WrittenBesideTheProgramOrTheUserIsTold) {
    tests::MemoryWorld world;
    world.environment.executablePath = world.directory() + "\\Outils\\claverix.exe";
    world.MakeDirectory(world.directory() + "\\Outils");

    WriteHandlerRegistrationFile(world.platform(), "Moi");
    ASSERT_EQ(world.prompt.shown().size(), 1u) << "no reg directory beside the program";
    EXPECT_EQ(world.prompt.shown()[0].text, "Impossible de créer \"Enregistre CLAVERIX.reg\"");

    world.MakeDirectory(world.directory() + "\\Outils\\reg");
    WriteHandlerRegistrationFile(world.platform(), "Moi");
    EXPECT_EQ(world.prompt.shown().size(), 1u);
    std::optional<std::string> written =
        world.ReadFile(world.directory() + "\\Outils\\reg\\Enregistre CLAVERIX.REG");
    ASSERT_TRUE(written);
    EXPECT_NE(written->find("# sign:Moi\r\n"), std::string::npos) << *written;
    EXPECT_NE(written->find("@=\"C:\\\\ClaverixTests\\\\Outils\\\\claverix.exe \\\"%1\\\"\"\r\n"),
              std::string::npos)
        << *written;
}

}  // namespace
}  // namespace claverix::app
