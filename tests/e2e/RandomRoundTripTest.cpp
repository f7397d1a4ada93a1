#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/RandomCase.h"
#include "tests/e2e/RoundTripTest.h"

namespace claverix::e2e {
namespace {

class RandomRoundTripTest : public RoundTripTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(RandomRoundTripTest, EveryFileIsUndoneByItsRestorationFile) {
    std::uint32_t seed = GetParam();
    SCOPED_TRACE("seed " + std::to_string(seed) + ", run again alone with --gtest_filter=*/Seed" +
                 std::to_string(seed));
    RandomCase drawn = MakeRandomCase(seed, key(), ClaverixSandbox::kSignature);
    CheckRoundTrip(drawn.start, drawn.files);
}

// A fixed list, so that a failing seed fails again on the next run.
INSTANTIATE_TEST_SUITE_P(Seeds, RandomRoundTripTest,
                         ::testing::Values(1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u, 55u, 89u, 144u, 233u, 377u, 610u,
                                           987u, 1597u, 2584u, 4181u, 6765u, 10946u),
                         [](const ::testing::TestParamInfo<std::uint32_t>& seed) {
                             return "Seed" + std::to_string(seed.param);
                         });

}  // namespace
}  // namespace claverix::e2e
