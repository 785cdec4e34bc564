#!/usr/bin/env python3
"""Draws every picture of the skin library's five built-in themes (MACOS,
WINXP, DEEPBLUE, PROTEIN, BLUEGLASS) and writes each as a 24-bit BMP, plus a
resource script naming them all. Standard library only; the output is the
same on every run, so the pictures can be regenerated instead of stored.

Usage: make_theme_pictures.py OUTDIR
Writes OUTDIR/NAME.bmp (24 bits) for every picture, the exact smaller form
the executables carry as OUTDIR/packed/NAME.bmp (resources/pack_picture.py:
a PNG inside a BMP, or run-length encoded), and OUTDIR/theme_pictures.rc
with one line `NAME BITMAP "packed/NAME.bmp"` per picture. The 24-bit files
are what the checks and the tests compare against.

Magenta (255, 0, 255) is cut out by the controls: it appears exactly where
the background must show through and nowhere else. Edge pixels are blended
with the theme's form background ("matte") rather than with magenta, because
a half-magenta pixel would survive the cut as a pink fringe.

Strips are horizontal rows of equal frames, frame 1 at the left. Faces that
the controls stretch keep half the frame width and half the frame height as
corners and stretch the middle, so every face is uniform along its stretched
direction between the corners.

Sizes (width x height of the whole picture; "frames" = frames x frame size):

  Picture                 MACOS        WINXP        DEEPBLUE     PROTEIN      BLUEGLASS
  BUTTON        3 frames  252x23       54x21        222x21       222x21       231x27
  CHECKBOX      4 frames  60x17        52x13        52x13        52x13        52x13
  RADIOBUTTON   4 frames  64x17        52x13        52x13        52x13        52x13
  TITLEBTN     18 frames  306x17       378x21       342x19       342x19       342x19
  TITLE_LEFT              32x25        32x31        32x27        32x27        32x31
  TITLE_CLIENT            16x25        16x31        16x27        16x27        16x31
  TITLE_RIGHT             24x25        24x31        24x27        24x27        24x31
  PROGRESSBAR   2 frames  48x15        48x13        48x13        48x13        48x13
  TRACKBAR_BAR            24x5         24x5         24x5         24x5         24x5
  TRACKBAR_SLIDER   3 fr  33x19        33x19        33x19        33x19        33x19
  TRACKBAR_SLIDER_V 3 fr  57x11        57x11        57x11        57x11        57x11
  SCROLLBAR_BUTTON 12 fr  204x17       204x17       204x17       204x17       204x17
  SCROLLBAR_TRACK   4 fr  68x17        68x17        68x17        68x17        68x17
  CHECKLIST     3 frames  39x13        39x13        39x13        39x13        39x13
  TAB           3 frames  84x21        84x21        84x21        84x21        84x21
  TAB_LINE                8x3          8x3          8x3          8x3          8x3
  SIDECHENNEL_HANDLE 3 fr 36x49        36x49        36x49        36x49        36x49
  SIDECHENNEL_BAR         12x17        12x17        12x17        12x17        12x17

  MACOS_FORM_BACKGROUND 64x64 and PROTEIN_FORM_BACKGROUND 64x64 (seamless tiles)
  MACOS_MENU_BAR 1x22, MACOS_MENU_SELECT 1x21 (vertical gradients)
  MENU_CHECKED 16x16 (black check on white; white is its mask colour)
  MACOS_SCROLLBUTTON 60x15, WINXP_SCROLLBUTTON 68x17, MORE_SCROLLBUTTON 48x12
      (4 frames each: up, down, left, right)

Title bars are as tall as the title buttons plus twice the row the theme
table puts them at (MACOS 4, WINXP 5, BLUEGLASS 6), so the buttons sit in
the middle; DEEPBLUE and PROTEIN put them at row 2 and their bars keep the
8 pixels of air that make a title bar read as one.

Every stretchable face (BUTTON, PROGRESSBAR, TRACKBAR_BAR, SCROLLBAR_TRACK,
TAB, TAB_LINE, SIDECHENNEL_*) has an odd height and identical rows h/2 and
h/2 + 1: see settle_middle_row.

What the frames are:
  BUTTON, TRACKBAR_SLIDER(_V), TAB: normal, mouse over, pressed (TAB: selected).
  CHECKBOX, RADIOBUTTON: checked, unchecked, checked disabled, unchecked
      disabled. Check boxes are drawn opaque (corners in the form colour);
      radio buttons are cut out around their circle.
  TITLEBTN: control box, help, maximise, restore, minimise, close; each as
      normal, mouse over, pressed.
  TITLE_*: one title bar cut in three; the client slice is uniform across its
      width, so stretching and tiling it give the same result.
  PROGRESSBAR: the empty groove, then the fill; both are stretchable faces.
  TRACKBAR_BAR: the groove, stretched horizontally (ends at natural size).
  SCROLLBAR_BUTTON: up, down, left, right arrows; each normal, over, pressed.
  SCROLLBAR_TRACK: the track, then the thumb normal, over, pressed; drawn for
      a vertical bar (a horizontal bar uses them transposed). All stretchable.
  CHECKLIST: unchecked, checked, greyed (check list box items).
  TAB_LINE: the edge of the page under the tabs, stretched horizontally.
  SIDECHENNEL_BAR: the strip a side panel docks to, stretched vertically.
  SIDECHENNEL_HANDLE: the panel's grip: normal, mouse over, pressed; its grip
      dots stay clear of the middle rows so it may be stretched taller.
"""
import math
import os
import struct
import sys
from dataclasses import dataclass, replace
from typing import Optional, Tuple
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import bmp24  # noqa: E402  (shared with the other picture scripts)
import pack_picture  # noqa: E402

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# A pixel whose coverage is below this is left to the background (magenta):
# the one-sample fringe of a soft shadow is not worth a matte-coloured dot.
CUT_ALPHA = 0.03


# --------------------------------------------------------------------------
# Colours


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def lighter(c, t):
    return mix(c, WHITE, t)


def darker(c, t):
    return mix(c, BLACK, t)


