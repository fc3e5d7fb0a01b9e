#!/usr/bin/env bash
# Benchmarks of what we ship (`make bench`, after `make build`). They print figures
# for people to read; nothing here passes or fails on a number. The correctness
# checks of the same files run in CTest (executables_carry).
#
# Each benchmark is one function bench_<name> in its own section below, listed in
# BENCHMARKS at the end. To add one: write a section, append its function there.
# BENCH_DIST=DIR reads DIR/x64 and DIR/x86 instead of dist/. Benchmark names as
# arguments (scripts/bench.sh launch) run only those.
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
    x64/Kestrun) echo 180 ;;
    x64/Ternavo) echo 450 ;;
    # The 32-bit build: no larger than before it left winpthreads out.
    x86/Kestrun) echo 236 ;;
    x86/Ternavo) echo 589 ;;
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
# Shared by the timing benchmarks: the programs they run beside the products, and
# how a series of runs is summed up.
# ---------------------------------------------------------------------------------
# Builds the reference programs and the drivers (scripts/CMakeLists.txt) and the
# stand-in ICQ 7 in the x64 build folder; false when that is not possible.
bench_programs() {
  local build=$1
  if [ ! -f "$build/Makefile" ]; then echo "  no build folder $build (run 'make build')"; return 1; fi
  local log
  log=$(mktemp)
  if ! cmake --build "$build" --target fixtures bench_programs >"$log" 2>&1; then
    echo "  could not build the benchmark programs in $build:"
    grep -E -m 5 'error|Error' "$log" | sed 's/^/    /'
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

# Median and interquartile range of the numbers on standard input (one per line):
# "median (first quartile-third quartile)", quartiles interpolated between runs.
summary() {
  sort -g | awk -v unit="${1:-}" -v digits="${2:-0}" '
    { v[++n] = $1 }
    function q(p,   h, i) { h = 1 + (n - 1) * p; i = int(h); return v[i] + (h - i) * (v[i + 1] - v[i]) }
    END {
      if (n == 0) { print "no runs"; exit }
      v[n + 1] = v[n]
      f = "%." digits "f"
      printf f "%s (" f "-" f ")\n", q(0.5), unit, q(0.25), q(0.75)
    }'
}

# ---------------------------------------------------------------------------------
# Benchmark: Kestrun's launch of one more ICQ 7
# Under Wine, in "C:\Program Files\ICQ7" with a stand-in ICQ.exe padded to 24 MiB
# so that copying it counts. Kestrun's silent launch next to a reference program
# that does the same work and no more (copy where needed, start, find the window,
# scripts/baseline_launch.cpp), taking turns run by run: once with a stale
# numbered copy (its time changed, so both copy it again), once with a current
# one, where the reference program also runs as it would if it copied every time.
# Each run gives the time from its start to the stand-in's start (the stand-in's
# log line, by the log file's time) and its CPU time from the kernel's accounting
# of the process that Wine's loader becomes, the loader's own work included.
# The reference that copies every time has numbers of its own: a number whose
# instance still runs cannot be copied over, and it would start that file as it is.
# With a stale copy a second reference also flushes the copy it made to the disk,
# as Kestrun does before it starts a copy: what the flush costs, and Kestrun next
# to a reference that does exactly its work. A last reference run also makes the
# hidden window that Kestrun keeps while it waits, to show that window's share of
# Kestrun's CPU time.
# BENCH_ARCH=x86 times the x86 build (32-bit programs in the 64-bit prefix);
# BENCH_BUILD=DIR names the build folder of that architecture (default
# build/x64 or build/x86); BENCH_LAUNCH_RUNS the runs of each kind (default 20).
# ---------------------------------------------------------------------------------
bench_launch() {
  local arch=${BENCH_ARCH:-x64}
  section "Kestrun launch ($arch): time to ICQ 7's start and CPU time, next to a reference program"
  local build=${BENCH_BUILD:-build/$arch} runs=${BENCH_LAUNCH_RUNS:-20}
  local kestrun="$dist/$arch/Kestrun.exe"
  if [ ! -f "$kestrun" ]; then echo "  $kestrun missing (run 'make build')"; return 0; fi
  bench_programs "$build" || return 0
  (
    set +e
    kestrun=$(realpath "$kestrun") build=$(realpath "$build")
    . cmake/wine-run.sh
    wine_run_prepare
    trap wine_run_cleanup EXIT
    dir="$WINEPREFIX/drive_c/Program Files/ICQ7" win='C:\Program Files\ICQ7'
    mkdir -p "$dir"
    cp "$kestrun" "$dir/Kestrun.exe"
    cp "$build/fixtures/icq7/ICQ.exe" "$build/fixtures/icq7/MCore.dll" "$build/bench/baseline_launch.exe" "$dir/"
    # Padding after the image: the program still runs, and the copy has weight.
    head -c $((24 * 1024 * 1024)) /dev/zero >> "$dir/ICQ.exe"
    # The stand-in leaves its marker at once (so Kestrun's follow-up ends at once)
    # and ends by itself before its number comes round again.
    printf '[Stub]\r\nMarkerDelayMs=0\r\nExitAfterMs=1000\r\n' > "$dir/icqstub.ini"
    # Silent, not the first launch ever, five numbers in turn.
    printf '[Kestrun]\r\nShowMe=0\r\nMaxNr=5\r\nStarts=5\r\n' > "$dir/kestrun.ini"
    log="$dir/icqstub.log" results="$WINE_RUN_WORK/launch"
    : > "$log"
    : > "$results"
    wineserver -p  # one server for all runs, so that no run pays for starting it
    local loader=$WINE_LOADER64
    if [ "$arch" = x86 ]; then loader=$WINE_LOADER32; fi

    # run ROUND KIND PROGRAM ARGS...: one timed run, appended to $results.
    run() {
      local round=$1 kind=$2 before t0 start cpu
      shift 2
      before=$(stat -c %s "$log")
      t0=$(date +%s.%N)
      /usr/bin/time -f '%U %S' -o "$WINE_RUN_WORK/cpu" "$loader" "$@"
      start=$(stat -c %.9Y "$log")
      cpu=$(awk '{ printf "%.0f", ($1 + $2) * 1000 }' "$WINE_RUN_WORK/cpu")
      if [ "$(stat -c %s "$log")" -gt "$before" ]; then
        echo "$round $kind $(awk -v a="$t0" -v b="$start" 'BEGIN { printf "%.1f", (b - a) * 1000 }') $cpu" >> "$results"
      else
        echo "  round $round, $kind: ICQ 7 was not started"
      fi
    }
    next_kestrun() { echo $(( $(sed -n 's/^LastNr=\([0-9]*\).*/\1/p' "$dir/kestrun.ini" | tr -d '\r' | head -n1) % 5 + 1 )); }
    stale() { touch -d '2001-01-01' "$dir/ICQ.exe$1"; }  # only its time: a copy of a former ICQ.exe

    # Every number used once before counting, so that each copy exists.
    local i b
    for i in 1 2 3 4 5; do
      run 0 warm "$win\\Kestrun.exe"
      run 0 warm "$win\\baseline_launch.exe" needed $((20 + i))
      run 0 warm "$win\\baseline_launch.exe" always $((30 + i))
      run 0 warm "$win\\baseline_launch.exe" needed $((40 + i)) window
      run 0 warm "$win\\baseline_launch.exe" needed $((50 + i)) flush
    done
    for ((i = 1; i <= runs; i++)); do
      b=$((20 + (2 * i) % 5 + 1))
      stale "$(next_kestrun)"
      run "$i" kestrun-stale "$win\\Kestrun.exe"
      stale "$b"
      run "$i" baseline-stale "$win\\baseline_launch.exe" needed "$b"
      stale $((b + 30))
      run "$i" baseline-flush "$win\\baseline_launch.exe" needed $((b + 30)) flush
      run "$i" kestrun-current "$win\\Kestrun.exe"
      b=$((20 + (2 * i + 1) % 5 + 1))
      run "$i" baseline-current "$win\\baseline_launch.exe" needed "$b"
      run "$i" baseline-always "$win\\baseline_launch.exe" always $((30 + i % 5 + 1))
      run "$i" baseline-window "$win\\baseline_launch.exe" needed $((40 + i % 5 + 1)) window
    done
    wineserver -k

    # column KIND FIELD: the figures of one kind of run (3 = time to start, 4 = CPU).
    column() { awk -v k="$1" -v f="$2" '$2 == k { print $f }' "$results"; }
    # ratio A B [FIELD]: A over B, round by round (field 3 = time to start, 4 = CPU).
    ratio() {
      awk -v a="$1" -v b="$2" -v f="${3:-3}" '$2 == a { x[$1] = $f } $2 == b { y[$1] = $f }
        END { for (r in x) if (r in y && y[r] > 0) print x[r] / y[r] }' "$results"
    }
    row() { printf "  %-40s %-22s %s\n" "$1" "$2" "${3:-}"; }
    printf '  ICQ.exe %s MiB; %d runs of each kind, taking turns; median (interquartile range)\n' \
      "$(awk -v b="$(stat -c %s "$dir/ICQ.exe")" 'BEGIN { printf "%.1f", b / 1048576 }')" "$runs"
    row "" "to ICQ 7's start" "CPU time"
    echo "  with a stale copy"
    row "  Kestrun" "$(column kestrun-stale 3 | summary ' ms')" "$(column kestrun-stale 4 | summary ' ms')"
    row "  reference, copies" "$(column baseline-stale 3 | summary ' ms')" "$(column baseline-stale 4 | summary ' ms')"
    row "  Kestrun / reference (goal <= 1.1)" "$(ratio kestrun-stale baseline-stale | summary x 2)" \
      "$(ratio kestrun-stale baseline-stale 4 | summary x 2)"
    row "  reference, copies and flushes (as Kestrun)" "$(column baseline-flush 3 | summary ' ms')" \
      "$(column baseline-flush 4 | summary ' ms')"
    row "  what the flush costs (that / reference)" "$(ratio baseline-flush baseline-stale | summary x 2)" \
      "$(ratio baseline-flush baseline-stale 4 | summary x 2)"
    row "  Kestrun / reference that flushes" "$(ratio kestrun-stale baseline-flush | summary x 2)" \
      "$(ratio kestrun-stale baseline-flush 4 | summary x 2)"
    echo "  with a current copy"
    row "  Kestrun" "$(column kestrun-current 3 | summary ' ms')" "$(column kestrun-current 4 | summary ' ms')"
    row "  reference, leaves it" "$(column baseline-current 3 | summary ' ms')" \
      "$(column baseline-current 4 | summary ' ms')"
    row "  reference, copies every time" "$(column baseline-always 3 | summary ' ms')" \
      "$(column baseline-always 4 | summary ' ms')"
    row "  Kestrun / reference leaving it (goal <= 1.05)" "$(ratio kestrun-current baseline-current | summary x 2)" \
      "$(ratio kestrun-current baseline-current 4 | summary x 2)"
    row "  Kestrun / copying every time (goal < 1)" "$(ratio kestrun-current baseline-always | summary x 2)"
    echo "  CPU goal: Kestrun / reference doing the same work <= 1.1 (the ratios in the CPU column)"
    echo "  the share of Kestrun's hidden window (under Wine its first window sets up X for the thread)"
    row "  reference leaving it, with a hidden window" "$(column baseline-window 3 | summary ' ms')" \
      "$(column baseline-window 4 | summary ' ms')"
    row "  Kestrun / that reference" "$(ratio kestrun-current baseline-window | summary x 2)" \
      "$(ratio kestrun-current baseline-window 4 | summary x 2)"
  )
}

# ---------------------------------------------------------------------------------
# Benchmark: Ternavo's start and its ICQ 7 search
# Under Wine: Ternavo's time from its start to its main window shown, taking
# turns with a reference program that shows one window with the same controls
# and does nothing else (scripts/baseline_window.cpp); and the time of Ternavo's
# ICQ 7 search when no candidate holds ICQ (all 24 are tried), which Ternavo
# runs once its window is shown.
# BENCH_TERNAVO_RUNS program starts of each (default 20); the search runs five
# times as often.
# ---------------------------------------------------------------------------------
bench_ternavo() {
  section "Ternavo: start to window shown, next to a reference program; ICQ 7 search"
  local build=${BENCH_BUILD:-build/x64} runs=${BENCH_TERNAVO_RUNS:-20}
  local ternavo="$dist/x64/Ternavo.exe"
  if [ ! -f "$ternavo" ]; then echo "  $ternavo missing (run 'make build')"; return 0; fi
  bench_programs "$build" || return 0
  (
    set +e
    ternavo=$(realpath "$ternavo") build=$(realpath "$build")
    . cmake/wine-run.sh
    wine_run_prepare
    trap wine_run_cleanup EXIT
    dir="$WINEPREFIX/drive_c/bench-ternavo"
    mkdir -p "$dir"
    cp "$ternavo" "$dir/Ternavo.exe"
    cp "$build/bench/baseline_window.exe" "$build/bench/benchternavo.exe" "$dir/"
    results="$WINE_RUN_WORK/ternavo"
    wineserver -p
    wine 'C:\bench-ternavo\benchternavo.exe' start 'C:\bench-ternavo\Ternavo.exe' \
      'C:\bench-ternavo\baseline_window.exe' "$runs" > "$results"
    wine 'C:\bench-ternavo\benchternavo.exe' search $((runs * 5)) >> "$results"
    wineserver -k
    grep unexpected "$results"
    column() { awk -v k="$1" '$1 == k && $2 >= 0 { print $2 }' "$results"; }
    printf '  %d starts of each, taking turns; median (interquartile range)\n' "$runs"
    printf '  %-44s %s\n' "Ternavo, start to main window shown" "$(column ternavo | summary ' ms')"
    printf '  %-44s %s\n' "reference window, start to shown" "$(column baseline | summary ' ms')"
    printf '  %-44s %s\n' "Ternavo / reference (goal <= 1.15)" "$(awk '$1 == "ternavo" { t[++i] = $2 }
      $1 == "baseline" { b[++j] = $2 } END { for (k = 1; k <= i && k <= j; k++) if (t[k] > 0 && b[k] > 0)
      print t[k] / b[k] }' "$results" | summary x 2)"
    printf '  %-44s %s\n' "ICQ 7 search, 24 candidates, none found" "$(column search | summary ' ms' 2)"
  )
}

# ---------------------------------------------------------------------------------
# (next benchmark here)
# ---------------------------------------------------------------------------------

BENCHMARKS=(bench_size bench_launch bench_ternavo)

echo "Benchmarks, $(date '+%Y-%m-%d %H:%M')"
# Names on the command line (size, launch, ternavo) run only those benchmarks.
if [ $# -gt 0 ]; then BENCHMARKS=("${@/#/bench_}"); fi
for bench in "${BENCHMARKS[@]}"; do
  "$bench"
done
