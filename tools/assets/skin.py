#!/usr/bin/python3
"""Draws the skin atlas: every region of the region table in its own rectangle, nothing outside.

Each picture is drawn on a canvas of exactly its region's size and pasted into the atlas, so no
picture can bleed into a neighbour. Pictures that the main screen places over the window (the
bottom bar, the close-ups, the wheel) are drawn in window coordinates shifted by their place, so
that the controls drawn on them sit under the wheel controls' polygons."""

import math
import sys

from PIL import Image

import draw as d
from controls import CONTROLS, STATIC_PLACES, WHEEL_CENTRE, SLIDER_RADIUS
from regions import ATLAS_SIZE, REGIONS

PAINTERS = {}


def region(*numbers, **fixed):
    """Registers a painter for one or more regions; keyword values are passed to it."""
    def wrap(fn):
        for n in numbers:
            PAINTERS[n] = (fn, fixed)
        return fn
    return wrap


def states(mapping):
    """Registers a painter for the normal/pressed/hover images of one button."""
    def wrap(fn):
        for state, n in mapping.items():
            PAINTERS[n] = (fn, {"state": state})
        return fn
    return wrap


# ----------------------------------------------------------------------------------------------
# Shared looks

def plate(ctx, x, y, w, h, r, state, round_=False):
    """The body of a button: brushed dark metal, a red rim when hovered, sunk when pressed."""
    path = (lambda: ctx.arc(x + w / 2.0, y + h / 2.0, min(w, h) / 2.0, 0, 2 * math.pi)) \
        if round_ else (lambda: d.rounded_rect(ctx, x, y, w, h, r))
    ctx.new_path()
    path()
    if state == "pressed":
        ctx.set_source(d.vgrad(y, y + h, [(0, d.STEEL_LO), (1, d.STEEL)]))
    else:
        ctx.set_source(d.vgrad(y, y + h, [(0, d.STEEL_HI), (0.5, d.STEEL), (1, d.STEEL_LO)]))
    ctx.fill_preserve()
    ctx.set_line_width(1.0)
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.stroke()
    # inner rim: a highlight on top when raised, a shadow when sunk
    ctx.new_path()
    if round_:
        ctx.arc(x + w / 2.0, y + h / 2.0, min(w, h) / 2.0 - 1.5, 0, 2 * math.pi)
    else:
        d.rounded_rect(ctx, x + 1.5, y + 1.5, w - 3, h - 3, max(0, r - 1.5))
    if state == "pressed":
        ctx.set_source(d.vgrad(y, y + h, [(0, d.BLACK, 0.7), (1, d.BLACK, 0.0)]))
    else:
        ctx.set_source(d.vgrad(y, y + h, [(0, (1, 1, 1), 0.35), (0.5, (1, 1, 1), 0.05),
                                          (1, (1, 1, 1), 0.0)]))
    ctx.set_line_width(1.0)
    ctx.stroke()
    if state in ("hover", "pressed"):
        ctx.new_path()
        if round_:
            ctx.arc(x + w / 2.0, y + h / 2.0, min(w, h) / 2.0 - 1.0, 0, 2 * math.pi)
        else:
            d.rounded_rect(ctx, x + 1, y + 1, w - 2, h - 2, max(0, r - 1))
        d.set_rgb(ctx, d.RED_HOT if state == "hover" else d.RED, 0.95)
        ctx.set_line_width(2.0 if state == "hover" else 1.5)
        ctx.stroke()


def icon_colour(state):
    return {"normal": d.INK, "hover": (1.0, 1.0, 1.0), "pressed": d.RED_HOT}[state]


def shift(state):
    return 1 if state == "pressed" else 0


def caption_colour(state):
    return {"normal": d.CAPTION, "hover": (1.0, 1.0, 1.0), "pressed": d.RED_HOT}[state]


# ----------------------------------------------------------------------------------------------
# Window buttons (25 by 25) and the support button

