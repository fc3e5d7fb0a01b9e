#!/usr/bin/env bash
# Makes the download for Windows users: dist/release/ with one zip, Ternavo-<version>.zip
# (README.txt, LICENSE.txt, SHA256SUMS, x64/Ternavo.exe, x86/Ternavo.exe), and SHA256SUMS
# for the zip. Each SHA256SUMS checks what lies beside it (`sha256sum -c SHA256SUMS`): the
# outer one the zip, the inner one the other files of the zip; README.txt also names the
# programs' sums, for Get-FileHash on Windows. The same commit gives the same zip, byte for
# byte, in any folder.
#
#   scripts/release.sh              environment: SIGN_PFX, SIGN_PASS_FILE, SIGN_TIMESTAMP_URL, JOBS
#   scripts/release.sh --sign PFX PASS_FILE TIMESTAMP_URL|- FILE
#                                   signs FILE in place (run by the release build after each link)
#
# With SIGN_PFX (a PKCS#12 file) and SIGN_PASS_FILE (a file holding its password) every
# program is signed right after it is linked, SHA-256, with an RFC 3161 time stamp when
# SIGN_TIMESTAMP_URL is given: Kestrun before Ternavo embeds it, then Ternavo. The password
# never appears on a command line; osslsigncode reads it from the file.
#
# The release builds in its own trees (build/release-x64, build/release-x86), so it leaves
# what `make build` made as it was.
set -euo pipefail

if [ "${1:-}" = "--sign" ]; then
  [ $# -eq 5 ] || { echo "usage: $0 --sign PFX PASS_FILE TIMESTAMP_URL|- FILE" >&2; exit 2; }
  pfx=$2 pass_file=$3 timestamp_url=$4 file=$5
  stamp=()
  [ "$timestamp_url" != "-" ] && stamp=(-ts "$timestamp_url")
  rm -f "$file.signed"
  osslsigncode sign -pkcs12 "$pfx" -readpass "$pass_file" -h sha256 \
    -n "$(basename "$file" .exe)" "${stamp[@]}" -in "$file" -out "$file.signed" >/dev/null
  mv -f "$file.signed" "$file"
  tree=$(basename "$(dirname "$(dirname "$file")")")
  echo "release: signed ${tree#release-}/$(basename "$file")"
  exit 0
fi
[ $# -eq 0 ] || { echo "usage: $0 (see the comment at its top)" >&2; exit 2; }

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-2}

# The zip is named after Ternavo's version, written once in cmake/version.cmake.
version=$(sed -n 's/^set(TERNAVO_VERSION \([0-9.]*\))$/\1/p' cmake/version.cmake)
[ -n "$version" ] || { echo "release: no TERNAVO_VERSION in cmake/version.cmake" >&2; exit 1; }

sign_command=""
if [ -n "${SIGN_PFX:-}" ]; then
  [ -n "${SIGN_PASS_FILE:-}" ] || { echo "release: SIGN_PFX needs SIGN_PASS_FILE (a file holding the password)" >&2; exit 1; }
  [ -r "$SIGN_PFX" ] || { echo "release: cannot read SIGN_PFX $SIGN_PFX" >&2; exit 1; }
  [ -r "$SIGN_PASS_FILE" ] || { echo "release: cannot read SIGN_PASS_FILE $SIGN_PASS_FILE" >&2; exit 1; }
  # The sign command reaches CMake as a list: a ";" in a path would split it.
  case "$root$SIGN_PFX$SIGN_PASS_FILE${SIGN_TIMESTAMP_URL:-}" in
    *\;*) echo "release: a path or address holds \";\"; move it" >&2; exit 1 ;;
  esac
  command -v osslsigncode >/dev/null || { echo "release: osslsigncode is missing (make setup)" >&2; exit 1; }
  sign_command="$root/scripts/release.sh;--sign;$(realpath "$SIGN_PFX");$(realpath "$SIGN_PASS_FILE");${SIGN_TIMESTAMP_URL:--}"
fi

for arch in x64 x86; do
  toolchain=cmake/toolchain-x86_64-win32.cmake
  [ $arch = x86 ] && toolchain=cmake/toolchain-i686-win32.cmake
  tree=build/release-$arch
  configure=(-DCMAKE_BUILD_TYPE=MinSizeRel)
  [ -f "$tree/CMakeCache.txt" ] || configure+=(-DCMAKE_TOOLCHAIN_FILE=$toolchain)
  cmake -S . -B "$tree" "${configure[@]}" "-DSIGN_COMMAND=$sign_command" >/dev/null
  # Linked afresh every time, so that a program is signed exactly when this run asks for it.
  rm -f "$tree/bin/Kestrun.exe" "$tree/bin/Ternavo.exe"
  if ! cmake --build "$tree" --target Kestrun Ternavo -j "$jobs" >"$tree/release.log" 2>&1; then
    cat "$tree/release.log" >&2
    echo "release: the $arch build failed" >&2
    exit 1
  fi
  grep '^release: signed' "$tree/release.log" || true
  python3 scripts/peres.py --report "$tree/bin/Ternavo.exe" >/dev/null || {
    python3 scripts/peres.py --report "$tree/bin/Ternavo.exe"; echo "release: $arch/Ternavo.exe fails its checks" >&2; exit 1; }
done

out=dist/release
rm -rf "$out"
mkdir -p "$out"
zip_name=Ternavo-$version.zip
# Fixed order, entry times, attributes and compression; no extra fields, no comment.
python3 - "$out/$zip_name" "$version" <<'EOF'
import hashlib, sys, zipfile
path, version = sys.argv[1], sys.argv[2]
programs = {}
for arch in ("x64", "x86"):
    with open("build/release-%s/bin/Ternavo.exe" % arch, "rb") as f:
        programs["%s/Ternavo.exe" % arch] = f.read()
sums = {name: hashlib.sha256(data).hexdigest() for name, data in programs.items()}


def for_windows(name):
    # Windows line ends, and a byte-order mark so that every Notepad reads the umlauts as UTF-8.
    with open(name, encoding="utf-8") as f:
        text = f.read()
    for key, value in (("@VERSION@", version), ("@SHA256_X64@", sums["x64/Ternavo.exe"]),
                       ("@SHA256_X86@", sums["x86/Ternavo.exe"])):
        text = text.replace(key, value)
    return ("\ufeff" + text.replace("\r\n", "\n").replace("\n", "\r\n")).encode("utf-8")


entries = [("README.txt", for_windows("docs/release-readme.txt")), ("LICENSE.txt", for_windows("LICENSE"))]
entries += sorted(programs.items())
# The zip's own SHA256SUMS, as `sha256sum -c` reads it after unpacking.
check = "".join("%s  %s\n" % (hashlib.sha256(data).hexdigest(), name) for name, data in entries)
entries.insert(2, ("SHA256SUMS", check.encode("ascii")))
with zipfile.ZipFile(path, "w") as z:
    for name, data in entries:
        info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
        info.create_system = 0          # MS-DOS attributes
        info.external_attr = 0x20       # "archive", as Windows writes a file
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, data, compresslevel=9)
EOF

(cd "$out" && sha256sum "$zip_name" >SHA256SUMS)
if [ -z "$sign_command" ]; then
  echo "release: UNSIGNED (give SIGN_PFX and SIGN_PASS_FILE to sign)"
fi
echo "release: $out/$zip_name"
cat "$out/SHA256SUMS"
