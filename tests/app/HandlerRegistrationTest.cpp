#include "app/HandlerRegistration.h"

#include <gtest/gtest.h>

#include "engine/RegFileWriter.h"
#include "platform/Unicode.h"
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
    EXPECT_NE(written->find("@=\"\\\"C:\\\\ClaverixTests\\\\Outils\\\\claverix.exe\\\" \\\"%1\\\"\"\r\n"),
              std::string::npos)
        << *written;
}

// A directory the code page cannot hold is written exactly, in a version 5 file.
TEST(HandlerRegistrationTest, AProgramDirectoryOutsideTheCodePageMakesAUnicodeFile) {
    platform::Latin1TextCodec codec;
    EXPECT_EQ(engine::HandlerRegistrationText(codec, "C:\\\u0141ukasz", "Moi"),
              "\xFF\xFE" + platform::Utf16Bytes(
                               u"Windows Registry Editor Version 5.00\r\n\r\n# sign:Moi\r\n"
                               u"#Enregistre CLAVERIX comme gestionnaire de fichiers reg par "
                               u"défaut\r\n[HKEY_CLASSES_ROOT\\regfile\\shell\\open\\command]\r\n"
                               u"@=\"\\\"C:\\\\\u0141ukasz\\\\claverix.exe\\\" \\\"%1\\\"\"\r\n\r\n"));
    EXPECT_TRUE(engine::HandlerRegistrationText(codec, "C:\\Outils", "\u0141ukasz").starts_with("\xFF\xFE"))
        << "nor the signature";
}

}  // namespace
}  // namespace claverix::app
