#pragma once

#include <cstddef>
#include <vector>

#include "bench/ChildProcesses.h"
#include "bench/RegFiles.h"

namespace claverix::bench {

// Times in milliseconds.
struct AnalysisResult {
    RegFile file;
    int runs = 0;
    double time = 0;
    double floor = 0;
    std::size_t floorCalls = 0;
    std::size_t restoreBytes = 0;
    PeakMemory peak;
};

struct ExportResult {
    int runs = 0;  // of ExportKey, its floor and reg export each
    double time = 0;
    double floor = 0;
    double regExport = 0;
    std::size_t floorCalls = 0;
    std::size_t textBytes = 0;
    std::size_t regExportBytes = 0;
};

struct Results {
    std::size_t keys = 0;
    std::size_t values = 0;
    double creation = 0;                   // milliseconds
    std::vector<AnalysisResult> analyses;  // by growing size, ten times the lines each time
    ExportResult exportKey;
};

// Prints the table with PASS or FAIL beside each target and how many were met.
void PrintReport(const Results& results);

}  // namespace claverix::bench
