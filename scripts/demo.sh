#!/usr/bin/env bash
# Shows Ternavo the way a user meets it: a throwaway Windows (Wine) with a stand-in
# ICQ 7 installed at C:\Program Files\ICQ7, and Ternavo started from C:\Ternavo\.
# Without $DISPLAY it runs on a private X server, saves a screenshot and ends;
# with a display it runs there until Ternavo is closed.
#   DEMO_LOCALE=de        German system locale
#   DEMO_WAIT=6           seconds to wait for the window before the screenshot
#   DEMO_SHOT=FILE        where the screenshot goes (default shots/demo-ternavo.png)
#   DEMO_BUILD_DIR=DIR    x64 build folder for the stand-in (default build/x64)
#   DEMO_TERNAVO=FILE     the Ternavo.exe to show (default dist/x64/Ternavo.exe)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

ternavo=${DEMO_TERNAVO:-$repo/dist/x64/Ternavo.exe}
build_dir=${DEMO_BUILD_DIR:-build/x64}
shot=${DEMO_SHOT:-shots/demo-ternavo.png}
wait_s=${DEMO_WAIT:-6}
case "$shot" in /*) ;; *) shot="$repo/$shot" ;; esac

if [ ! -f "$ternavo" ]; then
  echo "demo: $ternavo is missing; run 'make build' first" >&2
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
cp "$ternavo" "$drive_c/Ternavo/Ternavo.exe"
echo 'demo: Ternavo copied to C:\Ternavo\Ternavo.exe'

# Wine's own desktop draws window frames and captions, which bare X lacks.
echo "demo: starting Ternavo on display $DISPLAY (Wine desktop 1024x768)"
(cd "$drive_c/Ternavo" && exec wine explorer /desktop=Ternavo,1024x768 'C:\Ternavo\Ternavo.exe' </dev/null) &
wine_pid=$!

if [ -z "$headless" ]; then
  echo "demo: close Ternavo to end the demo"
  wait "$wine_pid" || true
  echo "demo: Ternavo ended"
  exit 0
fi

sleep "$wait_s"
if ! kill -0 "$wine_pid" 2>/dev/null; then
  echo "demo: Ternavo's desktop ended before the screenshot" >&2
fi
mkdir -p "$(dirname "$shot")"
# The Wine desktop sits at the top left of the larger X screen.
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$shot"
echo "Screenshot: $shot"
wineserver -k >/dev/null 2>&1 || true
wait "$wine_pid" 2>/dev/null || true
echo "demo: ended Ternavo, its Wine prefix and the X server"