def stops_at(stops, t):
    """Colour at t (0..1) along a list of (position, colour) stops. Colours
    may carry a fourth component, an alpha."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 1.0)
    return stops[-1][1]


def vgrad(y0, y1, stops):
    """A fill that runs through the stops from y0 (top) to y1 (bottom)."""
    span = max(y1 - y0, 1e-6)
    return lambda x, y: stops_at(stops, (y - y0) / span)


# --------------------------------------------------------------------------
# Shapes: signed distance functions (negative inside) with a bounding box.
# Anti-aliasing comes from supersampling the pixels a shape's edge crosses.


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


def rect(x0, y0, x1, y1, r=0.0):
    """Rectangle with corners rounded by r; edges on integers are crisp."""
    r = max(0.0, min(r, (x1 - x0) / 2, (y1 - y0) / 2))
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return Shape(sdf, (x0, y0, x1, y1))


def top_rounded(x0, y0, x1, y1, r):
    """Rectangle with only its top corners rounded (title bars, tabs)."""
    return rect(x0, y0, x1, y1 + r + 1, r) & rect(x0, y0, x1, y1)


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
# Canvas: premultiplied RGBA floats. Alpha is the shape's coverage; at the
# end it decides between the colour, a blend with the matte, and magenta.


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def paint(self, shape, fill, alpha=1.0, soft=0.0):
        """Composites fill (a colour, or a function of the pixel centre
        returning one) over the canvas inside shape. soft > 0 feathers the
        edge over that many pixels instead of sampling it (shadows, glows)."""
        x0, y0, x1, y1 = shape.bbox
        pad = soft + 1
        xa, ya = max(0, int(math.floor(x0 - pad))), max(0, int(math.floor(y0 - pad)))
        xb, yb = min(self.w, int(math.ceil(x1 + pad))), min(self.h, int(math.ceil(y1 + pad)))
        sdf = shape.sdf
        for y in range(ya, yb):
            for x in range(xa, xb):
                if soft > 0:
                    cov = min(1.0, max(0.0, 0.5 - sdf(x + 0.5, y + 0.5) / soft))
                else:
                    cov = coverage(sdf, x, y)
                if cov <= 0.0:
                    continue
                col = fill(x + 0.5, y + 0.5) if callable(fill) else fill
                a = cov * alpha * (col[3] if len(col) > 3 else 1.0)
                p = self.px[y * self.w + x]
                k = 1.0 - a
                p[0] = col[0] * a + p[0] * k
                p[1] = col[1] * a + p[1] * k
                p[2] = col[2] * a + p[2] * k
                p[3] = a + p[3] * k

    def fill(self, colour):
        self.paint(rect(0, 0, self.w, self.h), colour)

    def fade(self, colour, t):
        """Moves every drawn pixel a fraction t towards colour (disabled states)."""
        for p in self.px:
            a = p[3]
            for i in range(3):
                p[i] = p[i] * (1 - t) + colour[i] * a * t

    def transposed(self):
        out = Canvas(self.h, self.w)
        for y in range(self.h):
            for x in range(self.w):
                out.px[x * out.w + y] = list(self.px[y * self.w + x])
        return out

    def crop(self, x0, x1):
        out = Canvas(x1 - x0, self.h)
        for y in range(self.h):
            out.px[y * out.w:(y + 1) * out.w] = [list(p) for p in self.px[y * self.w + x0:
                                                                          y * self.w + x1]]
        return out

    def rows(self, matte):
        """The finished 8-bit picture: rows of (r, g, b) tuples."""
        out = []
        for y in range(self.h):
            row = []
            for p in self.px[y * self.w:(y + 1) * self.w]:
                a = p[3]
                if a < CUT_ALPHA:
                    row.append(MAGENTA)
                    continue
                c = tuple(min(255, max(0, int(p[i] + matte[i] * (1 - a) + 0.5))) for i in range(3))
                row.append(c if c != MAGENTA else (254, 0, 254))
            out.append(row)
        return out


def strip(frames):
    """Frames side by side, frame 1 at the left."""
    w, h = sum(f.w for f in frames), frames[0].h
    out = Canvas(w, h)
    x0 = 0
    for f in frames:
        assert f.h == h
        for y in range(h):
            out.px[y * w + x0:y * w + x0 + f.w] = f.px[y * f.w:(y + 1) * f.w]
        x0 += f.w
    return out


# --------------------------------------------------------------------------
# Faces: the one recipe behind buttons, boxes, thumbs, tabs and caption
# buttons. A 1-px rim, a body gradient, and optional inner ring, gloss,
# bottom glow and drop shadow.


@dataclass(frozen=True)
class Face:
    rim: Tuple                      # (top colour, bottom colour)
    body: Tuple                     # gradient stops, top to bottom
    inner: Optional[Tuple] = None   # (top colour, bottom colour, alpha, width)
    gloss: Optional[Tuple] = None   # (top alpha, bottom alpha, fraction of height)
    glow: Optional[Tuple] = None    # (colour, alpha, fraction of height)
    shadow: float = 0.0             # alpha of a 1-px drop shadow
    band: Optional[Tuple] = None    # (colour, height): accent band along the top


def draw_face(c, shape, face):
    x0, y0, x1, y1 = shape.bbox
    if face.shadow:
        c.paint(shape.moved(0, 1), BLACK, face.shadow * 0.6, soft=0.8)
        c.paint(shape.moved(0, 1), BLACK, face.shadow)
    c.paint(shape, vgrad(y0, y1, [(0, face.rim[0]), (1, face.rim[1])]))
    body = shape.inset(1)
    c.paint(body, vgrad(y0 + 1, y1 - 1, face.body))
    if face.glow:
        colour, alpha, frac = face.glow
        top = y1 - 1 - (y1 - y0 - 2) * frac
        glow = body & rect(x0, top, x1, y1)
        c.paint(glow, vgrad(top, y1 - 1, [(0, colour + (0.0,)), (1, colour + (alpha,))]))
    if face.band:
        colour, height = face.band
        c.paint(body & rect(x0, y0, x1, y0 + 1 + height), colour)
    if face.inner:
        top, bottom, alpha, width = face.inner
        ring = body - body.inset(width)
        c.paint(ring, vgrad(y0 + 1, y1 - 1, [(0, top), (1, bottom)]), alpha)
    if face.gloss:
        a_top, a_bottom, frac = face.gloss
        g_bottom = y0 + 1 + (y1 - y0 - 2) * frac
        inset = 1.5 if (y1 - y0) > 12 else 1.0
        gloss = body.inset(inset) & rect(x0, y0, x1, g_bottom)
        c.paint(gloss, vgrad(y0 + 1, g_bottom, [(0, WHITE + (a_top,)), (1, WHITE + (a_bottom,))]))


def settle_middle_row(c):
    """Makes a stretchable face's row h/2 + 1 a copy of row h/2. The
    controls' nine-slice (StretchSkinPicture) takes the left edge and the
    centre from row h/2 but the right edge from row h/2 + 1, even at natural
    size, so the two rows must agree or a gradient steps between the halves.
    Such faces also need an odd height: with an even one the centre's source
    is empty."""
    assert c.h % 2 == 1, "a stretchable face needs an odd height"
    hh = c.h // 2
    c.px[(hh + 1) * c.w:(hh + 2) * c.w] = [list(p) for p in c.px[hh * c.w:(hh + 1) * c.w]]
    return c


# --------------------------------------------------------------------------
# Palettes. Each theme names its form background (the matte), a small set
# of faces (raised controls in three states, the accent, the sunken well;
# "chrome" for parts without a caption when they differ from "raised") and
# the colours of marks, glyphs, title bar and pages.
#
# Some values are not a matter of taste but follow the theme table the
# controls draw with (skin/sui_themes.cpp): the form colour (the matte), the
# window frame's colour and width, the rounded title corners, the row the
# title buttons are put at, and whether push buttons and title buttons are
# blitted with or without the see-through colour. A picture blitted without
# it gets a real background instead of magenta.


def aqua(base, rim_dark=0.45, gloss=(0.92, 0.35, 0.5), shadow=0.2):
    """An Aqua-style gel face around one base colour: darker under the gloss,
    a luminous lower half and a crisp white gloss over the upper half."""
    return Face(rim=(darker(base, rim_dark), darker(base, rim_dark + 0.12)),
                body=((0, darker(base, 0.08)), (0.5, base), (1, lighter(base, 0.6))),
                gloss=gloss, shadow=shadow)


MACOS = dict(
    name="MACOS",
    matte=(231, 231, 231),
    text=(0, 0, 0),
    button_transparent=True,
    caption_transparent=False,
    radius=None,  # pills: the radius is half the height
    raised=(
        Face(rim=((150, 150, 150), (112, 112, 112)),
             body=((0, (222, 222, 222)), (0.5, (206, 206, 206)), (1, (252, 252, 252))),
             gloss=(0.96, 0.45, 0.5), shadow=0.22),
        aqua((112, 168, 236), rim_dark=0.5),
        aqua((46, 104, 206), rim_dark=0.45, gloss=(0.72, 0.18, 0.5), shadow=0.12),
    ),
    accent=aqua((70, 138, 230), rim_dark=0.5),
    well=Face(rim=((118, 118, 118), (168, 168, 168)),
              body=((0, (196, 196, 196)), (0.3, (232, 232, 232)), (1, (252, 252, 252)))),
    mark=(16, 24, 40),
    arrow=(40, 40, 40),
    caption=dict(kind="sphere", glyph_size=7, weight=1.6,
                 colours=dict(menu=(150, 158, 172), help=(150, 158, 172),
                              max=(104, 196, 68), restore=(104, 196, 68),
                              min=(246, 184, 46), close=(238, 82, 72))),
    title=dict(height=25, radius=0, button_top=4, border=(127, 127, 127), frame_width=1,
               bottom=(140, 140, 140),
               highlight=(255, 255, 255, 0.9),
               body=((0, (240, 240, 240)), (0.45, (226, 226, 226)), (1, (200, 200, 200))),
               text=(30, 30, 30)),
    page=(226, 226, 226),
    line=(150, 150, 150),
    progress_height=15,
)

XP_BLUE_CAPTION = (
    Face(rim=((255, 255, 255), (220, 230, 255)),
         body=((0, (126, 172, 255)), (0.25, (66, 130, 250)), (1, (28, 86, 226))),
         inner=((255, 255, 255), (160, 190, 255), 0.35, 1)),
    Face(rim=((255, 255, 255), (230, 238, 255)),
         body=((0, (160, 198, 255)), (0.25, (102, 160, 255)), (1, (52, 116, 246))),
         inner=((255, 255, 255), (190, 215, 255), 0.5, 1)),
    Face(rim=((220, 230, 255), (255, 255, 255)),
         body=((0, (10, 50, 180)), (0.6, (30, 80, 210)), (1, (60, 118, 240)))),
)
XP_RED_CAPTION = (
    Face(rim=((255, 255, 255), (255, 228, 220)),
         body=((0, (240, 150, 122)), (0.25, (228, 98, 64)), (1, (194, 54, 22))),
         inner=((255, 255, 255), (255, 190, 170), 0.35, 1)),
    Face(rim=((255, 255, 255), (255, 236, 230)),
         body=((0, (252, 180, 152)), (0.25, (246, 128, 92)), (1, (220, 80, 44))),
         inner=((255, 255, 255), (255, 210, 190), 0.5, 1)),
    Face(rim=((255, 220, 210), (255, 255, 255)),
         body=((0, (150, 34, 10)), (0.6, (184, 52, 22)), (1, (214, 86, 52)))),
)
XP_FACE = ((0, (255, 255, 255)), (0.15, (252, 252, 251)), (0.7, (240, 239, 234)),
           (0.88, (228, 225, 216)), (1, (214, 208, 197)))
XP_SCROLL = ((0, (224, 234, 255)), (0.5, (200, 216, 252)), (1, (184, 202, 246)))

WINXP = dict(
    name="WINXP",
    matte=(239, 235, 222),
    text=(0, 0, 0),
    button_transparent=False,
    caption_transparent=False,
    radius=3,
    raised=(
        Face(rim=((0, 60, 116), (0, 60, 116)), body=XP_FACE),
        Face(rim=((0, 60, 116), (0, 60, 116)), body=XP_FACE,
             inner=((255, 240, 207), (229, 151, 0), 1.0, 2)),
        Face(rim=((0, 60, 116), (0, 60, 116)),
             body=((0, (206, 201, 190)), (0.2, (226, 225, 218)), (1, (242, 241, 236)))),
    ),
    accent=Face(rim=((104, 104, 104), (104, 104, 104)),
                body=((0, (170, 236, 170)), (0.35, (80, 206, 80)), (0.7, (40, 176, 40)),
                      (1, (110, 214, 110)))),
    well=Face(rim=((28, 81, 128), (28, 81, 128)),
              body=((0, (220, 220, 214)), (0.6, (244, 244, 240)), (1, (255, 255, 255)))),
    mark=(33, 161, 33),
    arrow=(77, 97, 133),
    scroll=dict(
        button=(Face(rim=((255, 255, 255), (196, 210, 246)), body=XP_SCROLL,
                     inner=((255, 255, 255), (255, 255, 255), 0.5, 1)),
                Face(rim=((255, 255, 255), (210, 222, 255)),
                     body=((0, (240, 246, 255)), (0.5, (218, 232, 255)), (1, (204, 222, 255))),
                     inner=((255, 255, 255), (255, 255, 255), 0.7, 1)),
                Face(rim=((150, 172, 230), (180, 198, 246)),
                     body=((0, (150, 176, 236)), (1, (190, 208, 250))))),
        track=Face(rim=((232, 230, 222), (250, 249, 245)),
                   body=((0, (238, 237, 229)), (1, (254, 254, 251)))),
        arrow=(77, 97, 133)),
    caption=dict(kind="square", radius=3, glyph_size=9, weight=2.4,
                 faces=XP_BLUE_CAPTION, close=XP_RED_CAPTION,
                 glyph=(WHITE, WHITE, WHITE)),
    title=dict(height=31, radius=13, button_top=5, border=(0, 44, 200), frame_width=3,
               bottom=(0, 52, 180),
               highlight=(150, 196, 255, 0.8),
               body=((0, (38, 118, 252)), (0.12, (82, 152, 255)), (0.3, (16, 96, 244)),
                     (0.55, (0, 84, 232)), (0.85, (0, 78, 222)), (1, (0, 64, 196))),
               text=(255, 255, 255)),
    page=(252, 252, 254),
    line=(145, 155, 156),
    tab_band=((255, 200, 60), (230, 140, 0)),
    progress_height=13,
)

DEEPBLUE = dict(
    name="DEEPBLUE",
    matte=(232, 232, 232),
    text=(12, 22, 44),
    button_transparent=False,
    caption_transparent=False,
    radius=3,
    # Faces that carry a caption are light steel, so the form's black text
    # reads on them; the navy is for the chrome around them.
    raised=(
        Face(rim=((40, 58, 94), (24, 38, 68)),
             body=((0, (226, 233, 243)), (0.5, (204, 215, 232)), (1, (178, 194, 218))),
             inner=(WHITE, (214, 224, 240), 0.7, 1)),
        Face(rim=((30, 90, 170), (20, 66, 136)),
             body=((0, (236, 243, 252)), (0.5, (212, 228, 248)), (1, (186, 208, 238))),
             inner=((150, 206, 255), (90, 160, 236), 0.9, 1)),
        Face(rim=((16, 28, 52), (16, 28, 52)),
             body=((0, (150, 168, 198)), (0.3, (170, 186, 212)), (1, (196, 208, 228))),
             inner=((110, 128, 160), (180, 196, 220), 0.5, 1)),
    ),
    chrome=(
        Face(rim=((14, 20, 34), (10, 14, 24)),
             body=((0, (86, 108, 146)), (0.5, (68, 88, 124)), (1, (52, 70, 104))),
             inner=((136, 160, 200), (70, 90, 128), 0.55, 1)),
        Face(rim=((16, 40, 74), (10, 26, 50)),
             body=((0, (96, 126, 172)), (0.5, (76, 104, 148)), (1, (60, 84, 124))),
             inner=((126, 200, 255), (54, 132, 214), 0.95, 1)),
        Face(rim=((10, 14, 24), (10, 14, 24)),
             body=((0, (30, 40, 60)), (0.3, (38, 52, 76)), (1, (56, 74, 106))),
             inner=((8, 12, 20), (40, 56, 84), 0.45, 1)),
    ),
    accent=Face(rim=((12, 40, 80), (8, 28, 60)),
                body=((0, (110, 186, 250)), (0.5, (58, 138, 222)), (1, (36, 104, 186))),
                inner=((170, 222, 255), (60, 130, 210), 0.5, 1)),
    well=Face(rim=((10, 16, 30), (40, 56, 86)),
              body=((0, (14, 20, 32)), (0.4, (22, 30, 46)), (1, (34, 46, 68)))),
    mark=(140, 206, 255),
    arrow=(200, 216, 240),
    caption=dict(kind="square", radius=3, glyph_size=8, weight=1.8,
                 glyph=((186, 202, 228), (255, 255, 255), (220, 230, 246)),
                 close_face=(
                     None,
                     Face(rim=((60, 10, 10), (40, 6, 6)),
                          body=((0, (226, 96, 90)), (0.5, (196, 56, 50)), (1, (160, 36, 32))),
                          inner=((255, 170, 160), (200, 70, 60), 0.6, 1)),
                     Face(rim=((40, 6, 6), (40, 6, 6)),
                          body=((0, (120, 24, 20)), (1, (170, 48, 42)))))),
    title=dict(height=27, radius=0, button_top=2, border=(0, 0, 0), frame_width=1,
               bottom=(8, 12, 22), highlight=(120, 146, 190, 0.7),
               body=((0, (74, 96, 136)), (0.5, (46, 64, 98)), (1, (30, 42, 68))),
               text=(236, 242, 252)),
    page=(244, 246, 249),
    line=(24, 38, 68),
    tab_band=((60, 140, 230), (40, 110, 200)),
    progress_height=13,
)

PROTEIN = dict(
    name="PROTEIN",
    matte=(251, 251, 251),
    button_transparent=False,
    caption_transparent=True,
    text=(30, 38, 42),
    radius=3,
    raised=(
        Face(rim=((184, 190, 194), (150, 158, 162)),
             body=((0, (255, 255, 255)), (0.5, (246, 247, 248)), (1, (226, 230, 232))),
             inner=(WHITE, WHITE, 0.8, 1)),
        Face(rim=((0, 160, 160), (0, 124, 126)),
             body=((0, (255, 255, 255)), (0.5, (242, 250, 250)), (1, (214, 236, 236))),
             inner=(WHITE, (170, 226, 224), 0.9, 1)),
        Face(rim=((0, 118, 120), (0, 118, 120)),
             body=((0, (200, 216, 218)), (0.3, (216, 228, 230)), (1, (238, 244, 244)))),
    ),
    accent=Face(rim=((0, 112, 114), (0, 98, 100)),
                body=((0, (84, 204, 202)), (0.5, (16, 166, 166)), (1, (0, 140, 142))),
                inner=((170, 240, 236), (40, 180, 180), 0.6, 1)),
    well=Face(rim=((150, 160, 166), (190, 198, 202)),
              body=((0, (232, 236, 238)), (1, (255, 255, 255)))),
    mark=(0, 138, 140),
    arrow=(70, 82, 88),
    caption=dict(kind="square", radius=3, glyph_size=8, weight=1.8,
                 glyph=((88, 100, 106), (255, 255, 255), (255, 255, 255)),
                 hover_face=Face(rim=((0, 128, 130), (0, 110, 112)),
                                 body=((0, (70, 196, 196)), (0.5, (10, 164, 164)),
                                       (1, (0, 140, 142)))),
                 press_face=Face(rim=((0, 96, 98), (0, 96, 98)),
                                 body=((0, (0, 110, 112)), (1, (0, 146, 148)))),
                 close_face=(
                     None,
                     Face(rim=((150, 40, 40), (130, 30, 30)),
                          body=((0, (236, 110, 104)), (0.5, (214, 72, 66)), (1, (190, 52, 48)))),
                     Face(rim=((110, 24, 24), (110, 24, 24)),
                          body=((0, (150, 36, 32)), (1, (196, 60, 56)))))),
    title=dict(height=27, radius=0, button_top=2, border=(0, 0, 0), frame_width=1,
               bottom=(0, 150, 150),
               highlight=(255, 255, 255, 1.0),
               body=((0, (255, 255, 255)), (0.5, (246, 247, 248)), (1, (228, 232, 234))),
               text=(40, 50, 56), accent=(0, 150, 150)),
    page=(255, 255, 255),
    line=(168, 176, 180),
    tab_band=((40, 184, 184), (0, 140, 142)),
    progress_height=13,
)

GLASS_FACE = ((0, (240, 247, 253)), (0.48, (212, 230, 248)), (0.5, (178, 208, 240)),
              (1, (212, 236, 253)))
BLUEGLASS = dict(
    name="BLUEGLASS",
    matte=(231, 231, 231),
    button_transparent=True,
    caption_transparent=True,
    text=(10, 30, 60),
    radius=4,
    raised=(
        Face(rim=((70, 104, 152), (50, 82, 130)), body=GLASS_FACE,
             inner=(WHITE, (236, 246, 255), 0.75, 1), shadow=0.12),
        Face(rim=((40, 104, 176), (28, 82, 152)),
             body=((0, (232, 246, 255)), (0.48, (196, 230, 253)), (0.5, (140, 202, 248)),
                   (1, (170, 232, 255))),
             inner=(WHITE, (220, 246, 255), 0.9, 1), glow=((110, 220, 255), 0.8, 0.45),
             shadow=0.14),
        Face(rim=((30, 64, 116), (24, 54, 100)),
             body=((0, (170, 200, 234)), (0.48, (140, 180, 226)), (0.5, (96, 150, 214)),
                   (1, (130, 188, 240))),
             inner=((60, 96, 150), (200, 230, 255), 0.5, 1), shadow=0.06),
    ),
    accent=Face(rim=((24, 70, 140), (18, 56, 120)),
                body=((0, (150, 200, 250)), (0.48, (84, 156, 236)), (0.5, (40, 112, 214)),
                      (1, (96, 180, 250))),
                inner=((230, 246, 255), (150, 210, 255), 0.7, 1)),
    well=Face(rim=((74, 102, 140), (120, 148, 184)),
              body=((0, (206, 220, 238)), (1, (250, 252, 255))),
              inner=(WHITE, (226, 238, 252), 0.5, 1)),
    mark=(22, 66, 140),
    arrow=(30, 60, 110),
    caption=dict(kind="square", radius=3, glyph_size=8, weight=2.0,
                 glyph=(WHITE, WHITE, (230, 240, 255)), glyph_shadow=(10, 40, 90),
                 faces=(
                     Face(rim=((48, 84, 140), (40, 72, 128)),
                          body=((0, (176, 210, 244)), (0.48, (124, 176, 232)),
                                (0.5, (84, 142, 214)), (1, (118, 186, 244))),
                          inner=(WHITE, (200, 232, 255), 0.55, 1)),
                     Face(rim=((36, 90, 160), (28, 76, 140)),
                          body=((0, (196, 228, 255)), (0.48, (140, 200, 250)),
                                (0.5, (90, 168, 240)), (1, (130, 224, 255))),
                          inner=(WHITE, (220, 246, 255), 0.8, 1),
                          glow=((120, 230, 255), 0.8, 0.5)),
                     Face(rim=((20, 48, 96), (20, 48, 96)),
                          body=((0, (80, 128, 190)), (0.48, (64, 112, 180)),
                                (0.5, (40, 90, 166)), (1, (80, 146, 220))),
                          inner=((40, 70, 120), (160, 210, 255), 0.5, 1))),
                 close=(
                     Face(rim=((120, 40, 40), (100, 30, 30)),
                          body=((0, (240, 170, 160)), (0.48, (222, 112, 100)),
                                (0.5, (198, 66, 52)), (1, (226, 120, 96))),
                          inner=(WHITE, (255, 210, 200), 0.55, 1)),
                     Face(rim=((140, 30, 20), (120, 24, 16)),
                          body=((0, (252, 190, 176)), (0.48, (242, 126, 106)),
                                (0.5, (226, 70, 44)), (1, (255, 150, 100))),
                          inner=(WHITE, (255, 220, 200), 0.8, 1),
                          glow=((255, 200, 120), 0.7, 0.5)),
                     Face(rim=((90, 16, 10), (90, 16, 10)),
                          body=((0, (170, 60, 48)), (0.48, (160, 50, 38)),
                                (0.5, (130, 30, 20)), (1, (190, 80, 60))),
                          inner=((100, 30, 20), (255, 180, 160), 0.5, 1)))),
    title=dict(height=31, radius=11, button_top=6, border=(0, 0, 0), frame_width=1,
               bottom=(46, 78, 130),
               highlight=(255, 255, 255, 0.75),
               body=((0, (206, 228, 250)), (0.45, (160, 202, 242)), (0.47, (120, 172, 230)),
                     (1, (150, 204, 246))),
               text=(8, 28, 64)),
    page=(236, 243, 251),
    line=(96, 126, 168),
    tab_band=((120, 200, 255), (60, 140, 230)),
    progress_height=13,
)

THEMES = [MACOS, WINXP, DEEPBLUE, PROTEIN, BLUEGLASS]

# Sizes the controls depend on: (frames, frame width, frame height).
BINDING = {
    "MACOS": dict(BUTTON=(3, 84, 23), CHECKBOX=(4, 15, 17), RADIOBUTTON=(4, 16, 17),
                  TITLEBTN=(18, 17, 17)),
    "WINXP": dict(BUTTON=(3, 18, 21), CHECKBOX=(4, 13, 13), RADIOBUTTON=(4, 13, 13),
                  TITLEBTN=(18, 21, 21)),
    "DEEPBLUE": dict(BUTTON=(3, 74, 21), CHECKBOX=(4, 13, 13), RADIOBUTTON=(4, 13, 13),
                     TITLEBTN=(18, 19, 19)),
    "PROTEIN": dict(BUTTON=(3, 74, 21), CHECKBOX=(4, 13, 13), RADIOBUTTON=(4, 13, 13),
                    TITLEBTN=(18, 19, 19)),
    "BLUEGLASS": dict(BUTTON=(3, 77, 27), CHECKBOX=(4, 13, 13), RADIOBUTTON=(4, 13, 13),
                      TITLEBTN=(18, 19, 19)),
}


def box_faces(theme):
    """Faces of an unchecked and a checked box: Aqua turns a checked box
    blue; the others keep the sunken well and let the mark speak."""
    if theme["radius"] is None:
        return theme["raised"][0], theme["accent"]
    return theme["well"], theme["well"]


def chrome(theme):
    """Faces of parts that carry no caption (scroll bars, thumbs, title
    buttons, grips)."""
    return theme.get("chrome", theme["raised"])


def radius_for(theme, h):
    return (h / 2) if theme["radius"] is None else theme["radius"]


# --------------------------------------------------------------------------
# Glyphs, drawn around a centre (cx, cy) within a box of side s.


def glyph_close(c, cx, cy, s, w, colour):
    h = s / 2
    # One shape, not two strokes: a translucent glyph must not darken where
    # the strokes cross.
    cross = segment(cx - h, cy - h, cx + h, cy + h, w) | segment(cx - h, cy + h, cx + h, cy - h, w)
    c.paint(cross, colour)


def window_outline(x0, y0, x1, y1, w):
    """A window glyph: a frame with a heavier top edge, like a title bar."""
    top = max(2.0, round(w + 0.6))
    side = max(1.0, round(w * 0.6))
    return rect(x0, y0, x1, y1) - rect(x0 + side, y0 + top, x1 - side, y1 - side)


def snap(v):
    return math.floor(v + 0.5)


def glyph_max(c, cx, cy, s, w, colour):
    x0, y0 = snap(cx - s / 2), snap(cy - s / 2)
    n = snap(s)
    c.paint(window_outline(x0, y0, x0 + n, y0 + n, w), colour)


def glyph_restore(c, cx, cy, s, w, colour):
    n = snap(s * 0.72)
    x0, y0 = snap(cx - s / 2), snap(cy - s / 2)
    back = window_outline(x0 + snap(s) - n, y0, x0 + snap(s), y0 + n, w)
    front_box = rect(x0, y0 + snap(s) - n, x0 + n, y0 + snap(s))
    front = window_outline(x0, y0 + snap(s) - n, x0 + n, y0 + snap(s), w)
    c.paint(back - front_box.inset(-1 if s > 7 else 0), colour)
    c.paint(front, colour)


def glyph_min(c, cx, cy, s, w, colour):
    x0 = snap(cx - s / 2)
    thick = max(2.0, round(w + 0.4))
    y1 = snap(cy + s / 2)
    c.paint(rect(x0, y1 - thick, x0 + snap(s * 0.75), y1), colour)


# A question mark is too curly to survive sampling at 6..9 pixels, so it is
# drawn by hand per size: '#' is a full pixel, '+' a half-covered one.
QUESTION = {
    6: [".###.",
        "#+.+#",
        "...+#",
        "..##+",
        "..#..",
        ".....",
        "..#.."],
    8: [".+##+.",
        "##++##",
        "....##",
        "..+##+",
        "..##..",
        "......",
        "..##..",
        "..##.."],
    9: [".+####+.",
        ".##++##.",
        ".....##.",
        "....##+.",
        "...##+..",
        "...##...",
        "........",
        "...##...",
        "...##..."],
}


def pixel_glyph(c, pattern, cx, cy, colour):
    h, w = len(pattern), len(pattern[0])
    x0, y0 = snap(cx - w / 2), snap(cy - h / 2)
    for y, row in enumerate(pattern):
        for x, ch in enumerate(row):
            if ch != ".":
                c.paint(rect(x0 + x, y0 + y, x0 + x + 1, y0 + y + 1), colour,
                        1.0 if ch == "#" else 0.5)


def glyph_help(c, cx, cy, s, w, colour):
    size = min(QUESTION, key=lambda k: abs(k - s))
    pixel_glyph(c, QUESTION[size], cx, cy, colour)


def glyph_menu(c, cx, cy, s, w, colour):
    """The control box: an application glyph, four tiles."""
    n = snap(s * 0.42)
    gap = max(1, snap(s) - 2 * n)
    x0, y0 = snap(cx - (2 * n + gap) / 2), snap(cy - (2 * n + gap) / 2)
    for dx in (0, n + gap):
        for dy in (0, n + gap):
            c.paint(rect(x0 + dx, y0 + dy, x0 + dx + n, y0 + dy + n, 0.6), colour)


GLYPHS = [("menu", glyph_menu), ("help", glyph_help), ("max", glyph_max),
          ("restore", glyph_restore), ("min", glyph_min), ("close", glyph_close)]


def arrow(c, cx, cy, base, direction, colour):
    """A solid arrow head as a pixel staircase (rows of base, base-2, ... 1
    pixels), the crisp form scroll arrows have always had."""
    depth = (base + 1) // 2
    x0, y0 = snap(cx - base / 2), snap(cy - depth / 2)
    for k in range(depth):
        lo, hi = k, base - k  # the row k steps in from the base
        row = depth - 1 - k if direction in ("up", "left") else k
        if direction in ("up", "down"):
            c.paint(rect(x0 + lo, y0 + row, x0 + hi, y0 + row + 1), colour)
        else:
            c.paint(rect(snap(cx - depth / 2) + row, snap(cy - base / 2) + lo,
                         snap(cx - depth / 2) + row + 1, snap(cy - base / 2) + hi), colour)


def check_mark(c, x0, y0, s, w, colour):
    pts = [(x0 + s * 0.2, y0 + s * 0.5), (x0 + s * 0.42, y0 + s * 0.72),
           (x0 + s * 0.8, y0 + s * 0.26)]
    c.paint(polyline(pts, w), colour)


# --------------------------------------------------------------------------
# Pictures


def button_frames(theme, w, h):
    frames = []
    shadowed = any(f.shadow for f in theme["raised"])
    for face in theme["raised"]:
        c = Canvas(w, h)
        if not theme["button_transparent"]:
            c.fill(theme["matte"])  # blitted as is: the corners show the form
        bottom = h - 1 if shadowed else h
        r = radius_for(theme, bottom)
        x0 = 0.5 if theme["radius"] is None else 0
        draw_face(c, rect(x0, 0, w - x0, bottom, r), face)
        frames.append(settle_middle_row(c))
    return frames


def box_frame(theme, w, h, checked, disabled, round_mark):
    """One frame of a check box (or radio button): the box face, the mark."""
    c = Canvas(w, h)
    if not round_mark:
        c.fill(theme["matte"])  # check marks are blitted as is: the corners show the form
    macos = theme["radius"] is None
    # Aqua boxes leave a row for their drop shadow; a square box keeps its
    # edges on whole pixels so the rim stays one crisp pixel wide.
    side = min(w, h) - (1 if macos else 0)
    x0 = (w - side) / 2 if macos else 0
    x0 = x0 if round_mark else math.floor(x0)
    y0 = 1 if macos else 0
    face = box_faces(theme)[1 if checked else 0]
    if round_mark:
        shape = circle(x0 + side / 2, y0 + side / 2, side / 2)
    else:
        shape = rect(x0, y0, x0 + side, y0 + side, 3.5 if macos else 0)
    draw_face(c, shape, face)
    if checked:
        mark = theme["mark"]
        if round_mark:
            cx, cy = x0 + side / 2, y0 + side / 2
            r = side * 0.2
            if macos:
                c.paint(circle(cx, cy, r), darker(mark, 0.1))
            else:
                c.paint(circle(cx, cy, r + 0.6), darker(mark, 0.25))
                c.paint(circle(cx, cy, r - 0.2),
                        lambda x, y: mix(lighter(mark, 0.55), mark, min(1, (y - cy + r) / (2 * r))))
        else:
            check_mark(c, x0 + 1, y0 + 1, side - 2, 2.2 if side < 14 else 2.4, mark)
    if disabled:
        c.fade(theme["matte"], 0.55)
    return c


def checkbox_frames(theme, w, h, round_mark=False):
    return [box_frame(theme, w, h, checked, disabled, round_mark)
            for disabled in (False, True) for checked in (True, False)]


def checklist_frames(theme):
    frames = [box_frame(theme, 13, 13, False, False, False),
              box_frame(theme, 13, 13, True, False, False)]
    grey = box_frame(theme, 13, 13, False, False, False)
    grey.paint(rect(3, 3, 10, 10, 1), mix(theme["mark"], theme["matte"], 0.35))
    frames.append(grey)
    return frames


def caption_faces(theme, group):
    """Faces of one title button group in its three states (None: no face)."""
    cap = theme["caption"]
    if group == "close" and "close" in cap:
        return cap["close"]
    if "faces" in cap:
        return cap["faces"]
    normal = chrome(theme)[0]
    hover = cap.get("hover_face", chrome(theme)[1])
    press = cap.get("press_face", chrome(theme)[2])
    faces = [normal, hover, press]
    if group == "close" and "close_face" in cap:
        faces = [f or faces[i] for i, f in enumerate(cap["close_face"])]
    return faces


def sphere_face(base, state):
    if state == 1:
        base = lighter(base, 0.12)
    elif state == 2:
        base = darker(base, 0.22)
    return aqua(base, rim_dark=0.45, gloss=(0.9, 0.15, 0.55), shadow=0.18 if state < 2 else 0.1)


def titlebtn_frames(theme, w, h):
    cap = theme["caption"]
    frames = []
    # Blitted without a see-through colour, a title button carries the rows
    # of the title bar it is put on.
    bar = title_canvas(theme, 2 * theme["title"]["radius"] + 8)
    top = theme["title"]["button_top"]
    for group, glyph in GLYPHS:
        for state in range(3):
            c = Canvas(w, h)
            if not theme["caption_transparent"]:
                for y in range(h):
                    p = bar.px[(top + y) * bar.w + bar.w // 2]
                    c.paint(rect(0, y, w, y + 1), (p[0], p[1], p[2]))
            if cap["kind"] == "sphere":
                base = cap["colours"][group]
                d = w - 2
                draw_face(c, circle(w / 2, (h - 1) / 2, d / 2), sphere_face(base, state))
                colour = darker(base, 0.62) + ((0.55, 0.9, 0.95)[state],)
                cy = (h - 1) / 2
            else:
                face = caption_faces(theme, group)[state]
                draw_face(c, rect(0, 0, w, h, cap["radius"]), face)
                colour = cap["glyph"][state]
                cy = h / 2
            s, weight = cap["glyph_size"], cap["weight"]
            if "glyph_shadow" in cap:
                glyph(c, w / 2, cy + 1, s, weight, cap["glyph_shadow"] + (0.45,))
            glyph(c, w / 2, cy, s, weight, colour)
            frames.append(c)
    return frames


def title_canvas(theme, w):
    """A title bar w pixels wide, its top corners rounded as the theme's
    window is."""
    t = theme["title"]
    h, r = t["height"], t["radius"]
    c = Canvas(w, h)
    outer = top_rounded(0, 0, w, h, r)
    c.paint(outer, t["border"])
    inner = top_rounded(1, 1, w - 1, h, max(r - 1, 0))
    c.paint(inner, vgrad(1, h - 1, t["body"]))
    c.paint(inner - top_rounded(2, 2, w - 2, h, max(r - 2, 0)), t["highlight"])
    if "accent" in t:
        c.paint(rect(1, h - 3, w - 1, h - 1), t["accent"])
    c.paint(rect(0, h - 1, w, h), t["bottom"])
    return c


def title_bar(theme, left=32, client=16, right=24):
    """The whole title bar drawn once and cut in three, so the pieces join."""
    w = left + client + right
    c = title_canvas(theme, w)
    return c.crop(0, left), c.crop(left, left + client), c.crop(left + client, w)


def progress_frames(theme):
    h = theme["progress_height"]
    r = radius_for(theme, h)
    frames = []
    for face in (theme["well"], theme["accent"]):
        c = Canvas(24, h)
        draw_face(c, rect(0, 0, 24, h, r), face)
        frames.append(settle_middle_row(c))
    return frames


def trackbar_bar(theme):
    c = Canvas(24, 5)
    draw_face(c, rect(0, 0, 24, 5, 2.5 if theme["radius"] is None else 2), theme["well"])
    return settle_middle_row(c)


def pointer(w, h):
    """A slider thumb: a rounded body ending in a point at the bottom."""
    tip = h - 1.0
    shoulder = h - w / 2 - 1.5
    body = polygon([(2, 2), (w - 2, 2), (w - 2, shoulder), (w / 2, tip - 1.5), (2, shoulder)])
    return body.inset(-1.5)


def slider_frames(theme):
    frames = []
    faces = chrome(theme) if theme["radius"] is not None else (
        theme["raised"][0], theme["accent"], theme["raised"][2])
    for face in faces:
        c = Canvas(11, 19)
        # The gloss stops above the point, where the thumb is still full width.
        gloss = (face.gloss[0], face.gloss[1], 0.45) if face.gloss else None
        draw_face(c, pointer(11, 19), replace(face, gloss=gloss, shadow=0.0))
        frames.append(c)
    return frames


def scroll_faces(theme):
    sc = theme.get("scroll", {})
    return (sc.get("button", chrome(theme)), sc.get("track", theme["well"]),
            sc.get("arrow", theme["arrow"]))


def plain(face):
    """The face without its drop shadow, for parts that sit in a track."""
    return replace(face, shadow=0.0)


def scroll_button_frames(faces, arrow_colour, size=17, radius=2):
    """Arrow buttons: up, down, left, right, each in every state of faces."""
    frames = []
    for direction in ("up", "down", "left", "right"):
        for state, face in enumerate(faces):
            c = Canvas(size, size)
            draw_face(c, rect(0, 0, size, size, radius), plain(face))
            shift = 1 if state == 2 else 0
            base = 7 if size >= 15 else 5
            arrow(c, size / 2 + shift, size / 2 + shift, base, direction, arrow_colour)
            frames.append(c)
    return frames


def scroll_track_frames(theme):
    buttons, track, _ = scroll_faces(theme)
    macos = theme["radius"] is None
    n = 17
    frames = []
    # Drawn lying down (the gradient across the bar's thickness) and turned.
    c = Canvas(n, n)
    if macos:
        # Aqua's track is a sunken capsule lying in a light channel.
        c.paint(rect(0, 0, n, n), (236, 236, 236))
        draw_face(c, rect(0, 1, n, n - 1, 7.5), track)
    else:
        draw_face(c, rect(-2, 0, n + 2, n, 0), track)
    frames.append(c.transposed())
    thumbs = (theme["accent"], theme["raised"][1], theme["raised"][2]) if macos else buttons
    for face in thumbs:
        c = Canvas(n, n)
        draw_face(c, rect(0, 1, n, n - 1, 7.5 if macos else 3), plain(face))
        frames.append(c.transposed())
    return [settle_middle_row(f) for f in frames]


def tab_frames(theme):
    """Unselected tabs stand 2 px lower and end on the page's edge line; the
    selected one is full height and opens into the page (its bottom row is
    page colour, covering TAB_LINE). The Aqua tabs instead all sit on the
    line like a segmented control, the selected one in blue."""
    frames = []
    aqua_tabs = theme["radius"] is None
    r = 6 if aqua_tabs else theme["radius"] + 1
    normal, hover, _ = theme["raised"]
    band = theme.get("tab_band")
    page = theme["page"]
    for state in range(3):
        c = Canvas(28, 21)
        if aqua_tabs:
            face = plain((normal, hover, aqua((52, 116, 220), rim_dark=0.5))[state])
            draw_face(c, top_rounded(0, 0, 28, 21, r), face)
            c.paint(rect(0, 20, 28, 21), theme["line"])
        elif state == 2:
            face = Face(rim=(theme["line"], theme["line"]),
                        body=((0, lighter(page, 0.12)), (0.5, page), (1, page)),
                        band=(band[0], 2))
            draw_face(c, top_rounded(0, 0, 28, 22, r), face)
        else:
            face = plain(hover if state == 1 else normal)
            if state == 1:
                face = replace(face, inner=None, band=(band[1], 1))
            draw_face(c, top_rounded(0, 2, 28, 22, r - 1), face)
            c.paint(rect(0, 20, 28, 21), theme["line"])
        frames.append(settle_middle_row(c))
    return frames


def tab_line(theme):
    c = Canvas(8, 3)
    c.paint(rect(0, 0, 8, 1), theme["line"])
    c.paint(rect(0, 1, 8, 3), theme["page"])
    return c


def sidechannel_bar(theme):
    c = Canvas(17, 12)
    face = replace(chrome(theme)[0], gloss=None, glow=None, shadow=0.0)
    draw_face(c, rect(-2, 0, 19, 12, 0), face)
    return settle_middle_row(c.transposed())


def sidechannel_handle_frames(theme):
    frames = []
    for state, face in enumerate(chrome(theme)):
        c = Canvas(49, 12)
        draw_face(c, rect(0, 0, 49, 12, 4 if theme["radius"] is None else theme["radius"]),
                  plain(face))
        dot = theme["arrow"]
        light = lighter(face.body[0][1], 0.6)
        # Two groups of grip dots clear of the middle rows, which a taller
        # handle stretches.
        for x in (14.5, 17.5, 20.5, 28.5, 31.5, 34.5):
            c.paint(circle(x + 0.6, 6.6, 0.9), light + (0.7,))
            c.paint(circle(x, 6, 0.9), dot)
        frames.append(settle_middle_row(c.transposed()))
    return frames


# MORE_SCROLLBUTTON belongs to no theme, so it is a plain grey that sits
# quietly on any of them.
NEUTRAL_BUTTON = Face(rim=((150, 150, 150), (130, 130, 130)),
                      body=((0, (250, 250, 250)), (1, (222, 222, 222))),
                      inner=(WHITE, WHITE, 0.7, 1))


def form_background_metal():
    """Light brushed metal: horizontal grain that repeats every 64 pixels in
    both directions, so tiles join without a seam."""
    n = 64
    c = Canvas(n, n)
    seed = 0x2545F491
    rows = []
    for y in range(n):
        grain = []
        for x in range(n):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            grain.append((seed >> 8) / float(1 << 23) - 0.5)
        # Smear each row along x (wrapping) so the noise reads as brushed streaks.
        smooth = [sum(grain[(x + k) % n] for k in range(-6, 7)) / 13 for x in range(n)]
        rows.append(smooth)
    for y in range(n):
        band = 0.8 * math.sin(2 * math.pi * y * 3 / n) + 0.5 * math.sin(2 * math.pi * y * 7 / n + 1)
        for x in range(n):
            v = 230 + band + rows[y][x] * 12 + 0.5 * rows[(y + 1) % n][x] * 6
            c.px[y * n + x] = [v, v, v + 1.5, 1.0]
    return c


def form_background_pinstripe():
    """Clean white with a fine horizontal pinstripe, period 4 (divides 64)."""
    n = 64
    c = Canvas(n, n)
    for y in range(n):
        v = ((253, 253, 253), (253, 253, 253), (250, 250, 251), (248, 249, 250))[y % 4]
        for x in range(n):
            c.px[y * n + x] = [v[0], v[1], v[2], 1.0]
    return c


def gradient_column(h, stops):
    c = Canvas(1, h)
    c.paint(rect(0, 0, 1, h), vgrad(0, h, stops))
    return c


def menu_checked():
    """A classic hard-edged check: its edge pixels must not fade towards the
    white mask colour, or a selected menu item would show a pale halo."""
    c = Canvas(16, 16)
    shape = polyline([(4.0, 8.0), (6.8, 10.8), (12.0, 5.0)], 2.2)
    rows = []
    for y in range(16):
        rows.append([BLACK if coverage(shape.sdf, x, y) >= 0.5 else WHITE for x in range(16)])
    return rows


# --------------------------------------------------------------------------
# Assembly


def theme_pictures(theme):
    name, matte = theme["name"], theme["matte"]
    sizes = BINDING[name]
    pics = {}

    def add(kind, canvas):
        pics[f"{name}_{kind}"] = canvas.rows(matte)

    _, bw, bh = sizes["BUTTON"]
    add("BUTTON", strip(button_frames(theme, bw, bh)))
    _, cw, ch = sizes["CHECKBOX"]
    add("CHECKBOX", strip(checkbox_frames(theme, cw, ch)))
    _, rw, rh = sizes["RADIOBUTTON"]
    add("RADIOBUTTON", strip(checkbox_frames(theme, rw, rh, round_mark=True)))
    _, tw, th = sizes["TITLEBTN"]
    add("TITLEBTN", strip(titlebtn_frames(theme, tw, th)))
    left, client, right = title_bar(theme)
    add("TITLE_LEFT", left)
    add("TITLE_CLIENT", client)
    add("TITLE_RIGHT", right)
    add("PROGRESSBAR", strip(progress_frames(theme)))
    add("TRACKBAR_BAR", trackbar_bar(theme))
    sliders = slider_frames(theme)
    add("TRACKBAR_SLIDER", strip(sliders))
    add("TRACKBAR_SLIDER_V", strip([f.transposed() for f in sliders]))
    buttons, _, arrow_colour = scroll_faces(theme)
    add("SCROLLBAR_BUTTON", strip(scroll_button_frames(
        buttons, arrow_colour, radius=3 if theme["radius"] is None else 2)))
    add("SCROLLBAR_TRACK", strip(scroll_track_frames(theme)))
    add("CHECKLIST", strip(checklist_frames(theme)))
    add("TAB", strip(tab_frames(theme)))
    add("TAB_LINE", tab_line(theme))
    add("SIDECHENNEL_HANDLE", strip(sidechannel_handle_frames(theme)))
    add("SIDECHENNEL_BAR", sidechannel_bar(theme))
    return pics


def shared_pictures():
    pics = {}
    pics["MACOS_FORM_BACKGROUND"] = form_background_metal().rows(MACOS["matte"])
    pics["PROTEIN_FORM_BACKGROUND"] = form_background_pinstripe().rows(PROTEIN["matte"])
    pics["MACOS_MENU_BAR"] = gradient_column(22, (
        (0, (255, 255, 255)), (0.06, (250, 250, 250)), (0.5, (238, 238, 238)),
        (0.93, (224, 224, 224)), (0.94, (170, 170, 170)), (1, (170, 170, 170)))).rows(WHITE)
    pics["MACOS_MENU_SELECT"] = gradient_column(21, (
        (0, (120, 166, 242)), (0.06, (98, 148, 238)), (1, (36, 92, 214)))).rows(WHITE)
    pics["MENU_CHECKED"] = menu_checked()
    pics["MACOS_SCROLLBUTTON"] = strip(scroll_button_frames(
        (MACOS["raised"][0],), MACOS["arrow"], 15, 3)).rows(MACOS["matte"])
    pics["WINXP_SCROLLBUTTON"] = strip(scroll_button_frames(
        WINXP["scroll"]["button"][:1], WINXP["scroll"]["arrow"], 17)).rows(WINXP["matte"])
    pics["MORE_SCROLLBUTTON"] = strip(scroll_button_frames(
        (NEUTRAL_BUTTON,), (60, 60, 60), 12)).rows((236, 236, 236))
    return pics


def all_pictures():
    pics = {}
    for theme in THEMES:
        pics.update(theme_pictures(theme))
    pics.update(shared_pictures())
    return pics


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_theme_pictures.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(os.path.join(out, "packed"), exist_ok=True)
    pics = all_pictures()
    lines = []
    for name in sorted(pics):
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp24.write(pics[name]))
        with open(os.path.join(out, "packed", name + ".bmp"), "wb") as f:
            f.write(pack_picture.pack(pics[name]))
        lines.append(f'{name} BITMAP "packed/{name}.bmp"\n')
    with open(os.path.join(out, "theme_pictures.rc"), "w", newline="\n") as f:
        f.writelines(lines)


if __name__ == "__main__":
    main()
