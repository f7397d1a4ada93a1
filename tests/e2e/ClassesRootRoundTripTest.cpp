#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/support/RoundTripTest.h"

namespace claverix::e2e {
namespace {

// Two classes of HKEY_CLASSES_ROOT of the test's own, named after its key:
// one that the per-user classes hold, one that they do not.
class ClassesRootRoundTripTest : public RoundTripTest {
protected:
    ClassesRootRoundTripTest() { DeleteClasses(); }
    ~ClassesRootRoundTripTest() override { DeleteClasses(); }

    static std::wstring Stored(const std::string& name) {
        return L"Software\\Classes\\" + std::wstring(name.begin(), name.end());
    }

    // Both classes in the per-user and the machine's classes.
    std::string StoredText() const {
        std::string text;
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            for (const std::string& name : {perUser_, machineOnly_}) {
                text += name + ":\n" + TreeText(ReadTree(Stored(name), root));
            }
        }
        return text;
    }

    void DeleteClasses() const {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            DeleteTree(Stored(perUser_), root);
            DeleteTree(Stored(machineOnly_), root);
        }
    }

    const std::string unique_ = "ClaverixRoundTrip." + key().substr(key().rfind('\\') + 1);
    const std::string perUser_ = unique_ + ".user";
    const std::string machineOnly_ = unique_ + ".machine";
};

// Wine's importer writes HKEY_CLASSES_ROOT to the machine's classes, Windows'
// to either: the restoration names both stored keys where the per-user
// classes hold one, and HKEY_CLASSES_ROOT's where they do not.
TEST_F(ClassesRootRoundTripTest, ClassesWithAndWithoutAPerUserKeyComeBackExactly) {
    WriteTree(Stored(perUser_), {{L"", {{L"", Sz(L"user")}, {L"v", Sz(L"u")}}}, {L"Old", {{L"o", Dword(1)}}}},
              HKEY_CURRENT_USER);
    WriteTree(Stored(perUser_), {{L"", {{L"v", Sz(L"m")}}}, {L"Old", {{L"p", Dword(2)}}}, {L"Shell", {}}},
              HKEY_LOCAL_MACHINE);
    WriteTree(Stored(machineOnly_), {{L"", {{L"v", Sz(L"m")}}}, {L"Old", {}}}, HKEY_LOCAL_MACHINE);
    std::string before = StoredText();
    std::string user = "[HKEY_CLASSES_ROOT\\" + perUser_;
    std::string machine = "[HKEY_CLASSES_ROOT\\" + machineOnly_;
    RegFile file{"classes.reg",
                 SignedFile(user + "]\n@=\"new\"\n\"v\"=-\n\"added\"=dword:00000001\n" + user +
                            "\\Shell\\Open]\n@=\"c\"\n[-" + user.substr(1) + "\\Old]\n" + machine +
                            "]\n\"v\"=\"new\"\n" + machine + "\\New\\Deeper]\n\"n\"=\"1\"\n[-" +
                            machine.substr(1) + "\\Old]\n")};

    Restoration restoration;
    ASSERT_NO_FATAL_FAILURE(Merge(file, restoration));
    EXPECT_NE(StoredText(), before) << "the importer ignored the file";
    EXPECT_NE(restoration.text.find("[HKEY_CURRENT_USER\\Software\\Classes\\" + perUser_ + "]"),
              std::string::npos);
    EXPECT_NE(restoration.text.find(machine + "]"), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(Undo(restoration));
    EXPECT_EQ(StoredText(), before) << "with the restoration file:\n" << restoration.text;
}

}  // namespace
}  // namespace claverix::e2e
