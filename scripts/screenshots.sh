#!/usr/bin/env bash
# Saves pictures of claverix's windows as PNG files under build/screenshots/,
# for a reviewer without Windows, each at 96 and 144 DPI
# ("<window>-<dpi>dpi.png"): the first-start prompt and options dialog, the
# main window with a file selected in both of its modes, and the windows it
# opens (restoration viewer, search, options, About).
# Installs what is missing and runs on a virtual display, in a Wine prefix of
# its own (build/screenshot-prefix) whose DPI setting it puts back after.
# tests/screenshots/ holds the driver that walks claverix.exe through its
# windows and the archive it shows. Half a minute once built.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --on-display ]; then
    scripts/install-deps.sh imagemagick
    cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
        >/dev/null
    cmake --build build/windows -j"$(nproc)" --target claverix claverix_screenshots >/dev/null
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-display
fi

export WINEPREFIX="$PWD/build/screenshot-prefix"
source scripts/wine-prefix.sh
start_wine_server
desktop='HKEY_CURRENT_USER\Control Panel\Desktop'
saved_dpi=$(wine reg query "$desktop" /v LogPixels 2>/dev/null | awk '/LogPixels/ { print $3 }' | tr -d '\r' || true)
restore() {
    if [ -n "$saved_dpi" ]; then
        wine reg add "$desktop" /v LogPixels /t REG_DWORD /d $((saved_dpi)) /f >/dev/null 2>&1
    else
        wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
    fi
    stop_wine_server
    rm -rf "$work"
}
trap restore EXIT
# No window manager runs on the virtual display: Wine draws the title bars itself.
wine reg add 'HKEY_CURRENT_USER\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

out=build/screenshots
# On the prefix's drive C:, as a user's files would be.
work="$WINEPREFIX/drive_c/Claverix"
mkdir -p "$out"

# Runs the driver and takes each picture it asks for, named after the window and `dpi`.
capture_at() {
    local dpi=$1 driver request name left top width height
    rm -rf "$work"
    mkdir -p "$work"
    cp -r tests/screenshots/archive "$work/"
    wine build/windows/bin/claverix_screenshots.exe "$(winepath -w build/windows/bin/claverix.exe)" \
        "$(winepath -w "$work")" &
    driver=$!
    while kill -0 "$driver" 2>/dev/null; do
        for request in "$work"/*.shot; do
            [ -e "$request" ] || continue
            name=$(basename "$request" .shot)
            read -r left top width height <"$request"
            import -window root -crop "${width}x${height}+${left}+${top}" +repage "$out/$name-${dpi}dpi.png"
            echo "$out/$name-${dpi}dpi.png"
            rm "$request"
        done
        sleep 0.1
    done
    wait "$driver"
}

for dpi in 96 144; do
    # A program reads the setting when it starts.
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    capture_at "$dpi"
done
