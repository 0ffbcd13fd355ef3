#!/usr/bin/env python3
"""Writes the owner-drawn menu test's toolbar pictures and check images.

16-colour pictures use the standard palette; every button image of those
has a light grey pixel at (0, 0) (the button face, hence transparent) and a
dark grey one at (1, 0) (the button shadow), the rest in its own colour."""
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
FACE, SHADOW = 7, 8


def write_bmp(path, w, h, bits, rows, palette=()):
    """rows: bottom-up rows of packed pixel bytes, each padded to 4 bytes."""
    data = b''.join(rows)
    table = b''.join(bytes([b, g, r, 0]) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(info) + len(table) + len(data), 0, 0,
                                    14 + len(info) + len(table)))
        f.write(info + table + data)


def pad(row):
    return row + bytes(-len(row) % 4)


def strip16(path, w, h, colours):
    """A strip of w x h button images in 16 colours, one palette index each."""
    def pixel(x, y):
        cell, cx = divmod(x, w)
        if y == 0 and cx in (0, 1):
            return FACE if cx == 0 else SHADOW
        return colours[cell]
    width = w * len(colours)
    rows = []
    for y in reversed(range(h)):
        nibbles = [pixel(x, y) for x in range(width)] + [0]
        rows.append(pad(bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, width, 2))))
    write_bmp(path, width, h, 4, rows, PALETTE)


def strip24(path, w, h, colours):
    """A strip of solid w x h button images in 24-bit colour."""
    rows = []
    for _ in range(h):
        rows.append(pad(b''.join(bytes([b, g, r]) * w for r, g, b in colours)))
    write_bmp(path, w * len(colours), h, 24, rows)


out = sys.argv[1]
# Open red, Save lime, Undo blue, Variant yellow.
strip16(f'{out}/toolbar16x15.bmp', 16, 15, [9, 10, 12, 11])
strip24(f'{out}/toolbar24x24.bmp', 24, 24, [(255, 128, 0), (0, 128, 255)])
# Save magenta, Recent one teal, Variant cyan.
strip16(f'{out}/toolbar16x16.bmp', 16, 16, [13, 6, 14])
strip16(f'{out}/check_plain.bmp', 16, 15, [1])
strip16(f'{out}/check_highlight.bmp', 16, 15, [4])
