#!/usr/bin/env bash
# Installs what is missing, builds every flavour and runs every test:
#   native  - the portable code against the in-memory stand-ins, with
#             AddressSanitizer and UBSan;
#   fuzz    - libFuzzer on the registry-file readers, for a short while each;
#   windows - the cross-built tests under Wine (real registry, files, INI,
#             importer and windows) on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
fuzz_seconds="${CLAVERIX_FUZZ_SECONDS:-30}"

echo "== native"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DCLAVERIX_SANITIZE=ON >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure

echo "== fuzz (${fuzz_seconds} s)"
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLAVERIX_FUZZ=ON >/dev/null
cmake --build build/fuzz -j"$jobs"
for fuzzer in regfile_fuzzer import_reader_fuzzer; do
    mkdir -p "build/fuzz/corpus-$fuzzer"
    build/fuzz/bin/$fuzzer -max_total_time="$fuzz_seconds" -max_len=4096 -print_final_stats=1 \
        "build/fuzz/corpus-$fuzzer" tests/fuzz/seeds
done

echo "== windows"
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$jobs"
# One virtual display, one prefix of the tests' own and one wineserver for the whole run.
export WINEPREFIX="$PWD/build/test-prefix"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -euo pipefail
    source scripts/wine-prefix.sh
    start_wine_server
    trap stop_wine_server EXIT
    # No window manager runs on the virtual display: unmanaged windows show at once
    # instead of after Wine has waited for one.
    wine reg add "HKCU\Software\Wine\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    ctest --test-dir build/windows --output-on-failure
'
echo "All tests passed."
