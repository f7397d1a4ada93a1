#include "engine/RegistryExport.h"

#include <gtest/gtest.h>

#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

using namespace platform;
using tests::DwordBytes;
using tests::SzBytes;
using tests::TestWorld;
using tests::WorldKind;
using namespace std::string_literals;

class RegistryExportTest : public ::testing::TestWithParam<WorldKind> {
protected:
    void SetUp() override { world_ = GetParam().make(); }

    std::string Export(std::string_view relative) {
        Restoration restoration(world_->platform().codec);
        ExportKey(world_->platform().registry, RootKey::CurrentUser, world_->KeyPath(relative), restoration);
        return restoration.Text();
    }

    std::string KeyLine(std::string_view relative) {
        return "\r\n[HKEY_CURRENT_USER\\" + world_->KeyPath(relative) + "]\r\n";
    }

    std::unique_ptr<TestWorld> world_;
};

TEST_P(RegistryExportTest, KeyWithValuesAndSubKeys) {
    // Created in name order: Wine enumerates values by name, Windows in creation order.
    world_->SetValue(world_->KeyPath("Demo"), "Count", kRegDword, DwordBytes(26));
    world_->SetValue(world_->KeyPath("Demo"), "Path", kRegSz, SzBytes("C:\\Temp"));
    world_->SetValue(world_->KeyPath("Demo\\Sub"), "", kRegSz, SzBytes(""));

    EXPECT_EQ(Export("Demo"), KeyLine("Demo") + "\"Count\"=dword:0000001A\r\n" +
                                  "\"Path\"=\"C:\\\\Temp\"\r\n" + KeyLine("Demo\\Sub") + "@=\"\"\r\n");
}

TEST_P(RegistryExportTest, EmptyAndMissingKeys) {
    world_->CreateKey(world_->KeyPath("Empty"));
    EXPECT_EQ(Export("Empty"), KeyLine("Empty"));
    EXPECT_EQ(Export("Missing"), "");
}

TEST_P(RegistryExportTest, EveryTypeComesBackWithItsTypeAndBytes) {
    struct Case {
        std::string name;
        std::uint32_t type;
        std::string data;
        std::string line;
    };
    const Case cases[] = {
        {"sz", kRegSz, SzBytes("say \"hi\" \\ \u00E9\u00FF"), "\"sz\"=\"say \\\"hi\\\" \\\\ \xE9\xFF\""},
        {"empty sz", kRegSz, SzBytes(""), "\"empty sz\"=\"\""},
        {"no bytes sz", kRegSz, "", "\"no bytes sz\"=hex(1):"},
        {"embedded zero", kRegSz, SzBytes("a"s + '\0' + "b"), "\"embedded zero\"=hex(1):61,00,62,00"},
        {"line break", kRegSz, SzBytes("a\r\nb"), "\"line break\"=hex(1):61,0D,0A,62,00"},
        {"expand", kRegExpandSz, SzBytes("%TEMP%"), "\"expand\"=hex(2):25,54,45,4D,50,25,00"},
        {"multi", kRegMultiSz, SzBytes("a"s + '\0' + "bc" + '\0'), "\"multi\"=hex(7):61,00,62,63,00,00"},
        {"binary", kRegBinary, "\x01\xAB\xFF", "\"binary\"=hex:01,AB,FF"},
        {"empty binary", kRegBinary, "", "\"empty binary\"=hex:"},
        {"dword", kRegDword, DwordBytes(0x12AB00FF), "\"dword\"=dword:12AB00FF"},
        {"short dword", kRegDword, "\x01\x02", "\"short dword\"=hex(4):01,02"},
        {"qword", kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08", "\"qword\"=hex(b):01,02,03,04,05,06,07,08"},
        {"none", kRegNone, "\x01\xAB\xFF", "\"none\"=hex(0):01,AB,FF"},
        {"empty none", kRegNone, "", "\"empty none\"=hex(0):"},
        {"unusual", 0x12345, "\xAA", "\"unusual\"=hex(12345):AA"},
        {"quote\"and\\back", kRegDword, DwordBytes(1), "\"quote\\\"and\\\\back\"=dword:00000001"},
    };
    for (const Case& c : cases) {
        world_->SetValue(world_->KeyPath("Types"), c.name, c.type, c.data);
    }
    OpenedKey key = world_->platform().registry.Open(RootKey::CurrentUser, world_->KeyPath("Types"));
    ASSERT_EQ(key.status, kRegSuccess);
    RegistryValue scratch;
    for (const Case& c : cases) {
        Restoration restoration(world_->platform().codec);
        ExportValue(*key.key, c.name, scratch, restoration);
        EXPECT_EQ(restoration.Encoding(), TextEncoding::Ansi) << c.name;
        EXPECT_EQ(restoration.Text(), c.line + "\r\n") << c.name;
    }
}

