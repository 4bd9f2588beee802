"""Skin pictures of the action tiles (both sets), the wide Steering boost tile and the pointers
that join a label to its control."""

import math

import draw as d
from looks import PAINTERS, region


# Action tiles (27 by 30) and the wide tile

def tile_base(ctx, w, h):
    d.rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, 5)
    ctx.set_source(d.vgrad(0, h, [(0, (0.27, 0.29, 0.33)), (1, (0.1, 0.105, 0.12))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.01, 0.01, 0.015))
    ctx.set_line_width(1)
    ctx.stroke()
    d.rounded_rect(ctx, 1.5, 1.5, w - 3, h - 3, 4)
    ctx.set_source(d.vgrad(0, h, [(0, (1, 1, 1), 0.3), (0.5, (1, 1, 1), 0.0)]))
    ctx.stroke()


def letter_tile(c, text, rgb, size=None):
    tile_base(c.ctx, c.w, c.h)
    img = c.image()
    if size is None:
        size = 17 if len(text) == 1 else 12
    d.put_text(img, text, d.EXTRABOLD if len(text) == 1 else d.BOLD, size, rgb,
               c.w / 2.0, c.h / 2.0, shadow=0.9)
    return img


def shape_tile(c, painter):
    tile_base(c.ctx, c.w, c.h)
    painter(c.ctx, c.w / 2.0, c.h / 2.0)


def outline_triangle(direction):
    def paint(ctx, cx, cy):
        pts = {"up": [(0, -7), (7, 5), (-7, 5)], "down": [(0, 7), (7, -5), (-7, -5)],
               "left": [(-7, 0), (5, -7), (5, 7)], "right": [(7, 0), (-5, -7), (-5, 7)]}[direction]
        d.polygon(ctx, [(cx + x, cy + y) for x, y in pts])
        ctx.set_line_join(1)
        d.set_rgb(ctx, d.INK)
        ctx.set_line_width(2)
        ctx.stroke()
    return paint


def rays_tile(c, letter):
    tile_base(c.ctx, c.w, c.h)
    ctx = c.ctx
    cx, cy = c.w / 2.0, c.h / 2.0
    d.set_rgb(ctx, d.AMBER)
    ctx.set_line_width(1.5)
    ctx.set_line_cap(1)
    for a in (-50, -90, -130, 50, 90, 130):
        r = math.radians(a)
        ctx.move_to(cx + 8 * math.cos(r), cy + 8 * math.sin(r))
        ctx.line_to(cx + 11.5 * math.cos(r), cy + 11.5 * math.sin(r))
    ctx.stroke()
    img = c.image()
    d.put_text(img, letter, d.EXTRABOLD, 13, d.INK, cx, cy, shadow=0.9)
    return img


def wheel_arrow(clockwise):
    def paint(ctx, cx, cy):
        ctx.arc(cx, cy, 5.5, 0, 2 * math.pi)
        d.set_rgb(ctx, d.DIM)
        ctx.set_line_width(2)
        ctx.stroke()
        ctx.arc(cx, cy, 1.6, 0, 2 * math.pi)
        ctx.fill()
        start, end = math.radians(200), math.radians(340)
        ctx.new_path()
        ctx.arc(cx, cy, 10, start, end)
        d.set_rgb(ctx, d.AMBER)
        ctx.set_line_width(1.8)
        ctx.stroke()
        tip = end if clockwise else start
        tx, ty = cx + 10 * math.cos(tip), cy + 10 * math.sin(tip)
        sgn = 1 if clockwise else -1
        dx, dy = -math.sin(tip) * sgn, math.cos(tip) * sgn
        nx, ny = math.cos(tip), math.sin(tip)
        d.polygon(ctx, [(tx + dx * 4, ty + dy * 4), (tx + nx * 3.5 - dx, ty + ny * 3.5 - dy),
                        (tx - nx * 3.5 - dx, ty - ny * 3.5 - dy)])
        ctx.fill()
    return paint


def stick(direction):
    def paint(ctx, cx, cy):
        ctx.arc(cx, cy, 9.5, 0, 2 * math.pi)
        d.set_rgb(ctx, (0.03, 0.03, 0.04))
        ctx.fill_preserve()
        d.set_rgb(ctx, d.DIM)
        ctx.set_line_width(1)
        ctx.stroke()
        dx, dy = direction
        ctx.arc(cx + dx * 2.5, cy + dy * 2.5, 4, 0, 2 * math.pi)
        ctx.set_source(d.rgrad(cx + dx * 2.5 - 1, cy + dy * 2.5 - 1, 0.5, 4.5,
                               [(0, (0.85, 0.87, 0.9)), (1, (0.35, 0.37, 0.4))]))
        ctx.fill()
        px, py = -dy, dx
        tip = (cx + dx * 12.5, cy + dy * 12.5)
        d.polygon(ctx, [tip, (tip[0] - dx * 6 + px * 4.5, tip[1] - dy * 6 + py * 4.5),
                        (tip[0] - dx * 6 - px * 4.5, tip[1] - dy * 6 - py * 4.5)])
        d.set_rgb(ctx, d.AMBER)
        ctx.fill()
    return paint


def symbol(kind):
    def paint(ctx, cx, cy):
        ctx.set_line_width(2)
        ctx.set_line_cap(1)
        ctx.set_line_join(1)
        if kind == "cross":
            d.set_rgb(ctx, (0.45, 0.65, 1.0))
            ctx.move_to(cx - 6, cy - 6)
            ctx.line_to(cx + 6, cy + 6)
            ctx.move_to(cx + 6, cy - 6)
            ctx.line_to(cx - 6, cy + 6)
        elif kind == "circle":
            d.set_rgb(ctx, (1.0, 0.4, 0.4))
            ctx.arc(cx, cy, 6.5, 0, 2 * math.pi)
        elif kind == "square":
            d.set_rgb(ctx, (1.0, 0.55, 0.85))
            ctx.rectangle(cx - 6, cy - 6, 12, 12)
        else:
            d.set_rgb(ctx, (0.35, 0.9, 0.7))
            d.polygon(ctx, [(cx, cy - 7), (cx + 7, cy + 5), (cx - 7, cy + 5)])
        ctx.stroke()
    return paint


FACE_COLOURS = {"A": (0.35, 0.9, 0.4), "B": (1.0, 0.35, 0.3), "X": (0.4, 0.65, 1.0),
                "Y": (1.0, 0.85, 0.25)}

for _n, _letter in ((72, "A"), (77, "B"), (101, "X"), (102, "Y")):
    PAINTERS[_n] = (letter_tile, {"text": _letter, "rgb": FACE_COLOURS[_letter]})
for _n, _text in ((87, "LB"), (89, "LT"), (94, "RB"), (96, "RT")):
    PAINTERS[_n] = (letter_tile, {"text": _text, "rgb": d.INK})
for _n, _dir in ((100, "up"), (80, "down"), (88, "left"), (95, "right")):
    PAINTERS[_n] = (shape_tile, {"painter": outline_triangle(_dir)})
PAINTERS[83] = (rays_tile, {"letter": "L"})
PAINTERS[90] = (rays_tile, {"letter": "R"})
PAINTERS[81] = (shape_tile, {"painter": wheel_arrow(False)})
PAINTERS[82] = (shape_tile, {"painter": wheel_arrow(True)})
for _n, _dir in ((74, (-1, 0)), (75, (1, 0)), (76, (0, -1)), (73, (0, 1))):
    PAINTERS[_n] = (shape_tile, {"painter": stick(_dir)})
# the second tile set: console symbols and numbered shoulder buttons
for _n, _kind in ((78, "cross"), (79, "circle"), (84, "square"), (85, "triangle")):
    PAINTERS[_n] = (shape_tile, {"painter": symbol(_kind)})
for _n, _text in ((86, "L1"), (91, "L2"), (92, "L3"), (93, "R1"), (98, "R2"), (99, "R3")):
    PAINTERS[_n] = (letter_tile, {"text": _text, "rgb": d.INK})


@region(97)
def steering_boost(c):
    tile_base(c.ctx, c.w, c.h)
    wheel_arrow(True)(c.ctx, 15, c.h / 2.0 + 1)
    img = c.image()
    d.put_text(img, "Steering boost", d.BOLD, 13, d.INK, 78, c.h / 2.0, shadow=0.9)
    return img


def pointer(c, side):
    """A wedge from the label's side of the picture to a dot on the anchor."""
    ctx = c.ctx
    w, h = c.w, c.h
    if side == "above":      # anchor at the bottom middle, label above
        tip, base = (13, h - 2.5), [(7, 0), (19, 0)]
    elif side == "below":    # anchor at the top middle, label below
        tip, base = (13, 2.5), [(7, h), (19, h)]
    elif side == "right":    # anchor on the left middle, label to the right
        tip, base = (2.5, 12), [(w, 6), (w, 18)]
    else:                    # anchor on the right middle, label to the left
        tip, base = (w - 2.5, 13), [(0, 7), (0, 19)]
    d.polygon(ctx, [tip] + base)
    d.set_rgb(ctx, (0.92, 0.93, 0.95), 0.9)
    ctx.fill_preserve()
    d.set_rgb(ctx, (0, 0, 0), 0.6)
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.arc(tip[0], tip[1], 2.3, 0, 2 * math.pi)
    d.set_rgb(ctx, d.RED_HOT)
    ctx.fill()


for _n, _side in ((103, "above"), (104, "right"), (105, "left"), (106, "below")):
    PAINTERS[_n] = (pointer, {"side": _side})


