#include "app/Archive.h"

#include <gtest/gtest.h>

#include "platform/Unicode.h"
#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

using platform::Utf16ToUtf8;

TEST(NormaliseArchiveDirectoryTest, ReglessAndWithoutTrailingBackslash) {
    EXPECT_EQ(NormaliseArchiveDirectory("D:\\Archive"), "D:\\Archive");
    EXPECT_EQ(NormaliseArchiveDirectory("D:\\Archive\\reg"), "D:\\Archive");
    EXPECT_EQ(NormaliseArchiveDirectory("D:\\Archive\\Reg\\REG\\"), "D:\\Archive");
    EXPECT_EQ(NormaliseArchiveDirectory("D:\\Archive\\Registre"), "D:\\Archive\\Registre");
    EXPECT_EQ(NormaliseArchiveDirectory("D:\\"), "D:");
    EXPECT_EQ(NormaliseArchiveDirectory("D:\\Reg"), "D:") << "a drive's root is its letter and colon";
}

TEST(ApplyArchiveOptionsTest, NothingIsStoredWhenRegCannotBeThere) {
    tests::MemoryWorld world;
    const std::string ini = world.directory() + "\\claverix.Ini";
    const std::string archive = world.directory() + "\\Archive";
    world.MakeDirectory(archive);
    world.memoryFiles.FailOn(archive + "\\Reg", 5);

    EXPECT_FALSE(ApplyArchiveOptions(world.platform(), ini, {archive, "Moi"}));
    ASSERT_EQ(world.prompt.shown().size(), 1u);
    EXPECT_EQ(world.platform().profile.Read(ini, "Options", "Signature", "?", 255), "?");
    EXPECT_NE(world.platform().files.CurrentDirectory(), archive + "\\Reg");

    world.memoryFiles.FailOn(archive + "\\Reg", 0);
    EXPECT_TRUE(ApplyArchiveOptions(world.platform(), ini, {archive, "Moi"}));
    EXPECT_TRUE(ApplyArchiveOptions(world.platform(), ini, {archive, "Moi"})) << "again, with both there";
    EXPECT_TRUE(world.platform().files.IsDirectory(archive + "\\RegUnDO"));
    EXPECT_EQ(world.platform().profile.Read(ini, "Options", "Signature", "?", 255), "Moi");
    EXPECT_EQ(world.platform().files.CurrentDirectory(), archive + "\\Reg");
}

TEST(ApplyArchiveOptionsTest, AnEmptySignatureOrASettingsFileThatCannotBeWrittenIsSaid) {
    tests::MemoryWorld world;
    const std::string ini = world.directory() + "\\claverix.Ini";
    const std::string archive = world.directory();
    EXPECT_FALSE(ApplyArchiveOptions(world.platform(), ini, {archive, ""}));
    EXPECT_EQ(world.platform().profile.Read(ini, "Options", "Signature", "?", 255), "?");
    world.memoryProfile.FailWritesTo(ini, 5);
    EXPECT_FALSE(ApplyArchiveOptions(world.platform(), ini, {archive, "Moi"}));
    ASSERT_EQ(world.prompt.shown().size(), 2u);
    EXPECT_NE(world.prompt.shown()[0].text.find("vide"), std::string::npos) << world.prompt.shown()[0].text;
    EXPECT_EQ(
        world.prompt.shown()[1].text,
        "Les réglages ne peuvent pas être enregistrés dans C:\\ClaverixTests\\claverix.Ini : Accès refusé.");

    // The settings give back 254 characters of it: a longer directory would be read cut.
    world.memoryProfile.FailWritesTo(ini, 0);
    std::string longest = archive + "\\" + Utf16ToUtf8(std::u16string(254 - archive.size() - 1, u'\u00E9'));
    EXPECT_FALSE(ApplyArchiveOptions(world.platform(), ini, {longest + "x", "Moi"}));
    ASSERT_EQ(world.prompt.shown().size(), 3u);
    EXPECT_NE(world.prompt.shown()[2].text.find("pas dépasser 254 caractères, et celui-ci en compte 255"),
              std::string::npos);
    world.MakeDirectory(longest);
    EXPECT_TRUE(ApplyArchiveOptions(world.platform(), ini, {longest, "Moi"}));
}

