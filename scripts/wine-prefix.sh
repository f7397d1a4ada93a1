# Sourced: points Wine at the project's private prefix and creates the prefix
# on first use. `start_wine_server` keeps one wineserver running, so that each
# later Wine start takes milliseconds; `stop_wine_server` ends it.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    # The boot's wineserver and services linger for a few seconds. A program
    # started meanwhile would join that server, with its CPU affinity and
    # settings rather than the caller's: `taskset` on the program would leave
    # the server free to run elsewhere. Waiting for it makes the first run
    # start its own server, as every later run does.
    wineserver --wait
fi

# Debian's Wine does not look for its own fonts (package fonts-wine) where
# they are installed; without them dialogs fall back to a wider font and
# title bars lose their button glyphs. The prefix's Fonts directory is
# where Windows keeps them too.
for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] || continue
    target="$WINEPREFIX/drive_c/windows/Fonts/$(basename "$font")"
    [ -e "$target" ] || ln -s "$font" "$target"
done

start_wine_server() {
    # Output goes elsewhere: a shell capturing output would wait for the server.
    wineserver --persistent >/dev/null 2>&1 &
}

stop_wine_server() {
    wineserver --kill >/dev/null 2>&1 || true
}
