"""Drawing helpers shared by the asset generators: cairo canvases for shapes, FreeType text through
PIL pinned to the installed Open Sans files, and the skin's colours."""

import math
import os

import cairo
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/open-sans"
REGULAR = os.path.join(FONT_DIR, "OpenSans-Regular.ttf")
SEMIBOLD = os.path.join(FONT_DIR, "OpenSans-Semibold.ttf")
BOLD = os.path.join(FONT_DIR, "OpenSans-Bold.ttf")
EXTRABOLD = os.path.join(FONT_DIR, "OpenSans-ExtraBold.ttf")
EXTRABOLD_ITALIC = os.path.join(FONT_DIR, "OpenSans-ExtraBoldItalic.ttf")
COND_BOLD = os.path.join(FONT_DIR, "OpenSans-CondBold.ttf")

# The skin's palette, as (r, g, b) in 0..1.
INK = (0.91, 0.92, 0.94)
CAPTION = (0.80, 0.82, 0.86)
DIM = (0.55, 0.58, 0.63)
RED = (0.85, 0.11, 0.14)
RED_HOT = (1.0, 0.30, 0.22)
AMBER = (1.0, 0.72, 0.18)
STEEL_HI = (0.36, 0.39, 0.44)
STEEL = (0.22, 0.24, 0.28)
STEEL_LO = (0.11, 0.12, 0.14)
BLACK = (0.0, 0.0, 0.0)

_fonts = {}

# Pixels per skin pixel of the art being drawn: the atlas and the fonts are drawn again at 2 for
# screens of twice the density, with every coordinate and size in skin pixels as at 1.
SCALE = 1


def set_scale(scale):
    global SCALE
    SCALE = scale


def font(path, size):
    key = (path, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(path, size)
    return _fonts[key]


def hexrgb(value):
    return ((value >> 16 & 255) / 255.0, (value >> 8 & 255) / 255.0, (value & 255) / 255.0)


class Canvas:
    """A transparent cairo surface of one picture, turned into a PIL image when done."""

    def __init__(self, w, h):
        """A picture w by h skin pixels, of SCALE times as many pixels each way."""
        self.w, self.h = w, h
        self.surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w * SCALE, h * SCALE)
        self.ctx = cairo.Context(self.surface)
        self.ctx.scale(SCALE, SCALE)
        self.ctx.set_antialias(cairo.ANTIALIAS_BEST)

    def image(self):
        self.surface.flush()
        data = bytes(self.surface.get_data())
        return Image.frombuffer("RGBA", (self.w * SCALE, self.h * SCALE), data, "raw", "BGRa",
                                self.surface.get_stride(), 1).copy()

    def paste(self, img, x=0, y=0):
        """Draws a PIL image over the canvas (used to put text under later shapes)."""
        raw = bytearray(img.convert("RGBA").tobytes("raw", "BGRa"))
        src = cairo.ImageSurface.create_for_data(raw, cairo.FORMAT_ARGB32, img.width, img.height,
                                                 img.width * 4)
        self.ctx.save()
        self.ctx.set_source_surface(src, x, y)
        self.ctx.paint()
        self.ctx.restore()


def text_mask(text, path, size):
    """The antialiased coverage of one line of text and the offset of its ink from the pen."""
    f = font(path, size)
    left, top, right, bottom = f.getbbox(text)
    mask = Image.new("L", (max(1, right - left), max(1, bottom - top)), 0)
    ImageDraw.Draw(mask).text((-left, -top), text, font=f, fill=255)
    return mask, left, top


def text_layer(text, path, size, rgb, alpha=1.0):
    mask, _, _ = text_mask(text, path, size)
    colour = tuple(int(round(c * 255)) for c in rgb)
    layer = Image.new("RGBA", mask.size, colour + (0,))
    layer.putalpha(mask.point(lambda v: int(round(v * alpha))))
    return layer


def put_text(img, text, path, size, rgb, cx, cy, anchor="mm", shadow=0.7, alpha=1.0, rotate=0):
    """Draws text into a PIL image with its ink box anchored at (cx, cy): anchor letters say
    which of left/middle/right and top/middle/bottom of the ink box lies on the point, or, with
    "s" as second letter, that the baseline does. Sizes and places are in skin pixels; the ink
    box comes back in them too."""
    size, cx, cy = size * SCALE, cx * SCALE, cy * SCALE
    layer = text_layer(text, path, size, rgb, alpha)
    if anchor[1] == "s":     # on the baseline, so captions with and without descenders line up
        _, _, top = text_mask(text, path, size)
        cy = cy + top - font(path, size).getmetrics()[0]
        anchor = anchor[0] + "t"
    if rotate:
        layer = layer.rotate(rotate, expand=True)
    w, h = layer.size
    x = {"l": cx, "m": cx - w / 2.0, "r": cx - w}[anchor[0]]
    y = {"t": cy, "m": cy - h / 2.0, "b": cy - h}[anchor[1]]
    x, y = int(round(x)), int(round(y))
    if shadow:
        sh = text_layer(text, path, size, BLACK, shadow)
        if rotate:
            sh = sh.rotate(rotate, expand=True)
        if _inside(img, sh, x + SCALE, y + SCALE):
            img.alpha_composite(sh, (x + SCALE, y + SCALE))
    assert _inside(img, layer, x, y), "text %r leaves its picture" % text
    img.alpha_composite(layer, (x, y))
    if SCALE == 1:
        return (x, y, w, h)
    return (x / SCALE, y / SCALE, w / SCALE, h / SCALE)


def _inside(img, layer, x, y):
    return x >= 0 and y >= 0 and x + layer.width <= img.width and y + layer.height <= img.height


def text_width(text, path, size):
    left, _, right, _ = font(path, size).getbbox(text)
    return right - left


# Cairo shape helpers.

def rounded_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2.0, h / 2.0)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def polygon(ctx, points):
    ctx.new_path()
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    ctx.close_path()


def vgrad(y0, y1, stops):
    g = cairo.LinearGradient(0, y0, 0, y1)
    for offset, rgb, *a in stops:
        g.add_color_stop_rgba(offset, rgb[0], rgb[1], rgb[2], a[0] if a else 1.0)
    return g


def rgrad(cx, cy, r0, r1, stops):
    g = cairo.RadialGradient(cx, cy, r0, cx, cy, r1)
    for offset, rgb, *a in stops:
        g.add_color_stop_rgba(offset, rgb[0], rgb[1], rgb[2], a[0] if a else 1.0)
    return g


def set_rgb(ctx, rgb, a=1.0):
    ctx.set_source_rgba(rgb[0], rgb[1], rgb[2], a)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def save_png(img, path):
    """Writes a PNG with no time or text chunks, so that a rebuild gives the same bytes."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, "PNG", optimize=True)
