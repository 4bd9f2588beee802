#!/usr/bin/python3
"""Draws the maker's splash logo (256 by 256 on black) and the program's icons.

    splash.py SPLASH.png ICON.png [DESKTOP_ICON.png]"""

import math
import sys

from PIL import Image

import draw as d


def ormic_mark(ctx, cx, cy, r):
    """The maker's mark: a ring broken at the top right, cut by a red swoosh."""
    ctx.new_path()
    ctx.arc(cx, cy, r, math.radians(-40), math.radians(250))
    ctx.set_line_width(r * 0.28)
    ctx.set_line_cap(0)
    ctx.set_source(d.vgrad(cy - r, cy + r, [(0, (0.95, 0.96, 0.98)), (1, (0.55, 0.58, 0.63))]))
    ctx.stroke()
    ctx.new_path()
    ctx.move_to(cx - r * 1.15, cy + r * 0.35)
    ctx.curve_to(cx - r * 0.2, cy - r * 0.1, cx + r * 0.5, cy - r * 0.6,
                 cx + r * 1.2, cy - r * 1.05)
    ctx.curve_to(cx + r * 0.5, cy - r * 0.2, cx - r * 0.2, cy + r * 0.45,
                 cx - r * 1.15, cy + r * 0.35)
    ctx.close_path()
    ctx.set_source(d.vgrad(cy - r, cy + r * 0.4, [(0, d.RED_HOT), (1, d.RED)]))
    ctx.fill()


def splash():
    c = d.Canvas(256, 256)
    ctx = c.ctx
    ctx.set_source_rgb(0, 0, 0)
    ctx.paint()
    ormic_mark(ctx, 128, 100, 48)
    img = c.image()
    d.put_text(img, "ORMIC", d.EXTRABOLD, 40, (0.94, 0.95, 0.97), 128, 190, shadow=0)
    d.put_text(img, "GAMING PERIPHERALS", d.SEMIBOLD, 11, (0.6, 0.62, 0.66), 128, 222, shadow=0)
    return img


def icon(size):
    """The window icon: the steering wheel on a dark tile; drawn at 256 and scaled down."""
    c = d.Canvas(256, 256)
    ctx = c.ctx
    d.rounded_rect(ctx, 8, 8, 240, 240, 48)
    ctx.set_source(d.vgrad(8, 248, [(0, (0.2, 0.21, 0.24)), (1, (0.06, 0.065, 0.075))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, d.RED)
    ctx.set_line_width(6)
    ctx.stroke()
    cx, cy = 128, 132
    ctx.new_path()
    ctx.arc(cx, cy, 88, 0, 2 * math.pi)
    d.set_rgb(ctx, (0.9, 0.91, 0.93))
    ctx.set_line_width(22)
    ctx.stroke()
    ctx.arc(cx, cy, 88, math.radians(-100), math.radians(-80))
    d.set_rgb(ctx, d.RED_HOT)
    ctx.stroke()
    d.set_rgb(ctx, (0.9, 0.91, 0.93))
    d.polygon(ctx, [(cx - 80, cy - 8), (cx - 30, cy - 20), (cx + 30, cy - 20), (cx + 80, cy - 8),
                    (cx + 80, cy + 14), (cx + 22, cy + 26), (cx + 14, cy + 82), (cx - 14, cy + 82),
                    (cx - 22, cy + 26), (cx - 80, cy + 14)])
    ctx.fill()
    ctx.arc(cx, cy + 2, 20, 0, 2 * math.pi)
    d.set_rgb(ctx, d.RED)
    ctx.fill()
    img = c.image()
    return img if size == 256 else img.resize((size, size), Image.LANCZOS)


def main(args):
    d.save_png(splash().convert("RGB"), args[0])
    d.save_png(icon(128), args[1])
    if len(args) > 2:
        d.save_png(icon(256), args[2])


if __name__ == "__main__":
    main(sys.argv[1:])
