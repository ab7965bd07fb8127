#!/usr/bin/env python3
"""Counts the pixels of one colour in an XWD screen dump: xwd_count.py FILE R G B."""
import struct
import sys


def main():
    path, r, g, b = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
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

    rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
    want = (r << rs) | (g << gs) | (b << bs)
    mask = red_mask | green_mask | blue_mask
    fmt = "<" if byte_order == 0 else ">"
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
