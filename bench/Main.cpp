// Speed and memory of the analysis and of the export against the live
// registry, beside the registry calls they cannot avoid and the system's
// `reg export`; the main window's file list and selection load beside the
// directory listing and the analysis they cannot avoid; the search over a
// list's files beside reading and scanning them; the importer's reader beside
// the line classification, and a version 5 restoration beside a REGEDIT4 one;
// claverix.exe's start beside bare window programs', claverix.com's beside a
// bare console program's, the restoration viewer beside the analysis that
// builds its text, a merge's preview and claverix.com /whatif beside the
// analysis, the check after an import and claverix.com /verify beside the
// bare reads. Run without arguments, on a display; see scripts/bench.sh.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/Archive.h"
#include "app/Console.h"
#include "app/Preview.h"
#include "app/Search.h"
#include "bench/Answering.h"
#include "bench/BenchEngine.h"
#include "bench/BenchTree.h"
#include "bench/BenchWindows.h"
#include "bench/ChildProcesses.h"
#include "bench/Floors.h"
#include "bench/Measure.h"
#include "bench/RegFiles.h"
#include "bench/Report.h"
#include "engine/Analysis.h"
#include "engine/ForeseenImport.h"
#include "engine/ImportCheck.h"
#include "engine/ImportReader.h"
#include "engine/Merge.h"
#include "engine/RegFileFormat.h"
#include "engine/RegistryExport.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locks.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/support/ScratchDirectory.h"
#include "ui/RestorationViewer/RestorationViewer.h"
#include "ui/common/FileTextBoxes.h"
#include "ui/common/MessageLoop.h"
#include "ui/common/WindowClassName.h"

using namespace claverix;
using namespace claverix::bench;

