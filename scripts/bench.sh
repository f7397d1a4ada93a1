#!/usr/bin/env bash
# Installs what is missing, builds the benchmark and runs it under Wine on a
# virtual display. It fills HKEY_CURRENT_USER\Software\ClaverixBench with a
# tree of its own, times AnalyseRegFile on .reg files of 1,000 to 100,000
# lines and ExportKey on the tree beside the bare registry calls and the
# system's `reg export`, and measures the analysis's peak memory. It times the
# main window's file list on a directory of 10,000 files beside a bare
# FindFirstFile loop, the main window's selection load of the 100,000-line
# file beside AnalyseRegFile alone, and the search over 1,000 files of 70 KB
# beside a loop that reads and scans them, the importer's reader of the
# 100,000-line file beside its line classification, and a version 5
# restoration beside a REGEDIT4 one. It starts claverix.exe over an
# archive of 100 files until its main window answers, beside a bare program
# that shows one window, with and without the program's manifest and common
# controls, and claverix.com until its first output beside a bare console
# program, and times the restoration viewer on the 100,000-line file's
# restoration beside the analysis that builds it, the preview of a merge of
# that file and claverix.com /whatif of it beside AnalyseRegFile, and the
# check after its import and claverix.com /verify of it beside the bare reads
# of the same keys and values. Then it removes the
# tree and the files and prints three tables with PASS or FAIL beside each target.
# A few minutes; on a busy machine the times are noisy, so run it more than once.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# --no-warn-unused-cli: a configured build directory ignores the toolchain file, and need not say so.
cmake --no-warn-unused-cli -S . -B build/bench -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCLAVERIX_TESTS=OFF >/dev/null
cmake --build build/bench -j"$(nproc)" --target claverix_benchmark >/dev/null
source scripts/wine-prefix.sh
# Wine answers every registry call in its wineserver. With the benchmark and the
# server on one CPU a call is a plain switch; across CPUs it waits for the other
# CPU to wake, which costs several times more here and varies with that CPU's
# load. Pinned, the times are steadier. The server is pinned too when this run
# starts it: always, unless another Wine program of this prefix still runs
# (scripts/run.sh's claverix.exe, say).
# The windows need a display; a virtual one keeps them off the user's.
xvfb-run -a -s "-screen 0 1280x1024x24" taskset -c "$(($(nproc) - 1))" wine build/bench/bin/claverix_benchmark.exe
