#include "app/Settings.h"

#include <gtest/gtest.h>

#include "platform/Unicode.h"
#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

using tests::TestWorld;
using tests::WorldKind;

class SettingsTest : public ::testing::TestWithParam<WorldKind> {
protected:
    void SetUp() override {
        world_ = GetParam().make();
        iniFile_ = world_->directory() + "\\claverix.Ini";
    }

    platform::Profile& profile() { return world_->platform().profile; }
    void Store(std::string_view section, std::string_view key, std::string_view value) {
        EXPECT_FALSE(profile().Write(iniFile_, section, key, value).Failed()) << key;
    }

    std::unique_ptr<TestWorld> world_;
    std::string iniFile_;
};

TEST_P(SettingsTest, MissingSettingsTakeTheirDefaults) {
    EXPECT_EQ(ReadArchivePath(profile(), iniFile_, "C:\\Outils").directory, "C:\\Outils");
    EXPECT_EQ(ReadSignature(profile(), iniFile_), "?");
    RestorationViewerPlacement placement = ReadRestorationViewerPlacement(profile(), iniFile_);
    EXPECT_EQ(placement.left, 1000);
    EXPECT_EQ(placement.top, 1000);
    EXPECT_EQ(placement.width, 8000);
    EXPECT_EQ(placement.height, 5000);
}

TEST_P(SettingsTest, StoredValuesEmptyOnesIncluded) {
    Store("Options", "ArchivePath", "D:\\Archive");
    Store("Options", "Signature", "");
    EXPECT_EQ(ReadArchivePath(profile(), iniFile_, "C:\\Outils").directory, "D:\\Archive");
    EXPECT_EQ(ReadSignature(profile(), iniFile_), "") << "present but empty is not missing";

    Store("Options", "Signature", "Jean Dupont");
    EXPECT_EQ(ReadSignature(profile(), iniFile_), "Jean Dupont");
    EXPECT_EQ(ReadArchivePath(profile(), iniFile_, "C:\\Outils").directory, "D:\\Archive")
        << "other keys stay";
}

TEST_P(SettingsTest, LongValuesAreCutToTheirBuffers) {
    std::string long300(300, 'a');
    for (std::size_t i = 0; i < long300.size(); ++i) {
        long300[i] = static_cast<char>('a' + i % 26);
    }
    Store("Options", "ArchivePath", long300);
    Store("Options", "Signature", long300);
    Store("UndoWindow", "Left", long300);
    ArchivePathSetting archive = ReadArchivePath(profile(), iniFile_, "C:\\Outils");
    EXPECT_EQ(archive.directory, "C:\\Outils") << "a cut directory would be another one";
    EXPECT_EQ(archive.tooLongStart, long300.substr(0, 60));
    EXPECT_EQ(ReadSignature(profile(), iniFile_), long300.substr(0, 254));
    // Characters are counted, not bytes.
    std::string longest = "D:\\" + platform::Utf16ToUtf8(std::u16string(kLongestArchivePath - 3, u'\u00E9'));
    Store("Options", "ArchivePath", longest);
    EXPECT_EQ(ReadArchivePath(profile(), iniFile_, "C:\\Outils").directory, longest);
    EXPECT_EQ(profile().Read(iniFile_, "UndoWindow", "Left", "1000", kRestorationViewerCapacity),
              long300.substr(0, 255));
}

TEST_P(SettingsTest, RestorationViewerPlacementRoundTrip) {
    WriteRestorationViewerPlacement(profile(), iniFile_, {15, -30, 9000, 4500});
    RestorationViewerPlacement placement = ReadRestorationViewerPlacement(profile(), iniFile_);
    EXPECT_EQ(placement.left, 15);
    EXPECT_EQ(placement.top, -30);
    EXPECT_EQ(placement.width, 9000);
    EXPECT_EQ(placement.height, 4500);
    EXPECT_EQ(profile().Read(iniFile_, "UndoWindow", "Width", "", kRestorationViewerCapacity), "9000");

    Store("UndoWindow", "Width", "wide");
    Store("UndoWindow", "Height", "");
    Store("UndoWindow", "Left", "120 twips");
    placement = ReadRestorationViewerPlacement(profile(), iniFile_);
    EXPECT_EQ(placement.width, 8000) << "not a number: the default";
    EXPECT_EQ(placement.height, 5000);
    EXPECT_EQ(placement.left, 120);
}

TEST_P(SettingsTest, MainWindowPlacementRoundTrip) {
    EXPECT_EQ(ReadMainWindowPlacement(profile(), iniFile_), std::nullopt) << "no place stored yet";
    WriteMainWindowPlacement(profile(), iniFile_, {-120, 45, 9000, 7000, true});
    std::optional<MainWindowPlacement> placement = ReadMainWindowPlacement(profile(), iniFile_);
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->left, -120);
    EXPECT_EQ(placement->top, 45);
    EXPECT_EQ(placement->width, 9000);
    EXPECT_EQ(placement->height, 7000);
    EXPECT_TRUE(placement->maximized);
    EXPECT_EQ(ReadRestorationViewerPlacement(profile(), iniFile_).left, 1000) << "a section of its own";

    Store("MainWindow", "Width", "0");
    EXPECT_EQ(ReadMainWindowPlacement(profile(), iniFile_), std::nullopt) << "no size: the system's place";
    Store("MainWindow", "Width", "9000");
    Store("MainWindow", "Top", "haut");
    EXPECT_EQ(ReadMainWindowPlacement(profile(), iniFile_), std::nullopt) << "not a number";
}

INSTANTIATE_TEST_SUITE_P(Worlds, SettingsTest, ::testing::ValuesIn(tests::WorldKinds()), tests::WorldName);

TEST(SettingsPathTest, SettingsFileIsNamedAfterTheExecutable) {
    EXPECT_EQ(IniFilePath("C:\\Outils\\claverix.exe"), "C:\\Outils\\claverix.Ini");
    EXPECT_EQ(IniFilePath("C:\\Mes outils\\my.tool.EXE"), "C:\\Mes outils\\my.tool.Ini");
    EXPECT_EQ(IniFilePath("C:\\v1.2\\claverix"), "C:\\v1.2\\claverix.Ini");
    EXPECT_EQ(ExecutableDirectory("C:\\Outils\\claverix.exe"), "C:\\Outils");
}

}  // namespace
}  // namespace claverix::app