@states({"normal": 15, "pressed": 16, "hover": 17})
def close_button(c, state):
    ctx = c.ctx
    plate(ctx, 0.5, 0.5, 24, 24, 4, state)
    if state == "hover":
        d.rounded_rect(ctx, 2, 2, 21, 21, 3)
        d.set_rgb(ctx, d.RED, 0.85)
        ctx.fill()
    s = shift(state)
    d.set_rgb(ctx, icon_colour(state) if state != "hover" else (1, 1, 1))
    ctx.set_line_width(2.4)
    ctx.set_line_cap(1)
    for a, b in (((8, 8), (17, 17)), ((17, 8), (8, 17))):
        ctx.move_to(a[0] + s, a[1] + s)
        ctx.line_to(b[0] + s, b[1] + s)
    ctx.stroke()


@states({"normal": 35, "pressed": 36, "hover": 37})
def minimise_button(c, state):
    ctx = c.ctx
    plate(ctx, 0.5, 0.5, 24, 24, 4, state)
    s = shift(state)
    d.set_rgb(ctx, icon_colour(state))
    ctx.rectangle(7 + s, 15 + s, 11, 2.6)
    ctx.fill()


@states({"normal": 25, "pressed": 26, "hover": 27})
def question_button(c, state):
    ctx = c.ctx
    plate(ctx, 0.5, 0.5, 24, 24, 4, state)
    img = c.image()
    s = shift(state)
    d.put_text(img, "?", d.BOLD, 17, icon_colour(state), 12.5 + s, 12.5 + s, shadow=0.5)
    return img


@states({"normal": 0, "pressed": 1, "hover": 2})
def info_button(c, state):
    ctx = c.ctx
    plate(ctx, 1, 1.5, 36, 36, 0, state, round_=True)
    ctx.new_path()
    ctx.arc(19, 19.5, 13, 0, 2 * math.pi)
    d.set_rgb(ctx, icon_colour(state), 0.9)
    ctx.set_line_width(2.0)
    ctx.stroke()
    s = shift(state)
    ctx.arc(19 + s, 13 + s, 2.2, 0, 2 * math.pi)
    ctx.fill()
    d.rounded_rect(ctx, 17.3 + s, 17 + s, 3.4, 10, 1.2)
    ctx.fill()


# ----------------------------------------------------------------------------------------------
# The profile bar's buttons

def gamepad_path(ctx, cx, cy, w):
    """A game pad silhouette w wide centred on (cx, cy)."""
    k = w / 40.0
    ctx.new_path()
    d.rounded_rect(ctx, cx - 15 * k, cy - 9 * k, 30 * k, 14 * k, 6 * k)
    for sx in (-1, 1):
        ctx.new_sub_path()
        ctx.arc(cx + sx * 13 * k, cy + 3 * k, 7 * k, 0, 2 * math.pi)
    ctx.set_fill_rule(0)


def gamepad(ctx, cx, cy, w, rgb):
    k = w / 40.0
    gamepad_path(ctx, cx, cy, w)
    d.set_rgb(ctx, rgb)
    ctx.fill()
    # the pad's cross and buttons cut out in the body colour
    d.set_rgb(ctx, d.STEEL_LO)
    ctx.rectangle(cx - 14 * k, cy - 3.2 * k, 8 * k, 2.4 * k)
    ctx.rectangle(cx - 11.2 * k, cy - 6 * k, 2.4 * k, 8 * k)
    ctx.fill()
    for bx, by in ((10, -4), (13, -1.5), (10, 1), (7, -1.5)):
        ctx.arc(cx + bx * k, cy + by * k, 1.3 * k, 0, 2 * math.pi)
        ctx.fill()


def tick_path(ctx, x, y, size):
    ctx.new_path()
    ctx.move_to(x, y + size * 0.55)
    ctx.line_to(x + size * 0.38, y + size * 0.9)
    ctx.line_to(x + size, y + size * 0.1)


