#!/usr/bin/env bash
# The release end to end, in copies of this source tree in two folders of different names
# and depths:
# - every file, folder, setting, program text and switch that the text for Windows users
#   names is one that the code holds (release_text_names.py; cheap, so it runs first);
# - the two zips are equal byte for byte, and a release made after a signed one in the
#   same folder is again that zip (nothing signed is left behind in its build trees);
# - the zip holds exactly the text for Windows users (CRLF, with the programs' sums), the
#   licence, its own SHA256SUMS and the two Ternavo builds, each built for its processor;
#   the SHA256SUMS beside the zip and the one inside pass `sha256sum -c` where they lie;
# - signed with a throwaway certificate, both Ternavo builds and the Kestrun each carries
#   verify against that certificate's CA, while an unsigned Ternavo does not; signed once
#   more with another certificate and password at the same paths, each program verifies
#   against the new CA and no longer against the old one;
# - other version numbers, changed in cmake/version.cmake alone, reach both programs'
#   version blocks and manifests, their window captions, the text and the zip's name.
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

python3 "$src/tests/release/release_text_names.py" "$src" || fail "the text for Windows users names what the code does not hold"
# Its lines, as Notepad shows them: none longer than 78 characters, and none that breaks
# off a sentence where the next word would have fitted with room to spare.
python3 - "$src/docs/release-readme.txt" <<'EOF' || fail "the text for Windows users is wrapped badly"
import re, sys
WIDTH = 78
lines = open(sys.argv[1], encoding="utf-8").read().split("\n")
bad = []
for i, a in enumerate(lines):
    if len(a) > WIDTH:
        bad.append("%d: longer than %d: %s" % (i + 1, WIDTH, a))
    if i + 1 >= len(lines):
        continue
    b = lines[i + 1]
    # A break may follow a heading, a command line or the end of a sentence; only a break
    # inside a sentence must come where the next word no longer fits.
    if not a.strip() or not b.strip() or a.isupper() or a.startswith("    ") or re.search(r'[.!:]["\)]?$', a):
        continue
    body = b.lstrip()
    if re.match(r"(- |\d+\. |=)", body) or len(b) - len(body) >= 4 + len(a) - len(a.lstrip()):
        continue
    word = body.split()[0]
    if len(a) + 1 + len(word) <= WIDTH - 8:
        bad.append("%d: wrapped early (\"%s\" fits): %s" % (i + 1, word, a))
print("\n".join(bad))
sys.exit(1 if bad else 0)
EOF

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

