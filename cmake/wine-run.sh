#!/usr/bin/env bash
# Runs one Windows program under Wine 64-bit in a private, throwaway prefix with its own
# X display. CTest uses it as the cross-compiling emulator; scripts use it too.
#   TEST_LOCALE=de     German system locale (a separate base prefix)
#   TEST_WINE_CACHE    where the ready base prefixes are kept (default: a folder in /tmp)
#   TEST_KEEP_PREFIX   leave the prefix behind and print its path (for debugging)
#   TEST_USE_DISPLAY   use $DISPLAY instead of starting a private Xvfb
# Sourced (`. cmake/wine-run.sh`), it only defines wine_run_prepare and wine_run_cleanup,
# so that a script can set up such a prefix, put files into it and run several programs.

# Makes a fresh prefix from the cached base one and a display. Afterwards WINEPREFIX,
# DISPLAY and the Wine environment are exported; WINE_RUN_WORK is the throwaway folder.
wine_run_prepare() {
  local cache=${TEST_WINE_CACHE:-/tmp/wine-bench-$(id -u)}
  local locale=${TEST_LOCALE:-en}
  local base="$cache/base-$locale"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  unset WINESERVER
  if [ "$locale" = de ]; then export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8; else export LC_ALL=C.UTF-8 LANG=C.UTF-8; fi

  mkdir -p "$cache"
  # Make the base prefix once; parallel runs wait for the first one.
  (
    flock 9
    if [ ! -f "$base/.ready" ]; then
      rm -rf "$base"
      WINEPREFIX="$base" wineboot -i >/dev/null 2>&1
      WINEPREFIX="$base" wineserver -w
      touch "$base/.ready"
    fi
  ) 9>"$cache/.lock-$locale"

  WINE_RUN_WORK=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")
  cp -a "$base" "$WINE_RUN_WORK/prefix"
  export WINEPREFIX="$WINE_RUN_WORK/prefix"

  WINE_RUN_XPID=""
  if [ -z "${TEST_USE_DISPLAY:-}" ]; then
    # Xvfb picks a free display number itself and writes it to fd 3.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WINE_RUN_WORK/display" >/dev/null 2>&1 &
    WINE_RUN_XPID=$!
    for _ in $(seq 100); do
      if [ -s "$WINE_RUN_WORK/display" ]; then break; fi
      sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$WINE_RUN_WORK/display")"
  fi
}

# Ends this prefix's wineserver and display and removes the throwaway folder.
wine_run_cleanup() {
  if [ -z "${WINE_RUN_WORK:-}" ]; then return 0; fi
  # (never fails, so that it also runs to the end under `set -e`)
  WINEPREFIX="$WINE_RUN_WORK/prefix" wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINE_RUN_XPID:-}" ]; then kill "$WINE_RUN_XPID" 2>/dev/null || true; fi
  if [ -n "${TEST_KEEP_PREFIX:-}" ]; then echo "prefix kept: $WINE_RUN_WORK/prefix" >&2; else rm -rf "$WINE_RUN_WORK"; fi
  WINE_RUN_WORK=""
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -u
  wine_run_prepare
  trap wine_run_cleanup EXIT
  wine "$@" </dev/null
  rc=$?
  exit $rc
fi
