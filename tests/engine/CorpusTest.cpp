#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/Analysis.h"
#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

// Wine shows the Unix root as drive Z.
#ifdef _WIN32
const std::filesystem::path kCorpus = "Z:" CLAVERIX_CORPUS_DIRECTORY;
#else
const std::filesystem::path kCorpus = CLAVERIX_CORPUS_DIRECTORY;
#endif

// Files of the kind users merge, written by hand or by the registry editor,
// in ANSI and in UTF-16, with characters outside the code page in data, on a
// blank line and in a comment: none is refused but the corrupt ones.
TEST(CorpusTest, OnlyCorruptFilesAreRefused) {
    tests::MemoryWorld world;
    Engine engine{world.platform(), {"", world.directory(), "sig"}};
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        std::ifstream file(entry.path(), std::ios::binary);
        world.WriteFile(world.directory() + "\\f.reg",
                        std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
        world.prompt.Clear();
        std::optional<Analysis> analysis = AnalyseRegFile(engine, world.directory(), "f.reg");
        bool corrupt = entry.path().filename().string().starts_with("corrupt");
        EXPECT_EQ(!analysis->refusal.empty(), corrupt) << entry.path();
        EXPECT_EQ(world.prompt.shown().size(), corrupt ? 1u : 0u) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 9);
}

}  // namespace
}  // namespace claverix::engine
