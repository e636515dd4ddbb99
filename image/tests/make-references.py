#!/usr/bin/env python3
"""Writes the picture variants that ImageMagick cannot write itself (16- and
32-bit and top-down BMP, multi-image icons and cursors, top-left Targa, 1-bit
and run-length Sun raster, PNG with a chosen gamma, deliberately broken PNG)
and checks that the variants ImageMagick wrote are the kind they claim to be.
Called by make-references.sh; every reference is still ImageMagick's own
decoding of the finished file."""

import struct
import sys
import zlib


def read_pam(path):
    """Answers (width, height, depth, bytes) of an 8-bit PAM file."""
    data = open(path, "rb").read()
    end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
    fields = {}
    for line in data[:end].decode("ascii").splitlines()[1:-1]:
        key, _, value = line.partition(" ")
        fields[key] = value
    if fields["MAXVAL"] != "255":
        raise SystemExit(path + ": expected 8-bit samples")
    width, height, depth = int(fields["WIDTH"]), int(fields["HEIGHT"]), int(fields["DEPTH"])
    return width, height, depth, data[end:end + width * height * depth]


def rgb_rows(path):
    """The picture's rows as lists of (r, g, b), top to bottom."""
    width, height, depth, pixels = read_pam(path)
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            at = (y * width + x) * depth
            if depth >= 3:
                row.append(tuple(pixels[at:at + 3]))
            else:
                row.append((pixels[at],) * 3)
        rows.append(row)
    return rows


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def bmp_file(width, height, bits, compression, rows, extra=b""):
    """A BMP with a 40-byte header; rows are given top to bottom and stored
    bottom-up, or top-down when height is negative."""
    stored = rows if height < 0 else list(reversed(rows))
    data = b"".join(pad4(row) for row in stored)
    offset = 54 + len(extra)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data),
                       2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + extra + data


def bmp_variants(source, outdir):
    rows = rgb_rows(source)
    width, height = len(rows[0]), len(rows)

    def write(name, data):
        open(outdir + "/" + name, "wb").write(data)

    def pack555(r, g, b):
        return struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | b >> 3)

    def pack565(r, g, b):
        return struct.pack("<H", (r >> 3) << 11 | (g >> 2) << 5 | b >> 3)

    write("bmp-16-555.bmp", bmp_file(width, height, 16, 0,
                                     [b"".join(pack555(*p) for p in row) for row in rows]))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    write("bmp-16-565.bmp", bmp_file(width, height, 16, 3,
                                     [b"".join(pack565(*p) for p in row) for row in rows], masks))
    bgr = [b"".join(bytes((b, g, r)) for r, g, b in row) for row in rows]
    write("bmp-24-topdown.bmp", bmp_file(width, -height, 24, 0, bgr))
    # The fourth byte is 0, as most writers leave it: the picture is opaque.
    bgr0 = [b"".join(bytes((b, g, r, 0)) for r, g, b in row) for row in rows]
    write("bmp-32.bmp", bmp_file(width, height, 32, 0, bgr0))
    write("bmp-32-topdown.bmp", bmp_file(width, -height, 32, 0, bgr0))


def bmp_topdown(source, target):
    """Stores the rows of an uncompressed bottom-up BMP top-down."""
    data = bytearray(open(source, "rb").read())
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    if compression != 0 or height <= 0:
        raise SystemExit(source + ": expected an uncompressed bottom-up BMP")
    stride = (bits * width + 31) // 32 * 4
    rows = [data[offset + y * stride: offset + (y + 1) * stride] for y in range(height)]
    data[offset:offset + stride * height] = b"".join(reversed(rows))
    struct.pack_into("<i", data, 22, -height)
    open(target, "wb").write(data)


def expect_bmp(path, bits, compression):
    data = open(path, "rb").read()
    got = struct.unpack_from("<HI", data, 28)
    if got != (bits, compression):
        raise SystemExit("%s: %d bits, compression %d; expected %d, %d" % ((path,) + got + (bits, compression)))


def ico_merge(target, kind, sources):
    """Joins the first image of each icon file into one icon (kind 1) or
    cursor (kind 2, hot spot at the centre)."""
    entries, images = [], []
    for source in sources:
        data = open(source, "rb").read()
        reserved, _, count = struct.unpack_from("<HHH", data, 0)
        if reserved != 0 or count < 1:
            raise SystemExit(source + ": not an icon file")
        entry = bytearray(data[6:22])
        size, offset = struct.unpack_from("<II", entry, 8)
        if kind == 2:
            struct.pack_into("<HH", entry, 4, max(entry[0], 1) // 2, max(entry[1], 1) // 2)
        entries.append(entry)
        images.append(data[offset:offset + size])
    offset = 6 + 16 * len(entries)
    out = struct.pack("<HHH", 0, kind, len(entries))
    for entry, image in zip(entries, images):
        struct.pack_into("<II", entry, 8, len(image), offset)
        out += bytes(entry)
        offset += len(image)
    open(target, "wb").write(out + b"".join(images))


def icon_bits(path):
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 18)
    return struct.unpack_from("<H", data, offset + 14)[0]


