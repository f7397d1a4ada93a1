// claverix.com from cmd, as scripts and deployment tools run it: its exit
// codes, its JSON on stdout through a redirection and a pipe, its log, and
// the registry and archive around each run.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/Text.h"
#include "tests/e2e/support/RoundTripTest.h"
#include "tests/support/JsonReader.h"
#include "tests/support/ScratchDirectory.h"

namespace claverix::e2e {
namespace {

using tests::JsonReader;
using tests::JsonValue;

// Every file below `directory`, by path, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& directory) {
    std::map<std::string, std::string> files;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(tests::FileSystemPath(directory))) {
        if (entry.is_regular_file()) {
            files[tests::Utf8(entry.path())] = ReadFileBytes(tests::Utf8(entry.path()));
        }
    }
    return files;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

class ConsoleTest : public RoundTripTest {
protected:
    static CommandRun Cmd(const std::string& line, const ClaverixSandbox& in) {
        CommandRun run;
        EXPECT_TRUE(in.Cmd(line, run));
        return run;
    }
    CommandRun Cmd(const std::string& line) const { return Cmd(line, sandbox()); }

    // The run's JSON document, which names its exit code.
    static JsonValue Json(const std::string& text, DWORD exitCode) {
        JsonValue document = JsonReader(text).Document();
        EXPECT_EQ(document["exitCode"].scalar, std::to_string(exitCode)) << text;
        return document;
    }
    static JsonValue Json(const CommandRun& run) { return Json(run.out, run.exitCode); }

    std::string InSandbox(const std::string& name) const { return sandbox().Directory() + "\\" + name; }
    std::string StateText() const { return TreeText(State()); }
    std::string FileSetting(const std::string& name, const std::string& lines) const {
        return sandbox().WriteFile(name, SignedFile("[HKEY_CURRENT_USER\\{key}]\n" + lines));
    }
};

// The question a declined run names, and the flag that answers it.
void ExpectDeclined(const JsonValue& document, const std::string& question, const std::string& flag) {
    const JsonValue& file = document["files"]["0"];
    EXPECT_EQ(file["outcome"].scalar, "declined");
    EXPECT_EQ(file["declinedQuestion"].scalar, question);
    EXPECT_EQ(file["answeringFlag"].scalar, flag);
}

TEST_F(ConsoleTest, WhatIfVerifyMergeAndUndoEachSayTheirCodeAndLogALine) {
    SetState({{L"", {{L"v", Sz(L"before")}}}});
    const std::string before = StateText();
    FileSetting("a.reg", "\"v\"=\"after\"\n");
    const auto archive = FilesBelow(sandbox().Archive());

    CommandRun run = Cmd("claverix.com /quiet /json /log:run.log /whatif files\\a.reg");
    EXPECT_EQ(run.exitCode, 10u);
    EXPECT_EQ(Json(run)["files"]["0"]["rows"]["0"]["change"].scalar, "changed");
    EXPECT_EQ(StateText(), before);
    EXPECT_EQ(FilesBelow(sandbox().Archive()), archive) << "/whatif writes nothing";

    run = Cmd("claverix.com /quiet /json /verify files\\a.reg");
    EXPECT_EQ(run.exitCode, 11u);
    EXPECT_EQ(Json(run)["files"]["0"]["outcome"].scalar, "not-applied");

    run = Cmd("claverix.com /quiet /reg:64 /json /log:run.log files\\a.reg > merged.json");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.out, "") << "redirected";
    JsonValue merged = Json(ReadFileBytes(InSandbox("merged.json")), 0);
    EXPECT_EQ(merged["files"]["0"]["outcome"].scalar, "all-took");
    EXPECT_EQ(StateText(), TreeText({{L"", {{L"v", Sz(L"after")}}}}));

