#!/usr/bin/env python3
"""Draws the application icon, a white T on a blue rounded square, at each
size the shells ask for, and writes resources/tolvane.ico.

    make_icon.py ICO           writes the icon
    make_icon.py --check ICO   fails unless ICO holds what this script draws

Each size is drawn on its own pixel grid rather than scaled from another:
the T's edges fall on whole pixels at every size, and only the square's
corners are shaded. Every image is a 32-bit bitmap with its mask, which XP
reads, except the largest, which only Vista and later ask for and which they
read as PNG.
"""
import struct
import sys
import zlib

# 16, 32 and 48 are the small, large and shell icons at 96 dpi, all that XP
# asks for there; the small icon is 20 and 24 at 125 and 150 %, the large one
# 40, 48 and 64 at 125, 150 and 200 %; 256 serves Explorer's largest views,
# from which Vista and later scale every size above 64. Only that one is a
# PNG, so that XP at any scale finds a bitmap it can read; it stands last, so
# that a reader which knows no PNG meets the bitmaps first.
SIZES = (64, 48, 40, 32, 24, 20, 16, 256)
PNG_SIZES = {256}
BLUE = (29, 79, 145)
WHITE = (255, 255, 255)


def scaled(n, size):
    return max(1, round(n * size / 48))


def centred(width, size):
    """A width of the same parity as the icon, so that it stands in the middle."""
    width = scaled(width, size)
    if (size - width) % 2:
        width += 1
    return (size - width) // 2, (size + width) // 2


def corner_cover(x, y, size, inset, radius):
    """How much of pixel (x, y) the rounded square covers, from 0 to 16."""
    lo, hi = inset, size - inset
    if not (lo <= x < hi and lo <= y < hi):
        return 0
    cx = min(max(x + 0.5, lo + radius), hi - radius)
    cy = min(max(y + 0.5, lo + radius), hi - radius)
    if (cx, cy) == (x + 0.5, y + 0.5):
        return 16
    inside = 0
    for sy in range(4):
        for sx in range(4):
            dx, dy = x + (sx + 0.5) / 4 - cx, y + (sy + 0.5) / 4 - cy
            inside += dx * dx + dy * dy <= radius * radius
    return inside


def draw(size):
    """Rows top to bottom of (r, g, b, a)."""
    inset = 0 if size < 20 else scaled(2, size)
    radius = max(2, scaled(7, size))
    bar_left, bar_right = centred(22, size)
    stem_left, stem_right = centred(6, size)
    bar_top = scaled(12, size)
    bar_bottom = bar_top + max(2, scaled(5, size))
    stem_bottom = size - scaled(13, size)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            cover = corner_cover(x, y, size, inset, radius)
            in_bar = bar_left <= x < bar_right and bar_top <= y < bar_bottom
            in_stem = stem_left <= x < stem_right and bar_top <= y < stem_bottom
            if cover == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((WHITE if in_bar or in_stem else BLUE) + ((cover * 255 + 8) // 16,))
        rows.append(row)
    return rows


def bitmap(size, rows):
    """A header, the colours bottom up, then the mask that XP's screens
    without alpha draw by: set where nothing is drawn."""
    stride = (size + 31) // 32 * 4
    colours = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colours), 0, 0, 0, 0)
    return header + colours + bytes(mask)


def png(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon():
    images = [(size, (png if size in PNG_SIZES else bitmap)(size, draw(size))) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def pixels(ico):
    """The icon with each PNG's stream inflated: another zlib may pack the same
    pixels into other bytes."""
    count = struct.unpack_from("<H", ico, 4)[0]
    parts = [ico[:6] + b"".join(ico[6 + 16 * i:14 + 16 * i] for i in range(count))]
    for i in range(count):
        length, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
        data = ico[offset:offset + length]
        if data.startswith(b"\x89PNG"):
            at, chunks = 8, []
            while at < len(data):
                n = struct.unpack_from(">I", data, at)[0]
                kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + n]
                chunks.append((kind, zlib.decompress(body) if kind == b"IDAT" else body))
                at += 12 + n
            data = repr(chunks).encode()
        parts.append(data)
    return parts


def main(args):
    if args[:1] == ["--check"] and len(args) == 2:
        with open(args[1], "rb") as f:
            held = f.read()
        drawn = icon()
        if held != drawn and pixels(held) != pixels(drawn):
            sys.exit("%s is not what %s draws: run it to write the icon anew" % (args[1], sys.argv[0]))
        return
    if len(args) != 1:
        sys.exit(__doc__)
    with open(args[0], "wb") as f:
        f.write(icon())


if __name__ == "__main__":
    main(sys.argv[1:])
