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
#include "platform/win32/Win32Registry.h"

using namespace claverix;
using namespace claverix::bench;

namespace {

constexpr std::size_t kFileLines[] = {1000, 10000, 100000};
// Each round measures everything once, so that a slow spell of the busy
// machine spoils one round of every measurement rather than all of one.
constexpr int kRounds = 12;
constexpr char kRegExportFile[] = "reg-export.reg";

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

// Runs both, in the other order every other round, so that each measurement
// sometimes runs on the caches the other has just warmed.
template <typename First, typename Second>
void InTurn(int round, First&& first, Second&& second) {
    if (round % 2 == 0) {
        first();
        second();
    } else {
        second();
        first();
    }
}

void MeasureAnalysis(int round, const ScratchDirectory& directory, AnalysisResult& result) {
    const std::string& name = result.file.name;
    InTurn(
        round,
        [&] {
            // A fresh engine each time: freeing what the previous analysis left is no
            // part of this one.
            BenchEngine engine;
            result.time.Measure([&] { result.restoreBytes = engine.Analyse(directory.Path(), name); });
        },
        [&] { result.floor.Measure([&] { result.floorCalls = AnalysisFloor(directory.File(name)); }); });
}

void MeasureExport(int round, const ScratchDirectory& directory, ExportResult& result) {
    const std::string treePath(kTreePath);
    InTurn(
        round,
        [&] {
            platform::win32::Win32Registry registry;
            std::string text;  // freed once the clock has stopped, like the engine above
            result.time.Measure(
                [&] { engine::ExportKey(registry, platform::RootKey::CurrentUser, treePath, text); });
            result.textBytes = text.size();
        },
        [&] { result.floor.Measure([&] { result.floorCalls = ExportFloor(treePath); }); });
    result.regExport.Measure([&] { RunRegExport(treePath, directory.File(kRegExportFile)); });
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

    for (std::size_t lines : kFileLines) {
        results.analyses.emplace_back().file = WriteRegFile(tree, directory.Path(), lines);
    }
    results.rounds = kRounds;
    for (int round = 0; round < kRounds; ++round) {
        Progress("Round " + std::to_string(round + 1) + " of " + std::to_string(kRounds));
        for (AnalysisResult& analysis : results.analyses) {
            MeasureAnalysis(round, directory, analysis);
        }
        MeasureExport(round, directory, results.exportKey);
    }
    results.exportKey.regExportBytes = FileSize(directory.File(kRegExportFile));

    Progress("Peak memory");
    for (AnalysisResult& analysis : results.analyses) {
        analysis.peak = AnalysisPeakMemory(directory.Path(), analysis.file.name);
    }
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
