#!/usr/bin/env bash
# Shows Ternavo the way a user meets it: a throwaway Windows (Wine) with a stand-in
# ICQ 7 installed at C:\Program Files\ICQ7, and Ternavo started from C:\Ternavo\.
# `scripts/demo.sh kestrun` shows Kestrun instead, as Ternavo's installation leaves it:
# Kestrun.exe in that ICQ 7 folder, started there, with no settings yet (so its window
# shows); its "Start ICQ" starts the stand-in ICQ 7, whose window then appears.
# Without $DISPLAY it runs on a private X server, saves a screenshot and ends;
# with a display it runs there until the program is closed.
#   DEMO_LOCALE=de        German system locale (the demo's only locale setting)
#   DEMO_WAIT=60          the most seconds to wait for the window to be drawn
#   DEMO_SHOT=FILE        where the screenshot goes (default shots/demo-ternavo.png or
#                         shots/demo-kestrun.png)
#   DEMO_BUILD_DIR=DIR    the x64 build folder (default build/x64); the demo builds there
#                         only what it runs: Kestrun, Ternavo and the stand-in ICQ 7
#   DEMO_TERNAVO=FILE     another Ternavo.exe to show (default: the one just built)
#   DEMO_KESTRUN=FILE     another Kestrun.exe to show (default: the one just built)
# The build's output goes to a log file (its path is printed); the terminal shows one line
# per stage and, at the end, where the window or the screenshot is.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

program=${1:-ternavo}
build_dir=${DEMO_BUILD_DIR:-build/x64}
case "$build_dir" in /*) ;; *) build_dir="$repo/$build_dir" ;; esac
case "$program" in
  ternavo) exe=${DEMO_TERNAVO:-$build_dir/bin/Ternavo.exe} name=Ternavo win_path='C:\Ternavo\Ternavo.exe' ;;
  kestrun) exe=${DEMO_KESTRUN:-$build_dir/bin/Kestrun.exe} name=Kestrun win_path='C:\Program Files\ICQ7\Kestrun.exe' ;;
  *) echo "usage: $0 [ternavo|kestrun]" >&2; exit 2 ;;
esac
shot=${DEMO_SHOT:-shots/demo-$program.png}
wait_s=${DEMO_WAIT:-60}
case "$shot" in /*) ;; *) shot="$repo/$shot" ;; esac

# Only what the demo runs, in the x64 tree: the two programs and the stand-in ICQ 7.
mkdir -p "$build_dir"
build_log="$build_dir/demo-build.log"
: >"$build_log"
if [ ! -f "$build_dir/Makefile" ]; then
  echo "demo: configuring the x64 build in ${build_dir#"$repo"/} (log: ${build_log#"$repo"/})"
  if ! cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake \
      >>"$build_log" 2>&1; then
    tail -n 30 "$build_log" >&2
    echo "demo: configuring failed; the whole output is in $build_log" >&2
    exit 1
  fi
fi
echo "demo: building Kestrun, Ternavo and the stand-in ICQ 7 (log: ${build_log#"$repo"/})"
start=$SECONDS
if ! cmake --build "$build_dir" --target Kestrun Ternavo fixtures -j "${JOBS:-2}" >>"$build_log" 2>&1; then
  tail -n 30 "$build_log" >&2
  echo "demo: the build failed; the whole output is in $build_log" >&2
  exit 1
fi
echo "demo: built in $((SECONDS - start)) s"
if [ ! -f "$exe" ]; then
  echo "demo: $exe is missing" >&2
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
  echo "demo: $name's window is on display $DISPLAY; close it to end the demo"
  wait "$wine_pid" || true
  echo "demo: $name ended"
  exit 0
fi

# The picture is taken once the window is drawn: the screen holds more than a few colours
# (an empty or not yet drawn desktop has one or two) and, but for a blinking caret, stays
# the same for half a second.
mkdir -p "$(dirname "$shot")"
echo "demo: waiting for $name's window to be drawn (at most $wait_s s)"
take() { import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$1" 2>/dev/null; }
candidate="$WINE_RUN_WORK/candidate.png" before="$WINE_RUN_WORK/before.png"
drawn=""
waited=$SECONDS
deadline=$((SECONDS + wait_s))
while [ $SECONDS -lt $deadline ]; do
  sleep 0.5
  if ! kill -0 "$wine_pid" 2>/dev/null; then
    echo "demo: $name's desktop ended before the screenshot" >&2
    break
  fi
  [ -f "$candidate" ] && mv -f "$candidate" "$before"
  take "$candidate" || continue
  colours=$(identify -format '%k' "$candidate" 2>/dev/null || echo 0)
  if [ "$colours" -gt 16 ] && [ -f "$before" ]; then
    # (compare exits 1 when the pictures differ; it prints how many pixels do)
    changed=$(compare -metric AE "$before" "$candidate" null: 2>&1 || true)
    changed=${changed%% *}
    if [ "${changed%.*}" -lt 100 ] 2>/dev/null; then drawn=1; break; fi
  fi
done
if [ -f "$candidate" ]; then cp "$candidate" "$shot"; fi
# A picture with no light in it shows nothing: never hand it over as the demo.
brightest=$( [ -f "$shot" ] && convert "$shot" -format '%[fx:maxima]' info: 2>/dev/null || echo 0)
if [ -z "$drawn" ] || [ "$brightest" = 0 ]; then
  what="no window"
  [ "$brightest" = 0 ] && what="an all-black picture"
  echo "demo: FAILED: after $((SECONDS - waited)) s the screen shows $what; $name's window was never drawn" >&2
  [ -f "$shot" ] && echo "demo: the last picture is $shot" >&2
  exit 1
fi
echo "Screenshot: $shot"
wineserver -k >/dev/null 2>&1 || true
wait "$wine_pid" 2>/dev/null || true
echo "demo: ended $name, its Wine prefix and the X server"
