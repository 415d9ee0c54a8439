#!/usr/bin/env python3
"""Writes a copy of a 32-bit PE image that asks for another base, with its
relocation table applied to every address the table names, as a rebasing
tool does; the header's checksum is made anew.

    rebase_image.py [--drop-first-block] IN OUT BASE

--drop-first-block leaves out the table's first block, as a linker that lost
it would: the copy then still holds addresses of the old base.
"""
import struct
import sys

HIGHLOW, ABSOLUTE = 3, 0


def rebase(image, base, drop_first_block=False):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0" or struct.unpack_from("<H", image, pe + 24)[0] != 0x10B:
        sys.exit("not a 32-bit PE image")
    sections = struct.unpack_from("<H", image, pe + 6)[0]
    optional = pe + 24
    old_base = struct.unpack_from("<I", image, optional + 28)[0]
    table_rva, table_size = struct.unpack_from("<II", image, optional + 96 + 5 * 8)
    if not table_size:
        sys.exit("the image has no relocations")
    headers = optional + struct.unpack_from("<H", image, pe + 20)[0]

    def offset(rva):
        for i in range(sections):
            vsize, vaddr, rsize, raw = struct.unpack_from("<IIII", image, headers + 40 * i + 8)
            if vaddr <= rva < vaddr + min(vsize, rsize):
                return raw + rva - vaddr
        sys.exit("RVA %#x lies in no section's bytes in the file" % rva)

    out, delta = bytearray(image), (base - old_base) & 0xFFFFFFFF
    at, end = offset(table_rva), offset(table_rva) + table_size
    if drop_first_block:
        at += struct.unpack_from("<I", image, at + 4)[0]
    while at < end:
        page, block = struct.unpack_from("<II", image, at)
        if block < 8:
            break
        for entry_at in range(at + 8, at + block, 2):
            entry = struct.unpack_from("<H", image, entry_at)[0]
            if entry >> 12 == HIGHLOW:
                where = offset(page + (entry & 0xFFF))
                struct.pack_into("<I", out, where, (struct.unpack_from("<I", out, where)[0] + delta) & 0xFFFFFFFF)
            elif entry >> 12 != ABSOLUTE:
                sys.exit("relocation type %d at %#x: only HIGHLOW is expected" % (entry >> 12, page))
        at += block
    struct.pack_into("<I", out, optional + 28, base)
    struct.pack_into("<I", out, optional + 64, checksum(out, optional + 64))
    return bytes(out)


def checksum(image, field):
    """The header's checksum, as the image help library computes it."""
    total = 0
    padded = bytes(image[:field]) + bytes(4) + bytes(image[field + 4:]) + bytes(len(image) % 2)
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


def main(args):
    drop = args[:1] == ["--drop-first-block"]
    args = args[drop:]
    if len(args) != 3:
        sys.exit(__doc__)
    with open(args[0], "rb") as f:
        image = rebase(f.read(), int(args[2], 0), drop)
    with open(args[1], "wb") as f:
        f.write(image)


if __name__ == "__main__":
    main(sys.argv[1:])
