#!/usr/bin/env python3
"""Finds which of a run of captured frames a window shot shows.
Usage: match-frame.py SHOT FRAMES
SHOT is one binary PNM picture, FRAMES a stream of them of the same size and
kind (ImageMagick writes one for many files). Prints "INDEX DIFFERING" for
the frame (0 = the first in FRAMES) with the fewest differing samples, and
the count. Masks (black or white) compare outlines, colour pictures whole.
Samples are compared as 0-255 values whatever maxval a tool chose to write
(one writes 3 for a picture of four levels, another 65535)."""
import sys


def pictures(data):
    pos = 0
    while pos < len(data):
        fields = []
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        channels = {b"P5": 1, b"P6": 3}[fields[0]]
        maxval = int(fields[3])
        wide = 2 if maxval > 255 else 1
        size = int(fields[1]) * int(fields[2]) * channels * wide
        yield to_8_bits(data[pos + 1:pos + 1 + size], maxval, wide)
        pos += 1 + size


def to_8_bits(samples, maxval, wide):
    if maxval == 255:
        return samples
    if wide == 2:
        values = (int.from_bytes(samples[i:i + 2], "big") for i in range(0, len(samples), 2))
    else:
        values = iter(samples)
    return bytes((v * 255 + maxval // 2) // maxval for v in values)


def main():
    shot = next(pictures(open(sys.argv[1], "rb").read()))
    target = int.from_bytes(shot, "big")
    best = None
    for index, frame in enumerate(pictures(open(sys.argv[2], "rb").read())):
        if len(frame) != len(shot):
            sys.exit("match-frame: the shot and the frames differ in size")
        # Differing bits, a quick stand-in for differing bytes.
        bits = bin(int.from_bytes(frame, "big") ^ target).count("1")
        if best is None or bits < best[0]:
            best = (bits, index, frame)
        if bits == 0:
            break
    if best is None:
        sys.exit("match-frame: no frames")
    _, index, frame = best
    print(index, sum(1 for x, y in zip(frame, shot) if x != y))


main()
