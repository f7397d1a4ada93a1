#!/usr/bin/env bash
# Installs what is missing, builds claverix.exe and starts it under Wine on
# the user's display. Arguments go to the program (a .reg file to merge).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$(nproc)" --target claverix
source scripts/wine-prefix.sh
wine build/windows/bin/claverix.exe "$@"