namespace {

constexpr std::size_t kFileLines[] = {1000, 10000, 100000};
constexpr std::size_t kListedFiles = 10000;
constexpr std::size_t kSearchedFiles = 1000;
constexpr std::size_t kSearchedFileBytes = 70 * 1024;
// The archive claverix.exe starts over.
constexpr std::size_t kStartupFiles = 100;
// Only the last file holds it; the search is told it in another letter case.
constexpr std::string_view kNeedle = "Aiguille dans la botte de foin";
constexpr std::string_view kSoughtText = "aiguille DANS la botte";
// The main window loads the largest file.
constexpr std::size_t kSelectedLines = kFileLines[std::size(kFileLines) - 1];
// Each round measures everything once, so that a slow spell of the busy
// machine spoils one round of every measurement rather than all of one.
constexpr int kRounds = 12;
constexpr char kRegExportFile[] = "reg-export.reg";

void Progress(const std::string& step) {
    std::fprintf(stderr, "%s...\n", step.c_str());
}

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

void MeasureAnalysis(int round, const tests::ScratchDirectory& directory, AnalysisResult& result) {
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

void MeasureExport(int round, const tests::ScratchDirectory& directory, ExportResult& result) {
    const std::string treePath(kTreePath);
    InTurn(
        round,
        [&] {
            platform::win32::Win32Registry registry;
            platform::win32::Win32TextCodec codec;
            std::string text;  // freed once the clock has stopped, like the engine above
            result.time.Measure([&] {
                engine::Restoration restoration(codec);
                engine::ExportKey(registry, platform::RootKey::CurrentUser, treePath, restoration);
                text = std::move(restoration).Text();
            });
            result.textBytes = text.size();
        },
        [&] { result.floor.Measure([&] { result.floorCalls = ExportFloor(treePath); }); });
    result.regExport.Measure([&] { RunRegExport(treePath, directory.File(kRegExportFile)); });
}

void MeasureListing(int round, const std::string& directory, FileListWindow& window, ListingResult& result) {
    BenchEngine listingEngine;
    InTurn(
        round,
        [&] {
            result.listFiles.Measure([&] {
                result.files = app::ListRegFiles(listingEngine.Platform(), directory).value().size();
            });
        },
        [&] { result.floor.Measure([&] { result.floorCalls = ListingFloor(directory); }); });
    result.fillList.Measure([&] { window.List().SetDirectory(directory); });
    ui::PumpWaitingMessages();
    if (result.files != kListedFiles || window.List().Count() != static_cast<int>(kListedFiles)) {
        throw std::runtime_error("the file list does not hold every file of " + directory);
    }
}

// The window's list holds a small file and the large one: each measurement
// comes from the small one, as a user moves from one file to another.
void MeasureSelection(int round, MainWindowInArchive& window, const RegFile& small, SelectionResult& result) {
    const std::string& name = result.file.name;
    InTurn(
        round,
        [&] {
            window.Select(window.IndexOf(small.name));
            ui::PumpWaitingMessages();
            int index = window.IndexOf(name);
            // The window answers once the selection returns; the rest of a
            // long content reaches its box in slices, from posted messages.
            result.whole.Measure([&] {
                result.time.Measure([&] { window.Select(index); });
                ui::PumpWaitingMessages();
            });
            window.CheckShows(name);
        },
        [&] {
            BenchEngine engine;
            result.analysis.Measure([&] { engine.Analyse(window.RegDirectory(), name); });
        });
}

void MeasureSearch(int round, const std::string& directory, const std::vector<std::string>& names,
                   SearchResult& result) {
    InTurn(
        round,
        [&] {
            BenchEngine engine;
            std::optional<std::size_t> found;
            result.time.Measure([&] {
                found = app::SearchFiles(engine.Engine().platform, directory, names, 0, kSoughtText);
            });
            if (found != names.size() - 1) {
                throw std::runtime_error("the search did not find the last file");
            }
        },
        [&] { result.floor.Measure([&] { result.floorCalls = SearchFloor(directory, names, kNeedle); }); });
}

class StepCounter final : public engine::ImportVisitor {
public:
    void OnStep(const engine::ImportStep&) override { ++steps; }
    std::size_t steps = 0;
};

void MeasureReader(int round, const std::string& bytes, ReaderResult& result) {
    InTurn(
        round,
        [&] {
            platform::win32::Win32TextCodec codec;
            StepCounter counter;
            result.reader.Measure(
                [&] { engine::ReadImport(bytes, engine::TextEncoding::Ansi, codec, counter); });
            if (counter.steps < result.file.lines / 2) {
                throw std::runtime_error("the reader saw too few steps");
            }
        },
        [&] {
            std::size_t keyAndValueLines = 0;
            result.classification.Measure([&] {
                engine::LineReader lines(bytes);
                for (std::string_view line; lines.Next(line);) {
                    engine::LineKind kind = engine::ClassifyLine(line);
                    keyAndValueLines += kind == engine::LineKind::Key || kind == engine::LineKind::Value;
                }
            });
            if (keyAndValueLines < result.file.lines / 2) {
                throw std::runtime_error("the classification saw too few lines");
            }
        });
}

// Merges `file` with an engine whose importer starts nothing; the
// restoration file goes once measured.
void Merge(const tests::ScratchDirectory& directory, const RegFile& file, engine::TextEncoding expected,
           ShortestTime& time) {
    std::string archive = directory.File("archive");
    std::string restorations = engine::RestorationFilesDirectory(archive);
    std::filesystem::create_directories(restorations);
    BenchEngine engine({"", archive, std::string(kSignature)}, "");
    engine::MergeOutcome outcome = engine::MergeOutcome::Declined;
    time.Measure([&] {
        outcome = engine::MergeRegFile(engine.Engine(), {directory.Path(), file.name}).outcome;
    });
    // The importer starts nothing here: the check finds the file's data missing, and says so.
    bool missed = outcome == engine::MergeOutcome::NothingTook || outcome == engine::MergeOutcome::PartlyTook;
    if (!missed || engine.ShownCount() != 1) {
        throw std::runtime_error("the merge of " + file.name + " did not end as foreseen");
    }
    std::string written;
    for (const auto& entry : std::filesystem::directory_iterator(restorations)) {
        written = ReadBytes(entry.path().string());
    }
    bool version5 = std::string_view(written).starts_with(engine::kUtf16ByteOrderMark);
    if (version5 != (expected == engine::TextEncoding::Utf16)) {
        throw std::runtime_error("the restoration of " + file.name + " has not the expected form");
    }
    std::filesystem::remove_all(archive);
}

// What a merge of `file` does beyond the merge without a transaction: its
// lock taken and let go, and its private copy written and removed.
void LockAndCopy(const tests::ScratchDirectory& directory, const RegFile& file, ShortestTime& time) {
    platform::win32::Win32FileSystem files;
    platform::win32::Win32Locks locks;
    std::string bytes = ReadBytes(directory.File(file.name));
    std::string copy = directory.File(file.name + ".tmp");
    time.Measure([&] {
        std::unique_ptr<platform::HeldLock> lock = locks.TryTake("Claverix.Merge");
        const std::string_view pieces[] = {bytes};
        if (!lock || files.Replace(copy, pieces).Failed() || files.Remove(copy).Failed()) {
            throw std::runtime_error("the lock or the copy failed");
        }
    });
}

void MeasureRestorationForms(int round, const tests::ScratchDirectory& directory,
                             RestorationFormResult& result) {
    InTurn(
        round, [&] { Merge(directory, result.ansiFile, engine::TextEncoding::Ansi, result.ansi); },
        [&] { Merge(directory, result.unicodeFile, engine::TextEncoding::Utf16, result.unicode); });
    LockAndCopy(directory, result.ansiFile, result.lockAndCopy);
}

void MeasureStartup(int round, const std::string& claverix, StartupResult& result) {
    const std::string directory = BenchDirectory() + "\\";
    auto startBare = [&](const char* program, ShortestTime& time) {
        time.Record(StartUntilAnswering(directory + program, kBareWindowTitle, kBareWindowClass));
    };
    InTurn(
        round,
        [&] { result.claverix.Record(StartUntilAnswering(claverix, L"Claverix", ui::kWindowClassName)); },
        [&] {
            InTurn(
                round / 2, [&] { startBare(kBareWindowProgram, result.bare); },
                [&] { startBare(kThemedBareWindowProgram, result.themedBare); });
        });
    // Its help is its first output: what comes before is the command's start.
    InTurn(
        round, [&] { result.console.Record(StartUntilFirstOutput(directory + "claverix.com", "/?")); },
        [&] { result.bareConsole.Record(StartUntilFirstOutput(directory + kBareConsoleProgram, "")); });
}

// The viewer opens, as the main window opens it, on the text a merge would save.
void MeasureViewer(BenchEngine& engine, const engine::RestorationText& restoration,
                   const std::string& iniFile, ViewerResult& result) {
    ui::RestorationViewer viewer(engine.Platform().profile, iniFile);
    result.time.Record(ShowUntilAnswering(
        [&] { viewer.Show(nullptr, ui::ShownText(restoration.text, restoration.encoding)); },
        L"Fichier de restauration"));
}

// The keys and values that the check of `foreseen` reads, for the bare loop.
std::vector<KeyReads> ReadsOf(const engine::ForeseenImport& foreseen) {
    std::vector<KeyReads> reads;
    for (const engine::ForeseenKey& key : foreseen.keys) {
        KeyReads& read = reads.emplace_back();
        read.path.assign(key.path.begin(), key.path.end());  // the benchmark's names are ASCII
        for (std::size_t value : key.values) {
            const std::string& name = foreseen.values[value].value.name;
            read.valueNames.emplace_back(name.begin(), name.end());
        }
    }
    return reads;
}

// What the console command writes, counted and let go: writing to a
// console or a file is no part of the command's own work.
class DiscardedOutput final : public app::ConsoleOutput {
public:
    void Out(std::string_view text) override { bytes += text.size(); }
    void Err(std::string_view text) override { bytes += text.size(); }

    std::size_t bytes = 0;
};

// Runs the console command `action` on `path` in process, on a fresh
// engine's services, and returns the report of its one file. Throws
// std::runtime_error when it wrote nothing or showed a message.
app::FileReport RunConsole(const std::string& action, const std::string& path, ShortestTime& time) {
    app::ConsoleCommand command = app::ParseConsoleCommand({action, path});
    BenchEngine engine;
    DiscardedOutput output;
    app::RunReport report;  // freed once the clock has stopped, like the engine
    time.Measure([&] { report = app::RunConsoleCommand(engine.Platform(), command, output); });
    engine.CheckNothingShown("claverix.com " + action);
    if (report.files.size() != 1 || output.bytes == 0) {
        throw std::runtime_error("claverix.com " + action + " did not report on its file");
    }
    return std::move(report.files.front());
}

void MeasureMergeView(int round, const tests::ScratchDirectory& directory, MergeViewResult& result) {
    const std::string& name = result.file.name;
    const std::size_t enough = result.file.lines / 2;
    auto analysis = [&] {
        BenchEngine engine;
        result.analysis.Measure([&] { engine.Analyse(directory.Path(), name); });
    };
    InTurn(
        round,
        [&] {
            BenchEngine engine;
            std::vector<app::PreviewRow> rows;  // freed once the clock has stopped, like the engine
            // From the file, as the command line's preview has it.
            result.preview.Measure([&] {
                std::optional<engine::Analysis> analysed =
                    engine::AnalyseRegFile(engine.Engine(), directory.Path(), name);
                rows = app::BuildPreview(engine.Platform().registry, analysed.value().foreseen);
            });
            if (rows.size() < enough) {
                throw std::runtime_error("the preview shows too few rows");
            }
        },
        analysis);
    InTurn(
        round,
        [&] {
            app::FileReport file = RunConsole("/whatif", directory.File(name), result.whatIf);
            if (file.outcome != "changes-pending" || file.rows.size() < enough) {
                throw std::runtime_error("claverix.com /whatif did not see the file's changes");
            }
        },
        analysis);
    BenchEngine engine;
    std::optional<std::string> bytes = engine::ReadRegFileBytes(engine.Platform(), directory.File(name));
    engine::ForeseenImport foreseen =
        engine::ForeseeImport(engine::DecodeFileText(bytes.value()), engine.Platform().codec);
    std::vector<KeyReads> reads = ReadsOf(foreseen);
    auto bareReads = [&] { result.reads.Measure([&] { result.readCalls = ReadsFloor(reads); }); };
    InTurn(
        round,
        [&] {
            std::size_t checked = 0;
            result.check.Measure([&] {
                engine::ImportCheck check = engine::CheckImport(engine.Platform().registry, foreseen, 10);
                checked = check.valuesChecked;
            });
            if (checked < enough) {
                throw std::runtime_error("the check read too few values");
            }
        },
        bareReads);
    InTurn(
        round,
        [&] {
            // The file's data differs from the registry's: the check finds it not applied.
            app::FileReport file = RunConsole("/verify", directory.File(name), result.verify);
            if (file.outcome != "not-applied" || file.valuesChecked < enough) {
                throw std::runtime_error("claverix.com /verify did not read back the file's values");
            }
        },
        bareReads);
}

int RunBenchmark() {
    tests::ScratchDirectory directory("bench");
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
    const RegFile& largest = results.analyses.back().file;
    results.reader.file = largest;
    std::string largestBytes = ReadBytes(directory.File(largest.name));
    results.restorationForms.ansiFile = largest;
    results.restorationForms.unicodeFile = WriteVersion5Variant(largest, directory.Path());
    results.mergeView.file = largest;
    Progress("Writing " + std::to_string(kListedFiles) + " files to list");
    const std::string listed = directory.File("listed");
    std::filesystem::create_directory(listed);
    WriteRegFiles(listed, kListedFiles);
    FileListWindow listWindow;
    MainWindowInArchive mainWindow(directory.File("program"));
    RegFile small = WriteRegFile(tree, mainWindow.RegDirectory(), kFileLines[0]);
    results.selection.file = WriteRegFile(tree, mainWindow.RegDirectory(), kSelectedLines);
    mainWindow.Open();
    Progress("Writing " + std::to_string(kSearchedFiles) + " files to search");
    const std::string searched = directory.File("searched");
    std::filesystem::create_directory(searched);
    std::vector<std::string> searchedNames =
        WriteSearchedFiles(searched, kSearchedFiles, kSearchedFileBytes, kNeedle);
    results.search.files = kSearchedFiles;
    results.search.bytes = kSearchedFileBytes;
    Progress("Installing claverix.exe over " + std::to_string(kStartupFiles) + " files");
    const std::string claverix = InstallProgram(directory.File("installed"), kStartupFiles);
    results.startup.files = kStartupFiles;
    BenchEngine viewerEngine;
    std::optional<engine::Analysis> viewed =
        engine::AnalyseRegFile(viewerEngine.Engine(), mainWindow.RegDirectory(), results.selection.file.name);
    engine::RestorationText viewedRestoration =
        engine::CurrentRestoration(viewerEngine.Engine(), viewed.value());
    results.viewer.restoreBytes = viewedRestoration.text.size();

    results.rounds = kRounds;
    for (int round = 0; round < kRounds; ++round) {
        Progress("Round " + std::to_string(round + 1) + " of " + std::to_string(kRounds));
        for (AnalysisResult& analysis : results.analyses) {
            MeasureAnalysis(round, directory, analysis);
        }
        MeasureExport(round, directory, results.exportKey);
        MeasureListing(round, listed, listWindow, results.listing);
        MeasureSelection(round, mainWindow, small, results.selection);
        MeasureSearch(round, searched, searchedNames, results.search);
        MeasureReader(round, largestBytes, results.reader);
        MeasureRestorationForms(round, directory, results.restorationForms);
        MeasureStartup(round, claverix, results.startup);
        MeasureViewer(viewerEngine, viewedRestoration, directory.File("viewer.Ini"), results.viewer);
        MeasureMergeView(round, directory, results.mergeView);
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

int main(int argc, char**) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: claverix_benchmark\n");
        return 2;
    }
    try {
        return RunBenchmark();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "claverix_benchmark: %s\n", error.what());
        return 1;
    }
}
