#!/usr/bin/env python3
"""Lays the theme pictures written by make_theme_pictures.py out on one
sheet for review: every picture enlarged 3x (nearest neighbour) and
labelled, grouped by theme, and per theme a mock-up window that uses the
pictures the way the controls do (9-piece stretched buttons in all three
states, check boxes and radios, a 400-pixel title bar with its buttons),
at 2x (nearest neighbour, so every pixel is the real one).

Usage: contact_sheet.py OUTDIR SHEET.png
OUTDIR is make_theme_pictures.py's output. The canvas is composed here;
ImageMagick's `convert` only sets the labels and writes the PNG.
Transparent (magenta) pixels show as a light checkerboard on the sheet and
as the form background in the mock-ups."""
import importlib.util
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
import make_theme_pictures as art  # noqa: E402  (palettes: matte, text, title colours)

MAGENTA = (255, 0, 255)
SHEET_W = 1240
MARGIN = 16
LABEL_H = 15
SCALE = 3
BACKGROUND = (206, 206, 206)
CHECKER = ((236, 236, 236), (222, 222, 222))
INK = (36, 36, 36)

GROUPS = [t["name"] for t in art.THEMES]
ORDER = ["BUTTON", "CHECKBOX", "RADIOBUTTON", "CHECKLIST", "TITLEBTN", "TITLE_LEFT",
         "TITLE_CLIENT", "TITLE_RIGHT", "PROGRESSBAR", "TRACKBAR_BAR", "TRACKBAR_SLIDER",
         "TRACKBAR_SLIDER_V", "SCROLLBAR_BUTTON", "SCROLLBAR_TRACK", "TAB", "TAB_LINE",
         "SIDECHENNEL_HANDLE", "SIDECHENNEL_BAR", "SCROLLBUTTON", "FORM_BACKGROUND",
         "MENU_BAR", "MENU_SELECT"]


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    w, h = struct.unpack_from("<ii", data, 18)
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(abs(h)):
        src = y if h < 0 else abs(h) - 1 - y
        base = offset + src * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                     for x in range(w)])
    return rows


def read_rc(path):
    names = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 3 and parts[1] == "BITMAP":
                names.append((parts[0], parts[2].strip('"')))
    return names


