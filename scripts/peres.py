#!/usr/bin/env python3
"""Reads what a Windows executable carries: subsystem, imported DLLs and resources
(manifest, version block, icon groups, raw resources). Standard library only.

  peres.py --check DIR            checks Kestrun.exe and Ternavo.exe in DIR (exit 1 on a fault);
                                  the check of the imports against the oldest Windows needs
                                  the MinGW-w64 C compiler of the image's architecture
  peres.py --report FILE [--starter KESTRUN]
                                  the same checks for one file (Ternavo: compares CUSTOM 101
                                  with KESTRUN, default: Kestrun.exe beside FILE)
  peres.py --list FILE            lists the resources
  peres.py --extract FILE TYPE NAME OUT
                                  writes one resource's bytes (TYPE/NAME: number or text);
                                  Ternavo's CUSTOM 101, the starter it carries packed, unpacked

A file that is not a readable PE image is reported as a fault, never as a crash.
"""
import functools
import hashlib
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lznt1  # noqa: E402  (Ternavo carries Kestrun packed)

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
SUBSYSTEMS = {1: "native", 2: "GUI", 3: "console"}

# DLLs that every supported Windows has; anything else would have to ship beside us.
WINDOWS_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
    "shlwapi.dll", "ole32.dll", "oleaut32.dll", "advapi32.dll", "version.dll", "msvcrt.dll",
    "uxtheme.dll", "winmm.dll", "ws2_32.dll", "ntdll.dll", "rpcrt4.dll", "crypt32.dll",
    "secur32.dll", "bcrypt.dll", "imm32.dll", "winspool.drv", "setupapi.dll", "userenv.dll",
    "psapi.dll", "dwmapi.dll", "msimg32.dll", "wininet.dll", "urlmon.dll", "iphlpapi.dll",
    "netapi32.dll", "mpr.dll", "gdiplus.dll", "ucrtbase.dll", "shcore.dll", "wtsapi32.dll",
}


def is_windows_dll(name):
    n = name.lower()
    return n in WINDOWS_DLLS or n.startswith("api-ms-win-")


class PEError(Exception):
    pass


