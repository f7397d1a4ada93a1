// The analysis child of the benchmark's peak-memory measurement: analyses
// one file, says so on its standard output and ends when its standard input
// closes, the parent having read its memory counters by then.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string_view>

#include "bench/BenchEngine.h"
#include "bench/ChildProcesses.h"

namespace {

// Says the analysis is done, then waits until the parent closes the pipe,
// having read the counters.
void SignalAndWait() {
    // Straight to the handle: the C library would turn the LF into CR LF.
    const std::string_view analysed = claverix::bench::kAnalysedLine;
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), analysed.data(), static_cast<DWORD>(analysed.size()),
                &written, nullptr);
    char byte = 0;
    DWORD read = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read == 1) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: claverix_analysis_child <directory> <file name>\n");
        return 2;
    }
    try {
        claverix::bench::BenchEngine engine;
        engine.Analyse(argv[1], argv[2]);
        // The engine still holds what the analysis made: Wine gives the present
        // private bytes for their peak.
        SignalAndWait();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "claverix_analysis_child: %s\n", error.what());
        return 1;
    }
    return 0;
}
