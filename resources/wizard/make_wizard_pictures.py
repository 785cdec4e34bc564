#!/usr/bin/env python3
"""Draws the setup wizard's pictures and writes each as a 24-bit BMP; the
two the wizard reads as JPEG are converted with ImageMagick's `convert`.
Standard library only (besides `convert`); the output is the same on every
run, so the pictures can be regenerated instead of stored.

Usage: make_wizard_pictures.py OUTDIR
Writes OUTDIR/NAME.bmp (24 bits) for every picture, OUTDIR/NAME.jpg for the
JPEG ones, for the BMP ones the exact smaller form the executable carries as
OUTDIR/packed/NAME.bmp (resources/pack_picture.py: a PNG inside a BMP, or
run-length encoded), and OUTDIR/wizard_pictures.rc with one line per
picture: `NAME BITMAP "packed/NAME.bmp"`, or `NAME RCDATA "NAME.jpg"` for a
JPEG (the wizard looks a picture up as a BITMAP first, then as RCDATA,
whose bytes may be a JPEG or a BMP file). The 24-bit files are what the
checks and the tests compare against.

  Name                Size       Format  Wizard slot      Where it sits
  WIZ_LOGO            121 x 32   JPEG    gImage10         header, pages 1-5, on white
  WIZ_WELCOME_EMBLEM  113 x 113  BMP     Image5           page 0, top left
  WIZ_WELCOME_STRIP   185 x 57   JPEG    Image2           page 0, bottom left
  WIZ_BANNER_1        633 x 25   BMP     Image4           page 1 (licence), top: step 1 of 4
  WIZ_LICENCE_BAND    193 x 33   BMP     Image11          page 1, under the banner, left
  WIZ_LICENCE_ART     217 x 177  BMP     Image1           page 1, middle
  WIZ_BANNER_2        633 x 25   BMP     Image6           page 2 (folder), top: step 2 of 4
  WIZ_FOLDER_ART      105 x 41   BMP     Image10          page 2, under the banner, left
  WIZ_BROWSE          39 x 25    BMP     suiImageButton1  page 2, folder button (PicNormal)
  WIZ_BROWSE_HOT      39 x 25    BMP     suiImageButton1  page 2, the same, mouse over
  WIZ_BANNER_3        633 x 25   BMP     Image7           page 3 (confirm), top: step 3 of 4
  WIZ_CONFIRM_ART     169 x 105  BMP     Image9           page 3, under the banner, left
  WIZ_BANNER_4        633 x 25   BMP     Image8           page 4 (copying), top: step 4 of 4
  WIZ_DONE_MARK       57 x 56    BMP     Image3           page 5, success mark

The look: flat shapes with soft gradients on the white page, the
orange of the wizard's bottom panel (RGB 255, 153, 0) as the accent and a
blue running into teal as the second colour. The banners are one family: a
blue-to-teal band closed by the same orange, with a four-node stepper at the
right that marks the page's step. The pictures that hang under a banner at
the page's left edge (WIZ_LICENCE_BAND, WIZ_FOLDER_ART, WIZ_CONFIRM_ART)
are one family too: a pale tab with a slanted end whose first row is the
banner's last, so the seam is invisible whichever of the two is on top.

Pictures are opaque; what lies outside their shapes is the page colour
(PAGE: the pages are clWindow) or, for the logo, the header's white. The
folder button's pictures are drawn with their top-left pixel's colour as
the see-through colour; that pixel is the page colour, so the cut-out and
the page agree.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import bmp24  # noqa: E402  (shared with the other picture scripts)
import pack_picture  # noqa: E402

# --------------------------------------------------------------------------
# Palette

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
PAGE = WHITE                    # the wizard pages are clWindow
HEADER = WHITE                  # the header band the logo sits on

ORANGE = (255, 153, 0)          # the bottom panel, COLORREF 0x0099FF
ORANGE_DEEP = (234, 108, 0)
ORANGE_LIGHT = (255, 188, 72)
BLUE_DEEP = (16, 66, 126)
BLUE = (24, 104, 178)
TEAL = (0, 146, 166)
TEAL_LIGHT = (84, 196, 204)
INK = (34, 48, 66)              # the wordmark
GREEN = (64, 186, 92)
GREEN_DEEP = (24, 140, 66)

TAB_TOP = (225, 237, 248)       # the pale tabs under the banners
TAB_BOTTOM = (238, 245, 251)
TAB_EDGE = (196, 214, 230)
PAPER_LINE = (216, 224, 233)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def lighter(c, t):
    return mix(c, WHITE, t)


def darker(c, t):
    return mix(c, BLACK, t)


def stops_at(stops, t):
    """Colour at t (0..1) along a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 1.0)
    return stops[-1][1]


