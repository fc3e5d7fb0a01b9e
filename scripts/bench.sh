#!/usr/bin/env bash
# Benchmarks of what we ship (`make bench`, after `make build`). They print figures
# for people to read; nothing here passes or fails on a number. The correctness
# checks of the same files run in CTest (executables_carry).
#
# Each benchmark is one function bench_<name> in its own section below, listed in
# BENCHMARKS at the end. To add one: write a section, append its function there.
# BENCH_DIST=DIR reads DIR/x64 and DIR/x86 instead of dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
dist=${BENCH_DIST:-dist}   # folder holding x64/ and x86/

section() { printf '\n== %s ==\n' "$1"; }
kib() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1024 }'; }

# ---------------------------------------------------------------------------------
# Benchmark: size and contents of the executables
# Size in bytes and KiB against the targets, the DLLs each imports (anything that
# does not come with Windows is flagged), and what each must carry: GUI subsystem,
# manifest, German version block and, in Ternavo, the starter of its architecture.
# ---------------------------------------------------------------------------------
size_target_kib() {
  case "$1" in
    x64/Kestrun) echo 200 ;;
    x64/Ternavo) echo 450 ;;
    *) echo "" ;;
  esac
}

bench_size() {
  section "Executable size and contents"
  local arch prog file objdump bytes target dlls dll flagged
  for arch in x64 x86; do
    case $arch in
      x64) objdump=x86_64-w64-mingw32-objdump ;;
      x86) objdump=i686-w64-mingw32-objdump ;;
    esac
    for prog in Kestrun Ternavo; do
      file="$dist/$arch/$prog.exe"
      echo
      echo "$file"
      if [ ! -f "$file" ]; then
        echo "  missing (run 'make build')"
        continue
      fi
      bytes=$(stat -c %s "$file")
      target=$(size_target_kib "$arch/$prog")
      if [ -n "$target" ]; then
        if [ "$bytes" -le $((target * 1024)) ]; then
          verdict="within target <= $target KiB, $(kib $((target * 1024 - bytes))) KiB to spare"
        else
          verdict="OVER target <= $target KiB by $(kib $((bytes - target * 1024))) KiB"
        fi
      else
        verdict="no target"
      fi
      printf '  size      %d bytes = %s KiB (%s)\n' "$bytes" "$(kib "$bytes")" "$verdict"

      dlls=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
      flagged=""
      for dll in $dlls; do
        case "${dll,,}" in
          lib*|*pthread*|*gcc*|*stdc++*) flagged="$flagged $dll" ;;
        esac
      done
      printf '  imports   %s\n' "${dlls% }"
      if [ -n "$flagged" ]; then
        printf '  FLAGGED   not part of Windows, would have to ship beside it:%s\n' "$flagged"
      else
        printf '            (all come with Windows)\n'
      fi

      # Subsystem, manifest, version block, icons and the embedded starter.
      python3 scripts/peres.py --report "$file" --starter "$dist/$arch/Kestrun.exe" \
        | grep -v "imports only Windows DLLs" || true
    done
  done
}

