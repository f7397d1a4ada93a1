#include "engine/RestorationBuilder.h"

#include <gtest/gtest.h>

#include "engine/RegistryExport.h"
#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

using namespace platform;
using tests::DwordBytes;
using tests::SzBytes;

// Both trees that HKEY_CLASSES_ROOT shows, as they are stored.
std::string StoredClasses(tests::MemoryWorld& world) {
    Restoration trees(world.latin1);
    ExportKey(world.memoryRegistry, RootKey::CurrentUser, "Software\\Classes", trees);
    ExportKey(world.memoryRegistry, RootKey::LocalMachine, "Software\\Classes", trees);
    return trees.Text();
}

// HKEY_CLASSES_ROOT as Windows shows and writes it: whatever key the merging
// importer writes to, the restoration puts both stored trees back.
TEST(RestorationBuilderTest, ClassesRootKeysComeBackInBothStoredTrees) {
    tests::MemoryWorld world;
    MemoryRegistry& registry = world.memoryRegistry;
    registry.SetValue(RootKey::CurrentUser, "Software\\Classes\\.both", "", kRegSz, SzBytes("user"));
    registry.SetValue(RootKey::CurrentUser, "Software\\Classes\\.both", "u", kRegDword, DwordBytes(1));
    registry.SetValue(RootKey::LocalMachine, "Software\\Classes\\.both", "", kRegSz, SzBytes("machine"));
    registry.SetValue(RootKey::LocalMachine, "Software\\Classes\\.both\\Shell", "m", kRegDword,
                      DwordBytes(2));
    registry.SetValue(RootKey::CurrentUser, "Software\\Classes\\Both\\Sub", "x", kRegDword, DwordBytes(3));
    registry.SetValue(RootKey::LocalMachine, "Software\\Classes\\Both", "y", kRegSz, SzBytes("machine"));
    registry.SetValue(RootKey::LocalMachine, "Software\\Classes\\Machine", "z", kRegDword, DwordBytes(4));
    Restoration shown(world.latin1);
    ExportKey(registry, RootKey::ClassesRoot, ".both", shown);
    EXPECT_EQ(shown.Text(),
              "\r\n[HKEY_CLASSES_ROOT\\.both]\r\n@=\"user\"\r\n\"u\"=dword:00000001\r\n"
              "\r\n[HKEY_CLASSES_ROOT\\.both\\Shell]\r\n\"m\"=dword:00000002\r\n")
        << "the per-user key's values, the sub-keys of both";

    // Deleting Both deletes the per-user key; the machine's shows through, and takes "y".
    FileText file = DecodeFileText(
        "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.both]\r\n@=\"new\"\r\n\"u\"=-\r\n\"added\"=\"1\"\r\n"
        "[HKEY_CLASSES_ROOT\\.both\\Shell\\Open]\r\n@=\"c\"\r\n[-HKEY_CLASSES_ROOT\\Both]\r\n"
        "[HKEY_CLASSES_ROOT\\Both]\r\n\"y\"=\"changed\"\r\n[HKEY_CLASSES_ROOT\\Machine]\r\n\"z\"=-\r\n"
        "[HKEY_CLASSES_ROOT\\New]\r\n@=\"n\"\r\n");
    std::string before = StoredClasses(world);
    RestorationText restoration = BuildRestoration(world.platform(), file, {}, false);
    tests::ImportAsTheImporter(file, world.latin1, world);
    ASSERT_NE(StoredClasses(world), before);
    tests::ImportAsTheImporter(DecodeFileText("REGEDIT4\r\n" + restoration.text), world.latin1, world);
    EXPECT_EQ(StoredClasses(world), before);
    EXPECT_EQ(restoration.text.substr(restoration.text.find("\r\n[HKEY_CLASSES_ROOT")),
              "\r\n[HKEY_CLASSES_ROOT\\Machine]\r\n\"z\"=dword:00000004\r\n"
              "\r\n[-HKEY_CLASSES_ROOT\\New]\r\n")
        << "without a per-user key, the key is written as the file names it";
}

}  // namespace
}  // namespace claverix::engine
