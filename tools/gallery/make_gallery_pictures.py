#!/usr/bin/python3
"""Draws the gallery's own pictures into the given folder:
gallery_tile.bmp   96 x 64, a small picture that shows how the background modes lay it out
gallery_badge.bmp  32 x 32, a badge on magenta, the colour the image button makes transparent
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