def linear(x0, y0, x1, y1, stops):
    """A fill running through the stops from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    dd = dx * dx + dy * dy or 1e-9
    return lambda x, y: stops_at(stops, ((x - x0) * dx + (y - y0) * dy) / dd)


def vertical(y0, y1, stops):
    return linear(0, y0, 0, y1, stops)


def radial(cx, cy, r, stops):
    return lambda x, y: stops_at(stops, math.hypot(x - cx, y - cy) / r)


# --------------------------------------------------------------------------
# Shapes: signed distance functions (negative inside) with a bounding box.
# Edges are anti-aliased by supersampling the pixels they cross.


class Shape:
    def __init__(self, sdf, bbox):
        self.sdf = sdf
        self.bbox = bbox  # x0, y0, x1, y1

    def __and__(self, other):
        a, b = self.sdf, other.sdf
        (ax0, ay0, ax1, ay1), (bx0, by0, bx1, by1) = self.bbox, other.bbox
        return Shape(lambda x, y: max(a(x, y), b(x, y)),
                     (max(ax0, bx0), max(ay0, by0), min(ax1, bx1), min(ay1, by1)))

    def __or__(self, other):
        a, b = self.sdf, other.sdf
        (ax0, ay0, ax1, ay1), (bx0, by0, bx1, by1) = self.bbox, other.bbox
        return Shape(lambda x, y: min(a(x, y), b(x, y)),
                     (min(ax0, bx0), min(ay0, by0), max(ax1, bx1), max(ay1, by1)))

    def __sub__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.bbox)

    def inset(self, d):
        """The shape shrunk by d pixels all round (grown if d < 0)."""
        f = self.sdf
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: f(x, y) + d, (x0 + d, y0 + d, x1 - d, y1 - d))

    def moved(self, dx, dy):
        f = self.sdf
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: f(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))

    def outline(self, width):
        """A band of that width centred on the shape's edge."""
        f = self.sdf
        h = width / 2
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: abs(f(x, y)) - h, (x0 - h, y0 - h, x1 + h, y1 + h))


def rect(x0, y0, x1, y1, r=0.0):
    """Rectangle with corners rounded by r; edges on integers are crisp."""
    r = max(0.0, min(r, (x1 - x0) / 2, (y1 - y0) / 2))
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r

    return Shape(sdf, (x0, y0, x1, y1))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    m = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def segment(ax, ay, bx, by, width):
    """A stroke with round ends from (ax, ay) to (bx, by)."""
    dx, dy = bx - ax, by - ay
    dd = dx * dx + dy * dy or 1e-9
    h = width / 2

    def sdf(x, y):
        t = min(1.0, max(0.0, ((x - ax) * dx + (y - ay) * dy) / dd))
        return math.hypot(x - ax - dx * t, y - ay - dy * t) - h

    return Shape(sdf, (min(ax, bx) - h, min(ay, by) - h, max(ax, bx) + h, max(ay, by) + h))


def polyline(points, width):
    shape = segment(*points[0], *points[1], width)
    for a, b in zip(points[1:], points[2:]):
        shape = shape | segment(*a, *b, width)
    return shape