    run = Cmd("claverix.com /quiet /log:run.log /verify files\\a.reg");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.out, "Appliqué\r\n") << "one line on stdout, the report on stderr";
    run = Cmd("claverix.com /quiet /verify files\\a.reg | find \"Appliqu\"");
    EXPECT_EQ(run.exitCode, 0u) << "find found the line through the pipe";
    EXPECT_EQ(run.out, "Appliqué\r\n");
    const auto merges = FilesBelow(sandbox().Archive());
    run = Cmd("claverix.com /quiet /json /whatif files\\a.reg | more");
    EXPECT_EQ(Json(run.out, 0)["files"]["0"]["outcome"].scalar, "no-change");
    EXPECT_EQ(FilesBelow(sandbox().Archive()), merges);

    run =
        Cmd("claverix.com /quiet /log:run.log /undo \"" + merged["files"]["0"]["restoration"].scalar + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(StateText(), before);
    WriteFileBytes(InSandbox("exitcode.cmd"),
                   "@claverix.com /quiet /verify files\\a.reg\r\n@echo %ERRORLEVEL%\r\n");
    run = Cmd("exitcode.cmd");
    EXPECT_EQ(run.exitCode, 11u);
    EXPECT_EQ(run.out, "11\r\n") << "%ERRORLEVEL%" << run.err;

    std::vector<std::string> log = Lines(ReadFileBytes(InSandbox("run.log")));
    ASSERT_EQ(log.size(), 4u) << "one line per run, appended";
    for (auto [line, action] : {std::pair{0, "whatif\t"}, {1, "merge\t"}, {2, "verify\t"}, {3, "undo\t"}}) {
        EXPECT_NE(log[line].find("\t" + std::string(action) + sandbox().Directory()), std::string::npos)
            << log[line];
    }
}

// The registry refuses a key name of 300 characters: the second file takes
// in part, and the run undoes it and the first, unless it keeps them.
TEST_F(ConsoleTest, ABatchWhoseSecondFileTakesInPartIsUndoneUnlessKept) {
    SetState({{L"", {{L"v", Sz(L"0")}}}});
    const std::string before = StateText();
    FileSetting("first.reg", "\"f\"=\"1\"\n");
    FileSetting("second.reg",
                "\"v\"=\"2\"\n[HKEY_CURRENT_USER\\{key}\\Neu\\" + std::string(300, 'K') + "]\n");
    FileSetting("third.reg", "\"w\"=\"3\"\n");
    const std::string files = " files\\first.reg files\\second.reg files\\third.reg";

    CommandRun run = Cmd("claverix.com /quiet /json" + files);
    EXPECT_EQ(run.exitCode, 2u) << run.out;
    JsonValue document = Json(run);
    for (auto [file, outcome] : {std::pair{"0", "undone"}, {"1", "undone"}, {"2", "not-run"}}) {
        EXPECT_EQ(document["files"][file]["outcome"].scalar, outcome) << file;
    }
    EXPECT_EQ(StateText(), before);

    const std::string log = " /log:cm.log /logformat:cmtrace";
    run = Cmd("claverix.com /quiet /keep-partial" + log + files);
    EXPECT_EQ(run.exitCode, 2u);
    // The importer made the long key's parent before it stopped.
    EXPECT_EQ(StateText(),
              TreeText({{L"", {{L"f", Sz(L"1")}, {L"v", Sz(L"2")}, {L"w", Sz(L"3")}}}, {L"Neu", {}}}));
    EXPECT_EQ(Cmd("claverix.com /quiet /verify files\\third.reg" + log).exitCode, 0u);
    std::vector<std::string> lines = Lines(ReadFileBytes(InSandbox("cm.log")));
    ASSERT_EQ(lines.size(), 4u) << "one line per file, appended";
    for (const std::string& line : lines) {
        EXPECT_TRUE(line.starts_with("<![LOG[") && line.ends_with("file=\"\">\r")) << line;
    }
    EXPECT_NE(lines[1].find("partly-took"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("type=\"2\""), std::string::npos) << lines[1];
    EXPECT_NE(lines[3].find("<![LOG[verify "), std::string::npos) << lines[3];
}

// Under /quiet each question is answered No, ending the run with 6 and
// naming the flag that answers it Yes; that flag lets the run go on.
TEST_F(ConsoleTest, EachQuestionIsDeclinedUnlessItsFlagAnswersIt) {
    SetState({{L"", {}}});
    sandbox().WriteFile("unsigned.reg", WithKey("REGEDIT4\n\n[HKEY_CURRENT_USER\\{key}]\n\"u\"=\"1\"\n"));
    CommandRun run = Cmd("claverix.com /quiet /json files\\unsigned.reg");
    EXPECT_EQ(run.exitCode, 6u);
    ExpectDeclined(Json(run), "unsigned-file", "/yes");
    // Nobody runs as SYSTEM here: the flag for its hive changes nothing.
    EXPECT_EQ(Cmd("claverix.com /quiet /yes /allow-system-hkcu files\\unsigned.reg").exitCode, 0u);

    FileSetting("utf8.reg", "\"e\"=\"\xC3\xA9t\xC3\xA9\"\n");
    run = Cmd("claverix.com /quiet /json files\\utf8.reg");
    EXPECT_EQ(run.exitCode, 6u);
    ExpectDeclined(Json(run), "utf8-file", "/convert-utf8");
    EXPECT_EQ(Cmd("claverix.com /quiet /convert-utf8 files\\utf8.reg").exitCode, 0u);
    EXPECT_EQ(State()[L""][L"e"], Sz(L"\u00E9t\u00E9"));

    // A name without a UTF-8 form cannot be saved: the restoration does not cover its key.
    const wchar_t unpaired[] = {L'x', 0xD800, L'\0'};
    std::wstring gone = platform::win32::Utf8ToWide(key()) + L"\\Gone\\" + unpaired;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, gone.c_str(), L"v", REG_SZ, L"", 2), ERROR_SUCCESS);
    sandbox().WriteFile("delete.reg", SignedFile("[-HKEY_CURRENT_USER\\{key}\\Gone]\n"));
    run = Cmd("claverix.com /quiet /json files\\delete.reg");
    EXPECT_EQ(run.exitCode, 6u);
    ExpectDeclined(Json(run), "uncovered-keys", "/allow-uncovered");
    EXPECT_EQ(Cmd("claverix.com /quiet /allow-uncovered files\\delete.reg").exitCode, 0u);
    EXPECT_FALSE(State().contains(L"Gone"));

    // Its undo would delete a value added since and overwrite one changed since.
    const std::string before = StateText();
    FileSetting("new.reg", "[HKEY_CURRENT_USER\\{key}\\New]\n\"n\"=\"1\"\n");
    ASSERT_EQ(Cmd("claverix.com /quiet files\\new.reg").exitCode, 0u);
    const std::wstring added = platform::win32::Utf8ToWide(key()) + L"\\New";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, added.c_str(), L"n", REG_SZ, L"2", 4), ERROR_SUCCESS);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, added.c_str(), L"m", REG_SZ, L"3", 4), ERROR_SUCCESS);
    run = Cmd("claverix.com /quiet /json /undo:last");
    EXPECT_EQ(run.exitCode, 6u);
    ExpectDeclined(Json(run), "created-since", "/allow-delete");
    run = Cmd("claverix.com /quiet /json /allow-delete /undo:last");
    EXPECT_EQ(run.exitCode, 6u);
    ExpectDeclined(Json(run), "changed-since", "/allow-overwrite");
    EXPECT_EQ(Cmd("claverix.com /quiet /allow-delete /allow-overwrite /undo:last").exitCode, 0u);
    EXPECT_EQ(StateText(), before);
}

