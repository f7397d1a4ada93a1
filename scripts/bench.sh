#!/usr/bin/env bash
# Installs what is missing, builds the engine benchmark and runs it under Wine.
# It fills HKEY_CURRENT_USER\Software\ClaverixBench with a tree of its own,
# times AnalyseRegFile on .reg files of 1,000 to 100,000 lines and ExportKey
# on the tree beside the bare registry calls and the system's `reg export`,
# measures the analysis's peak memory, removes the tree and prints one table
# with PASS or FAIL beside each target. A minute or two; on a busy machine the
# times are noisy, so run it more than once.
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
# load. Pinned, the times are steadier; the server is pinned too when this run
# starts it, the usual case.
taskset -c "$(($(nproc) - 1))" wine build/bench/bin/claverix_benchmark.exe
