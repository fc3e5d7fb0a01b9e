#!/usr/bin/env bash
# Installs the Debian (12) packages that building, testing, the demo and the release need.
# Idempotent and quiet. A required package that cannot be installed stops it, named.
# 32-bit Wine (wine32 from the i386 architecture) is installed where it can be: where the
# kernel cannot run 32-bit programs, or the mirror cannot give it today, setup says so in
# one line and goes on; the x86 build is still built and its Windows tests report
# "skipped" with the reason. Wine's own fonts (fonts-wine) are copied into every prefix;
# German runs need the de_DE.UTF-8 locale; openssl and osslsigncode sign a release.
set -euo pipefail
required=(make cmake g++ clang libclang-rt-14-dev googletest python3
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-x86-64
          wine wine64 fonts-wine locales xvfb x11-utils imagemagick
          openssl osslsigncode)
wine32=wine32:i386
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp "${TMPDIR:-/tmp}/ternavo-setup.XXXXXX")
trap 'rm -f "$log"' EXIT

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# Why this machine cannot run 32-bit programs, or nothing when it can: a 96-byte i386
# program that only exits with 42 (a kernel without 32-bit emulation cannot start it).
no32() {
  local probe rc=0
  probe=$(mktemp "${TMPDIR:-/tmp}/ternavo-i386.XXXXXX")
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" -eq 42 ] || echo "this kernel cannot run 32-bit programs (32-bit emulation is off)"
}

# apt-get update, once more after a short pause if it fails; a failure is a warning that
# names the indexes that failed (a mirror in mid-sync), and setup goes on with what it has.
update() {
  local try
  for try in 1 2; do
    if $sudo apt-get update -qq >"$log" 2>&1; then return 0; fi
    [ "$try" -eq 1 ] && sleep 5
  done
  echo "setup: warning: apt-get update failed; going on with the package lists there are:" >&2
  grep -E '^(E|W|Err):' "$log" | grep -v 'Some index files failed' | sed 's/^/setup:   /' >&2 || true
}

missing=()
for p in "${required[@]}"; do installed "$p" || missing+=("$p"); done
why32=$(no32)
# A mirror that could not give wine32 today is not asked again today (each make target
# runs this script); the reason is kept beside the user's other caches.
memo=${XDG_CACHE_HOME:-$HOME/.cache}/ternavo-setup-no-wine32
if [ -z "$why32" ] && ! installed "$wine32" && [ "$(head -n1 "$memo" 2>/dev/null)" = "$(date +%F)" ]; then
  why32=$(sed -n 2p "$memo")
fi
want32=""
if [ -z "$why32" ] && ! installed "$wine32"; then want32=yes; fi

if [ ${#missing[@]} -gt 0 ] || [ -n "$want32" ]; then
  echo "setup: installing ${missing[*]} ${want32:+$wine32}"
  if [ -n "$want32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  update
  if [ ${#missing[@]} -gt 0 ]; then
    if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
      # Name the packages that cannot be installed, each tried alone.
      bad=()
      for p in "${missing[@]}"; do
        $sudo apt-get install -s -y -qq --no-install-recommends "$p" >/dev/null 2>&1 || bad+=("$p")
      done
      echo "setup: cannot install the required package(s) ${bad[*]:-${missing[*]}}:" >&2
      tail -n 20 "$log" >&2
      exit 1
    fi
    for p in "${missing[@]}"; do
      installed "$p" || { echo "setup: the required package $p is still missing" >&2; exit 1; }
    done
  fi
  if [ -n "$want32" ]; then
    if ! $sudo apt-get install -y -qq --no-install-recommends "$wine32" >"$log" 2>&1; then
      why32="the package $wine32 cannot be installed from the mirror today ($(grep -m1 -E '^E:' "$log" | cut -c4- | tr -s ' '))"
      mkdir -p "$(dirname "$memo")" && printf '%s\n%s\n' "$(date +%F)" "$why32" >"$memo" || true
    fi
  fi
fi
if [ -z "$why32" ] && ! installed "$wine32"; then why32="the package $wine32 is not installed"; fi
if [ -n "$why32" ]; then
  echo "setup: 32-bit Wine is not available here: $why32; the 32-bit Windows tests will be skipped"
fi

# German runs set LC_ALL=de_DE.UTF-8: generate that locale once.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "setup: generating the locale de_DE.UTF-8"
  $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
