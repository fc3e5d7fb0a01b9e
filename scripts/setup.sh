#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need.
# Idempotent and quiet; fails loudly when a package cannot be installed.
set -euo pipefail
packages=(make cmake g++ clang libclang-rt-14-dev googletest python3
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-x86-64
          wine wine64 xvfb x11-utils imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/tmp/ternavo-setup.log 2>&1; then
  echo "setup: apt-get install failed; see /tmp/ternavo-setup.log" >&2
  tail -n 20 /tmp/ternavo-setup.log >&2
  exit 1
fi
for p in "${missing[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || { echo "setup: package $p is still missing" >&2; exit 1; }
done
