#include "engine/RegFileWriter.h"

#include <gtest/gtest.h>

#include "engine/Analysis.h"
#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

using tests::TestWorld;
using tests::WorldKind;

class RewriteRegFileTest : public ::testing::TestWithParam<WorldKind> {
protected:
    void SetUp() override { world_ = GetParam().make(); }

    RewriteRequest Request(std::string_view comment) const {
        RewriteRequest request;
        request.directory = world_->directory();
        request.fileName = "cle.reg";
        request.headerLine = "REGEDIT4";
        request.signature = "MySig";
        request.isSigned = true;
        request.noUndo = true;
        request.comment = comment;
        request.content = "[HKEY_CURRENT_USER\\Software\\X]\r\n\"v\"=\"1\"\r\n";
        return request;
    }

    std::string Path() const { return world_->directory() + "\\cle.reg"; }

    std::unique_ptr<TestWorld> world_;
};

TEST_P(RewriteRegFileTest, WritesHeaderDirectivesCommentAndContent) {
    RewriteRegFile(world_->platform(), Request("first\r\nsecond\r\n third\r\n"));

    EXPECT_EQ(
        world_->ReadFile(Path()),
        "REGEDIT4\r\n\r\n# Sign:MySig\r\n# NoUndo\r\n# FileName:cle.reg\r\n#first\r\n#second\r\n# third\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"v\"=\"1\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());
}

TEST_P(RewriteRegFileTest, RewrittenFileReadsBackTheSame) {
    RewriteRequest request = Request("a comment\r\n\r\nafter an empty line");
    RewriteRegFile(world_->platform(), request);

    Engine engine{world_->platform(), {"", world_->directory(), "MySig"}, {}};
    AnalyseRegFile(engine, world_->directory(), "cle.reg");
    EXPECT_TRUE(engine.state.IsSigned);
    EXPECT_TRUE(engine.state.NoUndo);
    EXPECT_EQ(engine.state.CommentText, "a comment\r\n\r\nafter an empty line\r\n");
    EXPECT_EQ(engine.state.ContentText, request.content);
    EXPECT_TRUE(world_->prompt.shown().empty()) << "the recorded name is the file's own";
}

TEST_P(RewriteRegFileTest, NoCommentUncheckedMarksAndNoHeader) {
    RewriteRequest request = Request("Pas de commentaire");
    request.headerLine = "";
    request.isSigned = false;
    request.noUndo = false;
    RewriteRegFile(world_->platform(), request);
    EXPECT_EQ(world_->ReadFile(Path()), "\r\n\r\n# FileName:cle.reg\r\n\r\n" + std::string(request.content));

    RewriteRegFile(world_->platform(), Request(""));
    EXPECT_EQ(world_->ReadFile(Path()),
              "REGEDIT4\r\n\r\n# Sign:MySig\r\n# NoUndo\r\n# FileName:cle.reg\r\n\r\n" +
                  std::string(Request("").content));
}

TEST_P(RewriteRegFileTest, LoneLineBreaksInACommentCannotSmuggleRegistryLines) {
    // The importer ends lines at a lone LF too; each piece must stay a comment.
    RewriteRegFile(world_->platform(), Request("safe\n[HKEY_LOCAL_MACHINE\\Evil]\rlast"));

    auto text = world_->ReadFile(Path());
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("#safe\r\n#[HKEY_LOCAL_MACHINE\\Evil]\r\n#last\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Worlds, RewriteRegFileTest, ::testing::ValuesIn(tests::WorldKinds()),
                         tests::WorldName);

TEST(RewriteRegFileFailureTest, AFailedWriteLeavesTheFileAsItWas) {
    tests::MemoryWorld world;
    std::string path = world.directory() + "\\cle.reg";
    world.WriteFile(path, "original");
    world.memoryFiles.FailOn(path, 112);  // disk full

    RewriteRequest request;
    request.directory = world.directory();
    request.fileName = "cle.reg";
    RewriteRegFile(world.platform(), request);

    EXPECT_EQ(world.memoryFiles.Contents(path), "original");
    ASSERT_EQ(world.prompt.shown().size(), 1u);
    EXPECT_EQ(world.prompt.shown()[0].text, "Erreur Erreur d'entrée/sortie 112.");
    EXPECT_EQ(world.prompt.shown()[0].title, "Ouverture de " + path);
}

TEST(RestorationFileHeadTest, HeaderSignatureMarkAndName) {
    EXPECT_EQ(RestorationFileHead("MySig", "20260306-142501-cle.reg"),
              "REGEDIT4\r\n\r\n# Sign: MySig\r\n# Undofile\r\n# FileName:20260306-142501-cle.reg\r\n\r\n");
}

}  // namespace
}  // namespace claverix::engine
