#!/usr/bin/env bash
# Runs one Windows program under Wine in a private, throwaway 64-bit prefix with its own
# X display: a 64-bit program under the 64-bit loader, a 32-bit one under the 32-bit loader
# (a 32-bit program on 64-bit Windows). CTest uses it as the cross-compiling emulator for
# both builds; scripts use it too. A 32-bit program on a kernel that cannot run 32-bit code
# exits 77 with the reason (CTest reports the test as skipped).
#   TEST_LOCALE=de     German system locale (a separate base prefix)
#   TEST_WINE_CACHE    where the ready base prefixes are kept (default: a folder in /tmp)
#   TEST_KEEP_PREFIX   leave the prefix behind and print its path (for debugging)
#   TEST_USE_DISPLAY   use $DISPLAY instead of starting a private Xvfb
#   TEST_OPEN_DISPLAY  let every local user draw on the private Xvfb (a test that runs
#                      Wine as another Unix user, to see what a standard user sees)
#   TEST_STDERR_FILE   write the standard error of Wine (and of the programs it starts) there
#   TEST_BEFORE_WINE   a script run in the new prefix before Wine starts there (WINEPREFIX set)
# Sourced (`. cmake/wine-run.sh`), it only defines wine_run_prepare and wine_run_cleanup,
# so that a script can set up such a prefix, put files into it and run several programs.

WINE_RUN_SELF=$(readlink -f "${BASH_SOURCE[0]}")
WINE_LOADER64=/usr/lib/wine/wine64
WINE_LOADER32=/usr/lib/wine/wine

# The machine type of a PE file: "x86", "x64" or "" (not a readable PE file).
wine_run_machine() {
  local lfanew machine
  lfanew=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$lfanew" ] || return 0
  machine=$(od -An -tx2 -j$((lfanew + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in 014c) echo x86 ;; 8664) echo x64 ;; esac
}

# The Wine loader for a program given as a Linux path or as a path on a Wine drive:
# the 32-bit one for a 32-bit program, else (reg, explorer, cmd, 64-bit programs) 64-bit.
wine_run_loader() {
  local file=$1
  case "$file" in
    [A-Za-z]:\\*)
      local rest=${file:3}
      file="$WINEPREFIX/dosdevices/$(echo "${file:0:1}" | tr 'A-Z' 'a-z'):/${rest//\\//}" ;;
  esac
  if [ "$(wine_run_machine "$file")" = x86 ]; then echo "$WINE_LOADER32"; else echo "$WINE_LOADER64"; fi
}

# Why this machine cannot run 32-bit Windows programs, or nothing when it can.
wine_run_no32() {
  if [ ! -x "$WINE_LOADER32" ]; then echo "32-bit Wine (wine32:i386) is not installed; scripts/setup.sh says why"; return; fi
  if ! "$WINE_LOADER32" --version >/dev/null 2>&1; then
    echo "this kernel cannot run 32-bit programs (32-bit emulation is off)"
  fi
}

