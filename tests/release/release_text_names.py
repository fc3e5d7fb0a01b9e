#!/usr/bin/env python3
"""Every file, folder, setting, program text and switch that the text for Windows users
(docs/release-readme.txt) names must be one that the code holds, so that the text cannot
drift from the programs. Usage: release_text_names.py SOURCE_DIR

What the text names, found by its form: file names (Kestrun.exe, ICQ.exe5 for the numbered
copies), folders below an environment variable (%LOCALAPPDATA%\\Kestrun), registry keys
(HKEY_...\\...), switches (-showme), Windows' own tools and folders that the text
names (certutil, Smart App Control, My Documents, the zip's x64 and x86 folders; each
checked for what of ours it speaks of) and every "double-quoted" text: the programs' own texts
and setting names are quoted, nothing else is. The code: the string literals of common/,
kestrun/ and ternavo/ (adjacent literals joined), their upper-case identifiers, and the
release script, which names the files of the download.
"""
import glob
import os
import re
import sys

src = sys.argv[1]
with open(os.path.join(src, "docs/release-readme.txt"), encoding="utf-8") as f:
    text = f.read()
flat = re.sub(r"\s+", " ", text)  # a quoted text may be wrapped over two lines

# The code: the programs' string literals (adjacent literals joined, escapes undone) and
# their identifiers; and the release script, which names the files of the download.
literals, identifiers = set(), set()
for path in sorted(glob.glob(os.path.join(src, "*", "**", "*.[ch]*"), recursive=True)):
    if os.path.relpath(path, src).split(os.sep)[0] not in ("common", "kestrun", "ternavo"):
        continue
    with open(path, encoding="utf-8") as f:
        code = re.sub(r"//[^\n]*", "", f.read())
    identifiers.update(re.findall(r"\b[A-Z_][A-Z0-9_]+\b", code))
    for run in re.findall(r'(?:L?"(?:[^"\\\n]|\\.)*"\s*)+', code):
        parts = re.findall(r'L?"((?:[^"\\\n]|\\.)*)"', run)
        literals.add(re.sub(r"\\(.)", r"\1", "".join(parts)).replace("\\n", "\n"))
with open(os.path.join(src, "scripts/release.sh"), encoding="utf-8") as f:
    release_script = re.sub(r"(?m)^\s*#.*$", "", f.read())  # what it does, not what it says


def in_code(name):
    # As a whole: "-show" is not found in "-showme", nor "MaxNr" in "MaxNrs".
    word = re.compile(r"(?<![\w-])" + re.escape(name) + r"(?!\w)")
    return any(word.search(l) for l in literals) or bool(word.search(release_script))


names = {}  # what the text names -> the pieces of it that the code must hold
for q in re.findall(r'"([^"]+)"', flat):
    names['"%s"' % q] = [q]
for n in re.findall(r"\b[A-Za-z][\w-]*\.(?:exe|ini|lnk|txt)\d*(?:\.csassembly)?\b|\bSHA256SUMS\b", text):
    base, _, marker = n.partition(".csassembly")
    names[n] = [re.sub(r"(\.exe)\d+$", r"\1", base)] + ([".csassembly"] if n.endswith(".csassembly") else [])
for n in re.findall(r"%[A-Z]+%(?:\\[\w.]+)*", text):
    names[n] = [p.strip("%") for p in n.split("\\")]
for n in re.findall(r"HKEY_[A-Z_]+(?:\\\w+)+", text):
    root, _, rest = n.partition("\\")
    # Windows puts a 32-bit program's view there; the code asks for that view.
    names[n] = ["id:" + root, rest.replace("Wow6432Node\\", "")] + (["id:KEY_WOW64_32KEY"] if "Wow6432Node" in n else [])
# Windows' own tools, folders and settings, which no code of ours holds: each stands for
# the part of ours that makes the text about it true. The sums the text has Windows' tools
# compute are SHA-256, as the release writes them; the zip's folders x64 and x86 are the
# release's; Smart App Control lets through only what the release can sign; a folder of
# one's own in (My) Documents is what keeps ternavo.ini beside Ternavo.exe writable.
windows_own = {
    r"\bcertutil -hashfile\b": ["release:hashlib.sha256", "release:SHA256"],
    r"\bGet-FileHash\b": ["release:hashlib.sha256"],
    r"\bx64\\Ternavo\.exe\b": ["release:x64/Ternavo.exe"],
    r"\bx86\\Ternavo\.exe\b": ["release:x86/Ternavo.exe"],
    r"\bSmart App Control\b": ["release:osslsigncode sign"],
    r"\b(?:My Documents|Eigene Dateien|Documents|Dokumente)\\Ternavo\b": ["ternavo.ini"],
}
switch_text = flat
for pattern, pieces in windows_own.items():
    for n in re.findall(pattern, flat):
        names[n] = pieces
    switch_text = re.sub(pattern, " ", switch_text)
for n in re.findall(r"(?<![\w-])-[a-z][a-z0-9]+[=:]?", switch_text):
    names[n] = [n]

def holds(piece):
    if piece.startswith("id:"):
        return piece[3:] in identifiers
    if piece.startswith("release:"):
        return piece[8:] in release_script
    return in_code(piece)


missing = sorted(n for n, pieces in names.items() if not all(holds(p) for p in pieces))
print("release text: %d names (files, folders, settings, texts, switches), %d not in the code%s"
      % (len(names), len(missing), "".join("\n  NOT IN THE CODE: " + n for n in missing)))
sys.exit(1 if missing or len(names) < 100 else 0)
