#!/usr/bin/env python3
"""Converts an uncompressed 24- or 32-bit BMP file (as the Windows screenshot
helper writes them) into a PNG file, with the standard library only.

    bmp_to_png.py IN.bmp OUT.png"""
import struct
import sys
import zlib


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: bmp_to_png.py IN.bmp OUT.png")
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        sys.exit("bmp_to_png: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression != 0:
        sys.exit("bmp_to_png: only uncompressed 24- and 32-bit images")
    step = bits // 8
    row_bytes = (width * step + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = y if height < 0 else abs(height) - 1 - y  # bottom-up unless negative
        start = offset + source * row_bytes
        row = bytearray(b"\x00")  # filter: none
        for x in range(width):
            b, g, r = data[start + x * step:start + x * step + 3]
            row += bytes((r, g, b))
        rows.append(bytes(row))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
    png += chunk(b"IEND", b"")
    with open(sys.argv[2], "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