class PE:
    """A bounds-checked view of a PE image: every read outside the file raises PEError."""

    def __init__(self, data):
        self.data = data
        if self.u16(0) != 0x5A4D:
            raise PEError("no MZ header")
        pe = self.u32(0x3C)
        if self.raw(pe, 4) != b"PE\0\0":
            raise PEError("no PE signature")
        coff = pe + 4
        self.machine = self.u16(coff)
        nsections = self.u16(coff + 2)
        opt_size = self.u16(coff + 16)
        opt = coff + 20
        magic = self.u16(opt)
        if magic == 0x10B:
            self.image_base, dirs_at, count_at = self.u32(opt + 28), opt + 96, opt + 92
        elif magic == 0x20B:
            self.image_base, dirs_at, count_at = self.u64(opt + 24), opt + 112, opt + 108
        else:
            raise PEError("unknown optional header magic 0x%x" % magic)
        self.ptr_size = 8 if magic == 0x20B else 4
        self.timestamp = self.u32(coff + 4)
        self.subsystem = self.u16(opt + 68)
        self.dll_characteristics = self.u16(opt + 70)
        ndirs = min(self.u32(count_at), 16)
        self.dirs = [(self.u32(dirs_at + 8 * i), self.u32(dirs_at + 8 * i + 4)) for i in range(ndirs)]
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            s = sec + 40 * i
            vsize, va, rsize, rptr = struct.unpack_from("<IIII", self.raw(s + 8, 16))
            self.sections.append((va, max(vsize, rsize), rptr, rsize))

    # -- raw access ---------------------------------------------------------
    def raw(self, off, size):
        if off < 0 or size < 0 or off + size > len(self.data):
            raise PEError("read outside the file at 0x%x" % off)
        return self.data[off:off + size]

    def u16(self, off):
        return struct.unpack_from("<H", self.raw(off, 2))[0]

    def u32(self, off):
        return struct.unpack_from("<I", self.raw(off, 4))[0]

    def u64(self, off):
        return struct.unpack_from("<Q", self.raw(off, 8))[0]

    def off(self, rva):
        for va, vsize, rptr, rsize in self.sections:
            if va <= rva < va + vsize:
                delta = rva - va
                if delta >= rsize:
                    raise PEError("RVA 0x%x lies in uninitialised data" % rva)
                return rptr + delta
        raise PEError("RVA 0x%x is in no section" % rva)

    def cstring(self, rva, limit=512):
        start = self.off(rva)
        end = self.data.find(b"\0", start, start + limit)
        if end < 0:
            raise PEError("unterminated name at RVA 0x%x" % rva)
        return self.data[start:end].decode("latin-1")

    # -- imports ------------------------------------------------------------
    def imports(self):
        names = []
        if len(self.dirs) > 1 and self.dirs[1][0]:
            at = self.off(self.dirs[1][0])
            for i in range(4096):
                desc = self.raw(at + 20 * i, 20)
                if desc == b"\0" * 20:
                    break
                names.append(self.cstring(struct.unpack_from("<I", desc, 12)[0]))
        for at in self.delay_descriptors():  # delay-loaded DLLs count as well
            attrs, name = struct.unpack_from("<II", self.raw(at, 8), 0)
            names.append(self.cstring(name if attrs & 1 else name - self.image_base) + " (delayed)")
        return names

    def import_functions(self):
        """[(dll, function)] of the plain imports; a function imported by ordinal is "#n"."""
        out = []
        if len(self.dirs) < 2 or not self.dirs[1][0]:
            return out
        at = self.off(self.dirs[1][0])
        step = self.ptr_size
        for i in range(4096):
            desc = self.raw(at + 20 * i, 20)
            if desc == b"\0" * 20:
                break
            lookup, _, _, name, iat = struct.unpack_from("<IIIII", desc)
            dll = self.cstring(name)
            table = self.off(lookup or iat)
            for k in range(65536):
                value = int.from_bytes(self.raw(table + step * k, step), "little")
                if not value:
                    break
                out.append((dll, ("#%d" % (value & 0xFFFF)) if value >> (8 * step - 1) else self.cstring(value + 2)))
        return out

    def delay_descriptors(self):
        """File offsets of the delay-load descriptors. GNU ld leaves the data directory of
        delay imports empty, so without it the sections are searched for descriptors: new-style
        (attributes 1) records whose name points at a "*.dll" text and whose tables lie in the image."""
        if len(self.dirs) > 13 and self.dirs[13][0]:
            at = self.off(self.dirs[13][0])
            found = []
            while len(found) < 4096 and self.raw(at + 32 * len(found), 32) != b"\0" * 32:
                found.append(at + 32 * len(found))
            return found
        found = []
        for va, vsize, rptr, rsize in self.sections:
            for o in range(rptr, min(rptr + rsize, len(self.data)) - 32, 4):
                attrs, name, handle, iat, int_ = struct.unpack_from("<IIIII", self.data, o)
                if attrs != 1 or not (name and handle and iat and int_):
                    continue
                try:
                    text = self.cstring(name, 64).lower()
                    self.off(iat), self.off(int_)
                except PEError:
                    continue
                if text.endswith(".dll") or text.endswith(".drv"):
                    found.append(o)
        return found

    def delay_imports(self):
        """[(dll, function, slot_is_zero)] of every delay-loaded function. Each slot must
        point at the stub that loads the DLL at the first call; a zero slot makes that
        first call jump to address 0."""
        out = []
        step = self.ptr_size
        for at in self.delay_descriptors():
            attrs, name, _, iat, int_ = struct.unpack_from("<IIIII", self.raw(at, 20), 0)
            rebase = 0 if attrs & 1 else self.image_base  # old-style descriptors hold addresses
            dll = self.cstring(name - rebase)
            for k in range(65536):
                entry = self.raw(self.off(int_ - rebase) + step * k, step)
                if entry == b"\0" * step:
                    break
                value = int.from_bytes(entry, "little")
                func = ("#%d" % (value & 0xFFFF)) if value >> (8 * step - 1) else self.cstring(value - rebase + 2)
                out.append((dll, func, self.raw(self.off(iat - rebase) + step * k, step) == b"\0" * step))
        return out

    # -- resources ----------------------------------------------------------
    def resources(self):
        """[(type, name, language, bytes)]; type and name are numbers or upper-case texts."""
        if len(self.dirs) < 3 or not self.dirs[2][0]:
            return []
        base = self.off(self.dirs[2][0])
        out = []

        def entries(dir_off):
            named, ids = struct.unpack_from("<HH", self.raw(base + dir_off + 12, 4))
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.raw(base + dir_off + 16 + 8 * i, 8))
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    length = self.u16(at)
                    key = self.raw(at + 2, 2 * length).decode("utf-16-le", "replace").upper()
                else:
                    key = name & 0xFFFF
                yield key, target

        seen = set()

        def subdir(target):
            if not target & 0x80000000:
                raise PEError("resource tree: leaf where a directory belongs")
            off = target & 0x7FFFFFFF
            if off in seen:
                raise PEError("resource tree: loop")
            seen.add(off)
            return off

        for rtype, t in entries(0):
            for rname, n in entries(subdir(t)):
                for lang, leaf in entries(subdir(n)):
                    if leaf & 0x80000000:
                        raise PEError("resource tree deeper than three levels")
                    rva, size = struct.unpack_from("<II", self.raw(base + leaf, 8))
                    out.append((rtype, rname, lang, self.raw(self.off(rva), size)))
        return out


