#include "engine/RegistryExport.h"

#include <gtest/gtest.h>

#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

using namespace platform;
using tests::DwordBytes;
using tests::TestWorld;
using tests::WorldKind;

class RegistryExportTest : public ::testing::TestWithParam<WorldKind> {
protected:
    void SetUp() override { world_ = GetParam().make(); }

    std::string Export(std::string_view relative) {
        std::string text;
        ExportKey(world_->platform().registry, RootKey::CurrentUser, world_->KeyPath(relative), text);
        return text;
    }

    std::string KeyLine(std::string_view relative) {
        return "\r\n[HKEY_CURRENT_USER\\" + world_->KeyPath(relative) + "]\r\n";
    }

    std::unique_ptr<TestWorld> world_;
};

TEST_P(RegistryExportTest, KeyWithValuesAndSubKeys) {
    // Created in name order: Wine enumerates values by name, Windows in creation order.
    world_->SetValue(world_->KeyPath("Demo"), "Count", kRegDword, DwordBytes(26));
    world_->SetValue(world_->KeyPath("Demo"), "Path", kRegSz, std::string("C:\\Temp\0", 8));
    world_->SetValue(world_->KeyPath("Demo\\Sub"), "", kRegSz, std::string("\0", 1));

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
        {"sz", kRegSz, std::string("say \"hi\" \\ \xE9\xFF\0", 14),
         "\"sz\"=\"say \\\"hi\\\" \\\\ \xE9\xFF\""},
        {"empty sz", kRegSz, std::string("\0", 1), "\"empty sz\"=\"\""},
        {"no bytes sz", kRegSz, "", "\"no bytes sz\"=hex(1):"},
        {"embedded zero", kRegSz, std::string("a\0b\0", 4), "\"embedded zero\"=hex(1):61,00,62,00"},
        {"line break", kRegSz, std::string("a\r\nb\0", 5), "\"line break\"=hex(1):61,0D,0A,62,00"},
        {"expand", kRegExpandSz, std::string("%TEMP%\0", 7), "\"expand\"=hex(2):25,54,45,4D,50,25,00"},
        {"multi", kRegMultiSz, std::string("a\0bc\0\0", 6), "\"multi\"=hex(7):61,00,62,63,00,00"},
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
        std::string text;
        ExportValue(*key.key, c.name, scratch, text);
        EXPECT_EQ(text, c.line + "\r\n") << c.name;
    }
}

TEST_P(RegistryExportTest, LargeValuesAreReadWhole) {
    std::string binary(5000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 7);
    }
    std::string text(3000, 'x');
    world_->SetValue(world_->KeyPath("Large"), "binary", kRegBinary, binary);
    world_->SetValue(world_->KeyPath("Large"), std::string(2000, 'n'), kRegSz, text + '\0');

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
    std::string text;
    ExportValue(*key.key, "absent", scratch, text);
    ExportValue(*key.key, "", scratch, text);
    EXPECT_EQ(text, "\"absent\"=-\r\n@=-\r\n");
}

INSTANTIATE_TEST_SUITE_P(Worlds, RegistryExportTest, ::testing::ValuesIn(tests::WorldKinds()),
                         tests::WorldName);

TEST(RegistryExportMemoryTest, UnterminatedStringKeepsItsLastCharacter) {
    // Wine's registry adds the terminating zero itself; Windows keeps what it is given.
    tests::MemoryWorld world;
    world.SetValue(world.KeyPath(), "unterminated", kRegSz, "abc");
    RegistryValue value;
    ASSERT_EQ(world.platform()
                  .registry.Open(RootKey::CurrentUser, world.KeyPath())
                  .key->QueryValue("unterminated", value),
              kRegSuccess);
    std::string text;
    AppendValueLine(text, value);
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
    std::string text;
    ExportKey(world.platform().registry, RootKey::CurrentUser, key, text);
    EXPECT_NE(text.find("\"v39999\"=dword:00009C3F\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\Many\\k32999]\r\n"), std::string::npos);
}

TEST(RegistryExportMemoryTest, SubKeysThatCannotBeOpenedAreLeftOut) {
    tests::MemoryWorld world;
    std::string key = world.KeyPath("Tree");
    world.SetValue(key + "\\Open", "a", kRegDword, DwordBytes(1));
    world.SetValue(key + "\\Closed\\Below", "b", kRegDword, DwordBytes(2));
    world.memoryRegistry.RefuseOpen(RootKey::CurrentUser, key + "\\Closed", kRegAccessDenied);

    std::string text;
    ExportKey(world.platform().registry, RootKey::CurrentUser, key, text);
    EXPECT_NE(text.find("\\Tree\\Open]\r\n\"a\"=dword:00000001"), std::string::npos);
    EXPECT_EQ(text.find("Closed"), std::string::npos);
    EXPECT_TRUE(world.prompt.shown().empty());
}

}  // namespace
}  // namespace claverix::engine
