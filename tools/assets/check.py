#!/usr/bin/python3
"""Checks the carried assets: that each is what its loader expects, and that the generators
make them again byte for byte.

    check.py ASSETS_DIR

Prints one line per failed check and a summary; exits 1 if anything failed."""

import os
import re
import sys
import tempfile

from PIL import Image

import controls
from regions import ATLAS_SIZE, REGIONS

failures = []


def expect(ok, message):
    if not ok:
        failures.append(message)
    return ok


# ----------------------------------------------------------------------------------------------
# Font description, read the way the program's font reads it

def split_lines(text):
    """Lines end at CR, LF or NUL; every run of CR and LF after a line is skipped."""
    lines = []
    for raw in re.split(rb"[\r\n]+", text):
        line = raw.split(b"\0")[0]
        if line:
            lines.append(line[:255])
    return lines


def parse_char(line, decimal=False):
    """A "Char" line -> (code, x, y, w, h, pre, post), or None when the line is ignored."""
    eq = line.find(b"=")
    if eq < 0:
        return None
    i = eq + 1
    while i < len(line) and line[i:i + 1] in b" \t":
        i += 1
    if line[i:i + 1] == b'"':
        if i + 1 >= len(line):
            return None
        code = line[i + 1]
        i += 3
    else:
        digits = b"0123456789" if decimal else b"0123456789ABCDEFabcdef"
        j = i
        while j < len(line) and line[j:j + 1] in digits:
            j += 1
        if j == i:
            return None
        code = int(line[i:j], 10 if decimal else 16)
        if code > 255:
            return None
        i = j
    numbers = re.match(rb"\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,"
                       rb"\s*(-?\d+)\s*,\s*(-?\d+)", line[i:])
    if not numbers:
        return None
    return (code,) + tuple(int(v) for v in numbers.groups())


def parse_description(text):
    lines = split_lines(text)
    if not lines or lines[0] != b"[BITMAPFONT]":
        return None, []
    bitmap, glyphs = None, []
    for line in lines[1:]:
        if line[:6] == b"Bitmap":
            m = re.match(rb"Bitmap\s*=\s*(\S+)", line)
            if m:
                bitmap = m.group(1).decode("ascii")
        elif line[:4] == b"Char":
            glyph = parse_char(line)
            if glyph:
                glyphs.append(glyph)
    return bitmap, glyphs


def check_parser():
    """The reader itself, on the forms a description may use."""
    text = (b"[BITMAPFONT]\r\n\r\nBitmap = x.png\nChar=\"A\",22,24,11,22,-1,0\r"
            b"Char=\"\"\",1,2,3,4,5,6\nChar= 7e , 9 , 8 , 7 , 6 , 0 , 1\nChar=100,1,1,1,1,1,1\n"
            b"Char\nNoise=1")
    bitmap, glyphs = parse_description(text)
    expect(bitmap == "x.png", "reader: Bitmap line")
    expect(glyphs == [(65, 22, 24, 11, 22, -1, 0), (34, 1, 2, 3, 4, 5, 6),
                      (126, 9, 8, 7, 6, 0, 1)], "reader: Char lines read as %r" % glyphs)
    expect(parse_description(b"[bitmapfont]\nChar=\"A\",1,1,1,1,1,1")[1] == [],
           "reader: accepts a wrong first line")


