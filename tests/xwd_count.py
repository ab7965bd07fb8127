#!/usr/bin/env python3
"""Reads the pixels of an XWD screen dump.

xwd_count.py FILE R G B   prints how many pixels have that colour;
xwd_count.py FILE --digest prints a digest of the pixels alone. Two dumps of an unchanged
screen give the same digest, where the files themselves may differ: xwd leaves some bytes of
its header and colour map unset.
"""
import hashlib
import struct
import sys


def main():
    path = sys.argv[1]
    digest = sys.argv[2:] == ["--digest"]
    if not digest:
        r, g, b = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _version, _fmt, _depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    ncolors = fields[19]
    if bits_per_pixel not in (24, 32):
        sys.exit("only 24- and 32-bit dumps are read (got %d)" % bits_per_pixel)
    step = bits_per_pixel // 8
    offset = header_size + 12 * ncolors

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    mask = red_mask | green_mask | blue_mask
    fmt = "<" if byte_order == 0 else ">"
    if digest:
        # Only the bytes the colour masks cover: a pixel's padding byte is not part of it.
        covered = [i for i in range(step)
                   if (mask >> (8 * (i if fmt == "<" else step - 1 - i))) & 0xFF]
        h = hashlib.sha1()
        for y in range(height):
            row = data[offset + y * bytes_per_line: offset + y * bytes_per_line + step * width]
            for i in covered:
                h.update(row[i::step])
        print(h.hexdigest())
        return
    rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
    want = (r << rs) | (g << gs) | (b << bs)
    count = 0
    for y in range(height):
        row = data[offset + y * bytes_per_line: offset + y * bytes_per_line + step * width]
        for x in range(0, len(row), step):
            pixel = int.from_bytes(row[x:x + step], "little" if fmt == "<" else "big")
            if pixel & mask == want:
                count += 1
    print(count)


if __name__ == "__main__":
    main()