def polygon(points):
    """A filled polygon (exact signed distance, any winding)."""
    pts = list(points)
    n = len(pts)

    def sdf(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        sign = 1.0
        j = n - 1
        for i in range(n):
            (xi, yi), (xj, yj) = pts[i], pts[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = min(1.0, max(0.0, (wx * ex + wy * ey) / (ex * ex + ey * ey or 1e-9)))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1, c2, c3 = y >= yi, y < yj, ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                sign = -sign
            j = i
        return sign * math.sqrt(d)

    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def bezier(p0, p1, p2, steps=12):
    """Points along a quadratic curve, p0 excluded (for polygon outlines)."""
    out = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        out.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                    u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return out


SUPER = 4  # samples per pixel side where an edge crosses
_OFFSETS = [(i + 0.5) / SUPER for i in range(SUPER)]


def coverage(sdf, x, y):
    d = sdf(x + 0.5, y + 0.5)
    if d <= -1.0:
        return 1.0
    if d >= 1.0:
        return 0.0
    inside = sum(1 for oy in _OFFSETS for ox in _OFFSETS if sdf(x + ox, y + oy) <= 0.0)
    return inside / (SUPER * SUPER)


# --------------------------------------------------------------------------
# Canvas: opaque RGB floats; every paint composites over what is there.


class Canvas:
    def __init__(self, w, h, background):
        self.w, self.h = w, h
        self.px = [list(background) for _ in range(w * h)]

    def paint(self, shape, fill, alpha=1.0, soft=0.0):
        """Composites fill (a colour, or a function of the pixel centre
        returning one) inside shape. soft > 0 feathers the edge over that
        many pixels on either side instead of sampling it: shadows, glows."""
        x0, y0, x1, y1 = shape.bbox
        pad = soft + 1
        xa, ya = max(0, int(math.floor(x0 - pad))), max(0, int(math.floor(y0 - pad)))
        xb, yb = min(self.w, int(math.ceil(x1 + pad))), min(self.h, int(math.ceil(y1 + pad)))
        sdf = shape.sdf
        for y in range(ya, yb):
            for x in range(xa, xb):
                if soft > 0:
                    t = min(1.0, max(0.0, 0.5 - sdf(x + 0.5, y + 0.5) / (2 * soft)))
                    cov = t * t * (3 - 2 * t)
                else:
                    cov = coverage(sdf, x, y)
                if cov <= 0.0:
                    continue
                col = fill(x + 0.5, y + 0.5) if callable(fill) else fill
                a = cov * alpha * (col[3] if len(col) > 3 else 1.0)
                p = self.px[y * self.w + x]
                p[0] += (col[0] - p[0]) * a
                p[1] += (col[1] - p[1]) * a
                p[2] += (col[2] - p[2]) * a

    def shadow(self, shape, dy=2.0, blur=3.0, alpha=0.2, colour=(20, 40, 70)):
        """A soft, slightly blue shadow under shape: neutral black reads
        dirty on the light grey page."""
        self.paint(shape.moved(0, dy), colour, alpha, soft=blur)

    def rows(self):
        return [[tuple(min(255, max(0, int(c + 0.5))) for c in p)
                 for p in self.px[y * self.w:(y + 1) * self.w]] for y in range(self.h)]


# --------------------------------------------------------------------------
# Marks shared by several pictures


def check_stroke(cx, cy, s, width):
    """The product's tick: a V whose right arm runs on, read as both the V
    of VANTO and "all is well". s is the mark's half-width."""
    return polyline([(cx - s, cy - 0.05 * s), (cx - 0.28 * s, cy + 0.7 * s),
                     (cx + s, cy - 0.75 * s)], width)


def shield(cx, top, w, h):
    """A shield: a softly dipped top edge, straight sides, a curved point."""
    hw = w / 2
    side = top + h * 0.45
    pts = [(cx - hw, top + h * 0.1)]
    pts += bezier((cx - hw, top + h * 0.1), (cx - hw * 0.5, top + h * 0.1), (cx, top))
    pts += bezier((cx, top), (cx + hw * 0.5, top + h * 0.1), (cx + hw, top + h * 0.1))
    pts.append((cx + hw, side))
    pts += bezier((cx + hw, side), (cx + hw, top + h * 0.8), (cx, top + h))
    pts += bezier((cx, top + h), (cx - hw, top + h * 0.8), (cx - hw, side))
    return polygon(pts)


def emblem_tile(c, x0, y0, size, radius):
    """The orange app tile behind the product mark."""
    tile = rect(x0, y0, x0 + size, y0 + size, radius)
    c.paint(tile, linear(x0, y0, x0 + size, y0 + size,
                         [(0, (255, 186, 60)), (0.55, (255, 146, 8)), (1, (238, 104, 0))]))
    # A broad, very faint sheen across the upper left gives the flat tile
    # some light without turning it into a glossy button.
    sheen = tile & circle(x0 + size * 0.1, y0 - size * 0.35, size * 0.95)
    c.paint(sheen, WHITE, 0.12)
    return tile


# --------------------------------------------------------------------------
# The pictures


def logo():
    """Header logo: the tile with the tick, then VANTO in geometric capitals
    built from polygons so the stems sit on whole pixels. The A is a lambda
    whose bar carries the accent orange."""
    c = Canvas(121, 32, HEADER)
    tile = rect(2, 3, 28, 29, 6.5)
    c.shadow(tile, 1.0, 1.2, 0.16)
    emblem_tile(c, 2, 3, 26, 6.5)
    c.paint(check_stroke(15.3, 16.4, 7.2, 3.6), WHITE)

    top, base = 9.0, 24.0
    stem = 3.0
    x = 35.0
    ink = polygon([(x, top), (x + 3.4, top), (x + 7.5, base - 3.9), (x + 11.6, top),
                   (x + 15.0, top), (x + 9.2, base), (x + 5.8, base)])          # V
    x += 15.0 + 0.5  # the A kerns into the V
    ink = ink | polygon([(x + 5.8, top), (x + 9.2, top), (x + 15.0, base), (x + 11.6, base),
                         (x + 7.5, top + 3.9), (x + 3.4, base), (x, base)])     # A
    bar = rect(x + 4.6, 17.5, x + 10.4, 20.5)
    x = 68.0
    ink = ink | rect(x, top, x + stem, base) | rect(x + 10, top, x + 13, base) \
        | polygon([(x, top), (x + 3.4, top), (x + 13.0, base), (x + 9.6, base)])  # N
    x = 83.5
    ink = ink | rect(x, top, x + 13, top + stem) | rect(x + 5, top, x + 8, base)  # T
    x = 98.5
    cy = (top + base) / 2
    ink = ink | (circle(x + 7.5, cy, 7.5) - circle(x + 7.5, cy, 7.5 - stem - 0.15))  # O
    c.paint(ink, vertical(top, base, [(0, INK), (1, darker(INK, 0.15))]))
    c.paint(bar, ORANGE)
    return c


def welcome_emblem():
    """The product emblem: the orange tile with a white shield holding the
    tick in blue and teal."""
    c = Canvas(113, 113, PAGE)
    x0, y0, size = 11.5, 8.0, 90.0
    tile = rect(x0, y0, x0 + size, y0 + size, 22)
    c.shadow(tile, 5.0, 7.0, 0.22)
    c.shadow(tile, 1.5, 1.5, 0.12)
    emblem_tile(c, x0, y0, size, 22)
    # Thin light rings echo "system scan" and break the flat tile.
    cx, cy = x0 + size / 2, y0 + size / 2
    ring_area = tile.inset(4)
    for r, a in ((38, 0.10), (30, 0.07)):
        c.paint(ring_area & circle(cx, cy, r).outline(1.2), WHITE, a)
    body = shield(cx, y0 + 17, 50, 58)
    c.shadow(body, 3.0, 3.0, 0.28, colour=(150, 60, 0))
    c.paint(body, vertical(y0 + 17, y0 + 75, [(0, WHITE), (1, (232, 241, 250))]))
    c.paint(body.inset(4).outline(1.4), TEAL_LIGHT, 0.45)
    mark = check_stroke(cx, y0 + 45, 14, 8.0)
    c.paint(mark, linear(cx - 14, y0 + 30, cx + 14, y0 + 60, [(0, BLUE), (1, TEAL)]))
    return c


def feature_icon(c, cx, cy, r, colour, glyph):
    disc = circle(cx, cy, r)
    c.shadow(disc, 1.6, 2.2, 0.16)
    c.paint(disc, WHITE)
    c.paint(disc.inset(0.5).outline(1.6), colour)
    c.paint(disc.inset(4), vertical(cy - r, cy + r, [(0, lighter(colour, 0.86)),
                                                       (1, lighter(colour, 0.72))]))
    c.paint(glyph, colour)


def welcome_strip():
    """Three promises of a system tool, as icons on one line: safe (shield),
    fast (bolt), clean (sparkles)."""
    c = Canvas(185, 57, PAGE)
    cy = 27.0
    xs = (31.0, 92.5, 154.0)
    r = 19.0
    line = rect(xs[0], cy - 1.0, xs[2], cy + 1.0, 1.0)
    c.paint(line, linear(xs[0], 0, xs[2], 0, [(0, BLUE), (0.5, ORANGE), (1, TEAL)]), 0.55)
    for x in (xs[0] + (xs[1] - xs[0]) / 2, xs[1] + (xs[2] - xs[1]) / 2):
        c.paint(circle(x, cy, 2.4), WHITE)
        c.paint(circle(x, cy, 2.4).outline(1.2), (170, 186, 204))

    safe = shield(xs[0], cy - 9.5, 16, 19)
    safe = safe - check_stroke(xs[0], cy, 4.6, 2.2).moved(0, 0.5)
    feature_icon(c, xs[0], cy, r, BLUE, safe)

    bolt = polygon([(xs[1] + 2.5, cy - 11), (xs[1] - 6.5, cy + 1.5), (xs[1] - 0.5, cy + 1.5),
                    (xs[1] - 2.5, cy + 11), (xs[1] + 6.5, cy - 1.5), (xs[1] + 0.5, cy - 1.5)])
    feature_icon(c, xs[1], cy, r, ORANGE_DEEP, bolt)

    def sparkle(x, y, s):
        k = 0.22 * s
        return polygon([(x, y - s), (x + k, y - k), (x + s, y), (x + k, y + k),
                        (x, y + s), (x - k, y + k), (x - s, y), (x - k, y - k)])

    sparks = sparkle(xs[2] - 2.5, cy + 1.5, 9.0) | sparkle(xs[2] + 6.0, cy - 6.5, 4.2) \
        | sparkle(xs[2] + 6.5, cy + 7.0, 2.8)
    feature_icon(c, xs[2], cy, r, TEAL, sparks)
    return c


BANNER_W, BANNER_H = 633, 25
RULE_H = 2  # the orange rule closing every banner


def banner(step, steps=4):
    """A blue-to-teal band with facets, an orange rule at the bottom and a
    stepper at the right: done steps filled white, this step orange, later
    steps hollow. The left two thirds stay quiet for a caption."""
    w, h = BANNER_W, BANNER_H
    band = h - RULE_H
    c = Canvas(w, h, BLUE_DEEP)
    c.paint(rect(0, 0, w, band), linear(0, 0, w, 0, [(0, BLUE_DEEP), (0.45, BLUE), (1, TEAL)]))
    # Facets: large, faint parallelograms leaning right, strongest under
    # the stepper.
    for x, width, a in ((360, 70, 0.05), (410, 120, 0.06), (505, 44, 0.07), (560, 90, 0.05)):
        c.paint(polygon([(x, 0), (x + width, 0), (x + width - 16, band), (x - 16, band)]),
                WHITE, a)
    c.paint(rect(0, 0, w, band), vertical(0, band, [(0, WHITE + (0.16,)), (0.5, WHITE + (0.0,)),
                                                     (1, BLACK + (0.08,))]))
    c.paint(rect(0, band, w, h), ORANGE)
    c.paint(rect(0, band, w, band + 1), ORANGE_DEEP, 0.55)

    gap = 26.0
    cy = band / 2
    x_last = w - 20.0
    xs = [x_last - gap * (steps - 1 - i) for i in range(steps)]
    # The track: bright up to this step, faint after it.
    c.paint(rect(xs[0], cy - 0.75, xs[-1], cy + 0.75), WHITE, 0.3)
    if step > 1:
        c.paint(rect(xs[0], cy - 0.75, xs[step - 1], cy + 0.75), WHITE, 0.85)
    for i, x in enumerate(xs, 1):
        if i < step:
            c.paint(circle(x, cy, 3.6), WHITE)
        elif i == step:
            c.paint(circle(x, cy, 8.0), ORANGE, 0.28, soft=2.0)
            c.paint(circle(x, cy, 6.2), WHITE)
            c.paint(circle(x, cy, 4.6), vertical(cy - 4.6, cy + 4.6,
                                                 [(0, ORANGE_LIGHT), (1, ORANGE_DEEP)]))
        else:
            c.paint(circle(x, cy, 3.6), darker(TEAL, 0.25))
            c.paint(circle(x, cy, 3.6).outline(1.3), WHITE, 0.6)
    return c


def tab(w, h, slant, depth):
    """The pale tab hanging from a banner at the page's left edge: its first
    row is the banner's orange rule, its right end is cut on a slant, and it
    casts a soft shadow on the page. depth is where the tab's body ends."""
    c = Canvas(w, h, PAGE)
    right = w - 3.0
    body = polygon([(0, 0), (right, 0), (right - slant, depth), (0, depth)])
    c.shadow(body, 2.0, 2.4, 0.16)
    c.paint(body, vertical(0, depth, [(0, TAB_TOP), (1, TAB_BOTTOM)]))
    c.paint(body - body.inset(1.0), TAB_EDGE)
    c.paint(rect(0, 0, w, 1), ORANGE)
    # The orange accent post at the left, under the rule.
    c.paint(rect(0, 1, 4, depth), vertical(1, depth, [(0, ORANGE), (1, ORANGE_DEEP)]))
    return c, body


def trail(c, x0, cy, count=3, step=8.0, colour=BLUE):
    """Chevrons pointing right and fading: "on to the next step"."""
    for i in range(count):
        x = x0 + i * step
        c.paint(polyline([(x, cy - 3.5), (x + 3.5, cy), (x, cy + 3.5)], 1.8), colour,
                0.7 - 0.2 * i)


def licence_band():
    """A sheet with an orange tick badge, the licence page's sign, on the tab
    family; the rest of the tab stays clear."""
    c, _ = tab(193, 33, 14.0, 29.0)
    x0, y0, x1, y1, fold = 15.0, 6.0, 30.0, 25.0, 5.0
    sheet = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    c.shadow(sheet, 1.0, 1.2, 0.18)
    c.paint(sheet, WHITE)
    c.paint(sheet - sheet.inset(1.0), (160, 184, 208))
    c.paint(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]),
            (200, 216, 232))
    for y, length in ((11.0, 7.0), (14.5, 10.0), (18.0, 8.0)):
        c.paint(rect(x0 + 3, y, x0 + 3 + length, y + 1.5), BLUE, 0.55)
    bx, by = x1 + 1.0, y1 - 1.0
    c.paint(circle(bx, by, 7.0), TAB_BOTTOM)
    c.paint(circle(bx, by, 5.8), vertical(by - 6, by + 6, [(0, ORANGE_LIGHT), (1, ORANGE_DEEP)]))
    c.paint(check_stroke(bx, by + 0.2, 2.9, 1.6), WHITE)
    trail(c, 46.0, 15.5)
    return c