@states({"normal": 5, "pressed": 3, "hover": 4})
def assign_button(c, state):
    ctx = c.ctx
    plate(ctx, 0.5, 0.5, 77, 64, 9, state)
    s = shift(state)
    gamepad(ctx, 33 + s, 35 + s, 42, icon_colour(state))
    # the tick in a green badge: the profile goes to the wheel
    ctx.new_path()
    ctx.arc(58 + s, 18 + s, 10, 0, 2 * math.pi)
    d.set_rgb(ctx, (0.13, 0.62, 0.25) if state != "pressed" else (0.09, 0.45, 0.18))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.set_line_width(1)
    ctx.stroke()
    tick_path(ctx, 52.5 + s, 12.5 + s, 11)
    d.set_rgb(ctx, (1, 1, 1))
    ctx.set_line_width(2.4)
    ctx.set_line_cap(1)
    ctx.set_line_join(1)
    ctx.stroke()


@states({"normal": 14, "pressed": 12, "hover": 13})
def clear_button(c, state):
    ctx = c.ctx
    plate(ctx, 0.5, 0.5, 59, 67, 9, state)
    s = shift(state)
    col = icon_colour(state)
    d.set_rgb(ctx, col)
    # waste bin: lid, handle, tapered body with ribs
    d.rounded_rect(ctx, 17 + s, 17 + s, 26, 4, 1.5)
    ctx.fill()
    ctx.set_line_width(2)
    d.rounded_rect(ctx, 25 + s, 13 + s, 10, 5, 1.5)
    ctx.stroke()
    d.polygon(ctx, [(19 + s, 23 + s), (41 + s, 23 + s), (38.5 + s, 52 + s), (21.5 + s, 52 + s)])
    ctx.fill()
    d.set_rgb(ctx, d.STEEL_LO)
    ctx.set_line_width(1.8)
    for x0, x1 in ((24.5, 25.5), (30, 30), (35.5, 34.5)):
        ctx.move_to(x0 + s, 27 + s)
        ctx.line_to(x1 + s, 48 + s)
    ctx.stroke()


def circular_arrows(ctx, cx, cy, r, rgb, width):
    d.set_rgb(ctx, rgb)
    ctx.set_line_width(width)
    for start in (math.radians(200), math.radians(20)):
        ctx.new_path()
        ctx.arc(cx, cy, r, start, start + math.radians(135))
        ctx.stroke()
        end = start + math.radians(135)
        tx, ty = cx + r * math.cos(end), cy + r * math.sin(end)
        # arrow head along the tangent
        dx, dy = -math.sin(end), math.cos(end)
        nx, ny = math.cos(end), math.sin(end)
        head = width * 2.2
        d.polygon(ctx, [(tx + dx * head, ty + dy * head), (tx + nx * head, ty + ny * head),
                        (tx - nx * head, ty - ny * head)])
        ctx.fill()


@states({"normal": 66, "pressed": 64, "hover": 65})
def reset_button(c, state):
    ctx = c.ctx
    plate(ctx, 0.5, 0.5, 79, 69, 9, state)
    s = shift(state)
    col = icon_colour(state)
    circular_arrows(ctx, 40 + s, 35 + s, 24, col, 3)
    gamepad(ctx, 40 + s, 36 + s, 30, col)


def bulb(ctx, cx, cy, lit, hover, rear):
    """A light bulb; lit bulbs glow amber with rays, rear lights are red."""
    glow = (1.0, 0.25, 0.2) if rear else d.AMBER
    if lit:
        ctx.set_source(d.rgrad(cx, cy, 2, 16, [(0, glow, 0.8), (1, glow, 0.0)]))
        ctx.arc(cx, cy, 16, 0, 2 * math.pi)
        ctx.fill()
    glass = glow if lit else (d.DIM if not hover else (0.85, 0.85, 0.88))
    ctx.new_path()
    ctx.arc(cx, cy - 1, 7.5, math.radians(135), math.radians(45))
    ctx.line_to(cx + 3.5, cy + 9)
    ctx.line_to(cx - 3.5, cy + 9)
    ctx.close_path()
    d.set_rgb(ctx, glass)
    ctx.fill()
    d.set_rgb(ctx, (0.75, 0.77, 0.8) if lit or hover else (0.45, 0.47, 0.5))
    d.rounded_rect(ctx, cx - 3.8, cy + 9.5, 7.6, 4.5, 1.2)
    ctx.fill()
    if lit:
        d.set_rgb(ctx, glow)
        ctx.set_line_width(1.6)
        ctx.set_line_cap(1)
        for a in (-60, -30, 0, 30, 60):
            r = math.radians(a)
            ctx.move_to(cx + 10.5 * math.sin(r), cy - 1 - 10.5 * math.cos(r))
            ctx.line_to(cx + 14 * math.sin(r), cy - 1 - 14 * math.cos(r))
        ctx.stroke()


