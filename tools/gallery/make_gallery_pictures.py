#!/usr/bin/python3
"""Draws the gallery's own pictures into the given folder:
gallery_tile.bmp   96 x 64, a small picture that shows how the background modes lay it out
gallery_badge.bmp  32 x 32, a badge on magenta, the colour the image button makes transparent
menu_toolbar.bmp   80 x 15, five 16 x 15 pictures on magenta for the drop-down menu's
                   commands: open, save, undo, toolbar, exit
"""
import os
import sys

from PIL import Image, ImageDraw

out = sys.argv[1]

tile = Image.new('RGB', (96, 64), (214, 228, 242))
d = ImageDraw.Draw(tile)
for i in range(0, 96 + 64, 12):
    d.line([(i, 0), (i - 64, 64)], fill=(196, 214, 234), width=3)
d.rectangle([0, 0, 95, 63], outline=(120, 150, 190))
d.ellipse([30, 14, 66, 50], fill=(250, 190, 80), outline=(180, 110, 20), width=2)
d.polygon([(48, 20), (58, 40), (38, 40)], fill=(255, 255, 255))
tile.save(os.path.join(out, 'gallery_tile.bmp'))

badge = Image.new('RGB', (32, 32), (255, 0, 255))
d = ImageDraw.Draw(badge)
d.ellipse([2, 2, 29, 29], fill=(40, 140, 70), outline=(20, 80, 40), width=2)
d.line([(9, 16), (14, 22), (23, 10)], fill=(255, 255, 255), width=3)
badge.save(os.path.join(out, 'gallery_badge.bmp'))

MAGENTA = (255, 0, 255)
menu = Image.new('RGB', (80, 15), MAGENTA)
d = ImageDraw.Draw(menu)
# Open: a yellow folder with its flap raised.
d.rectangle([1, 3, 6, 4], fill=(200, 160, 40), outline=(120, 90, 10))
d.rectangle([1, 5, 13, 13], fill=(250, 210, 80), outline=(120, 90, 10))
d.polygon([(3, 8), (15, 8), (13, 13), (1, 13)], fill=(255, 232, 130), outline=(120, 90, 10))
# Save: a blue disk with its shutter and label.
x = 16
d.rectangle([x + 1, 1, x + 14, 13], fill=(40, 80, 170), outline=(10, 30, 90))
d.rectangle([x + 4, 1, x + 11, 5], fill=(200, 205, 215), outline=(10, 30, 90))
d.rectangle([x + 9, 2, x + 10, 4], fill=(40, 80, 170))
d.rectangle([x + 3, 8, x + 12, 13], fill=(255, 255, 255), outline=(10, 30, 90))
d.line([(x + 5, 10), (x + 10, 10)], fill=(150, 150, 160))
# Undo: a green arrow turning back to the left.
x = 32
arrow = (30, 140, 60)
d.arc([x + 3, 3, x + 14, 13], 270, 90, fill=arrow, width=2)
d.line([(x + 6, 3), (x + 9, 3)], fill=arrow, width=2)
d.polygon([(x + 1, 4), (x + 6, 0), (x + 6, 8)], fill=arrow)
d.line([(x + 4, 12), (x + 9, 12)], fill=arrow, width=2)
# Toolbar: a window with a row of buttons under its title.
x = 48
d.rectangle([x + 1, 1, x + 14, 13], fill=(255, 255, 255), outline=(70, 70, 90))
d.rectangle([x + 2, 2, x + 13, 3], fill=(50, 100, 200))
for bx in (3, 7, 11):
    d.rectangle([x + bx, 5, x + bx + 2, 7], fill=(230, 150, 40), outline=(150, 90, 20))
# Exit: a brown door, open, and a red arrow leaving through it.
x = 64
d.rectangle([x + 1, 1, x + 9, 13], fill=(150, 100, 60), outline=(80, 50, 20))
d.rectangle([x + 3, 3, x + 7, 11], fill=(60, 40, 20))
d.line([(x + 6, 7), (x + 13, 7)], fill=(210, 30, 30), width=2)
d.polygon([(x + 15, 7), (x + 12, 4), (x + 12, 10)], fill=(210, 30, 30))
menu.save(os.path.join(out, 'menu_toolbar.bmp'))
