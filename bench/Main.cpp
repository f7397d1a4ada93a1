// Speed and memory of the analysis and of the export against the live
// registry, beside the registry calls they cannot avoid and the system's
// `reg export`. Run without arguments; see scripts/bench.sh.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "bench/BenchEngine.h"
#include "bench/BenchTree.h"
#include "bench/ChildProcesses.h"
#include "bench/Floors.h"
#include "bench/Measure.h"
#include "bench/RegFiles.h"
#include "bench/Report.h"
#include "engine/RegistryExport.h"

using namespace claverix;
using namespace claverix::bench;

namespace {

constexpr std::size_t kFileLines[] = {1000, 10000, 100000};
// As many runs for each file: the minimum of more runs would be lower, and
// bias the ratio between sizes.
constexpr int kAnalysisRuns = 10;
constexpr int kExportRuns = 5;

void Progress(const std::string& step) {
    std::fprintf(stderr, "%s...\n", step.c_str());
}

// A directory of its own under the temporary directory, gone with its files
// when this ends.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "claverix-bench-" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    ~ScratchDirectory() {
        WIN32_FIND_DATAA entry;
        HANDLE search = ::FindFirstFileA((path_ + "\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                ::DeleteFileA(File(entry.cFileName).c_str());
            } while (::FindNextFileA(search, &entry));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(path_.c_str());
    }

    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "\\" + std::string(name); }

private:
    std::string path_;
};

std::size_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
    return (static_cast<std::size_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
}

// The tree is in the registry while this lives, even when a step throws.
class TreeInRegistry {
public:
    explicit TreeInRegistry(const BenchTree& tree) { CreateTree(tree); }
    TreeInRegistry(const TreeInRegistry&) = delete;
    TreeInRegistry& operator=(const TreeInRegistry&) = delete;
    ~TreeInRegistry() { DeleteTree(); }
};

AnalysisResult MeasureAnalysis(BenchEngine& engine, const ScratchDirectory& directory, const RegFile& file) {
    Progress("Analysing " + file.name);
    AnalysisResult result;
    result.file = file;
    result.runs = kAnalysisRuns;
    std::string path = directory.File(file.name);
    auto [time, floor] = MinimumTimes(
        kAnalysisRuns, [&] { result.restoreBytes = engine.Analyse(directory.Path(), file.name); },
        [&] { result.floorCalls = AnalysisFloor(path); });
    result.time = time;
    result.floor = floor;
    result.peak = AnalysisPeakMemory(directory.Path(), file.name);
    return result;
}

ExportResult MeasureExport(BenchEngine& engine, const ScratchDirectory& directory) {
    Progress("Exporting the tree");
    ExportResult result;
    result.runs = kExportRuns;
    const std::string treePath(kTreePath);
    const std::string regExportFile = directory.File("reg-export.reg");
    auto [time, floor, regExport] = MinimumTimes(
        kExportRuns,
        [&] {
            std::string text;
            engine::ExportKey(engine.Registry(), platform::RootKey::CurrentUser, treePath, text);
            result.textBytes = text.size();
        },
        [&] { result.floorCalls = ExportFloor(treePath); }, [&] { RunRegExport(treePath, regExportFile); });
    result.time = time;
    result.floor = floor;
    result.regExport = regExport;
    result.regExportBytes = FileSize(regExportFile);
    return result;
}

int RunBenchmark() {
    ScratchDirectory directory;
    BenchTree tree;
    Results results;
    results.keys = tree.KeyCount();
    results.values = tree.ValueCount();

    Progress("Creating the tree");
    Stopwatch creation;
    TreeInRegistry created(tree);
    results.creation = creation.Milliseconds();

    BenchEngine engine;
    for (std::size_t lines : kFileLines) {
        RegFile file = WriteRegFile(tree, directory.Path(), lines);
        results.analyses.push_back(MeasureAnalysis(engine, directory, file));
    }
    results.exportKey = MeasureExport(engine, directory);
    PrintReport(results);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 1) {
            return RunBenchmark();
        }
        if (argc == 4 && std::string_view(argv[1]) == kAnalyseCommand) {
            return RunAnalysisChild(argv[2], argv[3]);
        }
        std::fprintf(stderr, "usage: claverix_benchmark\n");
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "claverix_benchmark: %s\n", error.what());
        return 1;
    }
}