def light_check(c, state, rear):
    ctx = c.ctx
    w, h = c.w, c.h
    plate(ctx, 0.5, 0.5, w - 1, h - 1, 8, "hover" if state == "hover" else "normal")
    # the window in which the screen shows a tick or a cross
    d.rounded_rect(ctx, 10, 10, 25 if w == 46 else 25, 24, 4)
    d.set_rgb(ctx, (0.03, 0.03, 0.04))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.4, 0.42, 0.46), 0.6)
    ctx.set_line_width(1)
    ctx.stroke()
    bulb(ctx, 22.5, 46, state == "checked", state == "hover", rear)


@states({"normal": 59, "checked": 61, "hover": 60})
def rear_light(c, state):
    light_check(c, state, True)


@states({"normal": 20, "checked": 22, "hover": 21})
def front_light(c, state):
    light_check(c, state, False)


@states({"normal": 57, "checked": 58, "hover": 56})
def level_dot(c, state):
    ctx = c.ctx
    cx, cy = 9, 10
    ctx.arc(cx, cy, 7.5, 0, 2 * math.pi)
    ctx.set_source(d.vgrad(2, 18, [(0, d.STEEL_LO), (1, d.STEEL_HI)]))
    ctx.fill_preserve()
    d.set_rgb(ctx, d.RED_HOT if state == "hover" else (0.02, 0.02, 0.03))
    ctx.set_line_width(1.5 if state == "hover" else 1)
    ctx.stroke()
    if state == "checked":
        ctx.set_source(d.rgrad(cx - 1.2, cy - 1.5, 0.5, 5, [(0, (1, 0.55, 0.45)), (1, d.RED)]))
        ctx.arc(cx, cy, 4.6, 0, 2 * math.pi)
        ctx.fill()
    elif state == "hover":
        d.set_rgb(ctx, (0.75, 0.75, 0.78), 0.8)
        ctx.arc(cx, cy, 3, 0, 2 * math.pi)
        ctx.fill()


@region(24)
def tick_mark(c):
    ctx = c.ctx
    tick_path(ctx, 3, 2.5, 15)
    ctx.set_line_cap(1)
    ctx.set_line_join(1)
    d.set_rgb(ctx, (0, 0, 0), 0.6)
    ctx.set_line_width(5)
    ctx.stroke_preserve()
    d.set_rgb(ctx, (0.25, 0.9, 0.35))
    ctx.set_line_width(3)
    ctx.stroke()


@region(62)
def cross_mark(c):
    ctx = c.ctx
    ctx.set_line_cap(1)
    for width, rgb, a in ((5, (0, 0, 0), 0.6), (3, (0.95, 0.2, 0.2), 1.0)):
        ctx.move_to(5, 4)
        ctx.line_to(16, 15.5)
        ctx.move_to(16, 4)
        ctx.line_to(5, 15.5)
        d.set_rgb(ctx, rgb, a)
        ctx.set_line_width(width)
        ctx.stroke()


# ----------------------------------------------------------------------------------------------
# Discs at the top: Load, Save, Presets and the three profiles

def disc(c, state, word, size, glyph=None):
    ctx = c.ctx
    w, h = c.w, c.h
    r = min(w, h) / 2.0 - 1
    cx, cy = w / 2.0, h / 2.0
    plate(ctx, cx - r, cy - r, 2 * r, 2 * r, 0, state, round_=True)
    if glyph:
        glyph(ctx, cx + shift(state), cy - 7 + shift(state), icon_colour(state))
    img = c.image()
    s = shift(state)
    d.put_text(img, word, d.BOLD, size, caption_colour(state), cx + s,
               cy + (10 if glyph else 0) + s, shadow=0.8)
    return img


