#include "engine/RegFileWriter.h"

#include <gtest/gtest.h>

#include "engine/Analysis.h"
#include "platform/Unicode.h"
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

    // Rewrites the file as the window does, having shown it as it is on disk.
    Rewrite RewriteShown(RewriteRequest request) {
        std::optional<std::string> shown = world_->ReadFile(Path());
        if (!shown) {
            world_->WriteFile(Path(), "");
            shown.emplace();
        }
        request.shownBytes = *shown;
        return RewriteRegFile(world_->platform(), request);
    }

    Analysis AnalyseFile(std::string_view signature) {
        Engine engine{world_->platform(), {"", world_->directory(), std::string(signature)}};
        return *AnalyseRegFile(engine, world_->directory(), "cle.reg");
    }

    std::unique_ptr<TestWorld> world_;
};

TEST_P(RewriteRegFileTest, WritesHeaderDirectivesCommentAndContent) {
    RewriteShown(Request("first\r\nsecond\r\n third\r\n"));

    EXPECT_EQ(
        world_->ReadFile(Path()),
        "REGEDIT4\r\n\r\n# Sign:MySig\r\n# NoUndo\r\n# FileName:cle.reg\r\n#first\r\n#second\r\n# third\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"v\"=\"1\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());
}

TEST_P(RewriteRegFileTest, RewrittenFileReadsBackTheSame) {
    RewriteRequest request = Request("a comment\r\n\r\nafter an empty line");
    RewriteShown(request);

    Analysis analysis = AnalyseFile("MySig");
    EXPECT_TRUE(analysis.marks.IsSigned);
    EXPECT_TRUE(analysis.marks.NoUndo);
    EXPECT_EQ(analysis.CommentText, "a comment\r\n\r\nafter an empty line\r\n");
    EXPECT_EQ(analysis.CommentText, CommentTextOf(request.comment)) << "what the window compares with";
    EXPECT_EQ(analysis.ContentText, request.content);
    EXPECT_TRUE(world_->prompt.shown().empty()) << "the recorded name is the file's own";
}

// A merge's record in a restoration file is neither comment nor content, and
// a rewrite from the window keeps it, after content whose last line lacks its break.
TEST_P(RewriteRegFileTest, AMergeRecordStaysOutOfTheBoxesAndSurvivesARewrite) {
    constexpr std::string_view kRecord =
        "#~claverix [HKEY_CURRENT_USER\\Software\\X]\r\n#~claverix \"v\"=-\r\n";
    world_->WriteFile(Path(),
                      "REGEDIT4\r\n# Sign: MySig\r\n# Undofile\r\n# FileName:cle.reg\r\n#mot\r\n"
                      "[HKEY_CURRENT_USER\\Software\\X]\r\n\"v\"=\"1\"\r\n\r\n" +
                          std::string(kRecord));
    Analysis analysis = AnalyseFile("MySig");
    EXPECT_EQ(analysis.CommentText, "mot\r\n");
    EXPECT_EQ(analysis.ContentText, "[HKEY_CURRENT_USER\\Software\\X]\r\n\"v\"=\"1\"\r\n");

    RewriteRequest request = Request("autre mot");
    request.content = "[HKEY_CURRENT_USER\\Software\\X]";
    // Someone else has saved the file since the window showed it: it is not overwritten.
    request.shownBytes = "what the window showed";
    EXPECT_EQ(RewriteRegFile(world_->platform(), request).status, Rewrite::Status::FileChanged);
    EXPECT_EQ(world_->ReadFile(Path()), analysis.bytes);
    RewriteShown(request);
    std::optional<std::string> rewritten = world_->ReadFile(Path());
    ASSERT_TRUE(rewritten);
    EXPECT_TRUE(rewritten->ends_with("#autre mot\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n" +
                                     std::string(kRecord)));
}

TEST_P(RewriteRegFileTest, NoCommentUncheckedMarksAndNoHeader) {
    RewriteRequest request = Request("Pas de commentaire");
    request.headerLine = "";
    request.isSigned = false;
    request.noUndo = false;
    RewriteShown(request);
    EXPECT_EQ(world_->ReadFile(Path()), "\r\n\r\n# FileName:cle.reg\r\n\r\n" + std::string(request.content));

    RewriteShown(Request(""));
    EXPECT_EQ(world_->ReadFile(Path()),
              "REGEDIT4\r\n\r\n# Sign:MySig\r\n# NoUndo\r\n# FileName:cle.reg\r\n\r\n" +
                  std::string(Request("").content));
}

TEST_P(RewriteRegFileTest, LoneLineBreaksInACommentCannotSmuggleRegistryLines) {
    // The importer ends lines at a lone LF too; each piece must stay a comment.
    RewriteShown(Request("safe\n[HKEY_LOCAL_MACHINE\\Evil]\rlast"));

    auto text = world_->ReadFile(Path());
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("#safe\r\n#[HKEY_LOCAL_MACHINE\\Evil]\r\n#last\r\n"), std::string::npos);
}

