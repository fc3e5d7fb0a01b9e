#!/usr/bin/env bash
# Runs one Windows program under Wine 64-bit in a private, throwaway prefix with its own
# X display. CTest uses it as the cross-compiling emulator; scripts use it too.
#   TEST_LOCALE=de     German system locale (a separate base prefix)
#   TEST_WINE_CACHE    where the ready base prefixes are kept (default: a folder in /tmp)
#   TEST_KEEP_PREFIX   leave the prefix behind and print its path (for debugging)
set -u
here=$(cd "$(dirname "$0")" && pwd)
cache=${TEST_WINE_CACHE:-/tmp/wine-bench-$(id -u)}
locale=${TEST_LOCALE:-en}
base="$cache/base-$locale"
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

work=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")
cp -a "$base" "$work/prefix"
export WINEPREFIX="$work/prefix"

xpid=""
if [ -z "${TEST_USE_DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and writes it to fd 3.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xpid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$work/display")"
fi

cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  if [ -n "${TEST_KEEP_PREFIX:-}" ]; then echo "prefix kept: $work/prefix" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT

wine "$@" </dev/null
rc=$?
exit $rc