TEST_P(RegistryExportTest, LargeValuesAreReadWhole) {
    std::string binary(5000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 7);
    }
    std::string text(3000, 'x');
    world_->SetValue(world_->KeyPath("Large"), "binary", kRegBinary, binary);
    world_->SetValue(world_->KeyPath("Large"), std::string(2000, 'n'), kRegSz, SzBytes(text));

    std::string exported = Export("Large");
    EXPECT_NE(exported.find("\"" + std::string(2000, 'n') + "\"=\"" + text + "\"\r\n"), std::string::npos);
    auto binaryLine = exported.find("\"binary\"=hex:00,07,0E,");
    ASSERT_NE(binaryLine, std::string::npos);
    std::string_view rest = std::string_view(exported).substr(binaryLine);
    EXPECT_EQ(rest.substr(0, rest.find('\r')).size(), std::string("\"binary\"=hex:").size() + 5000 * 3 - 1);
}

TEST_P(RegistryExportTest, MissingValuesExportAsDeletions) {
    world_->CreateKey(world_->KeyPath("Values"));
    OpenedKey key = world_->platform().registry.Open(RootKey::CurrentUser, world_->KeyPath("Values"));
    ASSERT_EQ(key.status, kRegSuccess);
    RegistryValue scratch;
    Restoration restoration(world_->platform().codec);
    ExportValue(*key.key, "absent", scratch, restoration);
    ExportValue(*key.key, "", scratch, restoration);
    EXPECT_EQ(restoration.Text(), "\"absent\"=-\r\n@=-\r\n");
}

// What the code page cannot hold makes the whole restoration a version 5
// text, where string data is written as the UTF-16 it is.
TEST_P(RegistryExportTest, CharactersOutsideTheCodePageTurnTheTextIntoVersion5) {
    // Created in name order: Wine enumerates values by name, Windows in creation order.
    world_->SetValue(world_->KeyPath("\u0416"), "expand", kRegExpandSz, SzBytes("%A%"));
    world_->SetValue(world_->KeyPath("\u0416"), "\u03A9 \U0001F600", kRegSz, SzBytes("\u4E2D\u00E9"));
    world_->SetValue(world_->KeyPath("Odd"), "a expand", kRegExpandSz, SzBytes("%B%"));
    world_->SetValue(world_->KeyPath("Odd"), "odd", kRegSz, std::string("a\0\0\0b", 5));

    EXPECT_EQ(Export("\u0416"), KeyLine("\u0416") + "\"expand\"=hex(2):25,00,41,00,25,00,00,00\r\n" +
                                    "\"\u03A9 \U0001F600\"=\"\u4E2D\u00E9\"\r\n");
    // Half a character has no ANSI form: the ANSI importer converts whole ones.
    Restoration odd(world_->platform().codec);
    ExportKey(world_->platform().registry, RootKey::CurrentUser, world_->KeyPath("Odd"), odd);
    EXPECT_EQ(odd.Encoding(), TextEncoding::Utf16);
    EXPECT_EQ(odd.Text(), KeyLine("Odd") + "\"a expand\"=hex(2):25,00,42,00,25,00,00,00\r\n" +
                              "\"odd\"=hex(1):61,00,00,00,62\r\n")
        << "what was written in ANSI is written again";
}

