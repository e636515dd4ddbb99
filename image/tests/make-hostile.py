#!/usr/bin/env python3
"""Writes the hostile test files into image/tests/data/hostile: small files
that declare huge pictures or values at the edges of their fields. The
decoders must refuse them cleanly without taking the memory they claim.

    make-hostile.py [outdir] [refsdir]

refsdir (the reference pictures the image tests make) supplies real JPEG
files whose size fields are then enlarged; without it those two are skipped.
"""
import os
import struct
import sys
import zlib

here = os.path.dirname(os.path.abspath(__file__))
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "data", "hostile")
refs = sys.argv[2] if len(sys.argv) > 2 else None
os.makedirs(out, exist_ok=True)


def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def placeable(left, top, right, bottom, upi):
    head = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, left, top, right, bottom, upi, 0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack_from("<H", head, i)[0]
    return head + struct.pack("<H", checksum)


meta_header = struct.pack("<HHHIHIH", 1, 9, 0x300, 12, 0, 3, 0)
# 32767 units at 273 units per inch: 11520 pixels a side at 96 dpi.
write("wmf-huge-box-no-end.wmf", placeable(0, 0, 32767, 32767, 273) + meta_header)
write("wmf-huge-box-empty.wmf", placeable(0, 0, 32767, 32767, 273) + meta_header + struct.pack("<IH", 3, 0))


def emf(bounds, frame, device, millimetres):
    body = struct.pack("<II", 1, 88) + struct.pack("<4i", *bounds) + struct.pack("<4i", *frame)
    body += struct.pack("<IIIIHHIII", 0x464D4520, 0x10000, 108, 2, 1, 0, 0, 0, 0)
    body += struct.pack("<2i2i", device[0], device[1], millimetres[0], millimetres[1])
    return body + struct.pack("<5I", 14, 20, 0, 16, 20)


write("emf-huge-bounds.emf", emf((0, 0, 10999, 10999), (0, 0, 0, 0), (0, 0), (0, 0)))
write("emf-frame-overflow.emf", emf((0, 0, 9, 9), (-1, 0, 0x7FFFFFFF, 100), (1000, 1000), (100, 100)))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, idat):
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", idat) + chunk(b"IEND", b""))


huge_png = png(10000, 10000, zlib.compress(b"\0" * 4001))
write("png-huge.png", huge_png)

# An icon whose one image is that PNG.
write("ico-huge-png.ico", struct.pack("<HHH", 0, 1, 1) +
      struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(huge_png), 22) + huge_png)


def tiff(width, height, compression, strip):
    entries = [
        (256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, 8), (259, 3, 1, compression),
        (262, 3, 1, 2), (273, 4, 1, 0), (277, 3, 1, 3), (278, 4, 1, height), (279, 4, 1, len(strip)),
    ]
    ifd_offset = 8
    strip_offset = ifd_offset + 2 + 12 * len(entries) + 4
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        if tag == 273:
            value = strip_offset
        if kind == 3:
            ifd += struct.pack("<HHIHH", tag, kind, count, value, 0)
        else:
            ifd += struct.pack("<HHII", tag, kind, count, value)
    return b"II*\0" + struct.pack("<I", ifd_offset) + ifd + struct.pack("<I", 0) + strip


# LZW-compressed (not a plain layout): the decoding goes through libtiff's
# RGBA conversion, which needed a second picture-sized block.
write("tiff-huge-lzw.tif", tiff(10000, 10000, 5, b"\x80\x00\x20\x00\x00\x00\x00\x00"))


def codestream(width, height, tile, components):
    siz = struct.pack(">HIIIIIIIIH", 0, width, height, 0, 0, tile, tile, 0, 0, components)
    siz += b"\x07\x01\x01" * components
    return b"\xff\x4f\xff\x51" + struct.pack(">H", len(siz) + 2) + siz + b"\xff\xd9"


# 250 x 250 tiles of one grey component: the decoding library's per-tile
# state alone would be hundreds of megabytes, taken while it reads the header.
write("j2k-many-tiles.jpc", codestream(12000, 12000, 48, 1))


def enlarge_jpeg(data, width, height):
    i = 2
    while i + 4 <= len(data):
        marker = data[i + 1]
        length = struct.unpack_from(">H", data, i + 2)[0]
        if marker in (0xC0, 0xC1, 0xC2):
            return data[:i + 5] + struct.pack(">HH", height, width) + data[i + 9:]
        i += 2 + length
    raise SystemExit("no frame header")


if refs:
    with open(os.path.join(refs, "jpeg-colour.jpg"), "rb") as f:
        write("jpeg-huge.jpg", enlarge_jpeg(f.read(), 10000, 10000))
    with open(os.path.join(refs, "jpeg-progressive.jpg"), "rb") as f:
        # Pixels that fit the free allowance; the coefficients of every
        # scan that a progressive file needs on top do not.
        write("jpeg-progressive-big.jpg", enlarge_jpeg(f.read(), 2000, 2000))
