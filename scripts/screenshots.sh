#!/usr/bin/env bash
# Screenshots of the programs' windows for people to look at (never compared
# pixel by pixel): every tab in German and English, and the English window at
# 144 dpi, opened there and moved there from 96 dpi. Pictures go to shots/ (not kept in git).
#
#   SHOTS_BIN        folder with the built programs (default build/x64/bin)
#   TEST_WINE_CACHE  where the ready base prefixes are kept (as for the tests)
#
# Each window is photographed in a session of its own: a throwaway Wine prefix
# (system locale and screen dpi as asked), its own X display, and Wine's
# desktop window so that frames and captions are drawn. To add a window, write
# a shots_<name> function like shots_kestrun below and call it at the end.
set -eu
[ -n "${SHOTS_TRACE:-}" ] && set -x
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${SHOTS_BIN:-$root/build/x64/bin}
out=$root/shots
work=$(mktemp -d "${TMPDIR:-/tmp}/shots.XXXXXX")
mkdir -p "$out"
# The test runner's base prefixes (with Wine's own fonts) and its `wine`, which starts
# each program with the loader that fits it.
. "$root/cmake/wine-run.sh"
wine_run_shim "$work/bin"

# The driver that selects tabs and clicks buttons from inside Wine.
driver="$work/shotdriver.exe"
x86_64-w64-mingw32-g++ -Os -s -static -municode -o "$driver" "$root/scripts/shotdriver.cpp" -lcomctl32

xpid=""
session_end() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
    xpid=""
}
trap 'session_end; rm -rf "$work"' EXIT

# session_start <en|de> <dpi>: a fresh prefix with that locale and dpi, and a display.
session_start() {
    local loc=$1 dpi=$2
    wine_run_base "$loc"
    export WINEPREFIX="$work/prefix-$loc-$dpi"
    rm -rf "$WINEPREFIX"
    cp -a "$WINE_RUN_BASE" "$WINEPREFIX"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xpid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$work/display")"
    # Every program of the session runs on Wine's own desktop window, so the
    # driver sees the photographed windows and frames and captions are drawn.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    if [ "$dpi" != 96 ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    fi
    wineserver -w
}

# run <program.exe> [args]: starts a program on Wine's desktop, in the background.
run() {
    wine "$@" >/dev/null 2>&1 &
}
drive() { wine "$driver" "$@"; }
# shot <name> <window class>: the window with a little desktop around it.
shot() {
    sleep 0.7
    local geom
    geom=$(drive rect "$2" | tr -d '\r')
    import -window root -crop "$geom" +repage "$out/$1.png"
    echo "shots/$1.png ($geom)"
}

# Kestrun: its four tabs; the tab strip is control 1000 (first row of its table).
# With a third argument the window is moved to a screen of that dpi first.
shots_kestrun() {
    local loc=$1 dpi=$2 moved=${3:-} name=kestrun-$1 i
    [ "$dpi" = 96 ] || name=$name-${dpi}dpi
    [ -z "$moved" ] || name=$name-moved-${moved}dpi
    session_start "$loc" "$dpi"
    mkdir -p "$WINEPREFIX/drive_c/Shots"
    cp "$bin/Kestrun.exe" "$WINEPREFIX/drive_c/Shots/"
    run 'C:\Shots\Kestrun.exe' -showme
    drive wait KestrunWindow 30000
    [ -z "$moved" ] || drive dpi KestrunWindow "$moved"
    for i in 0 1 2 3; do
        drive tab KestrunWindow 1000 "$i"
        shot "$name-tab$((i + 1))" KestrunWindow
    done
    # The status list opened, with its pictures (StatusList is control 1034).
    drive tab KestrunWindow 1000 1
    drive drop KestrunWindow 1034
    shot "$name-status" KestrunWindow
    session_end
}

# Ternavo: the main window, the ICQ 7 settings dialog, the about box and a
# result; control ids are 1000 + the row of the window's table
# (main window: StartButton 1000, ICQLiteBox 1005, SettingsLink 1008, InfoButton 1014;
#  about box: OkButton 1004; settings dialog: CancelButton 1001). A stand-in ICQ 7 in
# "C:\Program Files\ICQ7" gives the settings dialog a folder to show.
shots_ternavo() {
    local loc=$1 dpi=$2 moved=${3:-} name=ternavo-$1
    [ "$dpi" = 96 ] || name=$name-${dpi}dpi
    [ -z "$moved" ] || name=$name-moved-${moved}dpi
    session_start "$loc" "$dpi"
    mkdir -p "$WINEPREFIX/drive_c/Shots" "$WINEPREFIX/drive_c/Program Files/ICQ7"
    cp "$bin/Ternavo.exe" "$WINEPREFIX/drive_c/Shots/"
    cp "$bin/../fixtures/icq7/"* "$WINEPREFIX/drive_c/Program Files/ICQ7/" 2>/dev/null || true
    run 'C:\Shots\Ternavo.exe'
    drive wait TernavoMainWindow 30000
    [ -z "$moved" ] || drive dpi TernavoMainWindow "$moved"
    shot "$name-main" TernavoMainWindow
    if [ "$dpi" = 96 ]; then
        drive link TernavoMainWindow 1008
        drive wait TernavoSettingsDialog 10000
        [ -z "$moved" ] || drive dpi TernavoSettingsDialog "$moved"
        shot "$name-settings" TernavoSettingsDialog
        drive press TernavoSettingsDialog 1001
        drive press TernavoMainWindow 1014
        drive wait TernavoAboutBox 10000
        [ -z "$moved" ] || drive dpi TernavoAboutBox "$moved"
        shot "$name-about" TernavoAboutBox
        drive press TernavoAboutBox 1004
        drive click TernavoMainWindow 1005
        drive press TernavoMainWindow 1000
        shot "$name-result" TernavoMainWindow
    fi
    session_end
}

# SHOTS_ONLY=kestrun (or ternavo) photographs one program only.
only() { [ -z "${SHOTS_ONLY:-}" ] || [ "$SHOTS_ONLY" = "$1" ]; }
if only kestrun; then
    shots_kestrun de 96
    shots_kestrun en 96
    shots_kestrun en 144
    shots_kestrun en 96 144
fi
if only ternavo; then
shots_ternavo de 96
shots_ternavo en 96
shots_ternavo en 144
shots_ternavo en 96 144
fi
