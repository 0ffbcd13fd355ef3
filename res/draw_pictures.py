#!/usr/bin/python3
"""Draws the pictures of TAVIUpdata.exe into this folder.

    /usr/bin/python3 res/draw_pictures.py   (Debian's Python with python3-pil)

background.bmp  bitmap 130: 550 x 345, 24-bit, tiled behind the main dialog
TAVIUpdata.ico  icon 128: the application icon (16, 32 and 48 pixels)
upgrade_hover.ico, upgrade_normal.ico
                icons 131 and 132: the upgrade button's image, 32 pixels
run1.ico ... run8.ico
                icons 136 to 143: the running indicator's frames, 32 pixels

Shapes are drawn at eight times their size and scaled down, which gives
smooth edges. Icons are written as classic DIB icons (32-bit colour with
alpha plus the 1-bit mask), which every Windows version and Wine read.
"""
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 8  # supersampling factor


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# ---------------------------------------------------------------------------
# Background

def background():
    w, h = 550, 345
    left, right = (232, 240, 248), (208, 223, 238)
    img = Image.new("RGB", (w, h))
    px = img.load()
    for x in range(w):
        c = lerp(left, right, x / (w - 1))
        for y in range(h):
            px[x, y] = c

    # Faint waves, periodic in y with the bitmap's height: the dialog is
    # taller than the bitmap and the tiles must meet without a seam.
    big = Image.new("L", (w * 2, h * 2), 0)
    d = ImageDraw.Draw(big)
    waves = 5
    period = h / waves
    for j in range(waves):
        base = j * period + period / 2
        phase = j * 0.9
        for shift in (-h, 0, h):
            pts = []
            for x in range(0, w + 1, 2):
                y = base + shift + 9 * math.sin(2 * math.pi * x / w + phase) \
                    + 4 * math.sin(4 * math.pi * x / w + 2 * phase)
                pts.append((x * 2, y * 2))
            d.line(pts, fill=255, width=3)
    mask = big.resize((w, h), Image.LANCZOS).filter(ImageFilter.GaussianBlur(0.6))
    white = Image.new("RGB", (w, h), (250, 252, 255))
    img = Image.composite(white, img, mask.point(lambda v: v * 45 // 100))
    img.save(os.path.join(HERE, "background.bmp"))


# ---------------------------------------------------------------------------
# Icons

def write_ico(path, images):
    """Writes RGBA images as one .ico file with 32-bit DIB entries."""
    entries = []
    for im in images:
        w, h = im.size
        rgba = im.convert("RGBA")
        xor = bytearray()
        for y in range(h - 1, -1, -1):  # bottom-up rows
            for x in range(w):
                r, g, b, a = rgba.getpixel((x, y))
                xor += bytes((b, g, r, a))
        row = ((w + 31) // 32) * 4
        andmask = bytearray()
        for y in range(h - 1, -1, -1):
            bits = bytearray(row)
            for x in range(w):
                if rgba.getpixel((x, y))[3] < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andmask += bits
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                             len(xor) + len(andmask), 0, 0, 0, 0)
        entries.append((w, h, header + bytes(xor) + bytes(andmask)))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, data in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    with open(os.path.join(HERE, path), "wb") as f:
        f.write(out)


def canvas(size):
    return Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))


def shrink(img, size):
    return img.resize((size, size), Image.LANCZOS)


def vertical_gradient(size, top, bottom):
    g = Image.new("RGBA", (size, size))
    d = ImageDraw.Draw(g)
    for y in range(size):
        d.line([(0, y), (size, y)], fill=lerp(top, bottom, y / (size - 1)) + (255,))
    return g


def up_arrow(d, cx, top, bottom, half_head, half_shaft, fill):
    """An upward arrow: a triangle head over a shaft, centred on cx."""
    neck = top + half_head * 1.05
    d.polygon([(cx, top), (cx + half_head, neck), (cx + half_shaft, neck),
               (cx + half_shaft, bottom), (cx - half_shaft, bottom),
               (cx - half_shaft, neck), (cx - half_head, neck)], fill=fill)