def licence_art():
    """A sheet of terms with a folded corner and an orange rosette seal
    with a tick: the agreement, accepted."""
    c = Canvas(217, 177, PAGE)
    # A pale glow behind the sheet that dies out into the page.
    c.paint(circle(108.0, 90.0, 84.0), radial(108.0, 90.0, 84.0,
                                             [(0, (220, 234, 247)), (0.6, (230, 240, 249)),
                                              (1, PAGE)]))
    # Scattered accents around the backdrop.
    for x, y, r, col in ((26, 40, 3.0, TEAL_LIGHT), (190, 56, 2.2, ORANGE),
                         (34, 136, 2.0, ORANGE_LIGHT), (196, 128, 3.2, TEAL_LIGHT),
                         (176, 24, 1.8, BLUE)):
        c.paint(circle(x, y, r), col, 0.8)
    plus = rect(16, 86, 26, 88.5, 1) | rect(19.75, 82.25, 22.25, 92.25, 1)
    c.paint(plus, ORANGE, 0.6)

    x0, y0, x1, y1, fold = 58.0, 20.0, 150.0, 146.0, 20.0
    sheet = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    c.shadow(sheet, 4.0, 6.0, 0.18)
    c.shadow(sheet, 1.0, 1.2, 0.10)
    c.paint(sheet, vertical(y0, y1, [(0, WHITE), (1, (247, 250, 253))]))
    c.paint(sheet - sheet.inset(1.0), (204, 216, 228))
    flap = polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])
    c.paint(flap.moved(-1.0, 1.5), (20, 40, 70), 0.12, soft=1.2)
    c.paint(flap, linear(x1 - fold, y0 + fold, x1 - fold / 2, y0 + fold / 2,
                         [(0, (214, 226, 238)), (1, (240, 246, 251))]))
    c.paint(flap - flap.inset(1.0), (196, 210, 224))
    # Heading bar and the lines of the terms.
    c.paint(rect(x0 + 12, y0 + 14, x0 + 56, y0 + 21, 2.0),
            linear(x0 + 12, 0, x0 + 56, 0, [(0, BLUE), (1, TEAL)]))
    lengths = (68, 64, 68, 50, 66, 60, 38)
    for i, length in enumerate(lengths):
        y = y0 + 33 + i * 10
        c.paint(rect(x0 + 12, y, x0 + 12 + length, y + 3.0, 1.5), PAPER_LINE)
    # The rosette: a scalloped disc, ribbon tails behind it.
    sx, sy = 146.0, 128.0
    for side in (-1, 1):
        tail = polygon([(sx + side * 4, sy), (sx + side * 16, sy + 8),
                        (sx + side * 20, sy + 36), (sx + side * 13, sy + 31),
                        (sx + side * 6, sy + 37), (sx + side * 2, sy + 10)])
        c.paint(tail, vertical(sy, sy + 37, [(0, ORANGE_DEEP), (1, darker(ORANGE_DEEP, 0.12))]))
    scallop = Shape(lambda x, y: math.hypot(x - sx, y - sy)
                    - (23.0 + 1.6 * math.cos(14 * math.atan2(y - sy, x - sx))),
                    (sx - 25, sy - 25, sx + 25, sy + 25))
    c.shadow(scallop, 2.0, 2.5, 0.22, colour=(120, 50, 0))
    c.paint(scallop, linear(sx - 20, sy - 20, sx + 20, sy + 20,
                            [(0, ORANGE_LIGHT), (0.5, ORANGE), (1, ORANGE_DEEP)]))
    c.paint(circle(sx, sy, 16.5).outline(1.4), WHITE, 0.7)
    c.paint(check_stroke(sx, sy + 0.5, 9.0, 4.2), WHITE)
    return c


