#!/usr/bin/env python3
"""Draws the 34 pictures of one of the example skins, Jade (light, cool
green-teal glass) or Ember (dark charcoal with warm orange accents), and
writes each as a 24-bit BMP named after its skin entry, ready for
`mkskin pack`. Standard library only; the same output on every run.

Usage: make_skin_pictures.py --skin {jade|ember} --out DIR
Writes DIR/SKIN2_*.bmp. The skin's colours, integers and flags live beside
this script in jade/skin.toml and ember/skin.toml; the values there that
describe these pictures (see-through colour, title bar rows, flags) follow
the geometry and palettes below.

The rasteriser, the face recipe and the caption glyphs are the built-in
theme pictures' own (resources/skin/make_theme_pictures.py, imported, not
copied), so skin and theme pictures share one look of edges and light. Both
skins are drawn by the same shape functions; only their palettes differ.
Light comes from above and from the left.

Magenta (SKIN2_TRANSCOLOR) is where the background must show through; edge
pixels are blended with what the picture will stand on (the form colour for
controls, the title bar for its buttons, a neutral desktop grey for the
window's outer corners), never with magenta, which would survive the cut as
a pink fringe.

Sizes follow the built-in pictures of the same role, so the same controls
cut them the same way (w x h of one frame; strips are frames side by side,
frame 1 at the left):

  TITLEBAR1 / 2 / 3        32 / 16 / 24 x title height (Jade 29, Ember 27)
  TITLEBAR4 / 5            16 / 24 x title height
  MINIMIZEDTITLE           160 x title height
  FORMLEFTBORDER / RIGHT   4 x 16
  FORMBOTTOMBORDER1/2/3    16 x 6 each
  TITLEBUTTONS             18 frames of 19x19
  BUTTON                   3 frames of 74x21
  CHECKBOX                 6 frames of 13x13
  CHECKBOXLIST             3 frames of 13x13
  RADIOBUTTON              4 frames of 13x13
  PROGRESSBAR1, 2          24x13;   PROGRESSBAR3, 4   13x25
  TRACKBAR                 24x5
  TRACKBARSLIDER           3 frames of 11x19;  TRACKBARVSLIDER  3 frames of 19x11
  SCROLLBARUPBUTTON, DOWN  3 frames of 17x17
  SCROLLBAR                4 frames of 17x17
  SCROLLBUTTON             4 frames of 17x17
  TABCONTROL               3 frames of 28x21;  TABCONTROLLINE  8x3
  SIDECHANNELBAR           12x17;  SIDECHANNELTITLE  3 frames of 12x49
  MENUBAR                  16x22;  TOOLBAR  16x26;  CHECKEDMENUICON  16x16

What the frames are:
  TITLEBUTTONS: control box, help, maximise, restore, minimise, close; each
      normal, mouse over, pressed.
  BUTTON, TRACKBARSLIDER(V), SCROLLBARUP/DOWNBUTTON: normal, mouse over
      (or focused), pressed.
  CHECKBOX: checked, greyed, unchecked, then the same three disabled.
  CHECKBOXLIST: unchecked, checked, greyed.
  RADIOBUTTON: checked, unchecked, checked disabled, unchecked disabled.
  PROGRESSBAR1/2: the empty groove and the fill of a horizontal bar;
      PROGRESSBAR3/4 the same for a vertical bar.
  SCROLLBAR: the track, then the thumb normal, over, pressed; drawn for a
      vertical bar (a horizontal bar uses them transposed, and the up and
      down buttons transposed are the left and right ones).
  SCROLLBUTTON: up, down, left, right.
  TABCONTROL: normal, mouse over, selected (it opens into the page).
  SIDECHANNELTITLE: the side panel's grip: normal, mouse over, pressed.

The window frame (title bar, side and bottom borders) is drawn as one small
window and cut into its pieces, so the pieces join without a seam. Its
middle pieces are uniform along the direction the form stretches them. The
title bar is three sections (TITLEFIVESECT off); TITLEBAR4 and 5 are a second
middle slice and the right end, so a five-section layout still draws a
whole bar.

Stretchable faces (BUTTON, PROGRESSBAR*, TRACKBAR, SCROLLBAR, TABCONTROL,
TABCONTROLLINE, SIDECHANNEL*) have odd heights and identical rows h/2 and
h/2 + 1, as the nine-slice (StretchSkinPicture) needs; see
settle_middle_row in the theme script.
"""
import argparse
import math
import os
import sys
from dataclasses import replace

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, "..", "..", "resources")
sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
sys.path.insert(0, RESOURCES)
sys.path.insert(0, os.path.join(RESOURCES, "skin"))
import bmp24  # noqa: E402  (shared with the other picture scripts)
import make_theme_pictures as art  # noqa: E402  (rasteriser, faces, glyphs)

