#!/usr/bin/python3
"""Renders the two bitmap fonts: an image of antialiased white glyphs on transparent and the
description that says where each glyph lies, for the 95 printable codes 32 to 126.

    fonts.py OUT_DIR

Each glyph's box is its ink, as tall as the font's line; pre and post carry the side bearings so
that pre + width + post is the glyph's advance. Beside each image NAME.png lies NAME@2x.png: the
same glyphs drawn at twice the size, each in its box at twice the place, so that the one
description serves both."""

import os
import sys

from PIL import Image, ImageDraw

import draw as d

FIRST, LAST = 32, 126
GAP = 1   # transparent pixels around every glyph, so filtering never reaches a neighbour

# name, face, pixel size, line height, image size
FONTS = [
    ("myriad_16s", d.SEMIBOLD, 16, 22, (256, 128)),
    ("myriad_20s", d.SEMIBOLD, 20, 27, (256, 256)),
]


def ink_box(f, ch, size):
    """The pixels a glyph really covers, relative to its pen position on the baseline."""
    margin = 2 * size
    probe = Image.new("L", (4 * size, 4 * size), 0)
    ImageDraw.Draw(probe).text((margin, margin), ch, font=f, fill=255, anchor="ls")
    box = probe.getbbox()
    if box is None:
        return 0, 0, 0, 0
    return box[0] - margin, box[1] - margin, box[2] - margin, box[3] - margin


def glyph_metrics(face, size):
    f = d.font(face, size)
    rows = []
    for code in range(FIRST, LAST + 1):
        ch = chr(code)
        advance = int(round(f.getlength(ch)))
        left, top, right, bottom = ink_box(f, ch, size)
        if right <= left:        # the space has no ink: a blank box as wide as its advance
            left, right = 0, max(1, advance - 1)
        rows.append((code, left, top, right, bottom, advance))
    return f, rows


def baseline_for(f, rows, height):
    """The face's own ascent, moved only as far as needed for every glyph's ink to fit the line."""
    highest = min(r[2] for r in rows)
    deepest = max(r[4] for r in rows)
    assert deepest - highest <= height, "ink %d pixels tall does not fit %d" % (
        deepest - highest, height)
    ascent = f.getmetrics()[0]
    return max(-highest, min(ascent, height - deepest))


def quote(code):
    return '"""' if code == ord('"') else '"%s"' % chr(code)


def render(name, face, size, height, image_size):
    f, rows = glyph_metrics(face, size)
    baseline = baseline_for(f, rows, height)
    sheet = Image.new("L", image_size, 0)
    double = d.font(face, 2 * size)
    sheet2 = Image.new("L", (2 * image_size[0], 2 * image_size[1]), 0)
    lines = ["[BITMAPFONT]", "Bitmap=%s.png" % name]
    x, y = GAP, GAP
    for code, left, top, right, bottom, advance in rows:
        w = right - left
        if x + w + GAP > image_size[0]:
            x, y = GAP, y + height + GAP
        assert y + height + GAP <= image_size[1], "%s: glyphs do not fit the image" % name
        cell = Image.new("L", (w, height), 0)
        ImageDraw.Draw(cell).text((-left, baseline), chr(code), font=f, fill=255, anchor="ls")
        sheet.paste(cell, (x, y))
        cell2 = Image.new("L", (2 * w, 2 * height), 0)
        ImageDraw.Draw(cell2).text((-2 * left, 2 * baseline), chr(code), font=double, fill=255,
                                   anchor="ls")
        sheet2.paste(cell2, (2 * x, 2 * y))
        pre, post = left, advance - right
        lines.append("Char=%s,%d,%d,%d,%d,%d,%d" % (quote(code), x, y, w, height, pre, post))
        x += w + GAP
    return white_on(sheet), white_on(sheet2), "\r\n".join(lines) + "\r\n"


def white_on(coverage):
    white = Image.new("RGBA", coverage.size, (255, 255, 255, 0))
    white.putalpha(coverage)
    return white


def main(out_dir):
    for name, face, size, height, image_size in FONTS:
        image, doubled, description = render(name, face, size, height, image_size)
        d.save_png(image, os.path.join(out_dir, name + ".png"))
        d.save_png(doubled, os.path.join(out_dir, name + "@2x.png"))
        with open(os.path.join(out_dir, name + ".txt"), "w", newline="") as out:
            out.write(description)


if __name__ == "__main__":
    main(sys.argv[1])