def find(resources, rtype, name, lang=None):
    for t, n, l, data in resources:
        if t == rtype and n == name and (lang is None or l == lang):
            return data
    return None


# -- version block ----------------------------------------------------------
def parse_version(blob):
    """{'file': 'a.b.c.d', 'product': ..., 'strings': {'040704B0': {...}}, 'translations': [(lang, cp)]}"""

    def block(off, end, depth=0):
        if depth > 8:
            raise PEError("version block: nested too deeply")
        if off + 6 > end:
            raise PEError("version block: truncated header")
        length, vlen, vtype = struct.unpack_from("<HHH", blob, off)
        stop = off + length
        if length < 6 or stop > end:
            raise PEError("version block: bad length")
        k = off + 6
        key_end = k
        while key_end + 1 < stop and blob[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = blob[k:key_end].decode("utf-16-le", "replace")
        v = (key_end + 2 + 3) & ~3
        vsize = vlen * 2 if vtype == 1 else vlen
        value = blob[v:min(v + vsize, stop)]
        children = []
        c = (v + vsize + 3) & ~3
        while c + 6 <= stop:
            child = block(c, stop, depth + 1)
            children.append(child)
            c = (c + max(struct.unpack_from("<H", blob, c)[0], 6) + 3) & ~3
        return key, vtype, value, children

    key, _, value, children = block(0, len(blob))
    if key != "VS_VERSION_INFO" or len(value) < 52 or struct.unpack_from("<I", value, 0)[0] != 0xFEEF04BD:
        raise PEError("version block: no fixed file information")
    fms, fls, pms, pls = struct.unpack_from("<IIII", value, 8)

    def text(ms, ls):
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    info = {"file": text(fms, fls), "product": text(pms, pls), "strings": {}, "translations": []}
    for ckey, _, _, sub in children:
        if ckey == "StringFileInfo":
            for tkey, _, _, strings in sub:
                table = info["strings"].setdefault(tkey.upper(), {})
                for skey, _, svalue, _ in strings:
                    table[skey] = svalue.decode("utf-16-le", "replace").rstrip("\0")
        elif ckey == "VarFileInfo":
            for vkey, _, vvalue, _ in sub:
                if vkey == "Translation":
                    for i in range(0, len(vvalue) - 3, 4):
                        info["translations"].append(struct.unpack_from("<HH", vvalue, i))
    return info


# -- manifest ---------------------------------------------------------------
def manifest_identity(blob):
    """(name, version) of the program's own assemblyIdentity, the manifest's first one."""
    for el in ET.fromstring(blob):
        if el.tag.rsplit("}", 1)[-1] == "assemblyIdentity":
            return el.get("name"), el.get("version")
    return None, None


def parse_manifest(blob):
    """(common-controls version or None, requested execution level or None)"""
    try:
        root = ET.fromstring(blob)
    except ET.ParseError as e:
        raise PEError("manifest is not XML: %s" % e)
    cc, level = None, None
    for el in root.iter():
        tag = el.tag.rsplit("}", 1)[-1]
        if tag == "assemblyIdentity" and el.get("name") == "Microsoft.Windows.Common-Controls":
            cc = el.get("version")
        elif tag == "requestedExecutionLevel":
            level = el.get("level")
    return cc, level


# What the manifest must say to every Windows from XP to 11.
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10/11",
}
ASM_V1, ASM_V3 = "urn:schemas-microsoft-com:asm.v1", "urn:schemas-microsoft-com:asm.v3"
# The elements of the asm.v1 namespace that Windows XP's loader knows and we use.
XP_ASM_V1 = {"assembly", "assemblyIdentity", "dependency", "dependentAssembly", "description"}


