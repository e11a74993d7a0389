#!/usr/bin/env python3
"""Packs PNG images into one Windows icon file: make-ico.py OUT.ico IN.png...

Every entry keeps its PNG bytes as they are (Windows reads PNG entries since Vista); the size of each
comes from the PNG's own header.
"""
import struct
import sys


def png_size(data: bytes) -> tuple:
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG image")
    return struct.unpack(">II", data[16:24])


def main() -> None:
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    images = [open(name, "rb").read() for name in sys.argv[2:]]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory = b""
    for data in images:
        width, height = png_size(data)
        # 256 is written as 0, as the format has one byte for it.
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(header + directory + b"".join(images))


main()
