#pragma once

#include <cstddef>
#include <vector>

#include "bench/ChildProcesses.h"
#include "bench/Measure.h"
#include "bench/RegFiles.h"

namespace claverix::bench {

struct AnalysisResult {
    RegFile file;
    ShortestTime time;
    ShortestTime floor;
    std::size_t floorCalls = 0;
    std::size_t restoreBytes = 0;
    PeakMemory peak;
};

struct ExportResult {
    ShortestTime time;
    ShortestTime floor;
    ShortestTime regExport;
    std::size_t floorCalls = 0;
    std::size_t textBytes = 0;
    std::size_t regExportBytes = 0;
};

// Listing a directory the way the main window's file list does.
struct ListingResult {
    std::size_t files = 0;
    ShortestTime listFiles;  // ListRegFiles
    ShortestTime fillList;   // FileList::SetDirectory on a shown window
    ShortestTime floor;
    std::size_t floorCalls = 0;
};

// Selecting a file in the main window, until its controls are filled.
struct SelectionResult {
    RegFile file;
    ShortestTime time;      // until the window answers again
    ShortestTime whole;     // until the content box holds all of the file
    ShortestTime analysis;  // AnalyseRegFile alone on the same file
};

// Searching a list's files for a string that only the last one holds.
struct SearchResult {
    std::size_t files = 0;
    std::size_t bytes = 0;  // of each file, about
    ShortestTime time;      // app::SearchFiles
    ShortestTime floor;
    std::size_t floorCalls = 0;
};

// Reading the largest file as the importer does (decoding included), against
// classifying its lines as the windows show them.
struct ReaderResult {
    RegFile file;
    ShortestTime reader;
    ShortestTime classification;
};

// MergeRegFile, which reads and analyses the file and writes its
// restoration file, for the largest file (REGEDIT4) and for a copy that also
// deletes a key named outside the code page (version 5 in UTF-16); and what
// the merge of the REGEDIT4 one spends on its lock and its private copy.
struct RestorationFormResult {
    RegFile ansiFile;
    RegFile unicodeFile;
    ShortestTime ansi;
    ShortestTime unicode;
    ShortestTime lockAndCopy;  // the lock taken and let go, the copy written and removed
};

// Starting claverix.exe over an archive until its main window answers, and
// claverix.com until its first output.
struct StartupResult {
    std::size_t files = 0;
    ShortestTime claverix;
    ShortestTime bare;         // the bare window program, until its window answers
    ShortestTime themedBare;   // the same with the program's manifest and common controls 6
    ShortestTime console;      // claverix.com /?, until the first byte of its help
    ShortestTime bareConsole;  // the bare console program, until the first byte of its line
};

// The restoration viewer showing the selected file's restoration text until
// it answers; beside SelectionResult::analysis, which builds that text.
struct ViewerResult {
    std::size_t restoreBytes = 0;
    ShortestTime time;
};

// A merge's preview of the largest file and the console command's /whatif of
// it against AnalyseRegFile alone; the check after its import and /verify of
// it against the bare registry reads of the same keys and values.
struct MergeViewResult {
    RegFile file;
    ShortestTime preview;   // app::BuildPreview: the rows the preview window shows at once
    ShortestTime whatIf;    // app::RunConsoleCommand, /whatif, in process
    ShortestTime analysis;  // AnalyseRegFile
    ShortestTime check;     // engine::CheckImport, the file already read
    ShortestTime verify;    // app::RunConsoleCommand, /verify, in process
    ShortestTime reads;     // the same keys opened and values queried, in a bare loop
    std::size_t readCalls = 0;
};

struct Results {
    std::size_t keys = 0;
    std::size_t values = 0;
    double creation = 0;  // milliseconds
    int rounds = 0;
    std::vector<AnalysisResult> analyses;  // by growing size, ten times the lines each time
    ExportResult exportKey;
    ListingResult listing;
    SelectionResult selection;
    SearchResult search;
    ReaderResult reader;
    RestorationFormResult restorationForms;
    StartupResult startup;
    ViewerResult viewer;
    MergeViewResult mergeView;
};

// Prints the table with PASS or FAIL beside each target and how many were met.
void PrintReport(const Results& results);

}  // namespace claverix::bench