def manifest_for_every_windows(blob):
    """(supported Windows versions, trustInfo elements in asm.v3, trustInfo elsewhere,
    asm.v1 elements that XP does not know)"""
    root = ET.fromstring(blob)
    versions, v3_trust, other_trust, unknown = [], 0, 0, set()
    for el in root.iter():
        ns, _, tag = el.tag[1:].partition("}") if el.tag.startswith("{") else ("", "", el.tag)
        if tag == "supportedOS":
            versions.append(SUPPORTED_OS.get((el.get("Id") or "").lower(), el.get("Id")))
        elif tag == "trustInfo":
            if ns == ASM_V3:
                v3_trust += 1
            else:
                other_trust += 1
        if ns == ASM_V1 and tag not in XP_ASM_V1:
            unknown.add(tag)
    return versions, v3_trust, other_trust, sorted(unknown)


# DllCharacteristics bits that every image of ours carries.
DYNAMIC_BASE, NX_COMPAT, NO_SEH, TERMINAL_SERVER_AWARE, HIGH_ENTROPY_VA = 0x40, 0x100, 0x400, 0x8000, 0x20


def hardening(pe):
    """[(ok, text)]: address randomisation, no-execute data, terminal-server aware; no SEH
    in the 32-bit image (no SafeSEH table can be written by GNU ld); high-entropy addresses
    in the 64-bit image; no time stamp (two builds of one source are equal)."""
    want = {"DYNAMIC_BASE": DYNAMIC_BASE, "NX_COMPAT": NX_COMPAT, "TERMINAL_SERVER_AWARE": TERMINAL_SERVER_AWARE}
    if pe.ptr_size == 8:
        want["HIGH_ENTROPY_VA"] = HIGH_ENTROPY_VA
    else:
        want["NO_SEH"] = NO_SEH
    lacking = [n for n, bit in want.items() if not pe.dll_characteristics & bit]
    return [(not lacking, "DllCharacteristics 0x%04x: %s%s" % (
                pe.dll_characteristics, ", ".join(want), ("; LACKS " + ", ".join(lacking)) if lacking else "")),
            (pe.timestamp == 0, "time stamp: %s" % ("none" if pe.timestamp == 0 else "0x%08x, SET" % pe.timestamp))]


# The oldest Windows each build runs on, as the MinGW headers know it: a function that
# they do not declare for that version is one that Windows lacks. The headers declare a
# few newer functions for every version; those are named here.
OLDEST_WINDOWS = {
    4: ("Windows XP SP3", "0x0501", "i686-w64-mingw32-gcc"),
    8: ("Windows XP x64", "0x0502", "x86_64-w64-mingw32-gcc"),
}
DECLARED_FOR_EVERY_VERSION = {"SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory"}
# The C runtime's headers do not depend on the Windows version: its names are not checked.
C_RUNTIME = {"msvcrt.dll"}