// Written with the code page's default character, a name would never match
// the file's own, and a signature would sign for someone else.
TEST_P(RewriteRegFileTest, AnAnsiFileTakesNoNameOrSignatureItsCodePageLacks) {
    RewriteRequest request = Request("");
    request.fileName = "\u0416.reg";
    request.isSigned = false;
    const std::string path = world_->directory() + "\\\u0416.reg";
    const std::string written = "REGEDIT4\r\n\r\n# NoUndo\r\n\r\n" + std::string(request.content);
    world_->WriteFile(path, "");
    EXPECT_EQ(RewriteRegFile(world_->platform(), request).status, Rewrite::Status::Written);
    EXPECT_EQ(world_->ReadFile(path), written);

    request.isSigned = true;
    request.signature = "\u0141ukasz";
    request.shownBytes = written;
    EXPECT_EQ(RewriteRegFile(world_->platform(), request).status, Rewrite::Status::Failed);
    EXPECT_EQ(world_->ReadFile(path), written);
    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_NE(
        world_->prompt.shown()[0].text.find("le fichier \u0416.reg, écrit dans cette page de code, ne peut "
                                            "pas être signé"),
        std::string::npos);
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
    EXPECT_EQ(RestorationFileHead(TextEncoding::Ansi, "MySig", "20260306-142501-cle.reg"),
              "REGEDIT4\r\n\r\n# Sign: MySig\r\n# Undofile\r\n# FileName:20260306-142501-cle.reg\r\n\r\n");
    EXPECT_EQ(RestorationFileHead(TextEncoding::Utf16, "Sign\u00E9", "20260306-142501-cl\u00E9.reg"),
              "Windows Registry Editor Version 5.00\r\n\r\n# Sign: Sign\u00E9\r\n# Undofile\r\n"
              "# FileName:20260306-142501-cl\u00E9.reg\r\n\r\n");
}

// A UTF-16 file shown by the windows is written back as UTF-16, with its
// byte-order mark and header, and reads back the same.
TEST_P(RewriteRegFileTest, AUnicodeFileStaysUnicode) {
    std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n#\u2192 \u4E2D\r\n"
        u"[HKEY_CURRENT_USER\\Software\\\u0416]\r\n\"\u03A9\"=\"\U0001F600\"\r\n";
    world_->WriteFile(Path(), "\xFF\xFE" + platform::Utf16Bytes(text));
    Analysis analysis = AnalyseFile("Sig\u00E9");

    RewriteRequest request = Request(analysis.CommentText);
    request.encoding = analysis.Encoding();
    request.headerLine = analysis.HeaderLine;
    request.signature = "Sig\u00E9";
    request.content = analysis.ContentText;
    RewriteShown(request);

    EXPECT_EQ(
        world_->ReadFile(Path()),
        "\xFF\xFE" + platform::Utf16Bytes(u"Windows Registry Editor Version 5.00\r\n\r\n# Sign:Sig\u00E9\r\n"
                                          u"# NoUndo\r\n# FileName:cle.reg\r\n#\u2192 \u4E2D\r\n\r\n"
                                          u"[HKEY_CURRENT_USER\\Software\\\u0416]\r\n"
                                          u"\"\u03A9\"=\"\U0001F600\"\r\n"));
    Analysis rewritten = AnalyseFile("Sig\u00E9");
    EXPECT_EQ(rewritten.ContentText, analysis.ContentText);
    EXPECT_TRUE(rewritten.marks.IsSigned);
}

}  // namespace
}  // namespace claverix::engine
