#!/usr/bin/env python3
"""Packs square PNG icons into one Windows .ico, each image kept as the PNG it is.

    make-ico.py OUT.ico ICON.png...

Windows Vista and later read PNG images in an .ico at every size. The sizes are taken from
the PNG headers; a file that is not a square PNG of 1 to 256 pixels a side is refused.
"""
import struct
import sys


def png_size(data, name):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit(f"make-ico: {name} is not a PNG file")
    width, height = struct.unpack(">II", data[16:24])
    if width != height or not 1 <= width <= 256:
        sys.exit(f"make-ico: {name} is {width}x{height}, not square and at most 256 pixels")
    return width


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: make-ico.py OUT.ico ICON.png...")
    images = []
    for name in sys.argv[2:]:
        with open(name, "rb") as file:
            data = file.read()
        images.append((png_size(data, name), data))
    images.sort(key=lambda image: image[0])
    header = struct.pack("<HHH", 0, 1, len(images))  # reserved, type 1 = icon, count
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for side, data in images:
        # Width and height are one byte each, 0 standing for 256; 32 bits a pixel.
        entries += struct.pack("<BBBBHHII", side % 256, side % 256, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    with open(sys.argv[1], "wb") as file:
        file.write(header + entries + blobs)


main()