def compile_once(compiler, source):
    """(exit code, error text) of `compiler -fsyntax-only` on C source. The answer for one
    source and one compiler is kept in the temporary folder: the headers take seconds."""
    version = subprocess.run([compiler, "-dumpfullversion"], capture_output=True, text=True).stdout
    key = hashlib.sha256(("%s\0%s\0%s" % (compiler, version, source)).encode()).hexdigest()
    cache = os.path.join(tempfile.gettempdir(), "peres-headers-%d" % os.getuid(), key)
    try:
        with open(cache) as f:
            code, _, errors = f.read().partition("\n")
            return int(code), errors
    except (OSError, ValueError):
        pass
    with tempfile.TemporaryDirectory(prefix="peres-") as tmp:
        path = os.path.join(tmp, "imports.c")
        with open(path, "w") as f:
            f.write(source)
        p = subprocess.run([compiler, "-fsyntax-only", "-w", path], capture_output=True, text=True)
    os.makedirs(os.path.dirname(cache), exist_ok=True)
    with open(cache + ".new", "w") as f:
        f.write("%d\n%s" % (p.returncode, p.stderr))
    os.replace(cache + ".new", cache)
    return p.returncode, p.stderr


def missing_on_oldest_windows(ptr_size, functions):
    """(Windows name, [dll!function the headers of that Windows lack], error text or None)."""
    return _missing_on_oldest_windows(ptr_size, tuple(functions))


@functools.lru_cache(maxsize=64)  # one compiler run per list of imports
def _missing_on_oldest_windows(ptr_size, functions):
    name, version, compiler = OLDEST_WINDOWS[ptr_size]
    names = sorted({f for d, f in functions if not f.startswith("#") and d.lower() not in C_RUNTIME})
    head = ("#define _WIN32_WINNT %s\n#define WINVER %s\n#include <windows.h>\n#include <commctrl.h>\n"
            "#include <shlobj.h>\n#include <shlwapi.h>\n#include <tlhelp32.h>\n#include <excpt.h>\n#include <aclapi.h>\n" % (version, version))
    first = head.count("\n") + 1
    source = head + "".join("void *ref_%d = (void *)&%s;\n" % (i, n) for i, n in enumerate(names))
    try:
        returncode, errors = compile_once(compiler, source)
    except OSError as e:
        return name, [], "cannot run %s: %s" % (compiler, e.strerror)
    bad = set(n for n in names if n in DECLARED_FOR_EVERY_VERSION)
    for m in re.finditer(r"imports\.c:(\d+):\d+: error:", errors):
        line = int(m.group(1)) - first
        if not 0 <= line < len(names):
            return name, [], "the headers do not compile: " + errors.strip().splitlines()[0]
        bad.add(names[line])
    if returncode != 0 and not bad:
        return name, [], (errors.strip().splitlines() or ["%s failed" % compiler])[0]
    dlls = {}
    for d, f in functions:
        dlls.setdefault(f, d)
    return name, ["%s!%s" % (dlls[f], f) for f in sorted(bad)], None


def icon_group_sizes(pe_res, name):
    blob = find(pe_res, RT_GROUP_ICON, name)
    if blob is None:
        return None
    if len(blob) < 6:
        raise PEError("icon group %s: truncated" % name)
    count = struct.unpack_from("<H", blob, 4)[0]
    if len(blob) < 6 + 14 * count:
        raise PEError("icon group %s: truncated" % name)
    sizes = []
    for i in range(count):
        w, h = blob[6 + 14 * i], blob[7 + 14 * i]
        icon_id = struct.unpack_from("<H", blob, 6 + 14 * i + 12)[0]
        if find(pe_res, RT_ICON, icon_id) is None:
            raise PEError("icon group %s: image %d missing" % (name, icon_id))
        sizes.append((w or 256, h or 256))
    return sizes


# -- what each program must carry ----------------------------------------------
VERSION_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cmake", "version.cmake")


