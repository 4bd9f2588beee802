"""Skin pictures that the main screen places at fixed spots: the background strip, the logo, the
bottom bar, the vertical words, the wheel and the two close-ups. Placed pictures are drawn in
window coordinates shifted by their place, so the buttons drawn on them sit under the wheel
controls' polygons."""

import math

from PIL import Image

import draw as d
from controls import CONTROLS, SLIDER_RADIUS, STATIC_PLACES, WHEEL_CENTRE
from looks import region, tyre


# Background, logo, bar, vertical words

@region(6)
def background(c):
    """A carbon weave that repeats every 14 pixels, so four strips side by side join unseen."""
    import numpy as np
    w, h = c.w * d.SCALE, c.h * d.SCALE
    # Skin-pixel coordinates of every pixel's centre (the pixel itself at scale 1).
    y, x = (np.mgrid[0:h, 0:w].astype(np.float64) + 0.5) / d.SCALE - 0.5
    cell = 7.0
    cx = np.floor(x / cell)
    cy = np.floor(y / cell)
    fx = (x % cell) / cell
    fy = (y % cell) / cell
    horizontal = ((cx + cy) % 2) == 0
    shade = np.where(horizontal, 0.5 + 0.5 * np.sin(fy * np.pi), 0.5 + 0.5 * np.sin(fx * np.pi))
    base = 16 + 10 * shade
    # light falls from the top; the header band and the bottom band are a touch lighter
    fall = 1.0 + 0.35 * np.exp(-((y - 40) / 120.0) ** 2) + 0.25 * np.exp(-((y - 530) / 70.0) ** 2)
    v = base * fall
    rgb = np.stack([v * 0.95, v * 1.0, v * 1.12], axis=-1)
    img = np.dstack([np.clip(rgb, 0, 255), np.full((h, w), 255.0)]).astype(np.uint8)
    return Image.fromarray(img, "RGBA")


@region(34)
def product_logo(c):
    img = c.image()
    x, _, tw, _ = d.put_text(img, "CORSARO", d.EXTRABOLD_ITALIC, 27, d.INK, 2, 20, anchor="lm",
                             shadow=0.8)
    d.put_text(img, "270", d.EXTRABOLD_ITALIC, 27, d.RED_HOT, x + tw + 8, 20, anchor="lm",
               shadow=0.8)
    return img


@region(51)
def small_wordmark(c):
    ctx = c.ctx
    d.rounded_rect(ctx, 0.5, 0.5, c.w - 1, c.h - 1, 6)
    d.set_rgb(ctx, (0.06, 0.065, 0.075), 0.9)
    ctx.fill_preserve()
    d.set_rgb(ctx, d.RED, 0.8)
    ctx.set_line_width(1)
    ctx.stroke()
    img = c.image()
    d.put_text(img, "CORSARO 270", d.EXTRABOLD_ITALIC, 15, d.INK, c.w / 2.0, c.h / 2.0)
    return img


def vertical_words(c, lines, size):
    img = c.image()
    step = c.w / float(len(lines))
    for i, line in enumerate(lines):
        d.put_text(img, line, d.BOLD, size, d.CAPTION, step * (i + 0.5), c.h / 2.0,
                   rotate=90, shadow=0.8)
    return img


@region(55)
def profiles_word(c):
    return vertical_words(c, ["Profiles"], 14)


@region(19)
def drag_drop_words(c):
    return vertical_words(c, ["Drag and", "Drop"], 12)


@region(71)
def slider_tyre(c):
    tyre(c.ctx, 26.5, 26.5, 25.5, (0.55, 0.57, 0.6))


BAR_PLACE = STATIC_PLACES[8]
# Captions centred under the bar's controls (window x of each control's middle).
BAR_CAPTIONS = [("Clear Map", 54 + 30), ("Assign Setting", 160 + 39),
                ("Reset to default", 268 + 40),
                ("Rear Light", 396 + 23), ("Front Light", 491 + 22)]
LEVEL_DOTS = [("Low", 568 + 9), ("Med", 599 + 9), ("High", 630 + 9)]


