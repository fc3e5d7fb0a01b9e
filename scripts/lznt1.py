#!/usr/bin/env python3
"""LZNT1, the compression every Windows from XP on unpacks with ntdll's
RtlDecompressBuffer: Ternavo carries Kestrun packed this way.

  lznt1.py pack IN OUT     OUT = IN's size (4 bytes, little-endian), then IN in LZNT1,
                           padded with zeros to whole chunks
  lznt1.py unpack IN OUT   the reverse

The packer is deterministic (the same input gives the same bytes on any
machine), so builds stay reproducible.

The format: the data in chunks of 4096 bytes, each behind a 16-bit header
(bit 15: packed, bits 12-14: 3, bits 0-11: the chunk's stored length minus 1).
A packed chunk is groups of a flag byte and eight items, bit i of the flag
telling whether item i is a literal byte (0) or a 16-bit copy token (1). A
token's split between offset and length depends on how far into the chunk it
stands: the further in, the more bits the offset takes.
"""
import struct
import sys

CHUNK = 4096
MIN_MATCH = 3
MAX_CANDIDATES = 256


def _split(pos):
    """Offset shift and length mask of a token at `pos` bytes into its chunk."""
    shift, mask = 12, 0xFFF
    i = pos - 1
    while i >= 0x10:
        shift -= 1
        mask >>= 1
        i >>= 1
    return shift, mask


def _pack_chunk(data):
    out = bytearray()
    heads = {}
    pos, n = 0, len(data)
    while pos < n:
        flag_at = len(out)
        out.append(0)
        flags = 0
        for bit in range(8):
            if pos >= n:
                break
            shift, mask = _split(pos)
            best_len, best_off = 0, 0
            if pos + MIN_MATCH <= n:
                limit = min(mask + MIN_MATCH, n - pos)
                for cand in reversed(heads.get(data[pos:pos + MIN_MATCH], ())[-MAX_CANDIDATES:]):
                    length = MIN_MATCH
                    while length < limit and data[cand + length] == data[pos + length]:
                        length += 1
                    if length > best_len:
                        best_len, best_off = length, pos - cand
                        if length == limit:
                            break
            if best_len >= MIN_MATCH:
                flags |= 1 << bit
                out += struct.pack("<H", ((best_off - 1) << shift) | (best_len - MIN_MATCH))
                step = best_len
            else:
                out.append(data[pos])
                step = 1
            for p in range(pos, min(pos + step, n - MIN_MATCH + 1)):
                heads.setdefault(data[p:p + MIN_MATCH], []).append(p)
            pos += step
        out[flag_at] = flags
    return bytes(out)


def pack(data):
    # Every chunk is a whole one (the last padded with zeros, which the 4-byte
    # length then cuts off again), so that one that does not shrink can always
    # be stored as it is: a signed program ends in a certificate that may not.
    out = bytearray(struct.pack("<I", len(data)))
    data = data + bytes(-len(data) % CHUNK)
    for start in range(0, len(data), CHUNK):
        chunk = data[start:start + CHUNK]
        packed = _pack_chunk(chunk)
        if len(packed) < CHUNK:
            out += struct.pack("<H", 0xB000 | (len(packed) - 1)) + packed
        else:
            out += struct.pack("<H", 0x3000 | (CHUNK - 1)) + chunk
    return bytes(out)


def unpack(blob):
    size = struct.unpack_from("<I", blob)[0]
    whole = size + (-size % CHUNK)
    out = bytearray()
    pos = 4
    while pos + 2 <= len(blob) and len(out) < whole:
        header = struct.unpack_from("<H", blob, pos)[0]
        pos += 2
        if header == 0:
            break
        stored = (header & 0xFFF) + 1
        end = pos + stored
        if not header & 0x8000:
            out += blob[pos:end]
            pos = end
            continue
        chunk = bytearray()
        while pos < end:
            flags = blob[pos]
            pos += 1
            for bit in range(8):
                if pos >= end:
                    break
                if flags >> bit & 1:
                    token = struct.unpack_from("<H", blob, pos)[0]
                    pos += 2
                    shift, mask = _split(len(chunk))
                    offset, length = (token >> shift) + 1, (token & mask) + MIN_MATCH
                    if offset > len(chunk):
                        raise ValueError("LZNT1: copy from before the chunk")
                    for _ in range(length):
                        chunk.append(chunk[-offset])
                else:
                    chunk.append(blob[pos])
                    pos += 1
        out += chunk
    if len(out) != whole:
        raise ValueError("LZNT1: %d bytes unpacked, %d expected" % (len(out), whole))
    return bytes(out[:size])


def main(argv):
    if len(argv) != 3 or argv[0] not in ("pack", "unpack"):
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "rb") as f:
        data = f.read()
    result = pack(data) if argv[0] == "pack" else unpack(data)
    if argv[0] == "pack" and unpack(result) != data:
        sys.stderr.write("lznt1.py: packed data does not unpack to the input\n")
        return 1
    with open(argv[2], "wb") as f:
        f.write(result)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