TEST_F(ConsoleTest, HelpBadCommandLinesAndRefusedFiles) {
    CommandRun run = Cmd("claverix.com /?");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.out.find("Codes de sortie :"), std::string::npos) << run.out;

    run = Cmd("claverix.com /quiet /json /undo:last files\\a.reg /bogus");
    EXPECT_EQ(run.exitCode, 12u);
    JsonValue errors = Json(run)["errors"];
    EXPECT_EQ(errors.members.size(), 2u) << "a file after /undo:last, and a flag it does not know";
    EXPECT_NE(errors["0"].scalar.find("/bogus"), std::string::npos) << errors["0"].scalar;

    // The importer would read nothing of a file whose header it does not know.
    sandbox().WriteFile("header.reg", WithKey("REGEDIT 4\n\n[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"1\"\n"));
    run = Cmd("claverix.com /quiet /json /reg:32 /whatif files\\header.reg");
    EXPECT_EQ(run.exitCode, 7u);
    JsonValue document = Json(run);
    EXPECT_EQ(document["registryView"].scalar, "32");
    EXPECT_EQ(document["files"]["0"]["outcome"].scalar, "refused");
    run = Cmd("claverix.com /quiet /json /yes files\\header.reg");
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_EQ(Json(run)["files"]["0"]["outcome"].scalar, "blocked");
    EXPECT_TRUE(sandbox().RestorationFiles().empty());
}

// A deployment tool's copy has no settings beside it: every file is
// unsigned, and the archive is the one given, made when missing.
TEST_F(ConsoleTest, QuietWithoutSettingsShowsNoWindowAndTakesTheArchiveGiven) {
    ClaverixSandbox bare({}, SandboxSettings::None);
    SetState({{L"", {}}});
    const std::string before = StateText();
    bare.WriteFile("signed.reg", SignedFile("[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"1\"\n"));
    const std::string archive = " /archive:" + bare.Directory() + "\\new\\archive";

    CommandRun run = Cmd("claverix.com /quiet /json files\\signed.reg" + archive, bare);
    EXPECT_EQ(run.exitCode, 6u);
    ExpectDeclined(Json(run), "unsigned-file", "/yes");
    run = Cmd("claverix.com /quiet /json /yes files\\signed.reg" + archive, bare);
    EXPECT_EQ(run.exitCode, 0u);
    std::string restoration = Json(run)["files"]["0"]["restoration"].scalar;
    EXPECT_TRUE(restoration.starts_with(bare.Directory() + "\\new\\archive\\RegUnDO\\")) << restoration;
    EXPECT_TRUE(std::filesystem::exists(tests::FileSystemPath(restoration)));
    // The restoration file, unsigned too.
    EXPECT_EQ(Cmd("claverix.com /quiet /yes /undo:last" + archive, bare).exitCode, 0u);
    EXPECT_EQ(StateText(), before);
    EXPECT_FALSE(std::filesystem::exists(tests::FileSystemPath(bare.Directory() + "\\claverix.Ini")));
}

