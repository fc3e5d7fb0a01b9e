#!/usr/bin/env bash
# The release end to end, in copies of this source tree in two folders of different names
# and depths:
# - the two zips are equal byte for byte, and a release made after a signed one in the
#   same folder is again that zip (nothing signed is left behind in its build trees);
# - the zip holds exactly the text for Windows users (CRLF) and the two Ternavo builds,
#   each built for its processor, and SHA256SUMS checks all of it with `sha256sum -c`;
# - signed with a throwaway certificate, both Ternavo builds and the Kestrun each carries
#   verify against that certificate's CA, while an unsigned Ternavo does not.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Run from `make test`, the outer make's job server is not ours to use.
unset MAKEFLAGS MFLAGS MAKELEVEL
jobs=${JOBS:-2}

fail() {
  echo "release test: FAIL: $*"
  exit 1
}

first=$work/first
second=$work/another/folder/for/the/second/build
for dir in "$first" "$second"; do
  mkdir -p "$dir"
  tar -C "$src" --exclude=./.git --exclude=./build --exclude=./dist --exclude=./shots -cf - . | tar -C "$dir" -xf -
done

release() {  # folder, log, make arguments...
  local dir=$1 log=$2
  shift 2
  make -C "$dir" --no-print-directory release JOBS="$jobs" "$@" >"$log" 2>&1 || { cat "$log"; fail "make release in $dir"; }
}
zip_of() { ls "$1"/Ternavo-*.zip; }

release "$first" "$work/first.log"
release "$second" "$work/second.log"
grep -q '^release: UNSIGNED' "$work/first.log" || fail "an unsigned release does not say so"
sha256sum "$(zip_of "$first/dist/release")" "$(zip_of "$second/dist/release")" | sed "s|$work/||"
cmp "$(zip_of "$first/dist/release")" "$(zip_of "$second/dist/release")" || fail "the zips of the two folders differ"
cmp "$first/dist/release/SHA256SUMS" "$second/dist/release/SHA256SUMS" || fail "the SHA256SUMS differ"

unpacked=$work/unpacked
mkdir "$unpacked"
cp "$second"/dist/release/* "$unpacked"/
python3 - "$(zip_of "$unpacked")" <<'EOF' || fail "the zip's content"
import struct, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = [i.filename for i in z.infolist()]
assert names == ["README.txt", "x64/Ternavo.exe", "x86/Ternavo.exe"], names
text = z.read("README.txt")
lines = text.split(b"\r\n")
assert len(lines) > 20 and all(b"\r" not in l and b"\n" not in l for l in lines), "not CRLF throughout"
for name, machine in (("x64/Ternavo.exe", 0x8664), ("x86/Ternavo.exe", 0x14C)):
    image = z.read(name)
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 4] == b"PE\0\0" and struct.unpack_from("<H", image, pe + 4)[0] == machine, name
z.extractall(sys.argv[1].rsplit("/", 1)[0])
EOF
(cd "$unpacked" && sha256sum -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS"

# A throwaway CA and code-signing certificate; the password only ever in a file.
cert=$work/cert
mkdir "$cert"
(
  cd "$cert"
  head -c 24 /dev/urandom | base64 | tr -d '\n' >password
  openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Release Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
  openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Release Test Publisher"
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
  openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile signer.ext -out signer.pem
  openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password -out signer.pfx
) >"$work/openssl.log" 2>&1 || { cat "$work/openssl.log"; fail "making the throwaway certificate"; }

release "$first" "$work/signed.log" SIGN_PFX="$cert/signer.pfx" SIGN_PASS_FILE="$cert/password"
grep '^release: signed' "$work/signed.log"
! grep -q UNSIGNED "$work/signed.log" || fail "a signed release calls itself unsigned"
signed=$work/signed
mkdir "$signed"
python3 -m zipfile -e "$(zip_of "$first/dist/release")" "$signed"
verify() {  # file, expected to verify (yes/no)
  local out
  if out=$(osslsigncode verify -CAfile "$cert/ca.pem" -in "$1" 2>&1); then
    [ "$2" = yes ] || fail "$1 verifies, but must not"
    echo "${1#"$work"/}: $(grep -E '^Signature verification' <<<"$out")"
  else
    [ "$2" = no ] || { echo "$out"; fail "$1 does not verify"; }
    echo "${1#"$work"/}: not signed, as expected"
  fi
}
for arch in x64 x86; do
  python3 "$src/scripts/peres.py" --extract "$signed/$arch/Ternavo.exe" CUSTOM 101 "$signed/$arch/Kestrun.exe" \
    || fail "$arch/Ternavo.exe carries no Kestrun"
  verify "$signed/$arch/Ternavo.exe" yes
  verify "$signed/$arch/Kestrun.exe" yes
done
verify "$unpacked/x64/Ternavo.exe" no

release "$first" "$work/again.log"
cmp "$(zip_of "$first/dist/release")" "$(zip_of "$second/dist/release")" || fail "an unsigned release after a signed one differs"
echo "release test: PASS"