// A key the file deletes is saved whole: what a file cannot set back of it,
// of its sub-keys and of their string values is listed once each, and
// nothing of ordinary keys and values.
TEST_P(RegistryExportTest, WhatAFileCannotCarryIsListedOnce) {
    // Created in name order: Wine enumerates values by name, Windows in creation order.
    world_->SetValue(world_->KeyPath("Gaps\\A plain"), "sz", kRegSz, SzBytes("x"));
    world_->SetValue(world_->KeyPath("Gaps\\A plain"), "zz binary", kRegBinary, "\x01");
    world_->CreateKeyWithTraits(world_->KeyPath("Gaps\\B class"), {.className = true});
    world_->CreateKeyWithTraits(world_->KeyPath("Gaps\\C link"), {.symbolicLink = true},
                                world_->KeyPath("Gaps\\A plain"));
    world_->CreateKeyWithTraits(world_->KeyPath("Gaps\\D rules"), {.ownAccessRules = true});
    std::string strings = world_->KeyPath("Gaps\\E strings");
    world_->SetValue(strings, "a no zero", kRegSz, "a\0b\0"s);
    world_->SetValue(strings, "b odd", kRegExpandSz, "a\0b"s);
    world_->SetValue(strings, "c multi no zero", kRegMultiSz, "a\0\0\0b\0"s);
    world_->SetValue(strings, "d empty", kRegSz, "");
    world_->SetValue(strings, "e multi", kRegMultiSz, "a\0\0\0"s);
    world_->SetValue(strings, "f odd after its zero", kRegSz, "a\0\0\0b"s);  // the importer keeps it
    world_->CreateKeyWithTraits(world_->KeyPath("Gaps\\F volatile"), {.isVolatile = true});

    Restoration restoration(world_->platform().codec);
    ExportKey(world_->platform().registry, RootKey::CurrentUser, world_->KeyPath("Gaps"), restoration);
    std::string gaps = "HKEY_CURRENT_USER\\" + world_->KeyPath("Gaps\\");
    std::vector<std::string> expected = {
        gaps + "B class : classe de clé",
        gaps + "C link : lien symbolique",
        gaps + "D rules : droits d'accès propres",
        gaps + "E strings\\\"a no zero\" : chaîne sans zéro final",
        gaps + "E strings\\\"b odd\" : chaîne de taille impaire",
        gaps + "E strings\\\"c multi no zero\" : chaîne sans zéro final",
    };
    if (world_->TellsVolatileKeys()) {
        expected.push_back(gaps + "F volatile : clé volatile");
    }
    EXPECT_EQ(restoration.NotCarried(), expected);
    EXPECT_TRUE(restoration.UncoveredKeys().empty());
    EXPECT_NE(restoration.Text().find("\"c multi no zero\"=hex(7):61,00,00,00,62,00\r\n"), std::string::npos)
        << "what is not carried is still saved as it is";
}

INSTANTIATE_TEST_SUITE_P(Worlds, RegistryExportTest, ::testing::ValuesIn(tests::WorldKinds()),
                         tests::WorldName);

TEST(RegistryExportMemoryTest, UnterminatedStringKeepsItsLastCharacter) {
    // Wine's registry adds the terminating zero itself; Windows keeps what it is given.
    tests::MemoryWorld world;
    world.SetValue(world.KeyPath(), "unterminated", kRegSz, std::string("a\0b\0c\0", 6));
    RegistryValue value;
    ASSERT_EQ(world.platform()
                  .registry.Open(RootKey::CurrentUser, world.KeyPath())
                  .key->QueryValue("unterminated", value),
              kRegSuccess);
    std::string text;
    AppendValueLine(text, value, TextEncoding::Ansi, world.platform().codec);
    EXPECT_EQ(text, "\"unterminated\"=hex(1):61,62,63\r\n");
}