def folder_art():
    """A folder with a teal "put it here" badge, on the tab family."""
    c, _ = tab(105, 41, 12.0, 37.0)
    fx0, fy0, fx1, fy1 = 15.0, 8.0, 51.0, 32.0
    back = rect(fx0, fy0, fx0 + 15, fy0 + 6, 2.0) | rect(fx0, fy0 + 3, fx1, fy1, 2.5)
    c.shadow(back, 1.5, 1.6, 0.18)
    c.paint(back, vertical(fy0, fy1, [(0, (240, 150, 20)), (1, ORANGE_DEEP)]))
    c.paint(rect(fx0 + 3, fy0 + 6, fx1 - 3, fy1 - 4, 1.0), WHITE)
    front = polygon([(fx0, fy0 + 10), (fx1, fy0 + 10), (fx1, fy1), (fx0, fy1)]) \
        & rect(fx0, fy0, fx1, fy1, 2.5)
    c.paint(front, vertical(fy0 + 10, fy1, [(0, ORANGE_LIGHT), (1, ORANGE)]))
    c.paint(rect(fx0, fy0 + 10, fx1, fy0 + 11), WHITE, 0.45)
    bx, by = fx1 + 1.0, fy1 - 1.0
    badge = circle(bx, by, 7.5)
    c.paint(circle(bx, by, 9.0), TAB_BOTTOM)
    c.paint(badge, vertical(by - 7.5, by + 7.5, [(0, TEAL_LIGHT), (1, TEAL)]))
    arrow = rect(bx - 1.1, by - 4.5, bx + 1.1, by + 1.0) | \
        polygon([(bx - 4.0, by - 0.2), (bx + 4.0, by - 0.2), (bx, by + 4.2)])
    c.paint(arrow, WHITE)
    trail(c, 66.0, 20.0)
    return c


