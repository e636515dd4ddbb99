"""Decode throughput of Pillow on the same files as image_decode_bench: each
file is opened and fully loaded repeatedly, the best run counts. Prints one
line per file: "decode <name> <megapixels per second>"."""

import sys
import time

from PIL import Image


def decode_once(path):
    with Image.open(path) as image:
        image.load()
        return image.width * image.height


def main(argv):
    runs = int(argv[1])
    for path in argv[2:]:
        best = float("inf")
        pixels = 0
        for _ in range(runs):
            start = time.perf_counter()
            pixels = decode_once(path)
            best = min(best, time.perf_counter() - start)
        print("decode %s %.2f" % (path, pixels / best / 1e6))


if __name__ == "__main__":
    main(sys.argv)
