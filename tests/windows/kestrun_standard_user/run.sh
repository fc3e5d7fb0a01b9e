#!/usr/bin/env bash
# Kestrun as a standard user sees it: an administrator installed ICQ 7 and
# Kestrun below "Program Files", and an ordinary user, for whom that folder is
# read-only, starts Kestrun. Under Wine the administrator is root and the user
# is `nobody`: Wine then answers "access denied" as Windows does. The test
# program runs in phases, each under the user it stands for, in one prefix:
#   root     Administrator.*            ICQ 7 and Ternavo's installation
#   nobody   StandardUser.*             launches and the single-run check
#   root     (ICQ.exe updated: a new last-write time)
#   nobody   StandardUserAfterUpdate.*  the copies are stale now
#   root     AdministratorAfterwards.*  Kestrun where it may write, and the removal
set -u
program=$1
. "$(dirname "$(readlink -f "$0")")/../../../cmake/wine-run.sh"

if [ "$(id -u)" != 0 ] || ! command -v setpriv >/dev/null; then
  echo "SKIPPED: switching to the user nobody needs root and setpriv" >&2
  exit 77
fi
if [ "$(wine_run_machine "$program")" = x86 ]; then
  why=$(wine_run_no32)
  if [ -n "$why" ]; then echo "SKIPPED: $(basename "$program") is a 32-bit program and $why" >&2; exit 77; fi
fi

export TEST_OPEN_DISPLAY=1
wine_run_prepare
# A phase that fails as nobody leaves nobody's server and programs behind: they end first.
as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$WINE_RUN_WORK/home")
trap '"${as_nobody[@]}" wineserver -k >/dev/null 2>&1; wine_run_cleanup' EXIT
# The prefix must lie where nobody may go (mktemp made its folder root's alone).
chmod 755 "$WINE_RUN_WORK"
mkdir -p "$WINE_RUN_WORK/home"

# The build may lie where nobody may not go (a clone in root's home folder, mode
# 700): nobody then could not even start the test program. What nobody starts or
# reads comes to this run's own folder, which goes with it: the test program, the
# programs under test, the stand-in ICQ 7, and the `wine` that picks the loader.
if ! "${as_nobody[@]}" test -x "$WINE_RUN_WORK"; then
  echo "SKIPPED: the user nobody cannot enter $WINE_RUN_WORK (set TMPDIR to a folder others may enter)" >&2
  exit 77
fi
reach="$WINE_RUN_WORK/reach"
# The build hands over its folders as Wine paths on drive Z: (the Linux root).
to_linux() { local p=${1#[Zz]:}; echo "${p//\\//}"; }
to_wine() { echo "Z:${1//\//\\}"; }
bin_dir=$(to_linux "${TEST_BIN_DIR:-}")
fixture_dir=$(to_linux "${TEST_FIXTURE_DIR:-}")
if [ ! -d "$bin_dir" ] || [ ! -d "$fixture_dir" ]; then
  echo "SKIPPED: the programs (${TEST_BIN_DIR:-}) or the stand-in ICQ 7 (${TEST_FIXTURE_DIR:-}) are not at hand to copy" >&2
  exit 77
fi
mkdir -p "$reach/bin"
cp "$program" "$reach/"
cp "$bin_dir"/*.exe "$reach/bin/"
cp -r "$fixture_dir" "$reach/fixtures"
rm -f "$WINE_RUN_WORK/bin/wine"
cp "$WINE_RUN_SELF" "$WINE_RUN_WORK/bin/wine"
chmod -R a+rX "$reach" "$WINE_RUN_WORK/bin"
program="$reach/$(basename "$program")"
TEST_BIN_DIR=$(to_wine "$reach/bin")
TEST_FIXTURE_DIR=$(to_wine "$reach/fixtures")
export TEST_BIN_DIR TEST_FIXTURE_DIR
cd "$WINE_RUN_WORK"
icq="$WINEPREFIX/drive_c/Program Files/ICQ7"

# Wine keeps the server of a prefix per Unix user and notes it in the prefix's
# file "wineserver": the one user's server ends and the note goes before the
# other user starts there.
to_nobody() {
  wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
  rm -f "$WINEPREFIX/wineserver"
  chown -R nobody:nogroup "$WINEPREFIX" "$WINE_RUN_WORK/home"
  chown -R root:root "$icq"
  chmod -R go-w "$icq"
}
to_root() {
  "${as_nobody[@]}" wineserver -k 2>/dev/null; "${as_nobody[@]}" wineserver -w 2>/dev/null
  rm -f "$WINEPREFIX/wineserver"
  chown -R root:root "$WINEPREFIX"
}
phase() {
  echo "=== $2 as $1"
  if [ "$1" = root ]; then
    wine "$program" --gtest_filter="$2" </dev/null || exit 1
  else
    "${as_nobody[@]}" wine "$program" --gtest_filter="$2" </dev/null || exit 1
  fi
}

phase root 'Administrator.*'
to_nobody
phase nobody 'StandardUser.*'
# An update of ICQ 7, by the administrator: the copies are stale from now on.
touch "$icq/ICQ.exe"
phase nobody 'StandardUserAfterUpdate.*'
to_root
phase root 'AdministratorAfterwards.*'
exit 0
