#!/usr/bin/python3
"""Composes the main screen from the skin atlas, so the art can be judged as a whole.

Draws, in the screen's own order: the background strips and the window outline, the static
pictures, the widgets' images, the wheel, the light indicators, the clock slider, the wheel
overlay, the palette of action tiles and the labels of factory profile 1. The widgets show the
state a factory receiver leaves them in: profile 1 chosen, both lights on, level Med.

    preview.py SKIN.png OUT.png [--debug] [--no-receiver | --update | --presets]

--debug also draws the wheel controls' polygons, their label anchors and the palette rectangles,
to check that they lie on the drawn buttons. The other options dim the screen and draw that
overlay over it, with sample texts in the carried fonts."""

import math
import sys

from PIL import Image

import draw as d
from controls import (ACTIONS, CONTROLS, CONTROL_SLOTS, FACTORY_PROFILE_1, POINTER_REGIONS,
                      STATIC_PLACES, WHEEL_CENTRE, SLIDER_RADIUS, action_for_slot, label_places)
from regions import REGIONS

WINDOW = (1024, 600)
ANGLE_UNIT = 242.71851851851852

# Widgets as a factory receiver leaves them: (region, top-left corner).
WIDGETS = [
    (15, (990, 8)), (35, (990, 36)), (25, (990, 64)), (0, (13, 18)),
    (14, (54, 491)), (5, (160, 491)), (66, (268, 491)),
    (61, (396, 491)), (22, (491, 491)),                     # both lights on
    (57, (568, 531)), (58, (599, 531)), (57, (630, 531)),   # level Med
    (33, (562, 5)), (70, (629, 5)), (54, (699, 5)),
    (44, (779, 5)), (45, (840, 5)), (47, (902, 5)),         # profile 1 chosen
]
TICK, CROSS = 24, 62
INDICATORS = [(408, 503), (503, 503)]
SLIDER_REGION = 71


class Screen:
    def __init__(self, atlas):
        self.atlas = atlas
        self.img = Image.new("RGBA", WINDOW, (0, 0, 0, 255))

    def region(self, n, x, y, w=None, h=None):
        rx, ry, rw, rh = REGIONS[n]
        sprite = self.atlas.crop((rx, ry, rx + rw, ry + rh))
        if w is not None:
            sprite = sprite.resize((w, h), Image.BILINEAR)
        self.layer(sprite, x, y)

    def layer(self, sprite, x, y):
        # clip to the window like the screen does
        left, top = max(0, -x), max(0, -y)
        right = min(sprite.width, WINDOW[0] - x)
        bottom = min(sprite.height, WINDOW[1] - y)
        if right <= left or bottom <= top:
            return
        self.img.alpha_composite(sprite.crop((left, top, right, bottom)), (x + left, y + top))

    def shapes(self, paint):
        canvas = d.Canvas(*WINDOW)
        paint(canvas.ctx)
        self.img.alpha_composite(canvas.image())