TEST(AddToArchiveTest, CopiesUnderItsNameAndReportsWhatFails) {
    tests::MemoryWorld world;
    const std::string archive = world.directory() + "\\Archive";
    world.MakeDirectory(archive);
    world.MakeDirectory(archive + "\\Reg");
    world.WriteFile(world.directory() + "\\cle.reg", "REGEDIT4\r\n");
    world.WriteFile(archive + "\\Reg\\same.reg", "REGEDIT4\r\n");
    world.WriteFile(world.directory() + "\\same.reg", "REGEDIT4\r\n");

    EXPECT_TRUE(AddToArchive(world.platform(), archive, world.directory() + "\\cle.reg"));
    EXPECT_EQ(world.ReadFile(archive + "\\Reg\\cle.reg"), "REGEDIT4\r\n");
    EXPECT_TRUE(AddToArchive(world.platform(), archive, world.directory() + "\\same.reg"));
    EXPECT_TRUE(world.prompt.shown().empty()) << "the same file again asks nothing";

    world.WriteFile(world.directory() + "\\cle.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n");
    world.prompt.AnswerYesNo(true);
    EXPECT_TRUE(AddToArchive(world.platform(), archive, world.directory() + "\\cle.reg"));
    EXPECT_EQ(world.ReadFile(archive + "\\Reg\\cle.reg"), "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n");
    ASSERT_EQ(world.prompt.shown().size(), 1u);
    EXPECT_EQ(world.prompt.shown()[0].title, "AVERTISSEMENT");

    world.prompt.Clear();
    EXPECT_FALSE(AddToArchive(world.platform(), archive, world.directory() + "\\absent.reg"));
    EXPECT_FALSE(
        AddToArchive(world.platform(), world.directory() + "\\NoArchive", world.directory() + "\\cle.reg"));
    ASSERT_EQ(world.prompt.shown().size(), 2u);
    EXPECT_EQ(world.prompt.shown()[0].text, "Le fichier spécifié est introuvable.");
    EXPECT_EQ(world.prompt.shown()[1].text, "Le chemin d'accès spécifié est introuvable.");
}

class ArchiveListingTest : public ::testing::TestWithParam<tests::WorldKind> {
protected:
    std::unique_ptr<tests::TestWorld> world_ = GetParam().make();
};

TEST_P(ArchiveListingTest, RegistryFilesInTheOrderFileViewsListThem) {
    const std::string directory = world_->directory() + "\\Reg";
    world_->MakeDirectory(directory);
    for (const char* name :
         {"b.reg", "\u0436.reg", "a10.reg", "A2.REG", "notes.txt", "b.regx", "z.reg.bak"}) {
        world_->WriteFile(directory + "\\" + name, "REGEDIT4\r\n");
    }
    world_->MakeDirectory(directory + "\\dossier.reg");
    EXPECT_EQ(ListRegFiles(world_->platform(), directory),
              (std::vector<std::string>{"A2.REG", "a10.reg", "b.reg", "\u0436.reg"}));
    EXPECT_EQ(ListRegFiles(world_->platform(), directory + "\\absent"), std::nullopt);
}

TEST_P(ArchiveListingTest, TheOptionsOpenOnTheStoredDirectoryOrWhatIsLeftOfIt) {
    platform::FileSystem& files = world_->platform().files;
    const std::string program = world_->directory() + "\\Programme";
    const std::string archive = world_->directory() + "\\Archive";
    world_->MakeDirectory(program);
    world_->MakeDirectory(archive);
    EXPECT_EQ(ArchiveDirectoryToShow(files, archive, program), archive);
    EXPECT_EQ(ArchiveDirectoryToShow(files, archive + "\\parti\\loin", program), archive);
    EXPECT_EQ(ArchiveDirectoryToShow(files, "", program), program);
    EXPECT_EQ(ArchiveDirectoryToShow(files, "sans lecteur", program), program);
}

INSTANTIATE_TEST_SUITE_P(Worlds, ArchiveListingTest, ::testing::ValuesIn(tests::WorldKinds()),
                         tests::WorldName);

}  // namespace
}  // namespace claverix::app
