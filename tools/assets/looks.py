"""What the skin's pictures share: the register of region painters and the common looks of
buttons (body, icon colours per state) and of a few icons used in more than one picture."""

import math

import draw as d

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
