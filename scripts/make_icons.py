#!/usr/bin/env python3
"""Draw the Kestrun and Ternavo icons and button bitmaps.

    make_icons.py           (re)write every resource file in the source tree
    make_icons.py --check   regenerate into a temporary directory and compare
                            with the files in the tree; exit 1 if any differ

Standard library only. All artwork is built from a few anti-aliased shape
primitives using plain arithmetic (no trigonometry), so the output is the same
byte for byte on every run. --check compares the PNG inside ternavo.ico by its
decompressed pixels, as another zlib build may pack them differently.
"""
import os
import struct
import sys
import tempfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SS = 4                      # supersampling grid per pixel (SS x SS samples)
_OFFS = [(i + 0.5) / SS for i in range(SS)]

# --- shapes: (inside(x, y) -> bool, bounding box) in design units ----------

def rrect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside, (x0, y0, x1, y1)


def circle(cx, cy, r):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
            (cx - r, cy - r, cx + r, cy + r))


def polygon(pts):
    def inside(x, y):                       # even-odd crossing test
        hit = False
        for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def line(x0, y0, x1, y1, width):
    """Segment with round caps."""
    h2, dx, dy = (width / 2.0) ** 2, x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1.0
    def inside(x, y):
        t = min(1.0, max(0.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= h2
    w = width / 2.0
    return inside, (min(x0, x1) - w, min(y0, y1) - w, max(x0, x1) + w, max(y0, y1) + w)


def union(*shapes):
    boxes = [s[1] for s in shapes]
    return (lambda x, y: any(s[0](x, y) for s in shapes),
            (min(b[0] for b in boxes), min(b[1] for b in boxes),
             max(b[2] for b in boxes), max(b[3] for b in boxes)))


def minus(a, b):
    return (lambda x, y: a[0](x, y) and not b[0](x, y)), a[1]


def clip(a, b):
    return (lambda x, y: a[0](x, y) and b[0](x, y)), a[1]


def ring(cx, cy, r_out, r_in):
    return minus(circle(cx, cy, r_out), circle(cx, cy, r_in))


def vgrad(top, bottom, y0, y1):
    """Vertical colour gradient, usable wherever a colour is expected."""
    def colour(x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


class Canvas:
    """RGBA canvas, premultiplied floats. Shapes are given in design units;
    `grid` design units span the whole canvas."""

    def __init__(self, w, h, grid=None):
        self.w, self.h = w, h
        self.k = w / grid if grid else 1.0
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def fill(self, shape, colour):
        inside, (bx0, by0, bx1, by1) = shape
        k = self.k
        for py in range(max(0, int(by0 * k)), min(self.h, int(by1 * k) + 2)):
            for px in range(max(0, int(bx0 * k)), min(self.w, int(bx1 * k) + 2)):
                n = sum(1 for oy in _OFFS for ox in _OFFS
                        if inside((px + ox) / k, (py + oy) / k))
                if not n:
                    continue
                c = colour((px + 0.5) / k, (py + 0.5) / k) if callable(colour) else colour
                a = (c[3] if len(c) > 3 else 255) / 255.0 * n / (SS * SS)
                d = self.px[py * self.w + px]
                for i in range(3):
                    d[i] = c[i] / 255.0 * a + d[i] * (1 - a)
                d[3] = a + d[3] * (1 - a)

    def rgba(self):
        """Straight (non-premultiplied) 8-bit RGBA tuples, top row first."""
        return [tuple(min(255, int(round(v / a * 255))) for v in (r, g, b))
                + (int(round(a * 255)),) if round(a * 255) else (0, 0, 0, 0)
                for r, g, b, a in self.px]

# --- artwork -----------------------------------------------------------------

WHITE = (255, 255, 255)


def kestrun_icon(n):
    """Blue tile, white launch triangle, orange '+' badge (one more copy)."""
    c = Canvas(n, n, 32)
    bg = vgrad((70, 145, 250), (25, 80, 205), 1, 31)
    tile = rrect(2, 2, 30, 30, 6)
    c.fill(rrect(1, 1, 31, 31, 7), (18, 60, 160))
    c.fill(tile, bg)
    c.fill(polygon([(7, 5.5), (7, 25.5), (24.5, 15.5)]), WHITE)
    c.fill(clip(circle(23.5, 23.5, 8.5), tile), bg)    # gap around the badge
    c.fill(circle(23.5, 23.5, 7), (255, 140, 20))
    c.fill(rrect(22, 19, 25, 28, 0.6), WHITE)
    c.fill(rrect(19, 22, 28, 25, 0.6), WHITE)
    return c


def bubble(x0, y0, x1, y1, tail):
    return union(rrect(x0, y0, x1, y1, (y1 - y0) / 2.8), polygon(tail))


def ternavo_icon(n):
    """Green tile with two overlapping speech bubbles."""
    c = Canvas(n, n, 32)
    bg = vgrad((80, 200, 115), (20, 130, 65), 1, 31)
    c.fill(rrect(1, 1, 31, 31, 7), (12, 95, 45))
    c.fill(rrect(2, 2, 30, 30, 6), bg)
    c.fill(bubble(4.5, 5, 20.5, 16.5, [(7.5, 15), (6.5, 21.5), (13, 15)]),
           (255, 255, 255, 170))
    c.fill(rrect(9.5, 10.5, 29.5, 26, 6.1), bg)      # gap between the bubbles
    c.fill(bubble(11.5, 12.5, 27.5, 24, [(19, 22), (26, 28.5), (25, 22)]), WHITE)
    if n >= 32:                                     # "typing" dots in the front bubble
        for x in (15.5, 19.5, 23.5):
            c.fill(circle(x, 18.25, 1.5), (30, 145, 75))
    return c


STATUS_COLOURS = {                                  # fill, outline
    "stored": ((160, 160, 165), (95, 95, 100)),
    "available": ((60, 195, 70), (20, 120, 30)),
    "away": ((250, 175, 30), (185, 105, 0)),
    "busy": ((230, 55, 45), (150, 20, 20)),
}


def status_icon(kind, invisible=False):
    c = Canvas(16, 16)
    fill_col, edge = STATUS_COLOURS[kind]
    if invisible:          # hollow ring, faint inside, symbol in the ring colour
        ink = tuple((a + b) // 2 for a, b in zip(fill_col, edge))
        c.fill(circle(8, 8, 7.5), fill_col + (60,))
        c.fill(ring(8, 8, 7.5, 5.5), ink)
    else:
        c.fill(circle(8, 8, 7.5), edge)
        c.fill(circle(8, 8, 6.5), vgrad(tuple(min(255, v + 40) for v in fill_col),
                                        fill_col, 2, 12))
        ink = WHITE
    if kind == "stored":
        c.fill(ring(8, 8, 4.2, 2.7), ink)
        c.fill(circle(8, 8, 1.4), ink)
    elif kind == "available" and not invisible:
        c.fill(circle(6.2, 5.6, 2.2), (255, 255, 255, 120))    # soft highlight
    elif kind == "away":
        c.fill(line(8, 8, 8, 3.8, 1.7), ink)
        c.fill(line(8, 8, 11.3, 8, 1.7), ink)
    elif kind == "busy":
        c.fill(rrect(3.5, 6.8, 12.5, 9.2, 0.5), ink)
    return c


def success_bitmap():
    c = Canvas(22, 17)
    check = union(line(3.5, 9, 8.5, 13.5, 3.6), line(8.5, 13.5, 18.5, 3.5, 3.6))
    c.fill(check, (0, 150, 0))
    return c


def failure_bitmap():
    c = Canvas(22, 24)
    c.fill(circle(11, 12, 10), (150, 15, 15))
    c.fill(circle(11, 12, 9), vgrad((240, 70, 60), (195, 25, 25), 3, 21))
    c.fill(union(line(7.5, 8.5, 14.5, 15.5, 2.6), line(14.5, 8.5, 7.5, 15.5, 2.6)), WHITE)
    return c

# --- file formats ------------------------------------------------------------

def png_bytes(w, h, pix):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for p in pix[y * w:(y + 1) * w] for v in p)
                   for y in range(h))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_dib(c):
    """32-bit BMP icon image: header (double height), BGRA bottom-up, AND mask."""
    w, h, pix = c.w, c.h, c.rgba()
    xor = b"".join(bytes((b, g, r, a)) for y in reversed(range(h))
                   for r, g, b, a in pix[y * w:(y + 1) * w])
    stride = (w + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(h)):
        row = bytearray(stride)
        for x in range(w):
            if pix[y * w + x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    hdr = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return hdr + xor + bytes(mask)


def ico_bytes(canvases, png_from=256):
    images = [png_bytes(c.w, c.h, c.rgba()) if c.w >= png_from else ico_dib(c)
              for c in canvases]
    out, offset = struct.pack("<HHH", 0, 1, len(images)), 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def bmp24_bytes(c, key=(255, 0, 255), face=(240, 240, 240)):
    """24-bit BMP. Untouched pixels get the transparency key colour; edge
    pixels are blended onto the button face so no key-coloured fringe shows."""
    w, h, pix = c.w, c.h, c.rgba()
    stride = (w * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(h)):
        row = bytearray()
        for r, g, b, a in pix[y * w:(y + 1) * w]:
            if a < 32:
                rgb = key
            else:
                rgb = [int(round((v * a + f * (255 - a)) / 255.0)) for v, f in zip((r, g, b), face)]
            row += bytes((rgb[2], rgb[1], rgb[0]))
        rows.append(bytes(row) + bytes(stride - len(row)))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + info + data

# --- driver ------------------------------------------------------------------

def outputs():
    files = {
        "kestrun/res/kestrun.ico": ico_bytes(
            [kestrun_icon(n) for n in (16, 20, 24, 28, 32, 36, 40, 48)]),
        "ternavo/res/ternavo.ico": ico_bytes(
            [ternavo_icon(n) for n in (16, 20, 24, 32, 48, 64, 128)], png_from=128),
        "ternavo/res/success.bmp": bmp24_bytes(success_bitmap()),
        "ternavo/res/failure.bmp": bmp24_bytes(failure_bitmap()),
    }
    kinds = [("stored", False), ("available", False), ("away", False), ("busy", False),
             ("available", True), ("away", True), ("busy", True)]
    for i, (kind, invisible) in enumerate(kinds, 1):
        files["kestrun/res/status%d.ico" % i] = ico_bytes([status_icon(kind, invisible)])
    return files


def write_all(root, files):
    for rel, data in files.items():
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def _canonical(data):
    """Icon file with embedded PNG streams decompressed: a different zlib
    build (e.g. zlib-ng) may pack the same pixels into different bytes."""
    if data[:4] != b"\0\0\1\0":
        return data
    count = struct.unpack_from("<H", data, 4)[0]
    parts = []
    for i in range(count):
        entry = data[6 + 16 * i:22 + 16 * i]
        size, offset = struct.unpack_from("<II", entry, 8)
        img = data[offset:offset + size]
        if img.startswith(b"\x89PNG"):
            pos, idat, head = 8, b"", b""
            while pos < len(img):
                n, tag = struct.unpack_from(">I4s", img, pos)
                if tag == b"IDAT":
                    idat += img[pos + 8:pos + 8 + n]
                elif tag == b"IHDR":
                    head = img[pos + 8:pos + 8 + n]
                pos += 12 + n
            img = b"PNG" + head + zlib.decompress(idat)
        parts.append(entry[:8] + img)
    return b"".join(parts)


def _read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def check():
    files, stale = outputs(), 0
    with tempfile.TemporaryDirectory() as tmp:
        write_all(tmp, files)
        for rel in sorted(files):
            fresh, kept = _read(os.path.join(tmp, rel)), _read(os.path.join(ROOT, rel))
            if kept is None or (kept != fresh and _canonical(kept) != _canonical(fresh)):
                print("out of date: " + rel)
                stale += 1
    return 1 if stale else 0


def main(argv):
    if argv[1:] == ["--check"]:
        return check()
    if argv[1:]:
        sys.stderr.write(__doc__.lstrip())
        return 2
    files = outputs()
    write_all(ROOT, files)
    for rel in sorted(files):
        print("%6d  %s" % (len(files[rel]), rel))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
