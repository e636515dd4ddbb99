#!/usr/bin/env python3
"""Writes the seed corpus of the extraction fuzzer: small launcher files with
valid and deliberately broken archives appended. Independent of our own
writer, so the seeds also check that the layout is what we think it is."""
import bz2
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "extract")


def u32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def archive(entries, program=b"Setup.exe", stub=b"MZ-stub", stream=None,
            count=None, length=None, offset=None):
    """entries: (path, type, content-or-size)."""
    payload = b"".join(c for _, t, c in entries if t == 1 and isinstance(c, bytes))
    if stream is None:
        stream = bz2.compress(payload, 9)
    table = b""
    for path, kind, content in entries:
        size = len(content) if isinstance(content, bytes) else content
        table += path + b"\0" + u32(kind) + u32(size)
    body = program + b"\0" + u32(len(entries) if count is None else count) + table
    body += u32(len(stream) if length is None else length) + stream
    return stub + body + u32(len(stub) if offset is None else offset)


def main():
    os.makedirs(OUT, exist_ok=True)
    nested = [(b"\\Brindle", 2, b""), (b"\\Brindle\\common", 2, b""),
              (b"\\Brindle\\common\\convert.dll", 1, b"dll" * 40),
              (b"\\empty", 2, b""), (b"\\zero", 1, b""),
              (b"\\Setup.exe", 1, b"MZ setup")]
    pieces = [(b"\\big.bin", 1, bytes(range(256)) * 48), (b"\\Setup.exe", 1, b"MZ")]
    good = archive(nested)
    stream = bz2.compress(b"abc" * 10, 9)
    seeds = {
        "valid_small": archive([(b"\\Setup.exe", 1, b"hello")]),
        "valid_nested": good,
        "valid_pieces": archive(pieces),
        "valid_gbk": archive([(b"\\\xb0\xb2\xd7\xb0.bat", 1, b"@echo\r\n"),
                              (b"\\Setup.exe", 1, b"MZ")]),
        "traversal": archive([(b"\\..\\..\\escape", 1, b"x"), (b"\\a/../b", 1, b"y"),
                              (b"\\C:\\x", 1, b"z"), (b"\\ok", 1, b"ok")]),
        "type7": archive([(b"\\seven", 7, 5), (b"\\ok", 1, b"ok")]),
        "huge_count": archive([(b"\\a", 1, b"a")], count=0xFFFFFFFF),
        "huge_string": b"MZ" + b"A" * 4000 + u32(2),
        "huge_length": archive([(b"\\a", 1, b"a")], length=0xFFFFFFF0),
        "size_beyond_stream": archive([(b"\\a", 1, 0x7FFFFFFF)], stream=stream),
        "truncated": good[:len(good) - 20],
        "bad_offset": archive([(b"\\a", 1, b"a")], offset=0xFFFFFFF0),
        "garbage_stream": archive([(b"\\a", 1, 3)], stream=b"BZh9" + b"\x55" * 60),
        "empty_archive": archive([], program=b""),
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as handle:
            handle.write(data)
    print("wrote %d seeds to %s" % (len(seeds), OUT))
    return 0


if __name__ == "__main__":
    sys.exit(main())