def folder_glyph(ctx, cx, cy, rgb):
    d.set_rgb(ctx, rgb)
    d.polygon(ctx, [(cx - 9, cy - 6), (cx - 3, cy - 6), (cx - 1, cy - 4), (cx + 9, cy - 4),
                    (cx + 9, cy + 6), (cx - 9, cy + 6)])
    ctx.fill()


def save_glyph(ctx, cx, cy, rgb):
    d.set_rgb(ctx, rgb)
    ctx.rectangle(cx - 8, cy - 7, 16, 14)
    ctx.fill()
    d.set_rgb(ctx, d.STEEL_LO)
    ctx.rectangle(cx - 4.5, cy - 7, 9, 5)
    ctx.rectangle(cx - 5, cy + 1, 10, 5)
    ctx.fill()


def list_glyph(ctx, cx, cy, rgb):
    d.set_rgb(ctx, rgb)
    for dy in (-5, 0, 5):
        ctx.rectangle(cx - 9, cy + dy - 1.2, 3, 2.6)
        ctx.rectangle(cx - 4, cy + dy - 1.2, 13, 2.6)
    ctx.fill()


@states({"normal": 33, "pressed": 31, "hover": 32})
def load_disc(c, state):
    return disc(c, state, "Load", 12, folder_glyph)


@states({"normal": 70, "pressed": 68, "hover": 69})
def save_disc(c, state):
    return disc(c, state, "Save", 12, save_glyph)


@states({"normal": 54, "pressed": 52, "hover": 53})
def presets_disc(c, state):
    return disc(c, state, "Presets", 11, list_glyph)


def profile_disc(c, state, digit):
    ctx = c.ctx
    w, h = c.w, c.h
    r = min(w, h) / 2.0 - 1
    cx, cy = w / 2.0, h / 2.0
    plate(ctx, cx - r, cy - r, 2 * r, 2 * r, 0, "normal", round_=True)
    if state == "checked":
        ctx.set_source(d.rgrad(cx, cy - 4, 2, r - 4, [(0, d.RED_HOT), (1, d.RED)]))
        ctx.arc(cx, cy, r - 4, 0, 2 * math.pi)
        ctx.fill()
        ctx.arc(cx, cy, r - 1, 0, 2 * math.pi)
        d.set_rgb(ctx, d.RED_HOT)
        ctx.set_line_width(2)
        ctx.stroke()
    else:
        ctx.arc(cx, cy, r - 4, 0, 2 * math.pi)
        d.set_rgb(ctx, (0.05, 0.05, 0.06), 0.8)
        ctx.fill()
    img = c.image()
    d.put_text(img, digit, d.EXTRABOLD, 26, (1, 1, 1) if state == "checked" else d.DIM,
               cx, cy, shadow=0.8)
    return img


for _digit, (_off, _on) in enumerate(((43, 44), (45, 46), (47, 48)), start=1):
    PAINTERS[_off] = (profile_disc, {"state": "normal", "digit": str(_digit)})
    PAINTERS[_on] = (profile_disc, {"state": "checked", "digit": str(_digit)})


# ----------------------------------------------------------------------------------------------
# Dialog buttons

def text_button(c, state, word):
    plate(c.ctx, 0.5, 0.5, c.w - 1, c.h - 1, 7, state)
    img = c.image()
    s = shift(state)
    d.put_text(img, word, d.BOLD, 15, caption_colour(state), c.w / 2.0 + s, c.h / 2.0 + s)
    return img


@states({"normal": 9, "pressed": 10, "hover": 11})
def cancel_button(c, state):
    return text_button(c, state, "Cancel")


@states({"normal": 39, "pressed": 40, "hover": 41})
def ok_button(c, state):
    return text_button(c, state, "OK")


# ----------------------------------------------------------------------------------------------
# Frames cut into nine cells: corners stay, edges and centre stretch, so edges are uniform.

