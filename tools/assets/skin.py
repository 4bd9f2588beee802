#!/usr/bin/python3
"""Draws the skin atlas: every region of the region table in its own rectangle, nothing outside.

    skin.py OUT.png [SCALE]

SCALE 2 draws the same atlas at twice the pixels each way, every region at twice its place.

Each picture is drawn on a canvas of exactly its region's size and pasted into the atlas, so no
picture can reach a neighbour. The painters live in the skin_* modules, by kind of picture."""

import sys

from PIL import Image

import draw as d
import skin_buttons
import skin_overlays
import skin_screen
import skin_tiles
from looks import PAINTERS
from regions import ATLAS_SIZE, REGIONS

# Importing a painter module registers its painters in PAINTERS.
PAINTER_MODULES = (skin_buttons, skin_screen, skin_tiles, skin_overlays)


def paint_region(n):
    x, y, w, h = REGIONS[n]
    fn, fixed = PAINTERS[n]
    canvas = d.Canvas(w, h)
    result = fn(canvas, **fixed)
    img = result if isinstance(result, Image.Image) else canvas.image()
    assert img.size == (w * d.SCALE, h * d.SCALE), "region %d drew %s" % (n, img.size)
    return img


def build_atlas():
    missing = [n for n in range(len(REGIONS)) if n not in PAINTERS]
    assert not missing, "regions without a painter: %s" % missing
    s = d.SCALE
    atlas = Image.new("RGBA", (ATLAS_SIZE[0] * s, ATLAS_SIZE[1] * s), (0, 0, 0, 0))
    for n, (x, y, w, h) in enumerate(REGIONS):
        atlas.paste(paint_region(n), (x * s, y * s))
    return atlas


def main(out, scale=1):
    d.set_scale(scale)
    d.save_png(build_atlas(), out)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 1)

