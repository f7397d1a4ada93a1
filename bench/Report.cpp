#include "bench/Report.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace claverix::bench {

namespace {

constexpr double kFloorTarget = 1.5;
constexpr double kAnalysisFloorTarget = 1.10;
constexpr double kReaderTarget = 1.5;
constexpr double kVersion5Target = 1.2;
constexpr double kLockAndCopyTarget = 1.05;
constexpr double kScalingTarget = 11.0;
constexpr double kMemoryPerFileByte = 4.0;
constexpr double kMegabyte = 1024.0 * 1024.0;
constexpr double kMemoryAllowance = 20.0 * kMegabyte;
constexpr double kListingTarget = 2.0;
constexpr double kSelectionTarget = 1.2;
constexpr double kSearchTarget = 1.5;
constexpr double kStartupTarget = 1.2;
constexpr double kConsoleStartTarget = 1.5;
constexpr double kViewerTarget = 1.2;
constexpr double kPreviewTarget = 1.3;
constexpr double kCheckTarget = 1.2;
constexpr double kWhatIfTarget = 1.3;
constexpr double kVerifyTarget = 1.2;

std::string Format(const char* format, double number) {
    char text[32];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

std::string WithThousands(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

std::string Milliseconds(double milliseconds) {
    return Format("%.1f", milliseconds);
}
std::string Ratio(double ratio) {
    return Format("%.2f", ratio);
}
std::string Megabytes(double bytes) {
    return Format("%.1f", bytes / kMegabyte);
}

class Verdicts {
public:
    std::string Judge(const std::string& measured, bool met) {
        ++(met ? passed_ : failed_);
        return measured + (met ? " PASS" : " FAIL");
    }

    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    int passed_ = 0;
    int failed_ = 0;
};

// Columns as wide as their widest cell; the first aligned left, the others right.
class Table {
public:
    void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

    void Print() const {
        std::vector<std::size_t> widths;
        for (const auto& row : rows_) {
            widths.resize(std::max(widths.size(), row.size()));
            for (std::size_t column = 0; column < row.size(); ++column) {
                widths[column] = std::max(widths[column], row[column].size());
            }
        }
        for (const auto& row : rows_) {
            std::string line;
            for (std::size_t column = 0; column < row.size(); ++column) {
                std::string padding(widths[column] - row[column].size(), ' ');
                line += column == 0 ? row[column] + padding : "  " + padding + row[column];
            }
            std::puts(line.c_str());
        }
    }

private:
    std::vector<std::vector<std::string>> rows_;
};

std::string ScalingCell(const AnalysisResult& analysis, const AnalysisResult* previous, Verdicts& verdicts) {
    if (previous == nullptr) {
        return "-";
    }
    double ratio = analysis.time.Milliseconds() / previous->time.Milliseconds();
    // The floor's own ratio beside it tells the engine's growth from the registry's.
    double floorRatio = analysis.floor.Milliseconds() / previous->floor.Milliseconds();
    return verdicts.Judge(Ratio(ratio) + " (floor " + Ratio(floorRatio) + ")", ratio <= kScalingTarget);
}

void AddAnalysisRows(const Results& results, Verdicts& verdicts, Table& table) {
    const AnalysisResult* previous = nullptr;
    for (const AnalysisResult& analysis : results.analyses) {
        double time = analysis.time.Milliseconds();
        double toFloor = time / analysis.floor.Milliseconds();
        double toRegExport = time / results.exportKey.regExport.Milliseconds();
        double limit = kMemoryPerFileByte * static_cast<double>(analysis.file.bytes) + kMemoryAllowance;
        const PeakMemory& peak = analysis.peak;
        table.Add({
            "AnalyseRegFile, " + WithThousands(analysis.file.lines) + " lines",
            WithThousands(analysis.file.bytes / 1024) + " KB",
            Milliseconds(time),
            Milliseconds(analysis.floor.Milliseconds()),
            WithThousands(analysis.floorCalls),
            verdicts.Judge(Ratio(toFloor), toFloor <= kAnalysisFloorTarget),
            verdicts.Judge(Ratio(toRegExport), toRegExport < 1),
            ScalingCell(analysis, previous, verdicts),
            verdicts.Judge(Megabytes(static_cast<double>(peak.pagefile)) + " / " +
                               Megabytes(static_cast<double>(peak.workingSet)),
                           static_cast<double>(peak.Larger()) <= limit),
            Megabytes(limit),
        });
        previous = &analysis;
    }
}

void AddExportRows(const ExportResult& exportKey, Verdicts& verdicts, Table& table) {
    double time = exportKey.time.Milliseconds();
    double floor = exportKey.floor.Milliseconds();
    double regExport = exportKey.regExport.Milliseconds();
    std::string floorCalls = WithThousands(exportKey.floorCalls);
    table.Add({"ExportKey, whole tree", "-", Milliseconds(time), Milliseconds(floor), floorCalls,
               verdicts.Judge(Ratio(time / floor), time <= kFloorTarget * floor),
               verdicts.Judge(Ratio(time / regExport), time < regExport), "-", "-", "-"});
    table.Add({"reg export, whole tree", "-", Milliseconds(regExport), Milliseconds(floor), floorCalls,
               Ratio(regExport / floor), "-", "-", "-", "-"});
}

// A row without a target is shown for what it tells, not judged.
void AddWindowRow(std::string measurement, double time, std::string floorName, double floor,
                  std::optional<double> target, Verdicts& verdicts, Table& table) {
    double ratio = time / floor;
    table.Add({std::move(measurement), Milliseconds(time), std::move(floorName), Milliseconds(floor),
               target ? verdicts.Judge(Ratio(ratio), ratio <= *target) : Ratio(ratio),
               target ? "<= " + Format("%g", *target) : "-"});
}

void AddWindowRows(const Results& results, Verdicts& verdicts, Table& table) {
    const ListingResult& listing = results.listing;
    std::string files = ", " + WithThousands(listing.files) + " files";
    std::string loop = "FindFirstFile loop";
    double floor = listing.floor.Milliseconds();
    AddWindowRow("ListRegFiles" + files, listing.listFiles.Milliseconds(), loop, floor, kListingTarget,
                 verdicts, table);
    AddWindowRow("FileList::SetDirectory" + files, listing.fillList.Milliseconds(), loop, floor,
                 kListingTarget, verdicts, table);
    const SelectionResult& selection = results.selection;
    std::string lines = ", " + WithThousands(selection.file.lines) + " lines";
    AddWindowRow("MainWindow selection load" + lines, selection.time.Milliseconds(), "AnalyseRegFile",
                 selection.analysis.Milliseconds(), kSelectionTarget, verdicts, table);
    AddWindowRow("MainWindow content whole" + lines, selection.whole.Milliseconds(), "AnalyseRegFile",
                 selection.analysis.Milliseconds(), std::nullopt, verdicts, table);
    const SearchResult& search = results.search;
    AddWindowRow("SearchFiles, " + WithThousands(search.files) + " files of " +
                     WithThousands(search.bytes / 1024) + " KB",
                 search.time.Milliseconds(), "read and scan loop", search.floor.Milliseconds(), kSearchTarget,
                 verdicts, table);
    const StartupResult& startup = results.startup;
    std::string start = "claverix.exe start until answering, " + WithThousands(startup.files) + " files";
    // Beside a program without common controls 6: what they cost, not judged.
    AddWindowRow(start, startup.claverix.Milliseconds(), "bare window program", startup.bare.Milliseconds(),
                 std::nullopt, verdicts, table);
    AddWindowRow(start, startup.claverix.Milliseconds(), "themed bare window program",
                 startup.themedBare.Milliseconds(), kStartupTarget, verdicts, table);
    AddWindowRow("claverix.com /? until its first output", startup.console.Milliseconds(),
                 "bare console program", startup.bareConsole.Milliseconds(), kConsoleStartTarget, verdicts,
                 table);
    AddWindowRow("RestorationViewer until answering" + lines, results.viewer.time.Milliseconds(),
                 "AnalyseRegFile", selection.analysis.Milliseconds(), kViewerTarget, verdicts, table);
}

void AddReadingRows(const Results& results, Verdicts& verdicts, Table& table) {
    const ReaderResult& reader = results.reader;
    AddWindowRow("ReadImport, " + WithThousands(reader.file.lines) + " lines", reader.reader.Milliseconds(),
                 "line classification", reader.classification.Milliseconds(), kReaderTarget, verdicts, table);
    const RestorationFormResult& forms = results.restorationForms;
    AddWindowRow("Analysis and version 5 restoration, " + WithThousands(forms.unicodeFile.lines) + " lines",
                 forms.unicode.Milliseconds(), "REGEDIT4 one", forms.ansi.Milliseconds(), kVersion5Target,
                 verdicts, table);
    AddWindowRow(
        "MergeRegFile with its lock and private copy, " + WithThousands(forms.ansiFile.lines) + " lines",
        forms.ansi.Milliseconds(), "the same without them",
        forms.ansi.Milliseconds() - forms.lockAndCopy.Milliseconds(), kLockAndCopyTarget, verdicts, table);
    const MergeViewResult& view = results.mergeView;
    std::string lines = ", " + WithThousands(view.file.lines) + " lines";
    AddWindowRow("BuildPreview" + lines, view.preview.Milliseconds(), "AnalyseRegFile",
                 view.analysis.Milliseconds(), kPreviewTarget, verdicts, table);
    AddWindowRow("claverix.com /whatif, in process" + lines, view.whatIf.Milliseconds(), "AnalyseRegFile",
                 view.analysis.Milliseconds(), kWhatIfTarget, verdicts, table);
    std::string reads = "bare reads (" + WithThousands(view.readCalls) + " calls)";
    AddWindowRow("CheckImport" + lines, view.check.Milliseconds(), reads, view.reads.Milliseconds(),
                 kCheckTarget, verdicts, table);
    AddWindowRow("claverix.com /verify, in process" + lines, view.verify.Milliseconds(), reads,
                 view.reads.Milliseconds(), kVerifyTarget, verdicts, table);
}

void PrintNotes(const Results& results) {
    std::printf(
        "\nTree: HKEY_CURRENT_USER\\Software\\ClaverixBench, %s keys, %s values, created in %.1f s.\n",
        WithThousands(results.keys).c_str(), WithThousands(results.values).c_str(), results.creation / 1000);
    std::printf(
        "Times: the shortest of %d rounds, by QueryPerformanceCounter; each round measures everything.\n",
        results.rounds);
    std::printf("Floor: the registry calls alone that the measurement needs, in a minimal loop.\n");
    std::printf("reg export: the system's reg.exe, from CreateProcess to its end.\n");
    std::printf(
        "Peak memory: a child process analysing the file once, by GetProcessMemoryInfo; the target\n"
        "applies to the larger of PeakPagefileUsage and PeakWorkingSetSize.\n");
    std::printf("Restoration text:");
    for (const AnalysisResult& analysis : results.analyses) {
        std::printf(" %s KB,", WithThousands(analysis.restoreBytes / 1024).c_str());
    }
    std::printf(" ExportKey text %s KB, reg export file %s KB (UTF-16).\n",
                WithThousands(results.exportKey.textBytes / 1024).c_str(),
                WithThousands(results.exportKey.regExportBytes / 1024).c_str());
    std::printf(
        "Listing: %s FindFirstFile calls in the floor; SetDirectory fills the list box of a shown window.\n"
        "Selection load: LB_SETCURSEL and the LBN_SELCHANGE the list sends, on the shown main window,\n"
        "coming from another file, until the window answers again, its content box holding the file's\n"
        "first lines; content whole: until the box holds all of it, the rest arriving in slices.\n"
        "Search: a text only the last file holds, in another letter case; the floor reads each file\n"
        "whole and scans it for the text as written there.\n"
        "ReadImport: the importer's steps of the largest file, its text decoded first, against the lines\n"
        "classified for the windows; both from the file's bytes in memory. Version 5 restoration: the\n"
        "analysis and the restoration file written, of the largest file and of a copy that also deletes\n"
        "a key holding a Greek name, against the same for the largest file alone (REGEDIT4).\n"
        "Start: from CreateProcess until the main window is shown and answers a WM_NULL "
        "(SendMessageTimeout),\n"
        "over an archive of small files; the bare program creates, shows and answers one window, the\n"
        "themed one the same with the program's manifest and its InitCommonControlsEx call (common\n"
        "controls 6). claverix.com /?: from CreateProcess until the first byte of its help comes through\n"
        "the pipe that is its standard output; the bare console program writes one line there.\n"
        "Viewer: from the call until the viewer holding the selected file's %s KB restoration text is shown\n"
        "and answers; AnalyseRegFile builds that text.\n"
        "BuildPreview: the rows of the preview window, which shows them at once (a virtual list).\n"
        "CheckImport: what the importer left read back and compared, the file read beforehand; the\n"
        "bare reads open the same keys and query the same values.\n"
        "claverix.com /whatif and /verify: app::RunConsoleCommand on the benchmark's services, its\n"
        "outputs discarded: the file read and analysed, then the report written; /whatif builds the\n"
        "preview's rows, /verify reads back every key and value as CheckImport does.\n",
        WithThousands(results.listing.floorCalls).c_str(),
        WithThousands(results.viewer.restoreBytes / 1024).c_str());
}

}  // namespace

void PrintReport(const Results& results) {
    Table table;
    table.Add({"Measurement", "File", "Time ms", "Floor ms", "Floor calls", "x floor", "x reg export",
               "x previous", "Peak MB", "Limit MB"});
    table.Add({"", "", "", "", "", "<= 1.1 (export 1.5)", "< 1", "<= 11", "private / WS", "4 x file + 20"});
    Verdicts verdicts;
    AddAnalysisRows(results, verdicts, table);
    AddExportRows(results.exportKey, verdicts, table);
    table.Print();
    Table windows;
    windows.Add({"Window measurement", "Time ms", "Floor", "Floor ms", "x floor", "Target"});
    AddWindowRows(results, verdicts, windows);
    std::puts("");
    windows.Print();
    Table reading;
    reading.Add({"Reading measurement", "Time ms", "Against", "Against ms", "x against", "Target"});
    AddReadingRows(results, verdicts, reading);
    std::puts("");
    reading.Print();
    PrintNotes(results);
    std::printf("\nTargets: %d PASS, %d FAIL.\n", verdicts.passed(), verdicts.failed());
}

}  // namespace claverix::bench