def confirm_art():
    """A closed parcel with an orange arrow coming down into it: all is
    packed and ready to go in."""
    c, _ = tab(169, 105, 16.0, 100.0)
    cx, top, hw, hh, tall = 74.0, 40.0, 30.0, 15.0, 24.0
    n = (cx, top)
    e = (cx + hw, top + hh)
    s = (cx, top + 2 * hh)
    wst = (cx - hw, top + hh)
    lift = lambda p: (p[0], p[1] + tall)  # noqa: E731
    shadow = ellipse(cx, s[1] + tall - 1, hw + 2, 4)
    c.paint(shadow, (20, 40, 70), 0.16, soft=3.0)
    left = polygon([wst, s, lift(s), lift(wst)])
    right = polygon([s, e, lift(e), lift(s)])
    lid = polygon([n, e, s, wst])
    c.paint(left, vertical(top, top + 2 * hh + tall, [(0, (40, 132, 200)), (1, BLUE)]))
    c.paint(right, vertical(top, top + 2 * hh + tall, [(0, (14, 98, 150)), (1, BLUE_DEEP)]))
    c.paint(lid, linear(wst[0], wst[1], e[0], e[1], [(0, (128, 196, 236)), (1, (96, 176, 226))]))
    # The orange tape across the lid and down the front edge.
    k = 0.18
    tape = polygon([mix(wst, n, 0.5 - k), mix(wst, n, 0.5 + k),
                    mix(s, e, 0.5 + k), mix(s, e, 0.5 - k)])
    c.paint(tape, ORANGE)
    down = polygon([mix(s, e, 0.5 - k), mix(s, e, 0.5 + k),
                    lift(mix(s, e, 0.5 + k)), lift(mix(s, e, 0.5 - k))])
    c.paint(down, ORANGE_DEEP)
    c.paint(polyline([wst, s, e], 1.0), WHITE, 0.55)
    # The arrow: shaft and head pointing at the middle of the lid.
    ax = cx
    arrow = rect(ax - 5.0, 5.0, ax + 5.0, 26.0, 1.5) | \
        polygon([(ax - 13.0, 23.0), (ax + 13.0, 23.0), (ax, 38.0)])
    c.shadow(arrow, 2.0, 2.0, 0.18, colour=(120, 50, 0))
    c.paint(arrow, vertical(5.0, 38.0, [(0, ORANGE_LIGHT), (1, ORANGE_DEEP)]))
    # Small sparks: the parcel is new.
    for x, y, r, col in ((124, 30, 2.6, TEAL), (132, 70, 1.8, ORANGE), (26, 36, 2.0, BLUE),
                         (118, 50, 1.4, TEAL_LIGHT)):
        c.paint(circle(x, y, r), col, 0.75)
    return c


