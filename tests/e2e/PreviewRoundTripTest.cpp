#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Preview.h"
#include "tests/e2e/support/RoundTripTest.h"
#include "tests/support/TestWorld.h"

namespace claverix::e2e {
namespace {

using app::Change;
using namespace std::string_view_literals;

class PreviewRoundTripTest : public RoundTripTest {
protected:
    std::vector<Change> PreviewChanges(const RegFile& file) {
        std::vector<Change> changes;
        engine::ForeseenImport foreseen =
            engine::ForeseeImport(engine::DecodeFileText(file.text), world_->platform().codec);
        for (const app::PreviewRow& row : app::BuildPreview(world_->platform().registry, foreseen)) {
            changes.push_back(row.change);
        }
        EXPECT_TRUE(world_->prompt.shown().empty());
        return changes;
    }

private:
    // The real registry, files and code page, as the program sees them.
    std::unique_ptr<tests::TestWorld> world_ = tests::MakeWin32World();
};

// What the preview says a file will change is what Wine's importer changes:
// once the file is merged, nothing is left to change.
TEST_F(PreviewRoundTripTest, ThePreviewForeseesTheMergeAndAfterItNothingIsLeftToChange) {
    SetState({
        {L"", {}},
        {L"P", {{L"a", Dword(1)}, {L"b", Sz(L"vieux")}, {L"d", Dword(7)}}},
        {L"Vieille", {{L"z", Dword(3)}}},
    });
    RegFile file{"apercu.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\P]
"a"=dword:0000001a
"B"=-
"n"=hex(7):75,6e,00,64,00,00
"d"=dword:00000007
n'importe quoi
[HKEY_CURRENT_USER\{key}\P\Neuve]
@="x"
[-HKEY_CURRENT_USER\{key}\Vieille]
)")};
    EXPECT_EQ(PreviewChanges(file),
              (std::vector<Change>{Change::Changed, Change::Deleted, Change::Added, Change::Unchanged,
                                   Change::Skipped, Change::KeyCreated, Change::Added, Change::KeyDeleted}));
    Restoration restoration;
    ASSERT_NO_FATAL_FAILURE(Merge(file, restoration));
    EXPECT_EQ(PreviewChanges(file),
              (std::vector<Change>{Change::Unchanged, Change::Unchanged, Change::Unchanged, Change::Unchanged,
                                   Change::Skipped, Change::Unchanged}));
}

}  // namespace
}  // namespace claverix::e2e