download=$work/download
unpacked=$work/unpacked
mkdir "$download" "$unpacked"
cp "$second"/dist/release/* "$download"/
[ "$(ls "$download" | wc -l)" = 2 ] || fail "dist/release holds more than the zip and SHA256SUMS"
(cd "$download" && sha256sum -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS beside the zip"
python3 - "$(zip_of "$download")" "$unpacked" <<'EOF' || fail "the zip's content"
import hashlib, re, struct, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = [i.filename for i in z.infolist()]
assert names == ["README.txt", "LICENSE.txt", "SHA256SUMS", "x64/Ternavo.exe", "x86/Ternavo.exe"], names
for name in ("README.txt", "LICENSE.txt"):
    lines = z.read(name).split(b"\r\n")
    assert len(lines) > 20 and all(b"\r" not in l and b"\n" not in l for l in lines), name + ": not CRLF throughout"
text = z.read("README.txt").decode("utf-8-sig").replace("\r\n", "\n")
assert "@" not in text, "README.txt keeps a placeholder"
assert "MIT License" in z.read("LICENSE.txt").decode("utf-8-sig"), "LICENSE.txt"
for name, machine in (("x64/Ternavo.exe", 0x8664), ("x86/Ternavo.exe", 0x14C)):
    image = z.read(name)
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 4] == b"PE\0\0" and struct.unpack_from("<H", image, pe + 4)[0] == machine, name
    # The sums for Get-FileHash, once in each language.
    shown = re.findall(r"^ +([0-9a-f]{64})  %s$" % re.escape(name.replace("/", "\\")), text, re.M)
    assert shown == [hashlib.sha256(image).hexdigest()] * 2, "README.txt's sums of " + name
z.extractall(sys.argv[2])
EOF
(cd "$unpacked" && sha256sum -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS inside the zip"

# A throwaway CA and code-signing certificate, always at the same paths; the password
# only ever in a file.
cert=$work/cert
make_cert() {  # the name of the authority
  rm -rf "$cert"
  mkdir "$cert"
  (
    cd "$cert"
    head -c 24 /dev/urandom | base64 | tr -d '\n' >password
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=$1" \
      -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Release Test Publisher"
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile signer.ext -out signer.pem
    openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password -out signer.pfx
  ) >"$work/openssl.log" 2>&1 || { cat "$work/openssl.log"; fail "making the throwaway certificate"; }
}
verify() {  # file, authority, expected to verify (yes/no)
  local out
  if out=$(osslsigncode verify -CAfile "$2" -in "$1" 2>&1); then
    [ "$3" = yes ] || fail "$1 verifies against ${2#"$work"/}, but must not"
    echo "${1#"$work"/}: $(grep -E '^Signature verification' <<<"$out") (${2#"$work"/})"
  else
    [ "$3" = no ] || { echo "$out"; fail "$1 does not verify against ${2#"$work"/}"; }
    echo "${1#"$work"/}: does not verify against ${2#"$work"/}, as expected"
  fi
}
# Two signed releases in a row in one folder, each given another certificate and password
# at the same paths (so the build's sign command reads the same both times): each must be
# signed anew, by the authority it was given, and not by the one before.
mkdir "$work/authorities"
for round in 1 2; do
  make_cert "Release Test CA $round"
  cp "$cert/ca.pem" "$work/authorities/ca$round.pem"
  release "$first" "$work/signed$round.log" SIGN_PFX="$cert/signer.pfx" SIGN_PASS_FILE="$cert/password"
  grep '^release: signed' "$work/signed$round.log" || fail "signed release $round signed nothing: its programs were not linked and signed anew"
  ! grep -q UNSIGNED "$work/signed$round.log" || fail "a signed release calls itself unsigned"
  signed=$work/signed$round
  mkdir "$signed"
  python3 -m zipfile -e "$(zip_of "$first/dist/release")" "$signed"
  for arch in x64 x86; do
    python3 "$src/scripts/peres.py" --extract "$signed/$arch/Ternavo.exe" CUSTOM 101 "$signed/$arch/Kestrun.exe" \
      || fail "$arch/Ternavo.exe carries no Kestrun"
    for program in Ternavo Kestrun; do
      verify "$signed/$arch/$program.exe" "$work/authorities/ca$round.pem" yes
      [ "$round" = 1 ] || verify "$signed/$arch/$program.exe" "$work/authorities/ca1.pem" no
    done
  done
done
verify "$unpacked/x64/Ternavo.exe" "$work/authorities/ca1.pem" no

release "$first" "$work/again.log"
cmp "$(zip_of "$first/dist/release")" "$(zip_of "$second/dist/release")" || fail "an unsigned release after a signed one differs"

# Other version numbers in their one place. The release runs scripts/peres.py on each
# Ternavo, and peres.py takes what it expects from the same file.
sed -i 's/^set(KESTRUN_VERSION .*)$/set(KESTRUN_VERSION 4.2.0.7)/; s/^set(TERNAVO_VERSION .*)$/set(TERNAVO_VERSION 2.7.1.9)/' \
  "$first/cmake/version.cmake"
release "$first" "$work/versioned.log"
[ "$(basename "$(zip_of "$first/dist/release")")" = Ternavo-2.7.1.9.zip ] || fail "the zip is not named after the new version"
versioned=$work/versioned
mkdir "$versioned"
python3 -m zipfile -e "$(zip_of "$first/dist/release")" "$versioned"
tr -d '\r' <"$versioned/README.txt" | grep -q '^Ternavo 2.7.1.9 - English$' || fail "README.txt does not name the new version"
for arch in x64 x86; do
  python3 "$src/scripts/peres.py" --extract "$versioned/$arch/Ternavo.exe" CUSTOM 101 "$versioned/$arch/Kestrun.exe"
  for program in Ternavo Kestrun; do
    python3 "$first/scripts/peres.py" --report "$versioned/$arch/$program.exe" >"$work/report.txt" \
      || { cat "$work/report.txt"; fail "$arch/$program.exe does not carry its new version"; }
    grep -E 'version block|manifest: Ternavo' "$work/report.txt" | sed "s|^ *ok  |$arch/$program.exe: |"
  done
  python3 - "$versioned/$arch" <<'EOF' || fail "$arch: the window captions"
import sys
for program, caption, old in (("Ternavo", "Ternavo v.2.7", "Ternavo v.1."), ("Kestrun", "Kestrun v.4.2", "Kestrun v.1.")):
    image = open("%s/%s.exe" % (sys.argv[1], program), "rb").read()
    assert caption.encode("utf-16-le") in image, "%s.exe lacks the caption %s" % (program, caption)
    assert old.encode("utf-16-le") not in image, "%s.exe still holds %s" % (program, old)
    print("%s/%s.exe: caption %s" % (sys.argv[1].rsplit("/", 1)[1], program, caption))
EOF
done
echo "release test: PASS"