@region(8)
def bottom_bar(c):
    ctx = c.ctx
    w, h = c.w, c.h
    ox, oy = BAR_PLACE
    d.rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, 12)
    ctx.set_source(d.vgrad(0, h, [(0, (0.13, 0.14, 0.16), 0.95), (1, (0.05, 0.055, 0.065), 0.95)]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.move_to(12, 1.5)
    ctx.line_to(w - 12, 1.5)
    d.set_rgb(ctx, d.RED, 0.9)
    ctx.set_line_width(2)
    ctx.stroke()
    # separators between the groups: edit, lights, level
    d.set_rgb(ctx, (1, 1, 1), 0.08)
    ctx.set_line_width(1)
    for sx in (380, 550):
        ctx.move_to(sx - ox + 0.5, 14)
        ctx.line_to(sx - ox + 0.5, h - 12)
    ctx.stroke()
    # the level group: a tyre above the three dots
    tyre(ctx, 608 - ox, 507 - oy, 20, (0.55, 0.57, 0.6))
    img = c.image()
    for text, x in BAR_CAPTIONS:
        d.put_text(img, text, d.SEMIBOLD, 12, d.CAPTION, x - ox, 577 - oy, anchor="ms")
    for text, x in LEVEL_DOTS:
        d.put_text(img, text, d.SEMIBOLD, 11, d.CAPTION, x - ox, 577 - oy, anchor="ms")
    return img


# ----------------------------------------------------------------------------------------------
# The wheel and the two close-ups

def control_button(ctx, points, ox, oy, rgb=None, mark=None):
    """A button drawn over its polygon: the polygon itself, raised with a bevel."""
    pts = [(x - ox, y - oy) for x, y in points]
    ys = [p[1] for p in pts]
    top, bottom = min(ys), max(ys)
    d.polygon(ctx, pts)
    ctx.set_line_join(1)
    ctx.set_source(d.vgrad(top, bottom, [(0, rgb or (0.42, 0.45, 0.5)), (1, (0.16, 0.17, 0.2))]))
    ctx.fill_preserve()
    ctx.set_line_width(2)
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.stroke_preserve()
    ctx.set_line_width(1)
    d.set_rgb(ctx, (1, 1, 1), 0.22)
    ctx.stroke()
    if mark:
        mark(ctx, sum(p[0] for p in pts) / len(pts), sum(ys) / len(ys))


def round_face_button(ctx, points, ox, oy, ring):
    xs = [x - ox for x, _ in points]
    ys = [y - oy for _, y in points]
    cx, cy = (min(xs) + max(xs)) / 2.0, (min(ys) + max(ys)) / 2.0
    r = (max(xs) - min(xs)) / 2.0 - 0.5
    ctx.new_path()
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.fill()
    ctx.arc(cx, cy, r - 1.5, 0, 2 * math.pi)
    ctx.set_source(d.rgrad(cx - 3, cy - 4, 1, r, [(0, (0.55, 0.58, 0.63)), (1, (0.16, 0.17, 0.2))]))
    ctx.fill()
    ctx.arc(cx, cy, r - 3, 0, 2 * math.pi)
    d.set_rgb(ctx, ring, 0.9)
    ctx.set_line_width(1.6)
    ctx.stroke()


def wheel_face(ctx, ox, oy):
    """The steering wheel, in window coordinates shifted by (ox, oy): rim, spokes, the face with
    its four round buttons and the two shoulder buttons."""
    cx, cy = WHEEL_CENTRE[0] - ox, WHEEL_CENTRE[1] - oy
    outer, inner = 178, 150
    # rim
    ctx.new_path()
    ctx.arc(cx, cy, outer, 0, 2 * math.pi)
    ctx.new_sub_path()
    ctx.arc_negative(cx, cy, inner, 2 * math.pi, 0)
    ctx.set_source(d.rgrad(cx, cy, inner, outer,
                           [(0, (0.05, 0.05, 0.06)), (0.35, (0.2, 0.21, 0.23)),
                            (0.7, (0.12, 0.125, 0.14)), (1, (0.03, 0.03, 0.035))]))
    ctx.fill()
    # grip stitching and the red top marker
    ctx.set_line_width(1)
    d.set_rgb(ctx, (0.5, 0.08, 0.1), 0.9)
    ctx.set_dash([3, 3])
    ctx.arc(cx, cy, (outer + inner) / 2.0 + 8, 0, 2 * math.pi)
    ctx.stroke()
    ctx.set_dash([])
    ctx.new_path()
    ctx.arc(cx, cy, (outer + inner) / 2.0, math.radians(-95), math.radians(-85))
    d.set_rgb(ctx, d.RED)
    ctx.set_line_width(outer - inner - 2)
    ctx.stroke()
    # spokes to the rim: left, right and bottom
    spoke = d.vgrad(cy - 30, cy + 40, [(0, (0.3, 0.32, 0.36)), (1, (0.1, 0.11, 0.13))])
    for sx in (-1, 1):
        d.polygon(ctx, [(cx + sx * 100, cy - 8), (cx + sx * (inner + 8), cy - 22),
                        (cx + sx * (inner + 8), cy + 26), (cx + sx * 100, cy + 44)])
        ctx.set_source(spoke)
        ctx.fill()
    d.polygon(ctx, [(cx - 34, cy + 60), (cx + 34, cy + 60), (cx + 22, cy + inner + 8),
                    (cx - 22, cy + inner + 8)])
    ctx.set_source(d.vgrad(cy + 60, cy + inner, [(0, (0.2, 0.21, 0.24)), (1, (0.08, 0.085, 0.1))]))
    ctx.fill()
    # the face: a shield from the shoulder buttons down to the hub
    face = [(cx - 108, cy - 122), (cx + 108, cy - 122), (cx + 124, cy - 20), (cx + 112, cy + 52),
            (cx + 40, cy + 80), (cx - 40, cy + 80), (cx - 112, cy + 52), (cx - 124, cy - 20)]
    d.polygon(ctx, face)
    ctx.set_line_join(1)
    ctx.set_source(d.vgrad(cy - 122, cy + 80, [(0, (0.27, 0.29, 0.33)), (0.5, (0.16, 0.17, 0.2)),
                                                (1, (0.08, 0.085, 0.1))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.set_line_width(2.5)
    ctx.stroke()
    # a carbon panel in the middle with the emblem
    d.rounded_rect(ctx, cx - 58, cy - 92, 116, 110, 16)
    ctx.set_source(d.vgrad(cy - 92, cy + 18, [(0, (0.1, 0.105, 0.12)), (1, (0.05, 0.05, 0.06))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (1, 1, 1), 0.08)
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.arc(cx, cy - 38, 30, 0, 2 * math.pi)
    d.set_rgb(ctx, d.RED, 0.9)
    ctx.set_line_width(3)
    ctx.stroke()
    # shoulder buttons 14, 15 and the face buttons 4-7
    for n in (14, 15):
        control_button(ctx, CONTROLS[n][2], ox, oy, rgb=(0.66, 0.68, 0.72), mark=paddle_mark)
    rings = {4: (0.2, 0.75, 0.3), 5: (0.9, 0.2, 0.2), 6: (0.25, 0.5, 0.95), 7: (0.95, 0.8, 0.2)}
    for n, ring in rings.items():
        round_face_button(ctx, CONTROLS[n][2], ox, oy, ring)


def paddle_mark(ctx, cx, cy):
    """Grip ridges across a shoulder button."""
    d.set_rgb(ctx, d.RED)
    ctx.set_line_width(2)
    for dy in (-4, 0, 4):
        ctx.move_to(cx - 6, cy + dy)
        ctx.line_to(cx + 6, cy + dy)
    ctx.stroke()


def wheel_emblem(img, ox, oy):
    cx, cy = WHEEL_CENTRE[0] - ox, WHEEL_CENTRE[1] - oy - 38
    d.put_text(img, "270", d.EXTRABOLD_ITALIC, 22, d.INK, cx, cy, shadow=0.8)


@region(110)
def wheel_overlay(c):
    ox, oy = STATIC_PLACES[110]
    wheel_face(c.ctx, ox, oy)
    img = c.image()
    wheel_emblem(img, ox, oy)
    return img


@region(109)
def wheel_picture(c):
    ctx = c.ctx
    ox, oy = STATIC_PLACES[109]
    cx, cy = WHEEL_CENTRE[0] - ox, WHEEL_CENTRE[1] - oy
    # the dial behind the wheel: a soft glow and the degree marks the steering range is set on
    ctx.set_source(d.rgrad(cx, cy, 60, 240, [(0, (0.25, 0.27, 0.32), 0.55), (1, (0, 0, 0), 0)]))
    ctx.rectangle(0, 0, c.w, c.h)
    ctx.fill()
    for deg in range(-135, 136, 5):
        a = math.radians(deg)
        major = deg % 45 == 0
        r0 = SLIDER_RADIUS - (12 if major else 6)
        r1 = SLIDER_RADIUS + (4 if major else 0)
        x0, y0 = cx + r0 * math.sin(a), cy - r0 * math.cos(a)
        x1, y1 = cx + r1 * math.sin(a), cy - r1 * math.cos(a)
        if min(y0, y1) < 2 or max(y0, y1) > c.h - 2:
            continue
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        d.set_rgb(ctx, d.RED if major else d.DIM, 0.9 if major else 0.5)
        ctx.set_line_width(2 if major else 1)
        ctx.stroke()
    wheel_face(ctx, ox, oy)
    img = c.image()
    wheel_emblem(img, ox, oy)
    for deg in (45, 90, 135):
        for sgn in (-1, 1):
            a = math.radians(deg * sgn)
            r = SLIDER_RADIUS + 20
            x, y = cx + r * math.sin(a), cy - r * math.cos(a)
            if 10 < y < c.h - 10 and 16 < x < c.w - 16:
                d.put_text(img, str(deg), d.SEMIBOLD, 11, d.DIM, x, y, shadow=0.6)
    return img


def closeup_panel(ctx, w, h):
    """The frame of a close-up: a lens-like rounded panel with a red rim."""
    d.rounded_rect(ctx, 1, 1, w - 2, h - 2, 22)
    ctx.set_source(d.rgrad(w / 2.0, h / 2.0, 10, w * 0.75, [(0, (0.16, 0.17, 0.2)),
                                                              (1, (0.05, 0.05, 0.06))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.set_line_width(2)
    ctx.stroke()
    d.rounded_rect(ctx, 4, 4, w - 8, h - 8, 19)
    d.set_rgb(ctx, d.RED, 0.6)
    ctx.set_line_width(1)
    ctx.stroke()


def arrow_mark(direction, size=4.5):
    def mark(ctx, cx, cy):
        dx, dy = direction
        px, py = -dy, dx
        back, spread = 0.8 * size, 0.65 * size
        d.polygon(ctx, [(cx + dx * size, cy + dy * size),
                        (cx - dx * back + px * spread, cy - dy * back + py * spread),
                        (cx - dx * back - px * spread, cy - dy * back - py * spread)])
        d.set_rgb(ctx, d.INK, 0.85)
        ctx.fill()
    return mark


@region(30)
def left_closeup(c):
    ctx = c.ctx
    ox, oy = STATIC_PLACES[30]
    closeup_panel(ctx, c.w, c.h)
    # the grip the cluster sits on
    pad_cx, pad_cy = 103 - ox, 256 - oy
    ctx.arc(pad_cx, pad_cy + 6, 92, math.radians(160), math.radians(20))
    ctx.line_to(pad_cx + 90, pad_cy + 96)
    ctx.line_to(pad_cx - 90, pad_cy + 96)
    ctx.close_path()
    ctx.set_source(d.vgrad(pad_cy - 90, pad_cy + 96,
                           [(0, (0.2, 0.21, 0.24)), (1, (0.07, 0.075, 0.09))]))
    ctx.fill()
    # the round pad's base, then its four segments (controls 0-3)
    ctx.arc(pad_cx, pad_cy, 43, 0, 2 * math.pi)
    d.set_rgb(ctx, (0.03, 0.03, 0.035))
    ctx.fill()
    directions = {0: (-1, 0), 1: (1, 0), 2: (0, -1), 3: (0, 1)}
    for n, direction in directions.items():
        control_button(ctx, CONTROLS[n][2], ox, oy, mark=arrow_mark(direction))
    ctx.arc(pad_cx, pad_cy, 6, 0, 2 * math.pi)
    d.set_rgb(ctx, (0.3, 0.32, 0.36))
    ctx.fill()
    # the fan of six buttons above it (controls 8-13)
    for n in range(8, 14):
        control_button(ctx, CONTROLS[n][2], ox, oy, rgb=(0.5, 0.53, 0.58))


@region(67)
def right_closeup(c):
    ctx = c.ctx
    ox, oy = STATIC_PLACES[67]
    closeup_panel(ctx, c.w, c.h)
    hub_x, hub_y = 912 - ox, 225 - oy
    # the gate the lever moves in
    ctx.arc(hub_x, hub_y, 72, 0, 2 * math.pi)
    ctx.set_source(d.rgrad(hub_x, hub_y, 10, 72,
                           [(0, (0.2, 0.21, 0.24)), (1, (0.07, 0.075, 0.09))]))
    ctx.fill()
    # the three directions of the lever (controls 16-18), each pointing its way
    tips = {16: (965, 167), 17: (859, 267), 18: (970, 311)}
    for n, (tx, ty) in tips.items():
        dx, dy = tx - (hub_x + ox), ty - (hub_y + oy)
        length = math.hypot(dx, dy)
        control_button(ctx, CONTROLS[n][2], ox, oy, rgb=(0.55, 0.12, 0.14),
                       mark=arrow_mark((dx / length, dy / length), 5.5))
    # the knob
    ctx.arc(hub_x, hub_y, 13, 0, 2 * math.pi)
    ctx.set_source(d.rgrad(hub_x - 3, hub_y - 4, 1, 13,
                           [(0, (0.7, 0.72, 0.76)), (1, (0.15, 0.16, 0.18))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.set_line_width(1.5)
    ctx.stroke()