def frame(c, cell, radius, fill, border, accent):
    ctx = c.ctx
    w, h = c.w, c.h
    d.rounded_rect(ctx, 1, 1, w - 2, h - 2, radius)
    d.set_rgb(ctx, fill[0], fill[1])
    ctx.fill_preserve()
    ctx.set_line_width(1.5)
    d.set_rgb(ctx, border)
    ctx.stroke()
    if accent:
        d.rounded_rect(ctx, 3.5, 3.5, w - 7, h - 7, radius - 2.5)
        d.set_rgb(ctx, accent, 0.85)
        ctx.set_line_width(1)
        ctx.stroke()


@region(18)
def dialog_frame(c):
    frame(c, 20, 14, ((0.09, 0.10, 0.12), 0.96), (0.02, 0.02, 0.03), d.RED)


@region(28)
def box_frame(c):
    frame(c, 10, 6, ((0.04, 0.045, 0.05), 0.94), (0.38, 0.40, 0.45), None)


@region(29)
def list_frame(c):
    frame(c, 10, 6, ((0.06, 0.065, 0.075), 0.96), (0.55, 0.10, 0.12), None)


# ----------------------------------------------------------------------------------------------
# Background, logo, bar, vertical words

@region(6)
def background(c):
    """A carbon weave that repeats every 14 pixels, so four strips side by side join unseen."""
    import numpy as np
    w, h = c.w, c.h
    y, x = np.mgrid[0:h, 0:w].astype(np.float64)
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
    ctx = c.ctx
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


def tyre(ctx, cx, cy, r, rgb, tread=True):
    ctx.new_path()
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(d.rgrad(cx, cy, r * 0.4, r, [(0, (0.16, 0.16, 0.17)), (1, (0.05, 0.05, 0.06))]))
    ctx.fill()
    if tread:
        ctx.set_line_width(max(1.0, r * 0.07))
        d.set_rgb(ctx, (0.32, 0.33, 0.35))
        for k in range(24):
            a = k * math.pi / 12
            ctx.move_to(cx + r * 0.82 * math.cos(a), cy + r * 0.82 * math.sin(a))
            ctx.line_to(cx + r * 0.98 * math.cos(a + 0.08), cy + r * 0.98 * math.sin(a + 0.08))
        ctx.stroke()
    ctx.arc(cx, cy, r * 0.55, 0, 2 * math.pi)
    ctx.set_source(d.rgrad(cx - r * 0.15, cy - r * 0.2, 0, r * 0.6,
                           [(0, (0.95, 0.96, 0.98)), (1, rgb)]))
    ctx.fill()
    d.set_rgb(ctx, (0.1, 0.1, 0.12))
    for k in range(5):
        a = k * 2 * math.pi / 5 - math.pi / 2
        ctx.arc(cx + r * 0.33 * math.cos(a), cy + r * 0.33 * math.sin(a), r * 0.09, 0, 2 * math.pi)
        ctx.fill()
    ctx.arc(cx, cy, r * 0.13, 0, 2 * math.pi)
    d.set_rgb(ctx, d.RED)
    ctx.fill()


@region(71)
def slider_tyre(c):
    tyre(c.ctx, 26.5, 26.5, 25.5, (0.55, 0.57, 0.6))


