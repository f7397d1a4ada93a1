#include "tests/e2e/support/RoundTripTest.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <set>

#include "platform/win32/Text.h"

namespace claverix::e2e {

namespace {

// The key names are ASCII.
std::wstring Widened(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

bool IsStringType(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The importer completes string data with a zero character after its last
// whole one, unless that one is zero.
bool IsRestorableString(const std::string& bytes) {
    std::size_t whole = bytes.size() / sizeof(wchar_t);
    return bytes.empty() || (whole > 0 && bytes[2 * whole - 2] == '\0' && bytes[2 * whole - 1] == '\0');
}

// "yyyymmdd-hhmmss-" and the merged file's name, with " (n)" before its
// extension when another restoration file of that name is from the same second.
bool IsRestorationName(std::string_view name, std::string_view mergedName) {
    constexpr std::string_view kStampShape = "00000000-000000-";
    if (name.size() < kStampShape.size() ||
        !std::ranges::equal(name.substr(0, kStampShape.size()), kStampShape, [](char c, char shape) {
            return shape == '0' ? std::isdigit(c) != 0 : c == shape;
        })) {
        return false;
    }
    std::string_view rest = name.substr(kStampShape.size());
    std::size_t dot = mergedName.rfind('.');
    std::string_view stem = mergedName.substr(0, dot);
    std::string_view extension = mergedName.substr(stem.size());
    if (rest == mergedName) {
        return true;
    }
    if (!rest.starts_with(stem) || !rest.ends_with(extension)) {
        return false;
    }
    std::string_view sequence = rest.substr(stem.size(), rest.size() - stem.size() - extension.size());
    return sequence.size() > 3 && sequence.starts_with(" (") && sequence.ends_with(")") &&
           std::ranges::all_of(sequence.substr(2, sequence.size() - 3),
                               [](char c) { return std::isdigit(c) != 0; });
}

// Whether a restoration file can carry `tree` back: see CheckRoundTrip.
::testing::AssertionResult IsRestorable(const RegistryTree& tree) {
    for (const auto& [path, values] : tree) {
        for (const auto& [name, value] : values) {
            if (IsStringType(value.type) && !IsRestorableString(value.bytes)) {
                return ::testing::AssertionFailure() << "value " << platform::win32::WideToUtf8(name)
                                                     << " holds a string without its terminating zero";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// A file's text for a failure report: a UTF-16 one in UTF-8.
std::string Shown(const std::string& bytes) {
    if (!bytes.starts_with("\xFF\xFE")) {
        return bytes;
    }
    std::wstring text((bytes.size() - 2) / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
    return platform::win32::WideToUtf8(text);
}

// The report of a merge where nothing took but for key and value lines the
// importer passed over, each named by its line: the undo it offers is
// declined, the registry then being what the reader foresees.
int AnswerLinesPassedOver(const std::string& shown) {
    constexpr std::string_view kItem = "\n    ";
    if (shown.find("n'a été importé qu'en partie") == std::string::npos) {
        return 0;
    }
    for (std::size_t at = shown.find(kItem); at != std::string::npos; at = shown.find(kItem, at + 1)) {
        std::string_view item = std::string_view(shown).substr(at + kItem.size());
        if (!item.starts_with("ligne ") && !item.starts_with("et ")) {
            return 0;
        }
    }
    return IDNO;
}

}  // namespace

RoundTripTest::RoundTripTest(const SandboxNames& names) : wideKey_(Widened(key_.Path())), sandbox_(names) {}

std::string RoundTripTest::WithKey(std::string_view body) const {
    constexpr std::string_view kMark = "{key}";
    std::string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body.substr(i).starts_with(kMark)) {
            text += key();
            i += kMark.size() - 1;
        } else if (body[i] == '\n' && (i == 0 || body[i - 1] != '\r')) {
            text += "\r\n";
        } else {
            text += body[i];
        }
    }
    return text;
}

std::string RoundTripTest::SignedFile(std::string_view body) const {
    return SignedHead(ClaverixSandbox::kSignature) + WithKey(body);
}

void RoundTripTest::CheckRoundTrip(const RegistryTree& start, const std::vector<RegFile>& files,
                                   FileEffect effect) {
    ASSERT_TRUE(IsRestorable(start));
    WriteTree(wideKey_, start);
    ASSERT_EQ(TreeText(State()), TreeText(start)) << "the registry does not hold the starting state as given";
    std::vector<std::string> before;
    std::vector<Restoration> restorations(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        before.push_back(TreeText(State()));
        ASSERT_NO_FATAL_FAILURE(Merge(files[i], restorations[i]));
        if (effect == FileEffect::Changes) {
            EXPECT_NE(TreeText(State()), before[i])
                << files[i].name << " changed nothing: the importer ignored it";
        } else {
            EXPECT_EQ(TreeText(State()), before[i]) << files[i].name << " was to change nothing";
        }
    }
    for (std::size_t i = files.size(); i-- > 0;) {
        ASSERT_NO_FATAL_FAILURE(Undo(restorations[i]));
        EXPECT_EQ(TreeText(State()), before[i]) << "Undoing " << files[i].name << "\nwhich held:\n"
                                                << Shown(files[i].text) << "\nwith the restoration file:\n"
                                                << Shown(restorations[i].text);
    }
}

void RoundTripTest::CheckForeseenImport(const RegistryTree& start, const RegFile& file,
                                        const std::function<RegistryTree(const RegistryTree&)>& foresee) {
    ASSERT_TRUE(IsRestorable(start));
    WriteTree(wideKey_, start);
    Restoration restoration;
    ASSERT_NO_FATAL_FAILURE(Merge(file, restoration));
    RegistryTree imported = State();
    EXPECT_EQ(TreeText(imported), TreeText(foresee(imported)))
        << "The importer did not do what the reader foresaw, reading:\n"
        << Shown(file.text);
    ASSERT_NO_FATAL_FAILURE(Undo(restoration));
    EXPECT_EQ(TreeText(State()), TreeText(start)) << "Undoing:\n"
                                                  << Shown(file.text) << "\nwith the restoration file:\n"
                                                  << Shown(restoration.text);
}

std::string RoundTripTest::WriteFile(const RegFile& file) const {
    std::string path = sandbox_.WriteFile(file.name, file.text);
    return path.substr(0, path.rfind('\\'));
}

void RoundTripTest::Merge(const RegFile& file, Restoration& restoration) {
    std::set<std::string> before = sandbox_.RestorationFiles();
    RunResult run;
    ASSERT_TRUE(sandbox_.Run(sandbox_.WriteFile(file.name, file.text), AnswerLinesPassedOver, run))
        << "merging " << file.name;
    EXPECT_EQ(run.exitCode, run.answered.empty() ? 0u : 2u)
        << "merging " << file.name << ": all took, but for the lines passed over";
    std::set<std::string> after = sandbox_.RestorationFiles();
    std::vector<std::string> added;
    std::ranges::set_difference(after, before, std::back_inserter(added));
    ASSERT_EQ(added.size(), 1u) << "restoration files written for " << file.name;
    EXPECT_TRUE(IsRestorationName(added[0], file.name)) << added[0] << " for " << file.name;
    restoration = {added[0], ReadFileBytes(sandbox_.RestorationPath(added[0]))};
}

void RoundTripTest::Undo(const Restoration& restoration) {
    std::set<std::string> before = sandbox_.RestorationFiles();
    ASSERT_TRUE(sandbox_.Run(sandbox_.RestorationPath(restoration.name)))
        << "undoing with " << restoration.name;
    std::set<std::string> after = sandbox_.RestorationFiles();
    EXPECT_FALSE(after.contains(restoration.name)) << "a restoration file goes once merged";
    std::vector<std::string> added;
    std::ranges::set_difference(after, before, std::back_inserter(added));
    ASSERT_EQ(added.size(), 1u) << "what the undo overwrote is saved in a restoration file of its own";
    EXPECT_TRUE(IsRestorationName(added[0], restoration.name)) << added[0];
}

}  // namespace claverix::e2e