# ---------------------------------------------------------------------------------
# Benchmark: Kestrun's launch of one more ICQ 7
# Under Wine, in a folder with a blank ("C:\Program Files\ICQ7") and a stand-in
# ICQ.exe padded to 24 MiB so that copying it counts: Kestrun's CPU time for one
# silent launch including its follow-up wait, and the time from its start to the
# stand-in's start next to a minimal program that only copies ICQ.exe and starts
# the copy. BENCH_BUILD=DIR names the x64 build folder (default build/x64) that
# holds the stand-in; BENCH_LAUNCH_RUNS the number of runs (default 5).
# ---------------------------------------------------------------------------------
bench_launch() {
  section "Kestrun launch: CPU time and time to start ICQ 7"
  local build=${BENCH_BUILD:-build/x64} runs=${BENCH_LAUNCH_RUNS:-5}
  local kestrun="$dist/x64/Kestrun.exe" stub="$build/fixtures/icq7/ICQ.exe"
  if [ ! -f "$kestrun" ]; then echo "  $kestrun missing (run 'make build')"; return 0; fi
  if [ ! -f "$stub" ] && [ -f "$build/Makefile" ]; then
    cmake --build "$build" --target fixtures >/dev/null 2>&1 || true
  fi
  if [ ! -f "$stub" ]; then echo "  stand-in ICQ.exe missing in $build/fixtures (build the 'fixtures' target)"; return 0; fi
  (
    set +e
    root=$(pwd)
    kestrun=$(realpath "$kestrun") stub=$(realpath "$stub") build=$(realpath "$build")
    . cmake/wine-run.sh
    wine_run_prepare
    trap wine_run_cleanup EXIT
    x86_64-w64-mingw32-g++ -O2 -s -static -municode -o "$WINE_RUN_WORK/benchlaunch.exe" \
      "$root/scripts/benchlaunch.cpp" || exit 0
    x86_64-w64-mingw32-g++ -O2 -s -static -municode -mwindows -o "$WINE_RUN_WORK/baseline.exe" \
      "$root/scripts/benchlaunch.cpp" || exit 0
    dir="$WINEPREFIX/drive_c/Program Files/ICQ7"
    mkdir -p "$dir"
    cp "$kestrun" "$dir/Kestrun.exe"
    cp "$stub" "$dir/ICQ.exe"
    cp "$build/fixtures/icq7/MCore.dll" "$dir/"
    cp "$WINE_RUN_WORK/baseline.exe" "$dir/baseline.exe"
    # Padding after the image: the program still runs, and the copy has weight.
    head -c $((24 * 1024 * 1024)) /dev/zero >> "$dir/ICQ.exe"
    # Silent, not the first launch ever (one-second follow-up ticks).
    printf '[Kestrun]\r\nShowMe=0\r\nMaxNr=5\r\nStarts=5\r\n' > "$dir/kestrun.ini"
    drv="$WINE_RUN_WORK/benchlaunch.exe"
    wine "$drv" measure 'C:\Program Files\ICQ7' "$runs"

    # CPU time of the whole Windows process (Wine's loader included), from the
    # kernel's accounting of the process that `wine` becomes. The minimal
    # program shows what any program costs here before it does anything.
    local kcpu=() bcpu=() i t
    for ((i = 0; i < runs; i++)); do
      wine "$drv" closestubs
      /usr/bin/time -f '%U %S' -o "$WINE_RUN_WORK/t" wine 'C:\Program Files\ICQ7\Kestrun.exe'
      kcpu+=("$(awk '{ printf "%.0f", ($1 + $2) * 1000 }' "$WINE_RUN_WORK/t")")
      wine "$drv" closestubs
      /usr/bin/time -f '%U %S' -o "$WINE_RUN_WORK/t" wine 'C:\Program Files\ICQ7\baseline.exe' \
        --baseline 'C:\Program Files\ICQ7'
      bcpu+=("$(awk '{ printf "%.0f", ($1 + $2) * 1000 }' "$WINE_RUN_WORK/t")")
    done
    wine "$drv" closestubs
    median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
    printf '  CPU       Kestrun, one silent launch with its follow-up: %s ms (runs: %s; target < 100 ms)\n' \
      "$(median "${kcpu[@]}")" "${kcpu[*]}"
    printf '  CPU       minimal program that copies and starts: %s ms (runs: %s)\n' \
      "$(median "${bcpu[@]}")" "${bcpu[*]}"
  )
}

# ---------------------------------------------------------------------------------
# Benchmark: Ternavo's ICQ 7 search and its start
# Under Wine, in a fresh prefix where no candidate holds ICQ: the time of the search
# over all 24 candidates (the case that tries them all), and Ternavo's time from its
# start to its main window shown, next to an empty Win32 program's start and end
# measured in the same run. BENCH_TERNAVO_RUNS program starts (default 5); the
# search runs twenty times as often.
# ---------------------------------------------------------------------------------
bench_ternavo() {
  section "Ternavo: ICQ 7 search and start to window"
  local runs=${BENCH_TERNAVO_RUNS:-5}
  local ternavo="$dist/x64/Ternavo.exe"
  if [ ! -f "$ternavo" ]; then echo "  $ternavo missing (run 'make build')"; return 0; fi
  (
    set +e
    root=$(pwd)
    ternavo=$(realpath "$ternavo")
    . cmake/wine-run.sh
    wine_run_prepare
    trap wine_run_cleanup EXIT
    x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -s -static -municode -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN \
      -DNOMINMAX -D_WIN32_WINNT=0x0601 -finput-charset=UTF-8 -I "$root" -o "$WINE_RUN_WORK/benchternavo.exe" \
      "$root/scripts/benchternavo.cpp" "$root/ternavo/icq7path.cpp" "$root/ternavo/registry.cpp" \
      "$root/ternavo/file_version.cpp" "$root/ternavo/long_path.cpp" "$root/ternavo/run_state.cpp" \
      "$root/ternavo/rules/icq7search.cpp" "$root/common/files.cpp" "$root/common/winutil.cpp" \
      -lshell32 -lole32 -luuid -lversion -ladvapi32 -luser32 || exit 0
    dir="$WINEPREFIX/drive_c/bench-ternavo"
    mkdir -p "$dir"
    cp "$ternavo" "$dir/Ternavo.exe"
    wine "$WINE_RUN_WORK/benchternavo.exe" measure 'C:\bench-ternavo\Ternavo.exe' "$runs"
  )
}

# ---------------------------------------------------------------------------------
# (next benchmark here)
# ---------------------------------------------------------------------------------

BENCHMARKS=(bench_size bench_launch bench_ternavo)

echo "Benchmarks, $(date '+%Y-%m-%d %H:%M')"
for bench in "${BENCHMARKS[@]}"; do
  "$bench"
done
