#pragma once

#include <cstdint>
#include <string>

namespace claverix::bench {

// The program that analyses one file for AnalysisPeakMemory, beside the
// benchmark: the engine alone, so that no window library adds to its memory.
inline constexpr char kAnalysisChild[] = "claverix_analysis_child.exe";
// What it writes on its standard output once it has analysed.
inline constexpr char kAnalysedLine[] = "analysed\n";
// The bare console program whose start claverix.com's is set beside.
inline constexpr char kBareConsoleProgram[] = "claverix_bare_console.exe";

struct PeakMemory {
    std::uint64_t pagefile = 0;    // PeakPagefileUsage: private bytes
    std::uint64_t workingSet = 0;  // PeakWorkingSetSize

    // Windows keeps a true peak of both; Wine only of the working set, and
    // gives the present private bytes for the peak: the larger is the honest one.
    std::uint64_t Larger() const { return pagefile > workingSet ? pagefile : workingSet; }
};

// The benchmark's own directory, where the programs it starts are built.
std::string BenchDirectory();

// Starts the analysis child on the file and reads its peak memory once it
// has analysed, while it waits to be let go: Wine no longer answers for a
// process that has ended. Throws std::runtime_error when the child fails.
PeakMemory AnalysisPeakMemory(const std::string& directory, const std::string& fileName);

// Milliseconds from the creation of the process of `application`, given
// `arguments`, until the first byte it writes on its standard output, a pipe
// read here; then reads the rest and waits for its end. Throws
// std::runtime_error unless it wrote something and ended with code 0.
double StartUntilFirstOutput(const std::string& application, const std::string& arguments);

// Runs the system's `reg export HKEY_CURRENT_USER\<keyPath> <outputFile> /y`
// and waits for it. Throws std::runtime_error when it fails.
void RunRegExport(const std::string& keyPath, const std::string& outputFile);

}  // namespace claverix::bench
