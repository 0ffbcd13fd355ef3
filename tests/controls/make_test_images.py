#!/usr/bin/env python3
"""Writes the test program's icons and bitmap: solid-colour 32 x 32 icons and a
16 x 12 bitmap of four coloured quadrants."""
import struct
import sys


def icon(path, rgb, kind=1):
    """kind 1 writes an icon, kind 2 a cursor with its hot spot at (1, 1)."""
    size = 32
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    b, g, r = rgb[2], rgb[1], rgb[0]
    pixels = bytes([b, g, r, 255]) * (size * size)
    mask = bytes(4 * size)  # one 32-bit row per line, all opaque
    image = header + pixels + mask
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, kind, 1))
        planes_or_x, bits_or_y = (1, 32) if kind == 1 else (1, 1)
        f.write(struct.pack('<BBBBHHII', size, size, 0, 0, planes_or_x, bits_or_y, len(image), 22))
        f.write(image)


def mixed_icon(path):
    """16 x 16, 32-bit with alpha: rows 0-3 transparent, 4-9 red, 10-15 black."""
    size = 16
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''
    mask = b''
    for y in reversed(range(size)):
        if y < 4:
            pixels += bytes([0, 0, 0, 0]) * size
            mask += bytes([0xFF, 0xFF, 0, 0])
        else:
            px = bytes([0, 0, 255, 255]) if y < 10 else bytes([0, 0, 0, 255])
            pixels += px * size
            mask += bytes(4)
    image = header + pixels + mask
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def quadrants(path):
    w, h = 16, 12
    colours = {(0, 0): (255, 0, 0), (1, 0): (0, 255, 0), (0, 1): (0, 0, 255), (1, 1): (255, 255, 0)}
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in reversed(range(h)):
        row = b''
        for x in range(w):
            r, g, b = colours[(x * 2 // w, y * 2 // h)]
            row += bytes([b, g, r])
        rows.append(row + bytes(stride - len(row)))
    data = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(info) + len(data), 0, 0, 14 + len(info)))
        f.write(info + data)


out = sys.argv[1]
icon(f'{out}/frame_red.ico', (255, 0, 0))
icon(f'{out}/frame_green.ico', (0, 255, 0))
icon(f'{out}/frame_blue.ico', (0, 0, 255))
mixed_icon(f'{out}/mixed.ico')
icon(f'{out}/hover.cur', (0, 128, 255), kind=2)
quadrants(f'{out}/quadrants.bmp')