Canvas, Face, Shape = art.Canvas, art.Face, art.Shape
rect, circle, top_rounded = art.rect, art.circle, art.top_rounded
draw_face, settle_middle_row, strip = art.draw_face, art.settle_middle_row, art.strip
mix, lighter, vgrad, stops_at = art.mix, art.lighter, art.vgrad, art.stops_at
MAGENTA, WHITE, BLACK = art.MAGENTA, art.WHITE, art.BLACK

# Frame geometry shared by both skins.
BORDER = 4           # side border width: rim, two frame columns, inner line
BOTTOM = 6           # bottom border height
TITLE_PIECES = (32, 16, 24)
BOTTOM_PIECE = 16
SIDE_LENGTH = 16     # the side borders' length (stretched by the form)
TITLE_BUTTON = 19
MINIMIZED_WIDTH = 160


# --------------------------------------------------------------------------
# Palettes


def hexc(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def glass(rim, top, upper, lower, bottom, inner=WHITE, inner_bottom=None, inner_alpha=0.7,
          glow=None):
    """A glass face: a light upper half, a break just above the middle and a
    luminous lower half."""
    return Face(rim=rim, body=((0, top), (0.47, upper), (0.5, lower), (1, bottom)),
                inner=(inner, inner_bottom or inner, inner_alpha, 1), glow=glow)


JADE = dict(
    name="Jade",
    trans=MAGENTA,
    form=hexc("EEF5F3"),
    desktop=(120, 132, 130),
    window=dict(
        title_height=29, radius_top=7, radius_bottom=5,
        rim=hexc("2C7466"),
        title=((0, hexc("E6F7F1")), (0.46, hexc("B8E6D8")), (0.5, hexc("8CD2BD")),
               (1, hexc("A0DCCB"))),
        frame=hexc("A0DCCB"),
        highlight=(WHITE, 0.85, 0.55),   # colour, alpha on the title, alpha on the left side
        shade=(hexc("2C7466"), 0.28),
        accent=None,
        inner=hexc("5FA897"),
        caption=hexc("0A3C34"),
    ),
    caption_buttons=dict(
        radius=4.0, glyph_size=8, weight=2.0,
        glyph=(WHITE, WHITE, hexc("E6FFF8")), glyph_shadow=(hexc("0E5A4C"), 0.55),
        faces=(
            glass((hexc("3E8C7C"), hexc("2F7A6B")), hexc("CDEFE5"), hexc("8ED6C1"),
                  hexc("55B89D"), hexc("86D8C0"), inner_bottom=hexc("C8F2E6"),
                  inner_alpha=0.55),
            glass((hexc("26806C"), hexc("1E6F5D")), hexc("DDF8EF"), hexc("9CE5CF"),
                  hexc("4FC4A3"), hexc("90EED2"), inner_bottom=hexc("D8FFF4"),
                  inner_alpha=0.8, glow=(hexc("B8FFEA"), 0.8, 0.5)),
            glass((hexc("1A5A4C"), hexc("1A5A4C")), hexc("5BA893"), hexc("4A9C86"),
                  hexc("2E8670"), hexc("5DB49B"), inner=hexc("2A6E5E"),
                  inner_bottom=hexc("A8E8D6"), inner_alpha=0.5),
        ),
        close=(
            glass((hexc("A24E40"), hexc("8E3E32")), hexc("F6D0C6"), hexc("EE9C8A"),
                  hexc("DE6A52"), hexc("EE9C82"), inner_bottom=hexc("FFDCD2"),
                  inner_alpha=0.55),
            glass((hexc("B0392A"), hexc("982E20")), hexc("FCDCD0"), hexc("F6A088"),
                  hexc("EA5A3C"), hexc("FFAE86"), inner_bottom=hexc("FFE4D8"),
                  inner_alpha=0.8, glow=(hexc("FFD2A0"), 0.7, 0.5)),
            glass((hexc("6E2218"), hexc("6E2218")), hexc("B6584A"), hexc("A84A3C"),
                  hexc("8C3224"), hexc("C05E4A"), inner=hexc("7A2A20"),
                  inner_bottom=hexc("FFB8A6"), inner_alpha=0.5),
        ),
    ),
    # Push buttons: normal, mouse over / focused, pressed.
    raised=(
        glass((hexc("7FA89F"), hexc("5E8C82")), hexc("FFFFFF"), hexc("EEF7F4"),
              hexc("DCEEE8"), hexc("F2FAF7"), inner_alpha=0.9),
        glass((hexc("2E9C82"), hexc("1F8068")), hexc("FFFFFF"), hexc("E6F8F2"),
              hexc("C6EEE2"), hexc("E4FBF4"), inner_alpha=0.95,
              glow=(hexc("7EE0C2"), 0.55, 0.5)),
        glass((hexc("1F7462"), hexc("2A806D")), hexc("B4E2D4"), hexc("C2E8DC"),
              hexc("B2E2D4"), hexc("D2F2E8"), inner=hexc("8CC8B6"),
              inner_bottom=hexc("E6FAF4"), inner_alpha=0.6),
    ),
    button_transparent=True,
    button_radius=3.5,
    # Scroll bar thumbs and buttons, slider thumbs, grips.
    chrome=(
        glass((hexc("7FA89F"), hexc("5E8C82")), hexc("FFFFFF"), hexc("E8F4F0"),
              hexc("D2EAE2"), hexc("EAF6F2"), inner_alpha=0.9),
        glass((hexc("2E9C82"), hexc("1F8068")), hexc("FFFFFF"), hexc("DFF6EE"),
              hexc("B8EADA"), hexc("DDF8EF"), inner_alpha=0.95),
        glass((hexc("1F7462"), hexc("2A806D")), hexc("9ED8C6"), hexc("AEDFD0"),
              hexc("98D6C4"), hexc("C4EEE2"), inner=hexc("7CBCAA"),
              inner_bottom=hexc("E0F8F0"), inner_alpha=0.6),
    ),
    accent=glass((hexc("1B7A63"), hexc("14624F")), hexc("A6EED6"), hexc("62CDAE"),
                 hexc("26A684"), hexc("5ACDAA"), inner=hexc("D2FFF0"),
                 inner_bottom=hexc("7EDDC0"), inner_alpha=0.6),
    well=Face(rim=(hexc("769C94"), hexc("A9C7C0")),
              body=((0, hexc("DCE9E6")), (0.45, hexc("F2F8F6")), (1, hexc("FFFFFF")))),
    box_radius=2.0,
    mark=WHITE,
    mark_shadow=hexc("0E5A4C"),
    arrow=hexc("2F5F56"),
    page=hexc("F8FCFB"),
    line=hexc("7FB1A6"),
    tab_band=(hexc("3DBF9C"), hexc("8ADBC4")),
    menu_bar=(hexc("F6FBFA"), hexc("DDEEEA"), hexc("B9D6CF")),
    toolbar=(hexc("F6FBFA"), hexc("D6EAE5"), hexc("9CC4BA")),
    menu_check=hexc("0E6A56"),
)

EMBER = dict(
    name="Ember",
    trans=MAGENTA,
    form=hexc("2D2D30"),
    desktop=(96, 96, 98),
    window=dict(
        title_height=27, radius_top=5, radius_bottom=4,
        rim=hexc("0C0C0D"),
        title=((0, hexc("4C4C51")), (0.5, hexc("38383C")), (1, hexc("2A2A2D"))),
        frame=hexc("2A2A2D"),
        highlight=(hexc("8A8A90"), 0.75, 0.45),
        shade=(BLACK, 0.35),
        accent=(hexc("F07C24"), hexc("FF9A3C"), 0.34, 9),  # line, glow, glow alpha, glow rows
        inner=hexc("161617"),
        caption=hexc("F4ECE4"),
    ),
    caption_buttons=dict(
        radius=3.0, glyph_size=8, weight=1.8,
        glyph=(hexc("D6D0CA"), WHITE, hexc("FFE8D4")), glyph_shadow=(BLACK, 0.5),
        faces=(
            Face(rim=(hexc("1A1A1C"), hexc("141415")),
                 body=((0, hexc("56565B")), (0.5, hexc("444448")), (1, hexc("3A3A3E"))),
                 inner=(hexc("7C7C82"), hexc("48484C"), 0.6, 1)),
            Face(rim=(hexc("6A2E06"), hexc("582404")),
                 body=((0, hexc("FFB26A")), (0.5, hexc("F38A32")), (1, hexc("DC6E1C"))),
                 inner=(hexc("FFD6A8"), hexc("F4943E"), 0.7, 1)),
            Face(rim=(hexc("401A02"), hexc("401A02")),
                 body=((0, hexc("9C4A0E")), (0.4, hexc("B4581A")), (1, hexc("D06E24"))),
                 inner=(hexc("6E300A"), hexc("E0883C"), 0.5, 1)),
        ),
        close=(
            Face(rim=(hexc("1A1A1C"), hexc("141415")),
                 body=((0, hexc("56565B")), (0.5, hexc("444448")), (1, hexc("3A3A3E"))),
                 inner=(hexc("7C7C82"), hexc("48484C"), 0.6, 1)),
            Face(rim=(hexc("5E1208"), hexc("4C0E06")),
                 body=((0, hexc("FF8E70")), (0.5, hexc("E8503A")), (1, hexc("C83A26"))),
                 inner=(hexc("FFC0AE"), hexc("E85A40"), 0.7, 1)),
            Face(rim=(hexc("3A0A04"), hexc("3A0A04")),
                 body=((0, hexc("8A2416")), (0.4, hexc("A02E1E")), (1, hexc("C0402C"))),
                 inner=(hexc("5E160C"), hexc("D8604A"), 0.5, 1)),
        ),
    ),
    raised=(
        Face(rim=(hexc("101011"), hexc("0A0A0B")),
             body=((0, hexc("5A5A60")), (0.5, hexc("48484D")), (1, hexc("3C3C40"))),
             inner=(hexc("7E7E85"), hexc("4A4A4F"), 0.7, 1)),
        Face(rim=(hexc("E07020"), hexc("B85A16")),
             body=((0, hexc("64605E")), (0.5, hexc("504C4A")), (1, hexc("44403E"))),
             inner=(hexc("FFB26A"), hexc("8A4A1E"), 0.55, 1),
             glow=(hexc("FF8A2A"), 0.35, 0.45)),
        Face(rim=(hexc("0A0A0B"), hexc("0A0A0B")),
             body=((0, hexc("2A2A2D")), (0.35, hexc("323235")), (1, hexc("3E3E42"))),
             inner=(hexc("1C1C1E"), hexc("C86420"), 0.6, 1)),
    ),
    button_transparent=False,
    button_radius=3.0,
    chrome=(
        Face(rim=(hexc("101011"), hexc("0A0A0B")),
             body=((0, hexc("5C5C62")), (0.5, hexc("4A4A4F")), (1, hexc("3E3E42"))),
             inner=(hexc("808087"), hexc("4A4A4F"), 0.6, 1)),
        Face(rim=(hexc("A85214"), hexc("8A4210")),
             body=((0, hexc("6A625C")), (0.5, hexc("56504C")), (1, hexc("4A4642"))),
             inner=(hexc("FFB26A"), hexc("6A4A34"), 0.5, 1)),
        Face(rim=(hexc("5A2A08"), hexc("5A2A08")),
             body=((0, hexc("B4581A")), (0.5, hexc("C8661E")), (1, hexc("DC7628"))),
             inner=(hexc("8A400E"), hexc("F0A060"), 0.5, 1)),
    ),
    accent=Face(rim=(hexc("5E2604"), hexc("4A1E02")),
                body=((0, hexc("FFB874")), (0.47, hexc("F7923E")), (0.5, hexc("EC7C26")),
                      (1, hexc("D2661A"))),
                inner=(hexc("FFD8B0"), hexc("F08A34"), 0.6, 1)),
    well=Face(rim=(hexc("0E0E0F"), hexc("6A6A70")),
              body=((0, hexc("1A1A1C")), (0.4, hexc("222225")), (1, hexc("303034")))),
    box_radius=1.5,
    mark=WHITE,
    mark_shadow=hexc("6A2C04"),
    arrow=hexc("D8D2CC"),
    page=hexc("3A3A3E"),
    line=hexc("121213"),
    tab_band=(hexc("F07C24"), hexc("B85A16")),
    menu_bar=(hexc("434347"), hexc("323235"), hexc("161617")),
    toolbar=(hexc("404044"), hexc("2F2F32"), hexc("161617")),
    menu_check=hexc("F4ECE4"),
)

SKINS = {"jade": JADE, "ember": EMBER}


# --------------------------------------------------------------------------
# Canvas helpers the theme script has no need of


def crop(c, x0, y0, x1, y1):
    out = Canvas(x1 - x0, y1 - y0)
    for y in range(y0, y1):
        out.px[(y - y0) * out.w:(y - y0 + 1) * out.w] = [list(p) for p in
                                                           c.px[y * c.w + x0:y * c.w + x1]]
    return out


def lying(c):
    """A face drawn lying down, turned upright for a vertical bar, with its
    centre columns made equal. Besides the rows settle_middle_row settles,
    the nine-slice draws the bottom edge from one column left of the
    corners' inner line (with the picture's centre columns), so columns
    w/2 - 1 to w - w/2 must agree or a bar whose gradient runs across its
    width shows a stepped stripe along its lower half."""
    hh = c.h // 2
    centre = c.px[hh * c.w:(hh + 1) * c.w]
    for y in range(hh - 1, c.h - hh + 1):
        c.px[y * c.w:(y + 1) * c.w] = [list(px) for px in centre]
    return settle_middle_row(c.transposed())


def window_shape(x0, y0, x1, y1, r_top, r_bottom):
    """A box whose top corners are rounded by r_top and bottom ones by
    r_bottom (exact signed distance per half)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    bx, by = (x1 - x0) / 2, (y1 - y0) / 2

    def sdf(x, y):
        r = max(0.0, r_top if y < cy else r_bottom)
        qx = abs(x - cx) - bx + r
        qy = abs(y - cy) - by + r
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r

    return Shape(sdf, (x0, y0, x1, y1))


def to_rows(c, matte, trans):
    """The finished picture, the see-through colour where nothing was drawn."""
    rows = c.rows(matte)
    if trans == MAGENTA:
        return rows
    return [[trans if px == MAGENTA else px for px in row] for row in rows]


# --------------------------------------------------------------------------
# The window frame


def paint_accent(c, body, win, h):
    """The accent line two rows above the bar's bottom, its glow rising
    from it."""
    line, glow, glow_alpha, glow_rows = win["accent"]
    top = h - 2 - glow_rows
    c.paint(body & rect(0, top, c.w, h - 2),
            vgrad(top, h - 2, [(0, glow + (0.0,)), (1, glow + (glow_alpha,))]))
    c.paint(body & rect(0, h - 2, c.w, h - 1), line)


def window_canvas(p, w, h):
    """A small window: title bar, side borders, bottom border and an empty
    client. Everything below the title is uniform along y down to the
    bottom border, and everything between the corners uniform along x."""
    win = p["window"]
    th, rt, rb = win["title_height"], win["radius_top"], win["radius_bottom"]
    c = Canvas(w, h)
    c.paint(window_shape(0, 0, w, h, rt, rb), win["rim"])
    body = window_shape(1, 1, w - 1, h - 1, rt - 1, rb - 1)
    title = vgrad(1, th - 1, win["title"])
    frame = win["frame"]
    c.paint(body, lambda x, y: title(x, y) if y < th else frame)
    ring = body - window_shape(2, 2, w - 2, h - 2, rt - 2, rb - 2)
    light, top_alpha, side_alpha = win["highlight"]
    shade, shade_alpha = win["shade"]
    # The light falls from above and from the left: the frame's inner edge
    # is lit along the top and the left side, shaded on the right and along
    # the bottom.
    c.paint(ring & rect(0, 0, w, th), vgrad(1, th, [(0, light + (top_alpha,)),
                                                     (1, light + (side_alpha,))]))
    bottom_top = h - BOTTOM
    c.paint(ring & rect(0, th, w / 2, bottom_top), light, side_alpha)
    c.paint(ring & rect(w / 2, th, w, bottom_top), shade, shade_alpha)
    c.paint(ring & rect(0, bottom_top, w, h), shade, shade_alpha)
    if win["accent"]:
        paint_accent(c, body, win, th)
    # The inner line outlines the client on all four sides.
    c.paint(rect(BORDER - 1, th - 1, w - BORDER + 1, bottom_top + 1), win["inner"])
    c.paint(rect(BORDER, th, w - BORDER, bottom_top), p["form"])
    return c


def frame_pictures(p):
    th = p["window"]["title_height"]
    left, middle, right = TITLE_PIECES
    w = left + middle + right
    h = th + SIDE_LENGTH + BOTTOM
    c = window_canvas(p, w, h)
    pics = {
        "TITLEBAR1": crop(c, 0, 0, left, th),
        "TITLEBAR2": crop(c, left, 0, left + middle, th),
        "TITLEBAR3": crop(c, left + middle, 0, w, th),
        "TITLEBAR4": crop(c, left, 0, left + middle, th),
        "TITLEBAR5": crop(c, left + middle, 0, w, th),
        "FORMLEFTBORDER": crop(c, 0, th, BORDER, th + SIDE_LENGTH),
        "FORMRIGHTBORDER": crop(c, w - BORDER, th, w, th + SIDE_LENGTH),
        "FORMBOTTOMBORDER1": crop(c, 0, h - BOTTOM, BOTTOM_PIECE, h),
        "FORMBOTTOMBORDER2": crop(c, (w - BOTTOM_PIECE) // 2, h - BOTTOM,
                                  (w + BOTTOM_PIECE) // 2, h),
        "FORMBOTTOMBORDER3": crop(c, w - BOTTOM_PIECE, h - BOTTOM, w, h),
    }
    pics["MINIMIZEDTITLE"] = minimized_title(p)
    return pics


def minimized_title(p):
    """A minimised window is its title bar alone, closed below by the rim."""
    win = p["window"]
    w, h, rt = MINIMIZED_WIDTH, win["title_height"], win["radius_top"]
    c = Canvas(w, h)
    c.paint(window_shape(0, 0, w, h, rt, 3), win["rim"])
    body = window_shape(1, 1, w - 1, h - 1, rt - 1, 2)
    c.paint(body, vgrad(1, h - 1, win["title"]))
    light, top_alpha, _ = win["highlight"]
    ring = body - window_shape(2, 2, w - 2, h - 2, rt - 2, 1)
    c.paint(ring & rect(0, 0, w, h / 2), vgrad(1, h / 2, [(0, light + (top_alpha,)),
                                                         (1, light + (0.0,))]))
    if win["accent"]:
        paint_accent(c, body, win, h)
    return c


def title_buttons(p):
    cb = p["caption_buttons"]
    n = TITLE_BUTTON
    frames = []
    for group, glyph in art.GLYPHS:
        faces = cb["close"] if group == "close" else cb["faces"]
        for state in range(3):
            c = Canvas(n, n)
            draw_face(c, rect(1, 1, n - 1, n - 1, cb["radius"]), faces[state])
            centre = n / 2
            shadow, alpha = cb["glyph_shadow"]
            glyph(c, centre, centre + 1, cb["glyph_size"], cb["weight"], shadow + (alpha,))
            glyph(c, centre, centre, cb["glyph_size"], cb["weight"], cb["glyph"][state])
            frames.append(c)
    return strip(frames)


def title_matte(p):
    """The title bar's colour where the caption buttons sit."""
    return stops_at(p["window"]["title"], 0.5)


# --------------------------------------------------------------------------
# Controls


def button_frames(p, w=74, h=21):
    frames = []
    for face in p["raised"]:
        c = Canvas(w, h)
        if not p["button_transparent"]:
            c.fill(p["form"])  # blitted as is: the corners show the form
        draw_face(c, rect(0, 0, w, h, p["button_radius"]), face)
        frames.append(settle_middle_row(c))
    return strip(frames)


def box(p, checked, state, round_box, disabled, n=13):
    """A check box or radio button: state 0 unchecked, 1 checked, 2 greyed."""
    c = Canvas(n, n)
    shape = circle(n / 2, n / 2, n / 2) if round_box else rect(0, 0, n, n, p["box_radius"])
    draw_face(c, shape, p["accent"] if checked else p["well"])
    if checked:
        if round_box:
            c.paint(circle(n / 2, n / 2 + 0.6, 2.6), p["mark_shadow"] + (0.5,))
            c.paint(circle(n / 2, n / 2, 2.5), p["mark"])
        else:
            art.check_mark(c, 1, 2, n - 2, 2.1, p["mark_shadow"] + (0.45,))
            art.check_mark(c, 1, 1, n - 2, 2.1, p["mark"])
    elif state == 2:
        face = replace(p["accent"], inner=None)
        draw_face(c, rect(3, 3, n - 3, n - 3, 1), face)
    if disabled:
        c.fade(p["form"], 0.55)
    return c


def checkbox_frames(p):
    order = [(True, 1, False), (False, 2, False), (False, 0, False),
             (True, 1, True), (False, 2, True), (False, 0, True)]
    return strip([box(p, checked, state, False, disabled) for checked, state, disabled in order])


def checklist_frames(p):
    return strip([box(p, False, 0, False, False), box(p, True, 1, False, False),
                  box(p, False, 2, False, False)])


def radio_frames(p):
    order = [(True, False), (False, False), (True, True), (False, True)]
    return strip([box(p, checked, int(checked), True, disabled) for checked, disabled in order])


def progress_pictures(p):
    pics = {}
    for number, face in ((1, p["well"]), (2, p["accent"])):
        c = Canvas(24, 13)
        draw_face(c, rect(0, 0, 24, 13, 3), face)
        pics[f"PROGRESSBAR{number}"] = settle_middle_row(c)
        # The vertical bar: the same face turned, its gradient across the bar.
        v = Canvas(25, 13)
        draw_face(v, rect(0, 0, 25, 13, 3), face)
        pics[f"PROGRESSBAR{number + 2}"] = lying(v)
    return pics


def trackbar(p):
    c = Canvas(24, 5)
    draw_face(c, rect(0, 0, 24, 5, 2), p["well"])
    return settle_middle_row(c)


def slider_frames(p):
    frames = []
    for face in p["chrome"]:
        c = Canvas(11, 19)
        draw_face(c, art.pointer(11, 19), face)
        # A groove across the thumb, where the finger goes.
        c.paint(rect(3, 6, 8, 7), face.rim[1] + (0.35,))
        c.paint(rect(3, 7, 8, 8), WHITE + (0.45,))
        frames.append(c)
    return frames


def scroll_buttons(p, count_states=3):
    return art.scroll_button_frames(p["chrome"][:count_states], p["arrow"], 17, 2)


def scroll_track(p):
    n = 17
    frames = []
    # Drawn lying down, the gradient across the bar's thickness, and turned.
    c = Canvas(n, n)
    well = p["well"]
    draw_face(c, rect(-3, 0, n + 3, n, 0), replace(well, inner=None))
    frames.append(lying(c))
    for face in p["chrome"]:
        c = Canvas(n, n)
        draw_face(c, rect(0, 1, n, n - 1, 3), face)
        frames.append(lying(c))
    return strip(frames)


def tab_frames(p):
    """Unselected tabs stand 2 px lower and end on the page's edge line; the
    selected one is full height and opens into the page (its bottom row is
    page colour, covering the line)."""
    frames = []
    normal, hover, _ = p["raised"]
    page, line = p["page"], p["line"]
    band_on, band_hover = p["tab_band"]
    for state in range(3):
        c = Canvas(28, 21)
        if state == 2:
            face = Face(rim=(line, line),
                        body=((0, lighter(page, 0.1)), (0.5, page), (1, page)),
                        band=(band_on, 2))
            draw_face(c, top_rounded(0, 0, 28, 22, 4), face)
        else:
            face = replace(hover if state == 1 else normal, glow=None)
            if state == 1:
                face = replace(face, band=(band_hover, 1))
            draw_face(c, top_rounded(0, 2, 28, 22, 3), face)
            c.paint(rect(0, 20, 28, 21), line)
        frames.append(settle_middle_row(c))
    return strip(frames)


def tab_line(p):
    c = Canvas(8, 3)
    c.paint(rect(0, 0, 8, 1), p["line"])
    c.paint(rect(0, 1, 8, 3), p["page"])
    return c


def sidechannel_bar(p):
    c = Canvas(17, 12)
    face = replace(p["chrome"][0], glow=None)
    draw_face(c, rect(-3, 0, 20, 12, 0), face)
    return lying(c)


def sidechannel_title_frames(p):
    frames = []
    for face in p["chrome"]:
        c = Canvas(49, 12)
        draw_face(c, rect(0, 0, 49, 12, 3), face)
        dot = p["arrow"]
        # Two groups of grip dots clear of the middle rows, which a taller
        # grip stretches.
        for x in (14.5, 17.5, 20.5, 28.5, 31.5, 34.5):
            c.paint(circle(x + 0.6, 6.6, 0.9), WHITE + (0.55,))
            c.paint(circle(x, 6, 0.9), dot)
        frames.append(lying(c))
    return strip(frames)


def bar_background(h, stops, border):
    c = Canvas(16, h)
    c.paint(rect(0, 0, 16, h - 1), vgrad(0, h - 1, stops))
    c.paint(rect(0, 0, 16, 1), WHITE + (0.35,))
    c.paint(rect(0, h - 1, 16, h), border)
    return c


def menu_bar(p):
    start, end, border = p["menu_bar"]
    return bar_background(22, ((0, start), (1, end)), border)


def toolbar(p):
    start, end, border = p["toolbar"]
    return bar_background(26, ((0, start), (1, end)), border)


def checked_menu_icon(p):
    """A hard-edged check on the see-through colour: a half-covered pixel
    would keep a fringe of whatever it was blended with on every menu
    colour but one."""
    shape = art.polyline([(4.0, 8.0), (6.8, 10.8), (12.0, 5.0)], 2.2)
    return [[p["menu_check"] if art.coverage(shape.sdf, x, y) >= 0.5 else p["trans"]
             for x in range(16)] for y in range(16)]


# --------------------------------------------------------------------------
# Assembly


def skin_pictures(p):
    """Entry name -> rows of (r, g, b) for every picture of palette p."""
    form, trans = p["form"], p["trans"]
    pics = {}

    def add(name, canvas, matte=form):
        pics["SKIN2_" + name] = to_rows(canvas, matte, trans)

    outside = mix(p["window"]["rim"], p["desktop"], 0.5)
    for name, canvas in frame_pictures(p).items():
        add(name, canvas, outside)
    add("TITLEBUTTONS", title_buttons(p), title_matte(p))
    pics["SKIN2_CHECKEDMENUICON"] = checked_menu_icon(p)
    add("MENUBAR", menu_bar(p))
    add("TOOLBAR", toolbar(p))
    add("BUTTON", button_frames(p))
    add("CHECKBOX", checkbox_frames(p))
    add("CHECKBOXLIST", checklist_frames(p))
    add("RADIOBUTTON", radio_frames(p))
    for name, canvas in progress_pictures(p).items():
        add(name, canvas)
    add("TRACKBAR", trackbar(p))
    sliders = slider_frames(p)
    add("TRACKBARSLIDER", strip(sliders))
    add("TRACKBARVSLIDER", strip([f.transposed() for f in sliders]))
    buttons = scroll_buttons(p)
    add("SCROLLBARUPBUTTON", strip(buttons[0:3]))
    add("SCROLLBAR", scroll_track(p))
    add("SCROLLBARDOWNBUTTON", strip(buttons[3:6]))
    add("TABCONTROL", tab_frames(p))
    add("TABCONTROLLINE", tab_line(p))
    add("SIDECHANNELBAR", sidechannel_bar(p))
    add("SIDECHANNELTITLE", sidechannel_title_frames(p))
    add("SCROLLBUTTON", strip(buttons[0::3]))
    return pics


def main():
    parser = argparse.ArgumentParser(description="Draws the pictures of an example skin.")
    parser.add_argument("--skin", required=True, choices=sorted(SKINS))
    parser.add_argument("--out", required=True, help="folder to write SKIN2_*.bmp into")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, rows in sorted(skin_pictures(SKINS[args.skin]).items()):
        with open(os.path.join(args.out, name + ".bmp"), "wb") as f:
            f.write(bmp24.write(rows))


if __name__ == "__main__":
    main()