def small_folder(x0, y0, w, h):
    """A folder glyph: the back with its tab, and the front flap."""
    back = rect(x0, y0, x0 + w * 0.42, y0 + h * 0.4, 1.2) | rect(x0, y0 + h * 0.18, x0 + w,
                                                               y0 + h, 1.2)
    front = rect(x0, y0 + h * 0.36, x0 + w, y0 + h, 1.2)
    return back, front


def browse_button(hot):
    """The folder button beside the folder box: an XP-like face, blue-grey
    at rest and warmed with the orange when the mouse is over it."""
    c = Canvas(39, 25, PAGE)
    face = rect(0, 0, 39, 25, 3.5)  # whole-pixel edges keep the 1-px rim crisp
    if hot:
        rim, stops = (240, 142, 20), [(0, (255, 251, 242)), (1, (255, 226, 178))]
    else:
        rim, stops = (122, 148, 176), [(0, (253, 253, 253)), (0.6, (240, 243, 247)),
                                       (1, (224, 230, 238))]
    c.paint(face, rim)
    c.paint(face.inset(1.0), vertical(1, 24, stops))
    c.paint(face.inset(1.0) & rect(1, 1, 38, 10), WHITE, 0.5)
    back, front = small_folder(12.0, 6.5, 15.0, 12.0)
    c.paint(back, ORANGE_DEEP)
    c.paint(front, vertical(9.0, 18.5, [(0, ORANGE_LIGHT), (1, ORANGE)]))
    c.paint(rect(12.0, 10.8, 27.0, 11.6), WHITE, 0.5)
    return c


