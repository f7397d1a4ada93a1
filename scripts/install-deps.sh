#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when missing,
# and those named as arguments.
set -euo pipefail

packages=(
    cmake make g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    wine wine64 fonts-wine xvfb xauth
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
