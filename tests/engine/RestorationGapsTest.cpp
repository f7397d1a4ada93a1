#include "engine/RestorationGaps.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "engine/MergeRecord.h"
#include "engine/RegFileFormat.h"
#include "engine/RestorationBuilder.h"
#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

using namespace platform;
using namespace std::string_literals;

// What the restoration of a file cannot cover or carry comes out of its
// building, and its lines in the restoration file give it back whole, in
// ASCII, whatever the names hold.
TEST(RestorationGapsTest, TheBuiltRestorationsGapsComeBackFromItsFile) {
    tests::MemoryWorld world;
    std::string deleted = world.KeyPath("Clé \"100%\"");
    std::string changed = world.KeyPath("Ж %41");
    world.SetValue(deleted, "v", kRegDword, tests::DwordBytes(1));
    world.memoryRegistry.SetTraits(RootKey::CurrentUser, deleted,
                                   {.isVolatile = true, .ownAccessRules = true});
    world.SetValue(changed, "odd \"é\"", kRegSz, "a\0b"s);
    world.SetValue(changed, "locked", kRegSz, tests::SzBytes("x"));
    world.memoryRegistry.RefuseValue(RootKey::CurrentUser, changed, "locked", kRegAccessDenied);
    std::string file = "Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_CURRENT_USER\\" + deleted +
                       "]\r\n[HKEY_CURRENT_USER\\" + changed +
                       "]\r\n\"odd \\\"é\\\"\"=\"x\"\r\n\"locked\"=\"y\"\r\n";

    RestorationText restoration = BuildRestoration(
        world.platform(),
        DecodeFileText(std::string(kUtf16ByteOrderMark) + EncodeFileText(file, TextEncoding::Utf16)), {},
        false);
    const RestorationText* built = &restoration;
    std::string root = "HKEY_CURRENT_USER\\";
    RestorationGaps gaps{built->uncoveredKeys, built->notCarried};
    EXPECT_EQ(gaps.uncovered, std::vector<std::string>{root + changed + "\\\"locked\""});
    EXPECT_EQ(gaps.notCarried,
              (std::vector<std::string>{root + deleted + " : clé volatile",
                                        root + deleted + " : droits d'accès propres",
                                        root + changed + "\\\"odd \\\"é\\\"\" : chaîne de taille impaire"}));

    std::string lines = RestorationGapsText(gaps);
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), [](char c) { return c > 0 && c < 0x7F; })) << lines;
    RestorationGaps read =
        ReadRestorationGaps(built->text + "\r\n" + lines + "#~claverix [HKEY_CURRENT_USER\\x]\r\n");
    EXPECT_EQ(read.uncovered, gaps.uncovered);
    EXPECT_EQ(read.notCarried, gaps.notCarried);
}

// The comparison of a merge's record with the registry takes no gap line for
// a line of its own, wherever it stands: here between a key and its value.
TEST(RestorationGapsTest, TheRecordComparisonPassesOverGapLines) {
    tests::MemoryWorld world;
    world.SetValue(world.KeyPath(), "v", kRegDword, tests::DwordBytes(1));
    std::string key = "HKEY_CURRENT_USER\\" + world.KeyPath();
    std::string gapLines = RestorationGapsText({{key + "\\Other"}, {key + " : classe de clé"}});
    std::string record =
        gapLines + "#~claverix [" + key + "]\r\n" + gapLines + "#~claverix \"v\"=-\r\n" + gapLines;

    RecordDrift drift = ChangesSinceRecord(world.platform().registry, record, 10);
    EXPECT_EQ(drift.count, 1u);
    EXPECT_EQ(drift.first, std::vector<std::string>{key + "\\\"v\" : valeur recréée"});
}

}  // namespace
}  // namespace claverix::engine