def draw_slider(screen, angle1, angle2):
    cx, cy = WHEEL_CENTRE
    radius = SLIDER_RADIUS

    def point(a, r):
        a = math.radians(a)
        return cx + r * math.sin(a), cy - r * math.cos(a)

    def thick(ctx, p, half, argb):
        ctx.move_to(cx, cy)
        ctx.line_to(*p)
        ctx.set_source_rgba(*argb)
        ctx.set_line_width(2 * half)
        ctx.stroke()

    def fan(ctx, a, b, alpha, reverse):
        lo, hi = min(a, b), max(a, b)
        for k in range(32):
            t = k / 32.0
            g = (1 - t) if reverse else t
            ctx.move_to(cx, cy)
            ctx.line_to(*point(lo + (hi - lo) * k / 32.0, radius))
            ctx.line_to(*point(lo + (hi - lo) * (k + 1) / 32.0, radius))
            ctx.close_path()
            ctx.set_source_rgba(1, g, 0, alpha / 255.0)
            ctx.fill()

    def paint(ctx):
        mark2 = point(135, radius + 10)
        thick(ctx, (2 * cx - mark2[0], mark2[1]), 3, (0.5, 0.5, 0.5, 0.25))
        fan(ctx, -angle1, -angle2, 70, True)
        for a in (angle1, angle2):
            p = point(a, radius)
            thick(ctx, (2 * cx - p[0], p[1]), 2, (1, 1, 1, 0.5))
        for a in (0, 135):
            thick(ctx, point(a, radius + 10), 3, (0.5, 0.5, 0.5, 0.5))
        fan(ctx, angle1, angle2, 190, False)
        for a in (angle1, angle2):
            thick(ctx, point(a, radius), 2, (1, 1, 1, 1))

    screen.shapes(paint)
    hub = int(53 * 1.5)
    screen.region(SLIDER_REGION, cx - hub // 2, cy - hub // 2, hub, hub)
    handle = int(53 * 0.75)
    for a in (angle1, angle2):
        px, py = point(a, radius)
        screen.region(SLIDER_REGION, int(px) - handle // 2, int(py) - handle // 2, handle, handle)


def compose(atlas, debug, overlay=None):
    s = Screen(atlas)
    for x in range(0, WINDOW[0], REGIONS[6][2]):
        s.region(6, x, 0)

    def outline(ctx):
        ctx.set_source_rgba(0, 0, 0, 1)
        ctx.set_line_width(1)
        ctx.rectangle(1.5, 1.5, 1022, 598)
        ctx.rectangle(2.5, 2.5, 1020, 596)
        ctx.stroke()

    s.shapes(outline)
    for n in (34, 55, 19, 8, 30, 67):
        s.region(n, *STATIC_PLACES[n])
    for n, (x, y) in WIDGETS:
        s.region(n, x, y)
    s.region(109, *STATIC_PLACES[109])
    # without a receiver and during an update the screen shows no profile
    live = overlay not in ("no-receiver", "update")
    record = FACTORY_PROFILE_1
    if live:
        for x, y in INDICATORS:
            s.region(TICK, x, y)
        angle_a = min(135.0, int.from_bytes(record[88:92], "little", signed=True) / ANGLE_UNIT)
        angle_b = min(135.0, int.from_bytes(record[92:96], "little", signed=True) / ANGLE_UNIT)
        draw_slider(s, angle_a, angle_b)
    s.region(110, *STATIC_PLACES[110])
    for tile, (x, y, _, _) in ACTIONS:
        s.region(tile, x, y)
    for control, slot in enumerate(CONTROL_SLOTS if live else []):
        action = action_for_slot(record, slot)
        if action < 0:
            continue
        side, anchor, _ = CONTROLS[control]
        tile = ACTIONS[action][0]
        _, _, sw, sh = REGIONS[tile]
        pointer_at, label_at = label_places(side, anchor, sw, sh)
        s.region(POINTER_REGIONS[side], *pointer_at)
        s.region(tile, *label_at)
    if overlay:
        dim(s)
        OVERLAYS[overlay](s)
    if debug:
        s.shapes(debug_overlay)
    return s.img


def draw_frame(s, region, cell, x, y, w, h):
    """A nine-slice box: corners as they are, edges and centre stretched."""
    rx, ry, _, _ = REGIONS[region]
    iw, ih = max(0, w - 2 * cell), max(0, h - 2 * cell)
    xs = [(x, cell), (x + cell, iw), (x + cell + iw, cell)]
    ys = [(y, cell), (y + cell, ih), (y + cell + ih, cell)]
    for row, (py, ph) in enumerate(ys):
        for col, (px, pw) in enumerate(xs):
            if pw <= 0 or ph <= 0:
                continue
            piece = s.atlas.crop((rx + col * cell, ry + row * cell, rx + (col + 1) * cell,
                                  ry + (row + 1) * cell)).resize((pw, ph), Image.BILINEAR)
            s.layer(piece, px, py)


def dim(s):
    """The screen under an overlay is drawn at half alpha: darken it by the same amount."""
    s.img = Image.blend(Image.new("RGBA", WINDOW, (0, 0, 0, 255)), s.img, 128 / 255.0)


class Font:
    """The program's bitmap font, read from the carried description and drawn the same way."""

    def __init__(self, name):
        import os
        from check import parse_description
        folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets",
                              "fonts")
        with open(os.path.join(folder, name + ".txt"), "rb") as f:
            _, glyphs = parse_description(f.read())
        self.image = Image.open(os.path.join(folder, name + ".png")).convert("RGBA")
        self.glyphs = {g[0]: g[1:] for g in glyphs}

    def glyph(self, ch):
        return self.glyphs.get(ord(ch), self.glyphs.get(ord("?")))

    def width(self, text):
        return sum(g[2] + g[4] + g[5] for g in map(self.glyph, text) if g)

    def print(self, s, x, y, text, rgb=(255, 255, 255), centre=False):
        pen = x - int(self.width(text) * 0.5) if centre else x
        for ch in text:
            g = self.glyph(ch)
            if not g:
                continue
            gx, gy, w, h, pre, post = g
            pen += pre
            sprite = self.image.crop((gx, gy, gx + w, gy + h))
            tinted = Image.new("RGBA", sprite.size, rgb + (0,))
            tinted.putalpha(sprite.getchannel("A"))
            s.layer(tinted, pen, y)
            pen += w + post


def overlay_no_receiver(s):
    _, _, w, h = REGIONS[38]
    e = (600 - h) // 2
    draw_frame(s, 18, 20, (1024 - w) // 2 - 30, e - 90, w + 60, h + 92)
    s.region(38, (1024 - w) // 2, e - 60)
    s.region(108, (1024 - REGIONS[108][2]) // 2, e + 149)


def overlay_update(s):
    _, _, w, h = REGIONS[107]
    x0, y0 = (1024 - w) // 2, (580 - h) // 2 - 50
    bar_y = y0 + h + 20
    draw_frame(s, 18, 20, x0 - 30, y0 - 30, w + 60, h + 112)
    s.region(107, x0, y0)
    draw_frame(s, 28, 10, 302, bar_y - 10, 420, 40)

    def bar(ctx):
        ctx.rectangle(312, bar_y, 400, 20)
        ctx.set_source_rgba(1, 0, 0, 200 / 255.0)
        ctx.fill()
        ctx.rectangle(312, bar_y, 4 * 60, 20)
        ctx.set_source_rgba(0, 1, 0, 1)
        ctx.fill()
    s.shapes(bar)
    Font("myriad_16s").print(s, 512, bar_y, "Reprogramming firmware...", centre=True)


def overlay_presets(s):
    draw_frame(s, 18, 20, 172, 100, 680, 400)
    draw_frame(s, 28, 10, 212, 330, 600, 100)
    draw_frame(s, 29, 10, 212, 150, 600, 170)
    s.region(9, 754, 446)
    s.region(39, 690, 446)
    large, small = Font("myriad_20s"), Font("myriad_16s")
    large.print(s, 192, 115, "Corsaro 270 Customiser Presets")
    chosen = 1

    def hot_row(ctx):
        ctx.rectangle(222, 160 + 30 * chosen - 2, 580, 30)
        ctx.set_source_rgba(0x60 / 255.0, 0x60 / 255.0, 0x60 / 255.0, 1)
        ctx.fill()

    s.shapes(hot_row)
    for row, name in enumerate(["Rally: quick hands", "Formula: full lock 270", "Drift"]):
        colour = (255, 192, 0) if row == chosen else (255, 255, 255)
        large.print(s, 232, 160 + 30 * row, name, colour)
    small.print(s, 232, 340, "A tight steering range with the paddles on the gears; "
                "lights on, level High.")


OVERLAYS = {"no-receiver": overlay_no_receiver, "update": overlay_update,
            "presets": overlay_presets}


def debug_overlay(ctx):
    ctx.set_line_width(1)
    for _, anchor, points in CONTROLS:
        d.polygon(ctx, [(x + 0.5, y + 0.5) for x, y in points])
        ctx.set_source_rgba(0, 1, 1, 0.25)
        ctx.fill_preserve()
        ctx.set_source_rgba(0, 1, 1, 1)
        ctx.stroke()
        ctx.arc(anchor[0] + 0.5, anchor[1] + 0.5, 2, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 0, 1, 1)
        ctx.fill()
    for _, (x, y, w, h) in ACTIONS:
        ctx.rectangle(x + 0.5, y + 0.5, w, h)
    ctx.set_source_rgba(1, 1, 0, 0.8)
    ctx.stroke()


def main(args):
    if len(args) < 2:
        sys.stderr.write(__doc__)
        return 2
    atlas = Image.open(args[0]).convert("RGBA")
    overlay = next((a[2:] for a in args[2:] if a[2:] in OVERLAYS), None)
    img = compose(atlas, "--debug" in args[2:], overlay)
    d.save_png(img.convert("RGB"), args[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
