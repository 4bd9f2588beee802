"""Skin pictures of the buttons and check boxes: window buttons, the profile bar's controls, the
discs at the top, the dialog buttons, the tick and cross, and the nine-slice frame sources."""

import math

import draw as d
from looks import (PAINTERS, caption_colour, gamepad, icon_colour, plate, region, shift, states,
                   tick_path)


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
    d.rounded_rect(ctx, 10, 10, 25, 24, 4)
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

def frame(c, radius, fill, border, accent):
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
    frame(c, 14, ((0.09, 0.10, 0.12), 0.96), (0.02, 0.02, 0.03), d.RED)


@region(28)
def box_frame(c):
    frame(c, 6, ((0.04, 0.045, 0.05), 0.94), (0.38, 0.40, 0.45), None)


@region(29)
def list_frame(c):
    frame(c, 6, ((0.06, 0.065, 0.075), 0.96), (0.55, 0.10, 0.12), None)