BAR_PLACE = STATIC_PLACES[8]
BAR_CAPTIONS = [("Clear Map", 54 + 30), ("Assign Setting", 160 + 39), ("Reset to default", 268 + 40),
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
    ctx.set_source(d.rgrad(cx, cy, inner, outer, [(0, (0.05, 0.05, 0.06)), (0.35, (0.2, 0.21, 0.23)),
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
        control_button(ctx, CONTROLS[n][2], ox, oy, rgb=(0.5, 0.52, 0.57))
    rings = {4: (0.2, 0.75, 0.3), 5: (0.9, 0.2, 0.2), 6: (0.25, 0.5, 0.95), 7: (0.95, 0.8, 0.2)}
    for n, ring in rings.items():
        round_face_button(ctx, CONTROLS[n][2], ox, oy, ring)


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
    ctx.set_source(d.vgrad(pad_cy - 90, pad_cy + 96, [(0, (0.2, 0.21, 0.24)), (1, (0.07, 0.075, 0.09))]))
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
    ctx.set_source(d.rgrad(hub_x, hub_y, 10, 72, [(0, (0.2, 0.21, 0.24)), (1, (0.07, 0.075, 0.09))]))
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
    ctx.set_source(d.rgrad(hub_x - 3, hub_y - 4, 1, 13, [(0, (0.7, 0.72, 0.76)), (1, (0.15, 0.16, 0.18))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.set_line_width(1.5)
    ctx.stroke()


# ----------------------------------------------------------------------------------------------
# Action tiles (27 by 30), the wide tile and the label pointers

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


# ----------------------------------------------------------------------------------------------
# Overlays: no receiver, its note, the update picture; small marks and the spare picture

def usb_receiver(ctx, x, y, k, rgb):
    """A USB receiver lying flat, plug to the left; k scales it."""
    d.rounded_rect(ctx, x + 26 * k, y, 60 * k, 26 * k, 6 * k)
    ctx.set_source(d.vgrad(y, y + 26 * k, [(0, (0.3, 0.32, 0.36)), (1, (0.08, 0.085, 0.1))]))
    ctx.fill_preserve()
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.set_line_width(1.5)
    ctx.stroke()
    ctx.rectangle(x, y + 4 * k, 27 * k, 18 * k)
    ctx.set_source(d.vgrad(y, y + 22 * k, [(0, (0.85, 0.86, 0.88)), (1, (0.5, 0.52, 0.55))]))
    ctx.fill()
    d.set_rgb(ctx, (0.15, 0.15, 0.17))
    ctx.rectangle(x + 6 * k, y + 9 * k, 5 * k, 3 * k)
    ctx.rectangle(x + 16 * k, y + 9 * k, 5 * k, 3 * k)
    ctx.fill()
    ctx.arc(x + 74 * k, y + 13 * k, 3 * k, 0, 2 * math.pi)
    d.set_rgb(ctx, rgb)
    ctx.fill()


def pc_port(ctx, x, y, k):
    d.rounded_rect(ctx, x, y - 14 * k, 70 * k, 54 * k, 8 * k)
    ctx.set_source(d.vgrad(y - 14 * k, y + 40 * k, [(0, (0.22, 0.23, 0.26)), (1, (0.1, 0.1, 0.12))]))
    ctx.fill()
    ctx.rectangle(x + 4 * k, y + 2 * k, 30 * k, 22 * k)
    d.set_rgb(ctx, (0.02, 0.02, 0.03))
    ctx.fill()
    ctx.rectangle(x + 8 * k, y + 8 * k, 22 * k, 6 * k)
    d.set_rgb(ctx, (0.2, 0.35, 0.8))
    ctx.fill()


@region(38)
def no_receiver(c):
    ctx = c.ctx
    # the receiver on its way into the computer's port
    pc_port(ctx, 320, 42, 1.4)
    usb_receiver(ctx, 150, 50, 1.4, d.RED_HOT)
    d.set_rgb(ctx, d.AMBER)
    ctx.set_line_width(4)
    ctx.set_line_cap(1)
    ctx.move_to(280, 69)
    ctx.line_to(300, 69)
    ctx.stroke()
    d.polygon(ctx, [(312, 69), (298, 60), (298, 78)])
    ctx.fill()
    img = c.image()
    d.put_text(img, "No receiver found", d.BOLD, 24, d.INK, 250, 128)
    d.put_text(img, "Please plug your wheel's receiver into a USB port", d.SEMIBOLD, 16,
               d.CAPTION, 250, 160)
    d.put_text(img, "and switch the wheel on.", d.SEMIBOLD, 16, d.CAPTION, 250, 183)
    return img


@region(108)
def no_receiver_note(c):
    img = c.image()
    d.put_text(img, "The customiser opens as soon as the receiver is detected.", d.REGULAR, 13,
               d.DIM, c.w / 2.0, c.h / 2.0)
    return img


@region(107)
def update_picture(c):
    ctx = c.ctx
    usb_receiver(ctx, 40, 70, 1.5, d.AMBER)
    # a chip with an arrow going into it: new firmware for the receiver
    d.set_rgb(ctx, d.AMBER)
    ctx.set_line_width(4)
    ctx.set_line_cap(1)
    ctx.move_to(214, 90)
    ctx.line_to(238, 90)
    ctx.stroke()
    d.polygon(ctx, [(186, 90), (200, 80), (200, 100)])
    ctx.fill()
    ctx.move_to(186, 90)
    ctx.line_to(214, 90)
    ctx.stroke()
    d.rounded_rect(ctx, 250, 58, 64, 64, 6)
    ctx.set_source(d.vgrad(58, 122, [(0, (0.25, 0.27, 0.3)), (1, (0.08, 0.085, 0.1))]))
    ctx.fill()
    d.set_rgb(ctx, (0.7, 0.72, 0.75))
    ctx.set_line_width(2)
    for k in range(6):
        off = 64 + k * 10
        for a, b in (((off, 52), (off, 58)), ((off, 122), (off, 128))):
            ctx.move_to(250 + a[0] - 64 + 7, a[1])
            ctx.line_to(250 + b[0] - 64 + 7, b[1])
        for a, b in (((244, off), (250, off)), ((314, off), (320, off))):
            ctx.move_to(a[0], a[1] - 64 + 58 + 7)
            ctx.line_to(b[0], b[1] - 64 + 58 + 7)
    ctx.stroke()
    img = c.image()
    d.put_text(img, "Firmware update", d.BOLD, 24, d.INK, c.w / 2.0, 24)
    d.put_text(img, "1.96", d.EXTRABOLD, 16, d.AMBER, 282, 90)
    d.put_text(img, "Keep the receiver plugged in until you are told to remove it.",
               d.SEMIBOLD, 13, d.CAPTION, c.w / 2.0, 160)
    return img


@region(49)
def receiver_picture(c):
    ctx = c.ctx
    d.rounded_rect(ctx, 1, 1, c.w - 2, c.h - 2, 12)
    ctx.set_source(d.vgrad(0, c.h, [(0, (0.14, 0.15, 0.17)), (1, (0.05, 0.05, 0.06))]))
    ctx.fill()
    usb_receiver(ctx, 18, 34, 1.4, d.RED_HOT)
    img = c.image()
    d.put_text(img, "Corsaro 270 receiver", d.SEMIBOLD, 12, d.CAPTION, c.w / 2.0, 104)
    return img


def small_mark(c, kind):
    ctx = c.ctx
    d.set_rgb(ctx, d.INK)
    if kind == "up":
        d.polygon(ctx, [(4, 1.5), (7.5, 7), (0.5, 7)])
    elif kind == "down":
        d.polygon(ctx, [(4, 7.5), (7.5, 2), (0.5, 2)])
    elif kind == "left":
        d.polygon(ctx, [(0.5, 4.5), (7, 1), (7, 8)])
    elif kind == "right":
        d.polygon(ctx, [(7.5, 4.5), (1, 1), (1, 8)])
    else:
        ctx.arc(4, 4.5, 3, 0, 2 * math.pi)
        d.set_rgb(ctx, d.RED_HOT if kind == "red" else d.INK)
    ctx.fill()


for _n, _kind in ((7, "up"), (23, "down"), (42, "left"), (50, "right"), (63, "dot"),
                  (111, "red")):
    PAINTERS[_n] = (small_mark, {"kind": _kind})


# ----------------------------------------------------------------------------------------------

def paint_region(n):
    x, y, w, h = REGIONS[n]
    fn, fixed = PAINTERS[n]
    canvas = d.Canvas(w, h)
    result = fn(canvas, **fixed)
    img = result if isinstance(result, Image.Image) else canvas.image()
    assert img.size == (w, h), "region %d drew %s" % (n, img.size)
    return img


def build_atlas():
    missing = [n for n in range(len(REGIONS)) if n not in PAINTERS]
    assert not missing, "regions without a painter: %s" % missing
    atlas = Image.new("RGBA", ATLAS_SIZE, (0, 0, 0, 0))
    for n, (x, y, w, h) in enumerate(REGIONS):
        atlas.paste(paint_region(n), (x, y))
    return atlas


def main(out):
    d.save_png(build_atlas(), out)


if __name__ == "__main__":
    main(sys.argv[1])
