#!/usr/bin/python3
"""picture.py FILE.ppm [LEFT TOP RIGHT BOTTOM]: measures an 8-bit binary PPM.
Prints WIDTH HEIGHT LEFT TOP RIGHT BOTTOM LIT: the size of the image (or the
inclusive part given), the inclusive box of its pixels not pure black (from the
part's corner; -1s if none), the per cent of the box brighter than dark grey."""

import re
import sys

data = open(sys.argv[1], "rb").read()
header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
if not header:
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
    line = bytes(pixels[y * row:(y + 1) * row])
    first = len(line) - len(line.lstrip(b"\0"))
    if first < row:
        left, right = min(left, first // 3), max(right, (len(line.rstrip(b"\0")) - 1) // 3)
        top, bottom = min(top, y), y
if right < 0:
    print(width, height, -1, -1, -1, -1, 0)
else:
    # Every fourth pixel of every fourth row of the box.
    samples = [sum(pixels[y * row + x * 3:y * row + x * 3 + 3])
               for y in range(top, bottom + 1, 4) for x in range(left, right + 1, 4)]
    print(width, height, left, top, right, bottom, sum(v > 48 for v in samples) * 100 // len(samples))