def app_icon(size):
    s = size * SS
    img = canvas(size)
    # A rounded tile with a deep blue gradient...
    mask = Image.new("L", (s, s), 0)
    m = s * 0.06
    ImageDraw.Draw(mask).rounded_rectangle([m, m, s - m, s - m], radius=s * 0.2, fill=255)
    tile = vertical_gradient(s, (70, 150, 230), (22, 78, 160))
    img.paste(tile, (0, 0), mask)
    d = ImageDraw.Draw(img)
    # ...a white arrow rising out of a tray.
    cx = s / 2
    up_arrow(d, cx, s * 0.16, s * 0.62, s * 0.22, s * 0.09, (255, 255, 255, 255))
    tray_w, tray_t = s * 0.5, s * 0.085
    y = s * 0.7
    d.rounded_rectangle([cx - tray_w / 2, y, cx + tray_w / 2, y + tray_t],
                        radius=tray_t / 2, fill=(255, 255, 255, 235))
    d.rounded_rectangle([cx - tray_w / 2, y - s * 0.1, cx - tray_w / 2 + tray_t, y + tray_t],
                        radius=tray_t / 2, fill=(255, 255, 255, 235))
    d.rounded_rectangle([cx + tray_w / 2 - tray_t, y - s * 0.1, cx + tray_w / 2, y + tray_t],
                        radius=tray_t / 2, fill=(255, 255, 255, 235))
    return shrink(img, size)


def upgrade_icon(hover):
    size = 32
    s = size * SS
    img = canvas(size)
    top, bottom = ((255, 178, 60), (222, 110, 0)) if hover else ((84, 164, 236), (28, 92, 178))
    mask = Image.new("L", (s, s), 0)
    m = s * 0.05
    ImageDraw.Draw(mask).ellipse([m, m, s - m, s - m], fill=255)
    img.paste(vertical_gradient(s, top, bottom), (0, 0), mask)
    # A soft highlight on the upper half gives the badge some depth.
    gloss = Image.new("L", (s, s), 0)
    ImageDraw.Draw(gloss).ellipse([s * 0.18, s * 0.08, s * 0.82, s * 0.5], fill=70)
    gloss = gloss.filter(ImageFilter.GaussianBlur(s * 0.04))
    img = Image.composite(Image.new("RGBA", (s, s), (255, 255, 255, 255)), img, gloss)
    img.putalpha(mask)
    d = ImageDraw.Draw(img)
    up_arrow(d, s / 2, s * 0.2, s * 0.78, s * 0.25, s * 0.1, (255, 255, 255, 255))
    return shrink(img, size)


def spinner_frame(k, frames=8):
    """Frame k: eight dots on a ring, the head at k steps clockwise from the
    top and a fading tail behind it."""
    size = 32
    s = size * SS
    img = canvas(size)
    d = ImageDraw.Draw(img)
    head, tail = (20, 84, 170), (150, 180, 215)
    ring = s * 0.34
    for i in range(frames):
        age = (k - i) % frames  # 0 for the head, frames - 1 for the oldest
        t = age / (frames - 1)
        angle = 2 * math.pi * i / frames - math.pi / 2
        x = s / 2 + ring * math.cos(angle)
        y = s / 2 + ring * math.sin(angle)
        r = s * (0.115 - 0.05 * t)
        alpha = round(255 - 175 * t)
        d.ellipse([x - r, y - r, x + r, y + r], fill=lerp(head, tail, t) + (alpha,))
    return shrink(img, size)


def main():
    background()
    write_ico("TAVIUpdata.ico", [app_icon(n) for n in (16, 32, 48)])
    write_ico("upgrade_hover.ico", [upgrade_icon(True)])
    write_ico("upgrade_normal.ico", [upgrade_icon(False)])
    for k in range(8):
        write_ico("run%d.ico" % (k + 1), [spinner_frame(k)])


if __name__ == "__main__":
    main()