def rle_packets(pixels, size):
    """Targa run-length packets for one row of pixels of size bytes."""
    out, i, count = b"", 0, len(pixels) // size
    px = [pixels[k * size:(k + 1) * size] for k in range(count)]
    while i < count:
        run = 1
        while i + run < count and run < 128 and px[i + run] == px[i]:
            run += 1
        if run > 1:
            out += bytes((0x80 | (run - 1),)) + px[i]
            i += run
            continue
        start = i
        while i < count and i - start < 128 and (i + 1 >= count or px[i + 1] != px[i]):
            i += 1
        out += bytes((i - start - 1,)) + b"".join(px[start:i])
    return out


def tga_topleft(source, target, rle):
    """Stores an uncompressed bottom-up Targa top-down, raw or run-length."""
    data = open(source, "rb").read()
    id_length, map_type, image_type = data[0], data[1], data[2]
    map_length, map_bits = struct.unpack_from("<H", data, 5)[0], data[7]
    width, height, bits, descriptor = struct.unpack_from("<HHBB", data, 12)
    if image_type not in (1, 2, 3) or descriptor & 0x20:
        raise SystemExit(source + ": expected an uncompressed bottom-up Targa")
    start = 18 + id_length + (map_length * ((map_bits + 7) // 8) if map_type else 0)
    size = (bits + 7) // 8
    stride = width * size
    rows = [data[start + y * stride: start + (y + 1) * stride] for y in range(height)]
    rows.reverse()
    body = b"".join(rle_packets(row, size) if rle else row for row in rows)
    header = bytearray(data[:start])
    header[2] = image_type + (8 if rle else 0)
    header[17] = descriptor | 0x20
    open(target, "wb").write(bytes(header) + body)


def ras_file(width, height, depth, ras_type, colormap, rows):
    data = b"".join(row + b"\0" * (len(row) % 2) for row in rows)
    if ras_type == 2:
        data = ras_rle(data)
    head = struct.pack(">8I", 0x59A66A95, width, height, depth, len(data), ras_type,
                       1 if colormap else 0, len(colormap))
    return head + colormap + data


def ras_rle(data):
    """Sun run-length encoding: 0x80 escapes runs and literal 0x80 bytes."""
    out, i = bytearray(), 0
    while i < len(data):
        run = 1
        while i + run < len(data) and run < 256 and data[i + run] == data[i]:
            run += 1
        if run >= 3 or data[i] == 0x80:
            if data[i] == 0x80 and run < 3:
                out += b"\x80\x00" * run
            else:
                out += bytes((0x80, run - 1, data[i]))
            i += run
        else:
            out.append(data[i])
            i += 1
    return bytes(out)


def ras_variants(source_8bit, source_pam, outdir):
    """A 1-bit raster of the grey picture and a run-length copy of the 8-bit
    raster ImageMagick wrote."""
    rows = rgb_rows(source_pam)
    width, height = len(rows[0]), len(rows)
    bilevel = []
    for row in rows:
        bits = bytearray((width + 7) // 8)
        for x, (r, g, b) in enumerate(row):
            if (r + g + b) // 3 < 128:  # 1 is black in a Sun bitmap without colour map
                bits[x // 8] |= 0x80 >> (x % 8)
        bilevel.append(bytes(bits))
    open(outdir + "/ras-1.ras", "wb").write(ras_file(width, height, 1, 1, b"", bilevel))
    data = open(source_8bit, "rb").read()
    magic, w, h, depth, length, ras_type, map_type, map_length = struct.unpack_from(">8I", data)
    if depth != 8 or ras_type != 1 or map_type != 1:
        raise SystemExit(source_8bit + ": expected a standard 8-bit raster with a colour map")
    colormap = data[32:32 + map_length]
    stride = w + w % 2
    pixels = data[32 + map_length:]
    rows8 = [pixels[y * stride: y * stride + w] for y in range(h)]
    open(outdir + "/ras-8-rle.ras", "wb").write(ras_file(w, h, 8, 2, colormap, rows8))


def png_chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG file")
    at, chunks = 8, []
    while at < len(data):
        length, = struct.unpack_from(">I", data, at)
        chunks.append((data[at + 4:at + 8], data[at + 8:at + 8 + length]))
        at += 12 + length
    return chunks


def png_join(chunks, signature=b"\x89PNG\r\n\x1a\n"):
    out = signature
    for kind, body in chunks:
        out += struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    return out


def png_gamma(source, target, gamma):
    """Keeps the critical chunks and tRNS and puts a gAMA chunk after IHDR."""
    chunks = [c for c in png_chunks(open(source, "rb").read()) if c[0] in (b"IHDR", b"PLTE", b"tRNS", b"IDAT", b"IEND")]
    chunks.insert(1, (b"gAMA", struct.pack(">I", int(round(float(gamma) * 100000)))))
    open(target, "wb").write(png_join(chunks))


def png_corrupt(source, outdir):
    """Broken copies of a valid PNG, named like the corrupt files of the full
    PNG test suite: each must be refused."""
    data = open(source, "rb").read()
    chunks = png_chunks(data)
    sig = data[:8]

    def with_ihdr(offset, value):
        body = bytearray(chunks[0][1])
        body[offset] = value
        return png_join([(b"IHDR", bytes(body))] + chunks[1:])

    def write(name, content):
        open(outdir + "/" + name, "wb").write(content)

    write("xs1n0g01.png", bytes((0x88,)) + data[1:])            # signature byte 1
    write("xs2n0g01.png", data[:1] + b"Q" + data[2:])           # signature byte 2
    write("xs4n0g01.png", data[:2] + b"n" + data[3:])           # "PnG"
    write("xs7n0g01.png", data[:7] + b"\x0b" + data[8:])        # signature byte 7
    write("xcrn0g04.png", sig[:4] + b"\r\r\n" + sig[6:] + data[8:])  # CR added
    write("xlfn0g04.png", sig[:4] + b"\r\n\n" + sig[6:] + data[8:])  # LF added
    ihdr_end = 8 + 12 + len(chunks[0][1])
    bad_crc = bytearray(data)
    bad_crc[ihdr_end - 1] ^= 0xFF
    write("xhdn0g08.png", bytes(bad_crc))                       # IHDR checksum
    write("xc1n0g08.png", with_ihdr(9, 1))                      # colour type 1
    write("xc9n2c08.png", with_ihdr(9, 9))                      # colour type 9
    write("xd0n2c08.png", with_ihdr(8, 0))                      # bit depth 0
    write("xd3n2c08.png", with_ihdr(8, 3))                      # bit depth 3
    write("xd9n2c08.png", with_ihdr(8, 99))                     # bit depth 99
    write("xdtn0g01.png", png_join([c for c in chunks if c[0] != b"IDAT"]))  # no image data
    idat = png_join(chunks)
    at = idat.index(b"IDAT")
    length, = struct.unpack_from(">I", idat, at - 4)
    broken = bytearray(idat)
    broken[at + 4 + length] ^= 0xFF
    write("xcsn0g01.png", bytes(broken))                        # image data checksum
    write("xtrn0g01.png", idat[:at + 4 + length // 2])          # cut inside the image data


def png_gammas(paths):
    """Prints each path with the file gamma libpng sees: the gAMA chunk, an
    sRGB chunk's 0.45455, or 0 when the file states none."""
    for path in paths:
        gamma = 0.0
        for kind, body in png_chunks(open(path, "rb").read()):
            if kind == b"gAMA" and len(body) == 4:
                gamma = struct.unpack(">I", body)[0] / 100000.0
                break
            if kind == b"sRGB":
                gamma = 0.45455
            if kind == b"IDAT":
                break
        print(path, gamma)


def gif_has_local_table(path):
    """1 when an image descriptor of the GIF carries its own colour table."""
    data = open(path, "rb").read()
    packed = data[10]
    at = 13 + (3 << ((packed & 7) + 1) if packed & 0x80 else 0)
    while at < len(data):
        kind = data[at]
        if kind == 0x21:
            at += 2
            while data[at]:
                at += data[at] + 1
            at += 1
        elif kind == 0x2C:
            flags = data[at + 9]
            if flags & 0x80:
                return True
            at += 10
            at += 1  # minimum code size
            while data[at]:
                at += data[at] + 1
            at += 1
        else:
            break
    return False


def main(argv):
    command = argv[1]
    if command == "bmp-variants":
        bmp_variants(argv[2], argv[3])
    elif command == "bmp-topdown":
        bmp_topdown(argv[2], argv[3])
    elif command == "expect-bmp":
        expect_bmp(argv[2], int(argv[3]), int(argv[4]))
    elif command == "ico-merge":
        ico_merge(argv[2], int(argv[3]), argv[4:])
    elif command == "expect-icon-bits":
        if icon_bits(argv[2]) != int(argv[3]):
            raise SystemExit("%s: %d bits, expected %s" % (argv[2], icon_bits(argv[2]), argv[3]))
    elif command == "tga-topleft":
        tga_topleft(argv[2], argv[3], argv[4] == "rle")
    elif command == "ras-variants":
        ras_variants(argv[2], argv[3], argv[4])
    elif command == "png-gamma":
        png_gamma(argv[2], argv[3], argv[4])
    elif command == "png-gammas":
        png_gammas(argv[2:])
    elif command == "png-corrupt":
        png_corrupt(argv[2], argv[3])
    elif command == "expect-gif-local-table":
        if not gif_has_local_table(argv[2]):
            raise SystemExit(argv[2] + ": no frame has a local colour table")
    else:
        raise SystemExit("unknown command " + command)


if __name__ == "__main__":
    main(sys.argv)
