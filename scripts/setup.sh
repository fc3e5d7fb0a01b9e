#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need.
# Idempotent and quiet; fails loudly when a package cannot be installed.
# The 32-bit build is tested under 32-bit Wine (wine32 from the i386 architecture) in a
# 64-bit prefix; Wine's own fonts (fonts-wine) are copied into every prefix; German runs
# need the de_DE.UTF-8 locale. openssl and osslsigncode sign a release and check it.
set -euo pipefail
packages=(make cmake g++ clang libclang-rt-14-dev googletest python3
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-x86-64
          wine wine64 wine32:i386 fonts-wine locales xvfb x11-utils imagemagick
          openssl osslsigncode)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/tmp/ternavo-setup.log 2>&1; then
    echo "setup: apt-get install failed; see /tmp/ternavo-setup.log" >&2
    tail -n 20 /tmp/ternavo-setup.log >&2
    exit 1
  fi
  for p in "${missing[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || { echo "setup: package $p is still missing" >&2; exit 1; }
  done
fi

# German runs set LC_ALL=de_DE.UTF-8: generate that locale once.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "setup: generating the locale de_DE.UTF-8"
  $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