# The ready base prefix of a locale ("en" or "de"), made once and kept in the cache.
# Exports the Wine environment of that locale; sets WINE_RUN_BASE to the base prefix.
wine_run_base() {
  local cache=${TEST_WINE_CACHE:-/tmp/wine-bench-$(id -u)}
  local locale=$1
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  unset WINESERVER
  if [ "$locale" = de ]; then export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8; else export LC_ALL=C.UTF-8 LANG=C.UTF-8; fi

  mkdir -p "$cache"
  # Made once; parallel runs wait for the first one. A new one is made when Wine, its
  # 32-bit half or its fonts changed (a prefix made without wine32 lacks its 32-bit
  # system files for good).
  local stamp
  stamp="$("$WINE_LOADER64" --version 2>/dev/null) wine32:$([ -z "$(wine_run_no32)" ] && echo yes || echo no)"
  stamp="$stamp fonts:$(ls /usr/share/wine/fonts 2>/dev/null | md5sum | cut -c1-8)+ms-sans-twin+own-desktop"
  # Each kind of base prefix has a folder of its own, so that a run of another kind never
  # removes one that others are copying.
  local base
  base="$cache/base-$locale-$(echo "$stamp" | md5sum | cut -c1-8)"
  (
    flock 9
    if [ "$(cat "$base/.ready" 2>/dev/null)" != "$stamp" ]; then
      rm -rf "$base"
      WINEPREFIX="$base" "$WINE_LOADER64" wineboot -i >/dev/null 2>&1
      WINEPREFIX="$base" wineserver -w
      # Debian's Wine does not find its own fonts where it installs them; without them GDI
      # hands out the host's fonts for "MS Sans Serif", "Tahoma" and "Marlett", and windows
      # look different from machine to machine. In the prefix's Fonts folder it finds them.
      cp /usr/share/wine/fonts/* "$base/drive_c/windows/Fonts/" 2>/dev/null || true
      # Windows has "Microsoft Sans Serif", the TrueType twin of "MS Sans Serif" that windows
      # use away from 96 dpi; Wine has none, so it stands in with its own MS Sans Serif.
      WINEPREFIX="$base" "$WINE_LOADER64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'Microsoft Sans Serif' /d 'MS Sans Serif' /f >/dev/null 2>&1
      WINEPREFIX="$base" wineserver -w
      # The user's Desktop, Documents... are links to the Linux home folder: shortcuts made
      # on the desktop would land there, shared by every prefix. Each prefix gets its own.
      find "$base/drive_c/users" -mindepth 2 -maxdepth 2 -type l | while read -r link; do
        rm -f "$link" && mkdir -p "$link"
      done
      echo "$stamp" >"$base/.ready"
    fi
  ) 9>"$base.lock"
  WINE_RUN_BASE=$base
}

# Puts `wine` on the PATH as this script, which starts each program with the loader that
# fits it: Debian's own `wine` starts the 32-bit loader first whenever wine32 is installed,
# even for 64-bit programs.
wine_run_shim() {
  mkdir -p "$1"
  ln -sf "$WINE_RUN_SELF" "$1/wine"
  export PATH="$1:$PATH"
}

# Makes a fresh prefix from the cached base one and a display. Afterwards WINEPREFIX,
# DISPLAY and the Wine environment are exported, and `wine` on the PATH picks the loader
# that fits the program it starts; WINE_RUN_WORK is the throwaway folder.
wine_run_prepare() {
  wine_run_base "${TEST_LOCALE:-en}"
  WINE_RUN_WORK=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")
  cp -a "$WINE_RUN_BASE" "$WINE_RUN_WORK/prefix"
  export WINEPREFIX="$WINE_RUN_WORK/prefix"

  wine_run_shim "$WINE_RUN_WORK/bin"

  WINE_RUN_XPID=""
  if [ -z "${TEST_USE_DISPLAY:-}" ]; then
    # Xvfb picks a free display number itself and writes it to fd 3.
    local open=""
    if [ -n "${TEST_OPEN_DISPLAY:-}" ]; then open=-ac; fi
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp $open 3>"$WINE_RUN_WORK/display" >/dev/null 2>&1 &
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

if [ "${BASH_SOURCE[0]}" = "$0" ] && [ "$(basename "$0")" = wine ]; then
  # Called as `wine` inside a prepared prefix.
  exec "$(wine_run_loader "${1:-}")" "$@"
elif [ "${BASH_SOURCE[0]}" = "$0" ] && [ "${1:-}" = --x86-note ]; then
  # For `make test`: says before the x86 suite why its tests will be skipped, if they will.
  why=$(wine_run_no32)
  if [ -n "$why" ]; then echo "x86 tests: each is reported as skipped: $why"; fi
  exit 0
elif [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -u
  if [ "$(wine_run_machine "$1")" = x86 ]; then
    why=$(wine_run_no32)
    if [ -n "$why" ]; then
      echo "SKIPPED: $(basename "$1") is a 32-bit program and $why" >&2
      exit 77
    fi
  fi
  wine_run_prepare
  trap wine_run_cleanup EXIT
  if [ -n "${TEST_BEFORE_WINE:-}" ]; then "$TEST_BEFORE_WINE" || exit 1; fi
  if [ -n "${TEST_STDERR_FILE:-}" ]; then
    wine "$@" </dev/null 2>"$TEST_STDERR_FILE"
  else
    wine "$@" </dev/null
  fi
  rc=$?
  exit $rc
fi
