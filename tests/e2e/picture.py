#!/usr/bin/python3
"""Measures a screenshot for the end-to-end scripts: where the picture lies
among black bars, and how much of it is lit.

    picture.py FILE.ppm [LEFT TOP RIGHT BOTTOM]

prints one line: WIDTH HEIGHT LEFT TOP RIGHT BOTTOM LIT MEAN, the size of
the image (or of the part of it given, inclusive), the bounding box of
every pixel in it that is not pure black (inclusive, from the part's
corner; -1s when there is none), the per cent of the box's pixels brighter
than a dark grey, and their mean brightness, 0 to 255. FILE is a binary PPM (P6) of 8 bits, as
`import -window root -depth 8 ppm:FILE` writes.
"""

import re
import sys


def main():
    data = open(sys.argv[1], "rb").read()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not header or header.group(3) != b"255":
        sys.exit("picture.py: %s is not an 8-bit binary PPM" % sys.argv[1])
    width, height = int(header.group(1)), int(header.group(2))
    pixels = memoryview(data)[header.end():]
    if len(sys.argv) == 6:
        x0, y0, x1, y1 = (int(v) for v in sys.argv[2:])
        pixels = b"".join(bytes(pixels[(y * width + x0) * 3:(y * width + x1 + 1) * 3]) for y in range(y0, y1 + 1))
        width, height = x1 - x0 + 1, y1 - y0 + 1
    row = width * 3
    left, right, top, bottom = width, -1, height, -1
    for y in range(height):
        line = pixels[y * row:(y + 1) * row]
        first = next((i for i in range(0, row) if line[i]), -1)
        if first < 0:
            continue
        last = next(i for i in range(row - 1, -1, -1) if line[i])
        left, right = min(left, first // 3), max(right, last // 3)
        top, bottom = min(top, y), y
    if right < 0:
        print(width, height, -1, -1, -1, -1, 0, 0)
        return
    lit = total = brightness = 0
    for y in range(top, bottom + 1, 4):
        for x in range(left, right + 1, 4):
            at = y * row + x * 3
            total += 1
            value = pixels[at] + pixels[at + 1] + pixels[at + 2]
            lit += value > 48
            brightness += value
    print(width, height, left, top, right, bottom, lit * 100 // total, brightness // (3 * total))


main()
