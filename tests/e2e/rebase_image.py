#!/usr/bin/env python3
"""rebase_image.py [--drop-first-block] IN OUT BASE

Copies a 32-bit PE image to OUT, asking for BASE, with its relocation table
applied to every address the table names (as a rebasing tool does) and its
checksum made anew. --drop-first-block skips the table's first block, as a
linker that lost it would: the copy then keeps addresses of the old base."""
import struct
import sys


def rebase(image, base, drop_first_block):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    opt = pe + 24
    sections = [struct.unpack_from("<IIII", image, opt + struct.unpack_from("<H", image, pe + 20)[0] + 40 * i + 8)
                for i in range(struct.unpack_from("<H", image, pe + 6)[0])]

    def offset(rva):
        return next(raw + rva - va for size, va, raw_size, raw in sections if va <= rva < va + min(size, raw_size))

    out, delta = bytearray(image), base - struct.unpack_from("<I", image, opt + 28)[0]
    table, table_size = struct.unpack_from("<II", image, opt + 136)
    at, end = offset(table), offset(table) + table_size
    if drop_first_block:
        at += struct.unpack_from("<I", image, at + 4)[0]
    while at + 8 <= end and struct.unpack_from("<I", image, at + 4)[0] >= 8:
        page, block = struct.unpack_from("<II", image, at)
        for (entry,) in struct.iter_unpack("<H", image[at + 8:at + block]):
            if entry >> 12 == 3:  # HIGHLOW, the one kind a 32-bit image needs beside padding
                where = offset(page + (entry & 0xFFF))
                struct.pack_into("<I", out, where, (struct.unpack_from("<I", out, where)[0] + delta) & 0xFFFFFFFF)
            elif entry >> 12:
                sys.exit("relocation of kind %d: not expected in a 32-bit image" % (entry >> 12))
        at += block
    struct.pack_into("<I", out, opt + 28, base)
    struct.pack_into("<I", out, opt + 64, 0)
    total = 0
    for (word,) in struct.iter_unpack("<H", bytes(out) + bytes(len(out) % 2)):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    struct.pack_into("<I", out, opt + 64, total + len(out))
    return bytes(out)

if __name__ == "__main__":
    drop = sys.argv[1:2] == ["--drop-first-block"]
    args = sys.argv[1 + drop:]
    if len(args) != 3:
        sys.exit(__doc__)
    with open(args[0], "rb") as f:
        image = rebase(f.read(), int(args[2], 0), drop)
    with open(args[1], "wb") as f:
        f.write(image)
