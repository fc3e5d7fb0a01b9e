#!/usr/bin/env bash
# Shows Ternavo the way a user meets it: a throwaway Windows (Wine) with a stand-in
# ICQ 7 installed at C:\Program Files\ICQ7, and Ternavo started from C:\Ternavo\.
# `scripts/demo.sh kestrun` shows Kestrun instead, as Ternavo's installation leaves it:
# Kestrun.exe in that ICQ 7 folder, started there, with no settings yet (so its window
# shows); its "Start ICQ" starts the stand-in ICQ 7, whose window then appears.
# Without $DISPLAY it runs on a private X server, saves a screenshot and ends;
# with a display it runs there until the program is closed.
#   DEMO_LOCALE=de        German system locale
#   DEMO_WAIT=6           seconds to wait for the window before the screenshot
#   DEMO_SHOT=FILE        where the screenshot goes (default shots/demo-ternavo.png or
#                         shots/demo-kestrun.png)
#   DEMO_BUILD_DIR=DIR    x64 build folder for the stand-in (default build/x64)
#   DEMO_TERNAVO=FILE     the Ternavo.exe to show (default dist/x64/Ternavo.exe)
#   DEMO_KESTRUN=FILE     the Kestrun.exe to show (default dist/x64/Kestrun.exe)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

program=${1:-ternavo}
case "$program" in
  ternavo) exe=${DEMO_TERNAVO:-$repo/dist/x64/Ternavo.exe} name=Ternavo win_path='C:\Ternavo\Ternavo.exe' ;;
  kestrun) exe=${DEMO_KESTRUN:-$repo/dist/x64/Kestrun.exe} name=Kestrun win_path='C:\Program Files\ICQ7\Kestrun.exe' ;;
  *) echo "usage: $0 [ternavo|kestrun]" >&2; exit 2 ;;
esac
build_dir=${DEMO_BUILD_DIR:-build/x64}
shot=${DEMO_SHOT:-shots/demo-$program.png}
wait_s=${DEMO_WAIT:-6}
case "$shot" in /*) ;; *) shot="$repo/$shot" ;; esac

if [ ! -f "$exe" ]; then
  echo "demo: $exe is missing; run 'make build' first" >&2
  exit 1
fi

# The stand-in ICQ 7 is a test fixture of the x64 build: bring it up to date.
if [ ! -f "$build_dir/Makefile" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake >/dev/null
fi
echo "demo: building the stand-in ICQ 7 ($build_dir, target fixtures)"
if ! log=$(cmake --build "$build_dir" --target fixtures 2>&1); then
  echo "$log" >&2
  echo "demo: could not build the stand-in ICQ 7" >&2
  exit 1
fi
stand_in="$build_dir/fixtures/icq7"

# A private prefix made the same way the tests make theirs.
. cmake/wine-run.sh
export TEST_LOCALE=${DEMO_LOCALE:-en}
headless=1
if [ -n "${DISPLAY:-}" ]; then
  headless=""
  export TEST_USE_DISPLAY=1
fi
trap wine_run_cleanup EXIT
wine_run_prepare
echo "demo: Wine prefix $WINEPREFIX (system locale: $TEST_LOCALE)"

drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/Program Files/ICQ7" "$drive_c/Ternavo"
cp "$stand_in/ICQ.exe" "$stand_in/MCore.dll" "$drive_c/Program Files/ICQ7/"
echo 'demo: stand-in ICQ 7 (ICQ.exe 7.4.0.4708, MCore.dll) installed at C:\Program Files\ICQ7'
if [ "$program" = ternavo ]; then
  cp "$exe" "$drive_c/Ternavo/Ternavo.exe"
  start_dir="$drive_c/Ternavo"
else
  cp "$exe" "$drive_c/Program Files/ICQ7/Kestrun.exe"
  start_dir="$drive_c/Program Files/ICQ7"
fi
echo "demo: $name copied to $win_path"

# Wine's own desktop draws window frames and captions, which bare X lacks.
echo "demo: starting $name on display $DISPLAY (Wine desktop 1024x768)"
(cd "$start_dir" && exec wine explorer /desktop=$name,1024x768 "$win_path" </dev/null) &
wine_pid=$!

if [ -z "$headless" ]; then
  echo "demo: close $name to end the demo"
  wait "$wine_pid" || true
  echo "demo: $name ended"
  exit 0
fi

sleep "$wait_s"
if ! kill -0 "$wine_pid" 2>/dev/null; then
  echo "demo: $name's desktop ended before the screenshot" >&2
fi
mkdir -p "$(dirname "$shot")"
# The Wine desktop sits at the top left of the larger X screen.
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$shot"
echo "Screenshot: $shot"
wineserver -k >/dev/null 2>&1 || true
wait "$wine_pid" 2>/dev/null || true
echo "demo: ended $name, its Wine prefix and the X server"
