#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/support/ImportCase.h"
#include "tests/e2e/support/RoundTripTest.h"

namespace claverix::e2e {
namespace {

// The system's importer is the judge: what the program's reader foresees of
// a file must be what the importer does, value for value and byte for byte,
// and the restoration file must take the registry back to where it was.
class ImporterPropertyTest : public RoundTripTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(ImporterPropertyTest, TheReaderForeseesTheImportAndTheRestorationUndoesIt) {
    std::uint32_t seed = GetParam();
    SCOPED_TRACE("seed " + std::to_string(seed) + ", run again alone with --gtest_filter=*Importer*/Seed" +
                 std::to_string(seed));
    ImportCase drawn = MakeImportCase(seed, key(), ClaverixSandbox::kSignature);
    CheckForeseenImport(drawn.start, drawn.file, [&](const RegistryTree& imported) {
        return ForeseenImport(drawn.start, drawn.file, key(), imported);
    });
}

// 35 files of 32 value lines each: 1,120 lines, in about half a minute.
INSTANTIATE_TEST_SUITE_P(Seeds, ImporterPropertyTest, ::testing::Range(1u, 36u),
                         [](const ::testing::TestParamInfo<std::uint32_t>& seed) {
                             return "Seed" + std::to_string(seed.param);
                         });

}  // namespace
}  // namespace claverix::e2e