TEST(RegistryExportMemoryTest, CountsPastSixteenBits) {
    tests::MemoryWorld world;
    std::string key = world.KeyPath("Many");
    for (int i = 0; i < 40000; ++i) {
        world.SetValue(key, "v" + std::to_string(i), kRegDword, DwordBytes(static_cast<std::uint32_t>(i)));
    }
    for (int i = 0; i < 33000; ++i) {
        world.CreateKey(key + "\\k" + std::to_string(i));
    }
    Restoration restoration(world.platform().codec);
    ExportKey(world.platform().registry, RootKey::CurrentUser, key, restoration);
    std::string text = restoration.Text();
    EXPECT_NE(text.find("\"v39999\"=dword:00009C3F\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\Many\\k32999]\r\n"), std::string::npos);
}

// Only the memory registry can make reading fail. An enumeration that stops
// on an error, or meets a name without a UTF-8 form (which it passes over),
// leaves its key uncovered, listed once.
TEST(RegistryExportMemoryTest, WhatCannotBeReadIsListedOnceAsUncovered) {
    tests::MemoryWorld world;
    MemoryRegistry& registry = world.memoryRegistry;
    std::string halfway = world.KeyPath("Tree\\Halfway");
    std::string unnamed = world.KeyPath("Tree\\Unnamed");
    for (const char* name : {"a", "b", "c"}) {
        world.SetValue(halfway, name, kRegDword, DwordBytes(1));
        world.SetValue(unnamed, name, kRegDword, DwordBytes(2));
    }
    world.CreateKey(halfway + "\\Sub");
    world.CreateKey(unnamed + "\\Bad");
    world.CreateKey(unnamed + "\\Next");
    registry.FailValueAt(RootKey::CurrentUser, halfway, 1, kRegAccessDenied);
    registry.FailSubKeyAt(RootKey::CurrentUser, halfway, 0, kRegInvalidHandle);
    registry.FailValueAt(RootKey::CurrentUser, unnamed, 0, kRegNameHasNoUtf8);
    registry.FailSubKeyAt(RootKey::CurrentUser, unnamed, 0, kRegNameHasNoUtf8);

    Restoration restoration(world.platform().codec);
    ExportKey(world.platform().registry, RootKey::CurrentUser, world.KeyPath("Tree"), restoration);

    std::string root = "HKEY_CURRENT_USER\\";
    EXPECT_EQ(restoration.UncoveredKeys(), (std::vector<std::string>{root + halfway, root + unnamed}));
    std::string text = restoration.Text();
    EXPECT_NE(text.find("\\Halfway]\r\n\"a\"=dword:00000001\r\n\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\Unnamed]\r\n\"b\"=dword:00000002\r\n\"c\"=dword:00000002\r\n"), std::string::npos)
        << "a name without a UTF-8 form is passed over";
    EXPECT_NE(text.find("\\Unnamed\\Next]"), std::string::npos);
    EXPECT_TRUE(restoration.NotCarried().empty());
    EXPECT_TRUE(world.prompt.shown().empty());
}

TEST(RegistryExportMemoryTest, SubKeysThatCannotBeOpenedAreLeftOut) {
    tests::MemoryWorld world;
    std::string key = world.KeyPath("Tree");
    world.SetValue(key + "\\Open", "a", kRegDword, DwordBytes(1));
    world.SetValue(key + "\\Closed\\Below", "b", kRegDword, DwordBytes(2));
    world.memoryRegistry.RefuseOpen(RootKey::CurrentUser, key + "\\Closed", kRegAccessDenied);

    Restoration restoration(world.platform().codec);
    ExportKey(world.platform().registry, RootKey::CurrentUser, key, restoration);
    std::string text = restoration.Text();
    EXPECT_NE(text.find("\\Tree\\Open]\r\n\"a\"=dword:00000001"), std::string::npos);
    EXPECT_EQ(text.find("Closed"), std::string::npos);
    EXPECT_TRUE(world.prompt.shown().empty());
}

}  // namespace
}  // namespace claverix::engine
