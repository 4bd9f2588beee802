"""Skin pictures of the overlays (no receiver, its note, the firmware update) and the spare
pictures: the receiver and the small marks."""

import math

import draw as d
from looks import PAINTERS, region


# Overlays: no receiver, its note, the update picture; small marks, the spare picture

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
    ctx.set_source(d.vgrad(y - 14 * k, y + 40 * k,
                           [(0, (0.22, 0.23, 0.26)), (1, (0.1, 0.1, 0.12))]))
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


