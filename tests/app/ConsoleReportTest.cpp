#include "app/ConsoleReport.h"

#include <gtest/gtest.h>

#include "tests/support/JsonReader.h"

namespace claverix::app {
namespace {

using tests::JsonReader;
using tests::JsonValue;

RunReport PartlyTookRun(ConsoleAction action) {
    RunReport report;
    report.action = action;
    report.started = {2026, 3, 6, 14, 25, 1, 7, 60};
    report.computer = "PC01";
    report.user = "CONTOSO\\alice";
    report.threadId = 4242;
    FileReport file;
    file.path = "C:\\Déploiement\\cle.reg";
    file.outcome = "partly-took";
    file.exitCode = 2;
    file.restorationPath = "C:\\Archive\\RegUnDO\\cle.reg";
    file.keysChecked = 3;
    file.keysMissed = 1;
    file.valuesChecked = 6;
    file.valuesMissed = 1;
    file.firstMissed = {"HKEY_LOCAL_MACHINE\\Software\\Policies\\A"};
    file.warnings = {"policy-keys"};
    file.rows = {
        {"HKEY_LOCAL_MACHINE\\Software\\Policies\\A", "v", "REG_SZ", "", "\"1\"", Change::Added, "", true}};
    report.files = {file};
    return report;
}

TEST(ConsoleReportTest, JsonHoldsAnyTextValidAndReadsBack) {
    RunReport report = PartlyTookRun(ConsoleAction::Merge);
    std::string awkward = "\"guillemets\" \\ C:\\é\t\x01\r\n";
    awkward += '\0';
    std::string readBack = awkward + "\uFFFD\uFFFD(fin";
    awkward += "\xff\xc3(fin";  // no UTF-8
    report.errors = {awkward};
    report.files[0].declinedQuestion = "unsigned-file";
    report.files[0].skipped = {{4, "clé \"abrégée\""}};
    report.files[0].rows[0].now = "\xed\xa0\x80";  // a surrogate's bytes, which UTF-8 forbids
    std::string json = ReportJson(report);

    JsonValue document = JsonReader(json).Document();
    EXPECT_EQ(document["schemaVersion"].scalar, "1");
    EXPECT_EQ(document["started"].scalar, "2026-03-06T14:25:01.007+01:00");
    EXPECT_EQ(document["errors"]["0"].scalar, readBack);
    const JsonValue& file = document["files"]["0"];
    EXPECT_EQ(file["path"].scalar, "C:\\Déploiement\\cle.reg");
    EXPECT_EQ(file["declinedQuestion"].scalar, "unsigned-file");
    EXPECT_EQ(file["answeringFlag"].scalar, "null");
    EXPECT_EQ(file["counts"]["valuesMissed"].scalar, "1");
    EXPECT_EQ(file["skippedLines"]["0"]["reason"].scalar, "clé \"abrégée\"");
    EXPECT_EQ(file["rows"]["0"]["now"].scalar, "\uFFFD");
    EXPECT_EQ(file["rows"]["0"]["change"].scalar, "added");
    EXPECT_EQ(file["rows"]["0"]["policy"].scalar, "true");
}

TEST(ConsoleReportTest, LogLinesPlainAndCmTrace) {
    RunReport report = PartlyTookRun(ConsoleAction::Merge);
    report.errors = {"Archive\r\nillisible"};
    EXPECT_EQ(LogLines(report, LogFormat::Plain),
              "2026-03-06T14:25:01.007+01:00\tPC01\tCONTOSO\\alice\tmerge\t\t\terror\tArchive  illisible\r\n"
              "2026-03-06T14:25:01.007+01:00\tPC01\tCONTOSO\\alice\tmerge\tC:\\Déploiement\\cle.reg\t"
              "C:\\Archive\\RegUnDO\\cle.reg\tpartly-took\tkeys 2/3 values 5/6 warning policy-keys\r\n");
    report.errors.clear();
    report.started.minutesAheadOfUtc = -330;
    EXPECT_EQ(
        LogLines(report, LogFormat::CmTrace),
        "<![LOG[merge C:\\Déploiement\\cle.reg: partly-took, keys 2/3 values 5/6 warning policy-keys, "
        "restoration "
        "C:\\Archive\\RegUnDO\\cle.reg, computer PC01, user CONTOSO\\alice]LOG]!><time=\"14:25:01.007+330\" "
        "date=\"03-06-2026\" component=\"Claverix\" context=\"\" type=\"2\" thread=\"4242\" file=\"\">\r\n");
    EXPECT_EQ(LogLines(report, LogFormat::Plain).substr(0, 30), "2026-03-06T14:25:01.007-05:30\t");
}

TEST(ConsoleReportTest, TextSaysEachFileInFrenchAndWhatIfShowsItsRows) {
    RunReport report = PartlyTookRun(ConsoleAction::Merge);
    report.files[0].declinedQuestion = "unsigned-file";
    report.files[0].answeringFlag = "/yes";
    EXPECT_EQ(ReportText(report),
              "cle.reg : importé en partie (1 clé et 1 valeur manquantes)\r\n"
              "  Restauration : C:\\Archive\\RegUnDO\\cle.reg\r\n"
              "  Attention : des clés de stratégie (…\\Policies\\…) seront rétablies par la prochaine "
              "actualisation des stratégies\r\n"
              "  Réponse Non à la question : le fichier n'est pas signé (l'option /yes y répond Oui).\r\n"
              "  Manque dans le Registre :\r\n"
              "    HKEY_LOCAL_MACHINE\\Software\\Policies\\A\r\n"
              "    et 1 autre\r\n");
    report = PartlyTookRun(ConsoleAction::WhatIf);
    report.files[0].outcome = "changes-pending";
    std::string text = ReportText(report);
    EXPECT_NE(text.find("cle.reg : modifications en attente\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(RowsAsText(report.files[0].rows, {0})), std::string::npos) << text;
    EXPECT_FALSE(IsPolicyKey("HKEY_CURRENT_USER\\Software\\PoliciesOld"));
    EXPECT_TRUE(IsPolicyKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\POLICIES"));
}

TEST(ConsoleReportTest, HelpNamesEveryFlagAndExitCode) {
    std::string help = HelpText();
    for (const char* word :
         {"/whatif", "/verify", "/undo fichier", "/undo:last", "/quiet", "/yes", "/allow-uncovered",
          "/allow-overwrite", "/allow-delete", "/allow-system-hkcu", "/convert-utf8", "/keep-partial",
          "/json", "/log:CHEMIN", "/logformat:cmtrace", "/archive:DOSSIER", "/reg:32", "/reg:64", "/?"}) {
        EXPECT_NE(help.find(std::string("\r\n  ") + word), std::string::npos) << word;
    }
    for (const char* code : {"0", "1", "2", "3", "4", "5", "6", "7", "10", "11", "12"}) {
        EXPECT_NE(help.find(std::string("\r\n  ") + code + " "), std::string::npos) << code;
    }
    EXPECT_EQ(help.find("\n\n"), std::string::npos) << "every line ends with CR LF";
}

}  // namespace
}  // namespace claverix::app