def check_font(assets, name, height, size):
    with open(os.path.join(assets, "fonts", name + ".txt"), "rb") as f:
        text = f.read()
    image = Image.open(os.path.join(assets, "fonts", name + ".png"))
    tag = "font " + name
    expect(text.startswith(b"[BITMAPFONT]"), tag + ": first line is not [BITMAPFONT]")
    bitmap, glyphs = parse_description(text)
    expect(bitmap == name + ".png", tag + ": Bitmap line names %r" % bitmap)
    expect(text.count(b"\nChar=") + text.startswith(b"Char=") == 95,
           tag + ": not 95 Char lines")
    expect([g[0] for g in glyphs] == list(range(32, 127)),
           tag + ": glyphs are not codes 32 to 126 in order")
    expect(image.size == size and image.mode == "RGBA",
           tag + ": image is %s %s, expected %s RGBA" % (image.mode, image.size, size))
    alpha = image.getchannel("A")
    covered = Image.new("1", image.size, 0)
    for code, x, y, w, h, pre, post in glyphs:
        where = "%s glyph %d" % (tag, code)
        expect(h == height, where + ": height %d, expected %d" % (h, height))
        if not expect(w > 0 and x >= 0 and y >= 0 and x + w <= image.width
                      and y + h <= image.height, where + ": rectangle leaves the image"):
            continue
        expect(-3 <= pre <= 5 and -3 <= post <= 5,
               where + ": odd side bearings %d %d" % (pre, post))
        if code != 32:
            expect(alpha.crop((x, y, x + w, y + h)).getbbox() is not None, where + ": no ink")
        covered.paste(1, (x, y, x + w, y + h))
    # ink only inside glyph rectangles, antialiased white
    stray = Image.composite(Image.new("L", image.size, 0), alpha, covered)
    expect(stray.getbbox() is None, tag + ": ink outside the glyph rectangles")
    levels = set(alpha.getdata())
    expect(len(levels) > 16, tag + ": glyphs are not antialiased")
    rgb = image.convert("RGB")
    non_white = [p for p, a in zip(rgb.getdata(), alpha.getdata()) if a and p != (255, 255, 255)]
    expect(not non_white, tag + ": glyph pixels that are not white")


# ----------------------------------------------------------------------------------------------
# Skin atlas

BUTTON_STACKS = [(15, 16, 17), (35, 36, 37), (25, 26, 27), (0, 1, 2), (14, 12, 13), (5, 3, 4),
                 (66, 64, 65), (59, 61, 60), (20, 22, 21), (57, 58, 56), (33, 31, 32),
                 (70, 68, 69), (54, 52, 53), (43, 44), (45, 46), (47, 48), (9, 10, 11),
                 (39, 40, 41)]
FRAMES = [(18, 20), (28, 10), (29, 10)]
# Controls drawn in each placed picture.
CONTROL_PICTURES = {30: range(0, 4), 109: range(4, 8)}
CONTROL_PICTURES_MORE = {30: range(8, 14), 109: range(14, 16), 67: range(16, 19)}


def check_skin(assets):
    atlas = Image.open(os.path.join(assets, "skin", "skin.png"))
    expect(atlas.size == ATLAS_SIZE and atlas.mode == "RGBA",
           "skin: %s %s, expected %s RGBA" % (atlas.mode, atlas.size, ATLAS_SIZE))
    alpha = atlas.getchannel("A")
    outside = alpha.copy()
    for n, (x, y, w, h) in enumerate(REGIONS):
        expect(alpha.crop((x, y, x + w, y + h)).getbbox() is not None, "skin: region %d empty" % n)
        outside.paste(0, (x, y, x + w, y + h))
    expect(outside.getbbox() is None, "skin: pixels outside every region")
    crops = {n: atlas.crop((x, y, x + w, y + h)) for n, (x, y, w, h) in enumerate(REGIONS)}
    for stack in BUTTON_STACKS:
        for i, a in enumerate(stack):
            for b in stack[i + 1:]:
                if crops[a].size == crops[b].size:
                    expect(crops[a].tobytes() != crops[b].tobytes(),
                           "skin: regions %d and %d of one control look the same" % (a, b))
    background = crops[6]
    expect(background.getchannel("A").getextrema() == (255, 255),
           "skin: the background strip is not opaque")
    expect(seam_is_smooth(background), "skin: the background strip does not tile seamlessly")
    for n, cell in FRAMES:
        check_frame(crops[n], n, cell)
    for places in (CONTROL_PICTURES, CONTROL_PICTURES_MORE):
        for n, which in places.items():
            check_controls_drawn(crops[n], n, which)