// A ```bat block of docs/deploying.md that calls claverix.com, and the exit
// code its "rem Exit code N" line gives (-1 without one).
struct Recipe {
    std::string script;
    int exitCode = -1;
};

// What a recipe names on a machine, in a sandbox: the machine's folders, which
// hold the logs folders of Intune and Configuration Manager.
std::string OnMachine(std::string script, const ClaverixSandbox& sandbox) {
    for (const auto& [machine, folder] :
         {std::pair{"C:\\ProgramData", "\\ProgramData"}, {"%WINDIR%", "\\Windows"}}) {
        for (std::size_t at = script.find(machine); at != std::string::npos; at = script.find(machine, at)) {
            script.replace(at, std::string_view(machine).size(), sandbox.Directory() + folder);
        }
    }
    return script;
}

// Each recipe is run in order in a sandbox of its section's (a machine with no
// settings, holding the package: claverix.com and settings.reg), and the
// PowerShell snippets run the same claverix.com command lines.
TEST_F(ConsoleTest, DeployingRecipesRunAsWritten) {
    std::vector<std::vector<Recipe>> sections(1);
    std::vector<std::string> batLines;
    std::vector<std::string> powerShellCommands;
    std::string fence;
    const std::regex exitCode("^rem Exit code (\\d+)");
    for (std::string line : Lines(ReadFileBytes(CLAVERIX_DOCS_DIRECTORY "/deploying.md"))) {
        std::smatch match;
        if (line.starts_with("## ")) {
            sections.emplace_back();
        } else if (line.starts_with("```")) {
            if (fence == "bat" && sections.back().back().script.find("claverix.com") == std::string::npos) {
                sections.back().pop_back();
            }
            fence = fence.empty() ? line.substr(3) : "";
            if (fence == "bat") {
                sections.back().emplace_back();
            }
        } else if (fence == "bat") {
            sections.back().back().script += line + "\r\n";
            batLines.push_back(line);
            if (std::regex_search(line, match, exitCode)) {
                sections.back().back().exitCode = std::stoi(match[1]);
            }
        } else if (fence == "powershell" && line.find("claverix.com") != std::string::npos) {
            std::size_t quote = line.find("cmd /c \"");
            line = quote == std::string::npos ? line.substr(line.find_first_not_of(' '))
                                              : line.substr(quote + 8, line.rfind('"') - quote - 8);
            if (line.substr(0, line.find(' ')).ends_with("claverix.com")) {
                powerShellCommands.push_back(line);
            }
        }
    }
    EXPECT_FALSE(powerShellCommands.empty());
    for (const std::string& command : powerShellCommands) {
        EXPECT_NE(std::ranges::find(batLines, command), batLines.end())
            << "not run by any recipe: " << command;
    }
    int run = 0;
    for (const std::vector<Recipe>& section : sections) {
        if (section.empty()) {
            continue;
        }
        ClaverixSandbox machine({}, SandboxSettings::None);
        SetState({{L"", {}}});
        WriteFileBytes(machine.Directory() + "\\settings.reg",
                       WithKey("REGEDIT4\n\n[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"1\"\n"));
        for (const char* logs :
             {"\\ProgramData\\Microsoft\\IntuneManagementExtension\\Logs", "\\Windows\\CCM\\Logs"}) {
            std::filesystem::create_directories(tests::FileSystemPath(machine.Directory() + logs));
        }
        for (const Recipe& recipe : section) {
            SCOPED_TRACE(recipe.script);
            ASSERT_GE(recipe.exitCode, 0) << "no \"rem Exit code\" line";
            WriteFileBytes(machine.Directory() + "\\recipe.cmd", OnMachine(recipe.script, machine));
            EXPECT_EQ(Cmd("recipe.cmd", machine).exitCode, static_cast<DWORD>(recipe.exitCode));
            ++run;
        }
    }
    EXPECT_GE(run, 8);
}

}  // namespace
}  // namespace claverix::e2e