def versions(path=VERSION_FILE):
    """{"kestrun": "1.3.0.0", "ternavo": ...}: each program's version where it is written once."""
    with open(path, encoding="utf-8") as f:
        found = re.findall(r"^set\((KESTRUN|TERNAVO)_VERSION ([0-9.]+)\)", f.read(), re.M)
    return {name.lower(): number for name, number in found}


EXPECTED = {
    "kestrun.exe": {"version": versions()["kestrun"], "icons": 8, "icon_range": (16, 48),
                    "delayed": {"comctl32.dll"}},
    "ternavo.exe": {"version": versions()["ternavo"], "icons": 7, "icon_range": (16, 128),
                    "delayed": {"shell32.dll", "ole32.dll", "version.dll"}},
}


def check_file(path, starter=None):
    """[(ok, text)] for one of our executables."""
    results = []

    def put(ok, text):
        results.append((bool(ok), text))

    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        return [(False, "cannot read: %s" % e.strerror)]
    expect = EXPECTED.get(os.path.basename(path).lower())
    try:
        pe = PE(data)
        put(pe.subsystem == 2, "subsystem: %s (%d)" % (SUBSYSTEMS.get(pe.subsystem, "other"), pe.subsystem))
        dlls = pe.imports()
        foreign = [d for d in dlls if not is_windows_dll(d.split(" ")[0])]
        put(not foreign, "imports only Windows DLLs: %s%s" % (
            ", ".join(dlls), ("; NOT WINDOWS: " + ", ".join(foreign)) if foreign else ""))
        if expect:
            # What a start does not need is loaded at its first use: never imported plainly.
            plain = {d.lower() for d in dlls if not d.endswith(" (delayed)")}
            early = sorted(expect["delayed"] & plain)
            put(not early, "loaded at first use: %s%s" % (
                ", ".join(sorted(expect["delayed"])), ("; IMPORTED AT START: " + ", ".join(early)) if early else ""))
        delayed = pe.delay_imports()
        functions = pe.import_functions() + [(d, f) for d, f, _ in delayed]
        windows, missing, error = missing_on_oldest_windows(pe.ptr_size, functions)
        runtime = sum(1 for d, _ in functions if d.lower() in C_RUNTIME)
        if error:
            put(False, "imported functions against %s: %s" % (windows, error))
        else:
            put(not missing, "%d imported functions (plain and delayed) checked against %s%s (%d of the C runtime unchecked)" % (
                len(functions) - runtime, windows, ("; MISSING THERE: " + ", ".join(missing)) if missing else "", runtime))
        for ok, text in hardening(pe):
            put(ok, text)
        zero = ["%s!%s" % (d, f) for d, f, z in delayed if z]
        put(not zero, "%d delay-loaded functions, each slot bound to its loader stub%s" % (
            len(delayed), "; NULL SLOT: " + ", ".join(zero) if zero else ""))
        res = pe.resources()

        manifest = find(res, RT_MANIFEST, 1)
        if manifest is None:
            put(False, "manifest (type 24, id 1): missing")
        else:
            cc, level = parse_manifest(manifest)
            put(cc == "6.0.0.0" and level == "asInvoker",
                "manifest (type 24, id 1): Common-Controls %s, level %s" % (cc, level))
            if expect:
                own, own_version = manifest_identity(manifest)
                put(own_version == expect["version"], "manifest: %s version %s" % (own, own_version))
            versions, v3_trust, other_trust, unknown = manifest_for_every_windows(manifest)
            lacking = [v for v in SUPPORTED_OS.values() if v not in versions]
            put(not lacking, "manifest: supported Windows %s%s" % (
                ", ".join(str(v) for v in versions) or "none", ("; LACKS " + ", ".join(lacking)) if lacking else ""))
            put(v3_trust == 1 and other_trust == 0 and not unknown,
                "manifest safe for Windows XP: trustInfo once in asm.v3 (%d there, %d elsewhere)%s" % (
                    v3_trust, other_trust, ("; asm.v1 elements XP does not know: " + ", ".join(unknown)) if unknown else ""))

        blob = find(res, RT_VERSION, 1)
        if blob is None:
            put(False, "version block: missing")
        else:
            v = parse_version(blob)
            table = v["strings"].get("040704B0")
            fv = table.get("FileVersion") if table is not None else None
            pv = table.get("ProductVersion") if table is not None else None
            want = expect["version"] if expect else v["file"]
            put(table is not None and (0x407, 0x4B0) in v["translations"]
                and v["file"] == v["product"] == fv == pv == want,
                "version block 0407/04B0: FileVersion %s, ProductVersion %s (fixed %s / %s)"
                % (fv, pv, v["file"], v["product"]))

        sizes = icon_group_sizes(res, 1)
        if sizes is None:
            put(False, "icon group 1: missing")
        else:
            text = "icon group 1: %d images, %s" % (len(sizes), " ".join("%dx%d" % s for s in sizes))
            if expect:
                lo, hi = expect["icon_range"]
                widths = [w for w, _ in sizes]
                put(len(sizes) == expect["icons"] and min(widths) == lo and max(widths) == hi
                    and all(w == h for w, h in sizes), text)
            else:
                put(True, text)

        if os.path.basename(path).lower() == "ternavo.exe":
            starter = starter or os.path.join(os.path.dirname(path), "Kestrun.exe")
            custom = find(res, "CUSTOM", 101, 1031)
            try:
                custom = lznt1.unpack(custom) if custom is not None else None
            except (ValueError, struct.error) as e:
                custom = b""
                put(False, "CUSTOM 101 (1031): does not unpack: %s" % e)
            try:
                with open(starter, "rb") as f:
                    kestrun = f.read()
            except OSError as e:
                kestrun = None
                put(False, "CUSTOM 101 (1031): cannot read %s: %s" % (starter, e.strerror))
            if kestrun is not None:
                if custom is None:
                    put(False, "CUSTOM 101 (1031): missing")
                else:
                    put(custom == kestrun, "CUSTOM 101 (1031): %d bytes unpacked, %s %s" % (
                        len(custom), "equal to" if custom == kestrun else "DIFFERS from",
                        os.path.basename(starter)))
    except PEError as e:
        put(False, "not a readable PE image: %s" % e)
    return results