def seam_is_smooth(strip):
    """Strips are drawn side by side: the step from the last column to the first must be no
    larger than the largest step between neighbouring columns inside the strip."""
    import numpy as np
    a = np.asarray(strip.convert("RGB"), dtype=np.int32)
    inner = np.abs(np.diff(a, axis=1)).mean(axis=(0, 2)).max()
    seam = np.abs(a[:, 0] - a[:, -1]).mean()
    return seam <= inner


def check_frame(img, n, cell):
    """Edge cells are stretched along one axis, so every line across them must be the same."""
    top = img.crop((cell, 0, 2 * cell, cell))
    left = img.crop((0, cell, cell, 2 * cell))
    first_col = top.crop((0, 0, 1, cell)).tobytes()
    expect(all(top.crop((i, 0, i + 1, cell)).tobytes() == first_col for i in range(cell)),
           "skin: frame %d's top edge is not uniform" % n)
    first_row = left.crop((0, 0, cell, 1)).tobytes()
    expect(all(left.crop((0, i, cell, i + 1)).tobytes() == first_row for i in range(cell)),
           "skin: frame %d's left edge is not uniform" % n)


def check_controls_drawn(img, n, which):
    """Each wheel control's polygon, placed where the screen draws the picture, lies on an opaque
    button that stands out from what lies just outside the polygon."""
    ox, oy = controls.STATIC_PLACES[n]
    for c in which:
        pts = [(x - ox, y - oy) for x, y in controls.CONTROLS[c][2]]
        cx = sum(p[0] for p in pts) / float(len(pts))
        cy = sum(p[1] for p in pts) / float(len(pts))
        inside = img.getpixel((int(cx), int(cy)))
        expect(inside[3] == 255, "skin: control %d is not drawn under its polygon in %d" % (c, n))
        contrast = 0
        for (x1, y1), (x2, y2) in zip(pts, pts[1:] + pts[:1]):
            mx, my = (x1 + x2) / 2.0, (y1 + y2) / 2.0
            dx, dy = mx - cx, my - cy
            length = max(1e-6, (dx * dx + dy * dy) ** 0.5)
            out = img.getpixel((int(mx + 5 * dx / length), int(my + 5 * dy / length)))
            contrast += sum(abs(a - b) for a, b in zip(inside[:3], out[:3])) > 40
        expect(contrast * 2 >= len(pts),
               "skin: control %d does not stand out from its surroundings in %d" % (c, n))


# ----------------------------------------------------------------------------------------------
# Splash, icon, firmware

def check_pictures(assets):
    splash = Image.open(os.path.join(assets, "engine", "splash.png")).convert("RGBA")
    expect(splash.size == (256, 256), "splash: size %s" % (splash.size,))
    corners = [splash.getpixel(p) for p in ((0, 0), (255, 0), (0, 255), (255, 255))]
    expect(all(c == (0, 0, 0, 255) for c in corners), "splash: not on black")
    expect(splash.convert("L").getextrema()[1] > 200, "splash: no logo")
    icon = Image.open(os.path.join(assets, "icon", "icon.png"))
    expect(icon.mode == "RGBA" and icon.width == icon.height and icon.width >= 32,
           "icon: %s %s" % (icon.mode, icon.size))


def firmware_crc(data):
    table = []
    for i in range(256):
        c = i
        for _ in range(8):
            c = (c >> 1) ^ 0xEDB88320 if c & 1 else c >> 1
        table.append(c)
    reg = 0
    for b in data:
        reg = (reg >> 8) ^ table[(reg ^ b) & 0xFF]
    return reg


