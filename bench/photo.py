#!/usr/bin/env python3
# Writes a 4000 x 3000 PPM picture that costs about what a photograph costs
# to compress and decode: a smooth colour field with a fine random texture.
# Usage: photo.py OUT.ppm
import os
import sys

width, height = 4000, 3000
with open(sys.argv[1], "wb") as out:
    out.write(b"P6\n%d %d\n255\n" % (width, height))
    texture = [bytes(b & 0x07 for b in os.urandom(width * 3)) for _ in range(16)]
    field = bytearray()
    for x in range(width):
        field += bytes((x * 255 // width, 128 + x * 64 // width, 255 - x * 200 // width))
    for y in range(height):
        lift = y * 150 // height
        row = bytes(field).translate(bytes(min(255, v + lift) for v in range(256)))
        out.write(bytes(map(lambda a, b: (a + b) & 255, row, texture[y % 16])))