def done_mark():
    """The success mark: a green disc with a white tick."""
    c = Canvas(57, 56, PAGE)
    cx, cy, r = 28.5, 26.5, 24.0
    disc = circle(cx, cy, r)
    c.shadow(disc, 2.2, 2.6, 0.22, colour=(10, 60, 30))
    c.paint(disc, vertical(cy - r, cy + r, [(0, (104, 206, 112)), (0.55, GREEN),
                                             (1, GREEN_DEEP)]))
    c.paint(disc & ellipse(cx, cy - r * 0.55, r * 0.78, r * 0.5), WHITE, 0.14)
    c.paint(circle(cx, cy, r - 3.5).outline(1.2), WHITE, 0.3)
    c.paint(check_stroke(cx - 0.5, cy + 0.5, 11.0, 5.2).moved(0, 1.2), (10, 90, 40), 0.25,
            soft=1.0)
    c.paint(check_stroke(cx - 0.5, cy + 0.5, 11.0, 5.2), WHITE)
    return c


# name -> (drawing, file format, wizard slot). Order: as the wizard meets them.
PICTURES = [
    ("WIZ_LOGO", logo, "jpg", "gImage10"),
    ("WIZ_WELCOME_EMBLEM", welcome_emblem, "bmp", "Image5"),
    ("WIZ_WELCOME_STRIP", welcome_strip, "jpg", "Image2"),
    ("WIZ_BANNER_1", lambda: banner(1), "bmp", "Image4"),
    ("WIZ_LICENCE_BAND", licence_band, "bmp", "Image11"),
    ("WIZ_LICENCE_ART", licence_art, "bmp", "Image1"),
    ("WIZ_BANNER_2", lambda: banner(2), "bmp", "Image6"),
    ("WIZ_FOLDER_ART", folder_art, "bmp", "Image10"),
    ("WIZ_BROWSE", lambda: browse_button(False), "bmp", "suiImageButton1.PicNormal"),
    ("WIZ_BROWSE_HOT", lambda: browse_button(True), "bmp", "suiImageButton1.PicMouseOn"),
    ("WIZ_BANNER_3", lambda: banner(3), "bmp", "Image7"),
    ("WIZ_CONFIRM_ART", confirm_art, "bmp", "Image9"),
    ("WIZ_BANNER_4", lambda: banner(4), "bmp", "Image8"),
    ("WIZ_DONE_MARK", done_mark, "bmp", "Image3"),
]


def to_jpeg(convert, bmp, jpg):
    subprocess.run([convert, bmp, "-quality", "90", jpg], check=True)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_wizard_pictures.py OUTDIR")
    out = sys.argv[1]
    convert = shutil.which("convert")
    if any(fmt == "jpg" for _, _, fmt, _ in PICTURES) and not convert:
        sys.exit("make_wizard_pictures.py: ImageMagick's `convert` is not on PATH; it turns "
                 "the JPEG pictures' BMPs into JPEG (Debian: apt-get install imagemagick)")
    os.makedirs(os.path.join(out, "packed"), exist_ok=True)
    lines = []
    for name, draw, fmt, _ in PICTURES:
        bmp = os.path.join(out, name + ".bmp")
        rows = draw().rows()
        with open(bmp, "wb") as f:
            f.write(bmp24.write(rows))
        if fmt == "jpg":
            to_jpeg(convert, bmp, os.path.join(out, name + ".jpg"))
            lines.append(f'{name} RCDATA "{name}.jpg"\n')
        else:
            with open(os.path.join(out, "packed", name + ".bmp"), "wb") as f:
                f.write(pack_picture.pack(rows))
            lines.append(f'{name} BITMAP "packed/{name}.bmp"\n')
    with open(os.path.join(out, "wizard_pictures.rc"), "w", newline="\n") as f:
        f.writelines(lines)


if __name__ == "__main__":
    main()
