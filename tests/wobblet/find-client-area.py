#!/usr/bin/env python3
"""Finds where a window's client area lies in a screenshot of the whole
desktop, by the bottom row of a reference picture of that client area (a row
every correct frame shares). Prints "X Y", the client area's top left corner
in the screenshot, and exits 0; exits 1 when the row is nowhere in it.
Usage: find-client-area.py SHOT.ppm REFERENCE.ppm (binary PPMs, 8 bits)"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit("find-client-area: %s is not an 8-bit binary PPM" % path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + width * height * 3]


shot_width, shot_height, shot = read_ppm(sys.argv[1])
width, height, reference = read_ppm(sys.argv[2])
row = reference[(height - 1) * width * 3:]
row_bytes = shot_width * 3
start = shot.find(row)
while start >= 0:
    x, y = (start % row_bytes) // 3, start // row_bytes
    if start % 3 == 0 and x + width <= shot_width and y >= height - 1:
        print(x, y - (height - 1))
        sys.exit(0)
    start = shot.find(row, start + 1)
sys.exit(1)