def check_firmware(assets):
    with open(os.path.join(assets, "firmware", "firmware.bin"), "rb") as f:
        image = f.read()
    expect(len(image) == 49152, "firmware: %d bytes" % len(image))
    expect(image[:16] == b"ORMIC_DFU" + bytes(7), "firmware: signature")
    last = max(i for i, b in enumerate(image) if b != 0xFF)
    expect(last == 0xA975, "firmware: last byte other than 0xFF at 0x%X" % last)
    expect(firmware_crc(b"123456789") == 0x2DFD2D88, "firmware: CRC routine")
    return firmware_crc(image[16:])


# ----------------------------------------------------------------------------------------------

# ----------------------------------------------------------------------------------------------
# Art at twice the density

def check_doubled(assets, image, doubled, boxes, tag, bound):
    """The doubled image is twice the size, has ink only in the doubled boxes, ink in each box
    that has ink at 1, and halves back to nearly the image itself: within `bound` a channel on
    average (small glyphs are hinted differently at each size; two pixels off is three times
    the bound)."""
    import numpy as np
    small = Image.open(os.path.join(assets, image))
    big = Image.open(os.path.join(assets, doubled))
    if not expect(big.size == (2 * small.width, 2 * small.height) and big.mode == "RGBA",
                  "%s: %s %s, expected twice %s RGBA" % (tag, big.mode, big.size, small.size)):
        return
    alpha, alpha1 = big.getchannel("A"), small.getchannel("A")
    outside = alpha.copy()
    for x, y, w, h in boxes:
        box = (2 * x, 2 * y, 2 * (x + w), 2 * (y + h))
        if alpha1.crop((x, y, x + w, y + h)).getbbox() is not None:
            expect(alpha.crop(box).getbbox() is not None, "%s: box %s empty" % (tag, (x, y)))
        outside.paste(0, box)
    expect(outside.getbbox() is None, tag + ": pixels outside every doubled box")
    # premultiplied, so that colour under no ink does not count
    a = np.asarray(big, dtype=np.float64)
    a = a[..., :3] * a[..., 3:] / 255.0
    half = a.reshape(small.height, 2, small.width, 2, 3).mean(axis=(1, 3))
    b = np.asarray(small, dtype=np.float64)
    b = b[..., :3] * b[..., 3:] / 255.0
    difference = np.abs(half - b).mean()
    expect(difference < bound, "%s: halved, differs %.2f a channel from the image" % (tag,
                                                                                   difference))


def check_doubled_art(assets):
    check_doubled(assets, "skin/skin.png", "skin/skin@2x.png", REGIONS, "skin@2x", 4.0)
    for name in ("myriad_16s", "myriad_20s"):
        with open(os.path.join(assets, "fonts", name + ".txt"), "rb") as f:
            _, glyphs = parse_description(f.read())
        check_doubled(assets, "fonts/%s.png" % name, "fonts/%s@2x.png" % name,
                      [g[1:5] for g in glyphs], name + "@2x", 8.0)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def check_reproducible(assets):
    here = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as out:
        icon = os.path.join(out, "corsaro270.png")
        status = os.system("%s %s %s > /dev/null" % (os.path.join(here, "make_all"), out, icon))
        if not expect(status == 0, "make_all failed"):
            return
        for folder, _, files in os.walk(out):
            for name in files:
                made = os.path.join(folder, name)
                rel = os.path.relpath(made, out)
                carried = os.path.join(assets, rel)
                if made == icon:
                    carried = os.path.join(assets, "..", "packaging", "corsaro270.png")
                same = os.path.exists(carried) and read(made) == read(carried)
                expect(same, "not reproduced: %s" % rel)


def main(args):
    assets = args[0]
    check_parser()
    check_font(assets, "myriad_16s", 22, (256, 128))
    check_font(assets, "myriad_20s", 27, (256, 256))
    check_skin(assets)
    check_doubled_art(assets)
    check_pictures(assets)
    crc = check_firmware(assets)
    if "--no-rebuild" not in args:
        check_reproducible(assets)
    for f in failures:
        print("FAIL " + f)
    print("%s: %d failure(s); firmware body CRC 0x%08X" % ("FAILED" if failures else "OK",
                                                          len(failures), crc))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