class Sheet:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.buf = bytearray(bytes(colour) * (w * h))
        self.labels = []  # (x, y, text, colour, size, anchor)

    def rect(self, x0, y0, w, h, colour):
        row = bytes(colour) * w
        for y in range(max(0, y0), min(self.h, y0 + h)):
            i = (y * self.w + x0) * 3
            self.buf[i:i + 3 * w] = row

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            i = (y * self.w + x) * 3
            self.buf[i:i + 3] = bytes(colour)

    def get(self, x, y):
        i = (y * self.w + x) * 3
        return tuple(self.buf[i:i + 3])

    def picture(self, rows, x0, y0, scale=1, transparent="checker"):
        """Draws rows at (x0, y0) enlarged by scale. Magenta becomes the
        checkerboard, or is left alone (transparent='keep') so whatever was
        drawn below shows through, as it does in a control; 'opaque' draws
        it, as a blit without a see-through colour would. None is never
        drawn."""
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c is None:
                    continue
                if transparent == "opaque":
                    self.rect(x0 + x * scale, y0 + y * scale, scale, scale, c)
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        px, py = x0 + x * scale + dx, y0 + y * scale + dy
                        if c == MAGENTA:
                            if transparent == "keep":
                                continue
                            c2 = CHECKER[((px // 6) + (py // 6)) % 2]
                            self.put(px, py, c2)
                        else:
                            self.put(px, py, c)

    def label(self, x, y, text, colour=INK, size=11, anchor="start"):
        self.labels.append((x, y, text, colour, size, anchor))


def stretch_skin_picture(src, W, H, mask_corners):
    """The controls' nine-slice face (StretchSkinPicture in
    skin/skin_draw.cpp) pixel for pixel, quirks included: rows of colours,
    None where nothing is drawn. Edges and centre always leave out magenta,
    corners only with mask_corners."""
    sh, sw = len(src), len(src[0])
    hw, hh, qw, qh = sw // 2, sh // 2, W // 2, H // 2
    out = [[None] * W for _ in range(H)]

    def blit(rect, w, h, x0, y0, masked):
        l, t, r, b = rect
        for j in range(h):
            for i in range(w):
                c = src[t + j * (b - t) // h][l + i * (r - l) // w]
                if not (masked and c == MAGENTA) and 0 <= y0 + j < H and 0 <= x0 + i < W:
                    out[y0 + j][x0 + i] = c

    def corner(rect, quad, right, bottom):
        l, t, r, b = rect
        cw = max(0, min(r - l, quad[2] - quad[0]))
        ch = max(0, min(b - t, quad[3] - quad[1]))
        x, y = (W - cw if right else 0), (H - ch if bottom else 0)
        if cw > 0 and ch > 0:
            l, r = (r - cw, r) if right else (l, l + cw)
            t, b = (b - ch, b) if bottom else (t, t + ch)
            blit((l, t, r, b), cw, ch, x, y, mask_corners)
        return x, y, x + cw, y + ch

    def stretched(rect, dest, keep):
        l, t, r, b = rect
        w, h = dest[2] - dest[0], dest[3] - dest[1]
        if w <= 0 or h <= 0:
            return
        if keep == "left" and w < r - l:
            r = l + w
        elif keep == "right" and w < r - l:
            l = r - w
        elif keep == "top" and h < b - t:
            b = t + h
        elif keep == "bottom" and h < b - t:
            t = b - h
        if r > l and b > t:
            blit((l, t, r, b), w, h, dest[0], dest[1], True)

    tl = corner((0, 0, hw, hh), (0, 0, qw, qh), False, False)
    bl = corner((0, sh - hh + 1, hw, sh), (0, H - qh + 1, qw, H), False, True)
    stretched((0, hh, hw, sh - hh), (0, tl[3], tl[2], bl[1]), "left")
    tr = corner((sw - hw + 1, 0, sw, hh), (W - qw + 1, 0, W, qh), True, False)
    br = corner((sw - hw + 1, sh - hh + 1, sw, sh), (W - qw + 1, H - qh + 1, W, H), True, True)
    stretched((sw - hw + 1, sh - hh, sw, hh + 2), (tr[0], tr[3], tr[2], br[1]), "right")
    stretched((hw, 0, sw - hw + 1, hh), (tl[2], 0, tr[0], tl[3]), "top")
    stretched((hw, hh, sw - hw + 1, sh - hh), (tl[2], tl[3], tr[0], br[1] - 1), None)
    stretched((hw, sh - hh, sw - hw + 1, sh), (tl[2] - 1, bl[1] - 1, br[0], br[3]), "bottom")
    return out


def frames_of(rows, n):
    w = len(rows[0]) // n
    return [[row[i * w:(i + 1) * w] for row in rows] for i in range(n)]


def stretch_x(rows, tw):
    w = len(rows[0])
    return [[row[x * w // tw] for x in range(tw)] for row in rows]


def load_icon():
    """The installer's own 16x16 icon, to sit in the mock-up's title bar."""
    path = os.path.join(HERE, "..", "make_icon.py")
    spec = importlib.util.spec_from_file_location("make_icon", path)
    mod = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(mod)
    return [[mod.pixel(x, y, 16) for x in range(16)] for y in range(16)]


def mockup(theme, pics, icon):
    """A small window in the theme, drawn the way the controls draw it."""
    name = theme["name"]
    p = lambda kind: pics[f"{name}_{kind}"]  # noqa: E731
    face = stretch_skin_picture
    w = 400
    title = theme["title"]
    th = title["height"]
    body_h = 196
    h = th + body_h
    bg = pics.get(f"{name}_FORM_BACKGROUND")
    img = Sheet(w, h, theme["matte"])
    if bg:
        for y in range(th, h, len(bg)):
            for x in range(0, w, len(bg[0])):
                img.picture(bg, x, y)
    labels = []
    # Title bar: left + stretched client + right, the caption buttons at the
    # row the theme table puts them, blitted as the table says.
    left, client, right = p("TITLE_LEFT"), p("TITLE_CLIENT"), p("TITLE_RIGHT")
    lw, rw = len(left[0]), len(right[0])
    img.picture(left, 0, 0, transparent="keep")
    img.picture(stretch_x(client, w - lw - rw), lw, 0, transparent="keep")
    img.picture(right, w - rw, 0, transparent="keep")
    btn = frames_of(p("TITLEBTN"), 18)
    bw = len(btn[0][0])
    blit = "keep" if theme["caption_transparent"] else "opaque"
    x = w - 6 - bw
    for index in (15, 6, 12):  # close, maximise, minimise (normal state)
        img.picture(btn[index], x, title["button_top"], transparent=blit)
        x -= bw + 2
    ix = 8
    for yy in range(16):
        for xx in range(16):
            r, g, b, a = icon[yy][xx]
            if a:
                img.put(ix + xx, (th - 16) // 2 + yy, (r, g, b))
    labels.append((ix + 22, th // 2 + 5, "Vanto Setup", title["text"], 12, "start"))
    # The window frame below the title bar.
    border, fw = title["border"], title["frame_width"]
    img.rect(0, th, fw, body_h, border)
    img.rect(w - fw, th, fw, body_h, border)
    img.rect(0, h - fw, w, fw, border)
    # Buttons: 91x23 in three states, then 160x30 in three states.
    faces = frames_of(p("BUTTON"), 3)
    corners = theme["button_transparent"]
    texts = ("Normal", "Hover", "Pressed")
    for i, f in enumerate(faces):
        x, y = 14 + i * 100, th + 12
        img.picture(face(f, 91, 23, corners), x, y, transparent="opaque")
        labels.append((x + 45, y + 16, texts[i], theme["text"], 11, "middle"))
    for i, f in enumerate(faces[:2]):
        x, y = 14 + i * 176, th + 46
        img.picture(face(f, 160, 30, corners), x, y, transparent="opaque")
        labels.append((x + 80, y + 20, texts[i], theme["text"], 12, "middle"))
    x, y = 14, th + 86
    img.picture(face(faces[2], 160, 30, corners), x, y, transparent="opaque")
    labels.append((x + 80, y + 20, texts[2], theme["text"], 12, "middle"))
    # Check boxes and radios, unchecked and checked.
    checks = frames_of(p("CHECKBOX"), 4)
    radios = frames_of(p("RADIOBUTTON"), 4)
    for row, (frames, word) in enumerate(((checks, "Check"), (radios, "Radio"))):
        for col in range(2):
            x, y = 190 + col * 100, th + 84 + row * 20
            frame = frames[1 - col]  # frame 1 is checked, frame 2 unchecked
            img.picture(frame, x, y, transparent="keep")
            labels.append((x + len(frame[0]) + 5, y + len(frame) // 2 + 5,
                           f"{word} {'on' if col else 'off'}", theme["text"], 11, "start"))
    # Progress bar at 60 %, a track bar with its slider.
    groove, fill = frames_of(p("PROGRESSBAR"), 2)
    y = th + 132
    img.picture(face(groove, 180, len(groove), True), 14, y, transparent="opaque")
    img.picture(face(fill, 108, len(fill), True), 14, y, transparent="opaque")
    bar = p("TRACKBAR_BAR")
    slider = frames_of(p("TRACKBAR_SLIDER"), 3)[0]
    ty = th + 166
    img.picture(face(bar, 180, len(bar), True), 14, ty + 7, transparent="opaque")
    img.picture(slider, 14 + 120, ty, transparent="keep")
    # A tab row over a page: the selected tab opens into it.
    tabs = frames_of(p("TAB"), 3)
    line = p("TAB_LINE")
    tab_h = len(tabs[0])
    tx, tyy = 212, th + 130
    img.picture(face(line, 176, len(line), True), tx, tyy + tab_h - 1, transparent="opaque")
    img.rect(tx, tyy + tab_h - 1 + len(line), 176, 28, theme["page"])
    for i, t in enumerate((0, 2, 1)):
        img.picture(face(tabs[t], 56, tab_h, True), tx + 4 + i * 58, tyy, transparent="opaque")
    return img, labels


def label_of(name, rows):
    short = name.split("_", 1)[1] if name.split("_", 1)[0] in GROUPS else name
    return f"{short}  {len(rows[0])}x{len(rows)}"


def layout_theme(items, width, label=label_of, char_width=6.6, scale=SCALE):
    """Positions of pictures enlarged scale times and flowed into rows, each
    at least as wide as its label (char_width pixels a character); returns
    placements and height."""
    placed, x, y, row_h = [], 0, 0, 0
    for name, rows in items:
        w, h = len(rows[0]) * scale, len(rows) * scale
        w = max(w, int(len(label(name, rows)) * char_width))
        if x and x + w > width:
            x, y, row_h = 0, y + row_h + 10, 0
        placed.append((name, rows, x, y + LABEL_H))
        x += w + 18
        row_h = max(row_h, h + LABEL_H)
    return placed, y + row_h


def sort_key(prefix):
    def key(name):
        kind = name[len(prefix) + 1:] if prefix else name.split("_", 1)[-1]
        for i, k in enumerate(ORDER):
            if kind == k or kind.endswith(k):
                return (i, name)
        return (len(ORDER), name)
    return key


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: contact_sheet.py OUTDIR SHEET.png")
    outdir, target = sys.argv[1], sys.argv[2]
    # The 24-bit pictures, which the packed forms the rc names hold exactly.
    pics = {name: read_bmp(os.path.join(outdir, name + ".bmp")) for name, _ in
            read_rc(os.path.join(outdir, "theme_pictures.rc"))}
    icon = load_icon()
    themes = {t["name"]: t for t in art.THEMES}
    groups, rest = [], set(pics)
    for theme in art.THEMES:
        names = sorted((n for n in pics if n.startswith(theme["name"] + "_")),
                       key=sort_key(theme["name"]))
        rest -= set(names)
        groups.append((theme["name"], names))
    groups.append(("SHARED", sorted(rest)))

    inner_w = SHEET_W - 2 * MARGIN
    blocks, total = [], MARGIN
    for title, names in groups:
        placed, h = layout_theme([(n, pics[n]) for n in names], inner_w)
        mock = mockup(themes[title], pics, icon) if title in themes else None
        mock_h = (mock[0].h * 2 + 30) if mock else 0
        blocks.append((title, placed, h, mock))
        total += 30 + h + 16 + mock_h + 20
    sheet = Sheet(SHEET_W, total, BACKGROUND)
    y = MARGIN
    for title, placed, h, mock in blocks:
        sheet.rect(0, y, SHEET_W, 24, (60, 64, 70))
        sheet.label(MARGIN, y + 17, title, (255, 255, 255), 14)
        y += 30
        for name, rows, px, py in placed:
            sheet.label(MARGIN + px, y + py - 4, label_of(name, rows))
            sheet.picture(rows, MARGIN + px, y + py, SCALE)
        y += h + 16
        if mock:
            img, labels = mock
            sheet.label(MARGIN, y + 10, "In use: a 400-pixel window, shown at 2x", INK, 11)
            y += 16
            for yy in range(img.h):
                for xx in range(img.w):
                    c = img.get(xx, yy)
                    for dx, dy in ((0, 0), (1, 0), (0, 1), (1, 1)):
                        sheet.put(MARGIN + 2 * xx + dx, y + 2 * yy + dy, c)
            for lx, ly, text, colour, size, anchor in labels:
                sheet.label(MARGIN + 2 * lx, y + 2 * ly - 2, text, colour, size * 2, anchor)
            y += img.h * 2 + 14
        y += 20

    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "sheet.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (sheet.w, sheet.h))
            f.write(sheet.buf)
        # Debian's ImageMagick policy refuses "@file" arguments, so the
        # drawing primitives travel inline as one argument.
        draw = ["font 'DejaVu-Sans'"]
        for x, y, text, colour, size, anchor in sheet.labels:
            draw.append(f"fill '#{colour[0]:02x}{colour[1]:02x}{colour[2]:02x}' "
                        f"font-size {size} text-anchor {anchor} text {x},{y} '{text}'")
        # A fixed row filter packs this sheet (nearest-neighbour enlargements,
        # gradients) some 15 % smaller than the encoder's adaptive choice.
        subprocess.run(["convert", ppm, "-draw", "\n".join(draw), "-strip",
                        "-define", "png:compression-level=9",
                        "-define", "png:compression-filter=1",
                        "-define", "png:compression-strategy=0", target], check=True)


if __name__ == "__main__":
    main()