def print_results(results, indent="  "):
    for ok, text in results:
        print("%s%s %s" % (indent, "ok  " if ok else "FAIL", text))
    return all(ok for ok, _ in results)


def main(argv):
    if len(argv) == 2 and argv[0] == "--check":
        good = True
        for name in ("Kestrun.exe", "Ternavo.exe"):
            path = os.path.join(argv[1], name)
            print(path)
            good = print_results(check_file(path)) and good
        print("all checks passed" if good else "SOME CHECKS FAILED")
        return 0 if good else 1
    if len(argv) in (2, 4) and argv[0] == "--report" and (len(argv) == 2 or argv[2] == "--starter"):
        return 0 if print_results(check_file(argv[1], argv[3] if len(argv) == 4 else None)) else 1
    if len(argv) == 2 and argv[0] == "--list":
        try:
            with open(argv[1], "rb") as f:
                for t, n, l, data in PE(f.read()).resources():
                    print("%-10s %-10s %5d %8d bytes" % (t, n, l, len(data)))
        except (OSError, PEError) as e:
            print("error: %s" % e, file=sys.stderr)
            return 1
        return 0
    if len(argv) == 5 and argv[0] == "--extract":
        def key(s):
            return int(s) if s.isdigit() else s.upper()
        try:
            with open(argv[1], "rb") as f:
                data = find(PE(f.read()).resources(), key(argv[2]), key(argv[3]))
            if data is None:
                print("error: no resource %s %s" % (argv[2], argv[3]), file=sys.stderr)
                return 1
            if os.path.basename(argv[1]).lower() == "ternavo.exe" and (key(argv[2]), key(argv[3])) == ("CUSTOM", 101):
                data = lznt1.unpack(data)
            with open(argv[4], "wb") as f:
                f.write(data)
        except (OSError, PEError, ValueError, struct.error) as e:
            print("error: %s" % e, file=sys.stderr)
            return 1
        return 0
    print(__doc__.strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
