#!/usr/bin/env bash
# Saves pictures of claverix's windows as PNG files under build/screenshots/,
# for a reviewer without Windows, each at 96 and 144 DPI
# ("<window>-<dpi>dpi.png"), and again with the thicker window frame of
# Windows 10 and 11 ("<window>-<dpi>dpi-thick-frame.png"): the first-start
# prompt and options dialog, the main window with a file selected in both of
# its modes, the file list's shortcut menu, the question whether to save an
# edit of the content, the windows the main window opens
# (restoration viewer, preview, search, options, About), the message of a
# merge the importer took only in part, and the whole screen with the
# main window at the place its settings keep.
# Installs what is missing and runs on a virtual display, in a Wine prefix of
# its own (build/screenshot-prefix) whose DPI and frame settings it puts back
# after.
# tests/screenshots/ holds the driver that walks claverix.exe through its
# windows and the archive it shows. Two minutes once built.
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
metrics="$desktop\\WindowMetrics"
# Each setting the runs change, as it was before ("key|name|type|data", no
# type for a setting that was not there), put back at the end.
saved=()
remember() {
    local found
    found=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { print $2 "|" $3 }' || true)
    saved+=("$1|$2|$found")
}
put_back() {
    local entry key name type data
    for entry in "${saved[@]}"; do
        IFS='|' read -r key name type data <<<"$entry"
        if [ -z "$type" ]; then
            wine reg delete "$key" /v "$name" /f >/dev/null 2>&1
        elif [ "$type" = REG_DWORD ]; then
            wine reg add "$key" /v "$name" /t REG_DWORD /d $((data)) /f >/dev/null 2>&1
        else
            wine reg add "$key" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1
        fi
    done
}
restore() {
    put_back
    stop_wine_server
    rm -rf "$work"
}
trap restore EXIT
# No window manager runs on the virtual display: Wine draws the title bars itself.
wine reg add 'HKEY_CURRENT_USER\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
remember "$desktop" LogPixels
for metric in BorderWidth PaddedBorderWidth CaptionHeight; do
    remember "$metrics" "$metric"
done

out=build/screenshots
# On the prefix's drive C:, as a user's files would be.
work="$WINEPREFIX/drive_c/Claverix"
mkdir -p "$out"

# Runs the driver and takes each picture it asks for, named after the window and `suffix`.
capture_as() {
    local suffix=$1 driver request name left top width height
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
            import -window root -crop "${width}x${height}+${left}+${top}" +repage "$out/$name-$suffix.png"
            echo "$out/$name-$suffix.png"
            rm "$request"
        done
        sleep 0.1
    done
    wait "$driver"
}

# The frame of Wine's own metrics, then the thicker one of Windows 10 and 11
# (a padded border, a taller caption), as negative twips, the form Windows stores.
for frame in classic thick; do
    if [ "$frame" = thick ]; then
        wine reg add "$metrics" /v BorderWidth /d -15 /f >/dev/null 2>&1
        wine reg add "$metrics" /v PaddedBorderWidth /d -60 /f >/dev/null 2>&1
        wine reg add "$metrics" /v CaptionHeight /d -330 /f >/dev/null 2>&1
    fi
    for dpi in 96 144; do
        # A program reads these settings when it starts.
        wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        capture_as "${dpi}dpi$([ "$frame" = thick ] && echo -thick-frame)"
    done
done
