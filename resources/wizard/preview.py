#!/usr/bin/env python3
"""Puts the wizard pictures written by make_wizard_pictures.py where the
wizard shows them, on a mock-up of each of its six pages at the window's
real client size (642 x 490), and lays the six out 3 x 2 on one sheet for
review. The pages carry no text: grey bars stand where the wizard's layout
has its labels, and the controls near the pictures (the wizard's buttons,
the folder box with its button, the progress bar, the check boxes) are
drawn bare, so each picture is judged in the company it keeps.

Usage: preview.py OUTDIR SHEET.png
OUTDIR is make_wizard_pictures.py's output. JPEG pictures are decoded by
ImageMagick's `convert`, which also writes the PNG; the sheet's page labels
are the only text, and they sit outside the mock-ups."""
import os
import re
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
import make_wizard_pictures as art  # noqa: E402  (the page colour, the names' slots)

WIN_W, WIN_H = 642, 490
HEADER_H = 64
PAGE_X, PAGE_Y, PAGE_W, PAGE_H = 1, 64, 640, 377
PANEL_X, PANEL_Y, PANEL_W, PANEL_H = 0, 440, 641, 49
LOGO_AT = (504, 21)

# Where each page puts its pictures, by wizard slot; positions are inside
# the page area. The logo is in the header of every page but the first.
PAGES = [
    ("0  Welcome", [("Image5", 56, 7), ("Image2", 24, 304)]),
    ("1  Licence", [("Image4", 0, 0), ("Image1", 240, 104), ("Image11", 0, 24)]),
    ("2  Folder", [("Image6", -1, 0), ("Image10", 0, 24)]),
    ("3  Confirm", [("Image7", -1, 0), ("Image9", 0, 24)]),
    ("4  Copying", [("Image8", -1, 0)]),
    ("5  Done", [("Image3", 80, 129)]),
]

MARGIN = 24
GAP = 24
CAPTION_H = 22
SHEET_BG = (196, 201, 208)
FRAME = (92, 100, 112)
INK = (36, 40, 48)

RC_LINE = re.compile(r'^([A-Z0-9_]+) (?:BITMAP|RCDATA) "([^"]+)"$')


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    w, h = struct.unpack_from("<ii", data, 18)
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(abs(h)):
        base = offset + (abs(h) - 1 - y if h > 0 else y) * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                     for x in range(w)])
    return rows


def read_jpeg(path):
    """Decoded by convert into a binary PPM: the pixels the program will
    get, artefacts included."""
    ppm = subprocess.run(["convert", path, "ppm:-"], check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        if ppm[pos:pos + 1] == b"#":
            pos = ppm.index(b"\n", pos)
            continue
        end = pos
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[pos:end])
        pos = end
    pos += 1
    w, h, maxval = int(fields[1]), int(fields[2]), int(fields[3])
    assert fields[0] == b"P6" and maxval == 255, "unexpected PPM from convert"
    return [[tuple(ppm[pos + (y * w + x) * 3:pos + (y * w + x) * 3 + 3]) for x in range(w)]
            for y in range(h)]


def load_pictures(outdir):
    """slot -> rows, through the resource script as the program would; a
    BMP from its 24-bit picture, which its packed form holds exactly."""
    files = {}
    with open(os.path.join(outdir, "wizard_pictures.rc")) as f:
        for line in f:
            m = RC_LINE.match(line.strip())
            if m:
                files[m.group(1)] = m.group(2)
    pics = {}
    for name, _, _, slot in art.PICTURES:
        if files[name].lower().endswith(".jpg"):
            pics[slot] = read_jpeg(os.path.join(outdir, files[name]))
        else:
            pics[slot] = read_bmp(os.path.join(outdir, name + ".bmp"))
    return pics


class Image:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.buf = bytearray(bytes(colour) * (w * h))

    def rect(self, x0, y0, w, h, colour, clip=None):
        cx0, cy0, cx1, cy1 = clip or (0, 0, self.w, self.h)
        xa, xb = max(x0, cx0), min(x0 + w, cx1)
        if xb <= xa:
            return
        row = bytes(colour) * (xb - xa)
        for y in range(max(y0, cy0), min(y0 + h, cy1)):
            i = (y * self.w + xa) * 3
            self.buf[i:i + len(row)] = row

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            i = (y * self.w + x) * 3
            self.buf[i:i + 3] = bytes(colour)

    def picture(self, rows, x0, y0, clip=None):
        """Blits rows at (x0, y0), cut to clip (x0, y0, x1, y1) as a control
        is cut to its parent. None pixels are see-through."""
        cx0, cy0, cx1, cy1 = clip or (0, 0, self.w, self.h)
        for y, row in enumerate(rows):
            if not cy0 <= y0 + y < cy1:
                continue
            for x, c in enumerate(row):
                if c is not None and cx0 <= x0 + x < cx1:
                    self.put(x0 + x, y0 + y, c)

    def paste(self, other, x0, y0):
        for y in range(other.h):
            i = ((y0 + y) * self.w + x0) * 3
            self.buf[i:i + other.w * 3] = other.buf[y * other.w * 3:(y + 1) * other.w * 3]


def blank_button(img, x, y, w, h=23):
    """An unlabelled Windows XP push button."""
    img.rect(x + 1, y, w - 2, h, (0, 60, 116))
    img.rect(x, y + 1, w, h - 2, (0, 60, 116))
    for j in range(1, h - 1):
        t = j / (h - 2)
        c = tuple(int(a + (b - a) * t) for a, b in zip((255, 255, 255), (226, 223, 214)))
        img.rect(x + 1, y + j, w - 2, 1, c)
    img.rect(x + 2, y + h - 3, w - 4, 1, (214, 208, 197))
    img.rect(x + 2, y + h - 2, w - 4, 1, (200, 194, 182))


def framed(img, x, y, w, h, border, inside):
    img.rect(x, y, w, h, border)
    img.rect(x + 1, y + 1, w - 2, h - 2, inside)


# Greeked text and bare controls where the wizard's layout has its labels
# and controls, so the pictures are judged in the company they keep. Page
# coordinates; (x, y, width, height of the bar, colour) per line of text.
TEXT = (214, 220, 228)
TITLE = (180, 188, 200)
LINK = (255, 196, 112)
GHOSTS = [
    [(208, 5, 190, 12, TITLE), (208, 37, 150, 9, TEXT), (208, 71, 336, 9, TEXT),
     (208, 91, 292, 9, TEXT), (208, 119, 118, 9, TEXT)],
    [(218, 330, 40, 8, TEXT), (264, 330, 108, 8, LINK), (378, 330, 190, 8, TEXT)],
    [(176, 184, 236, 8, TEXT)],
    [(224, 162, 56, 8, TEXT), (224, 194, 68, 8, TEXT), (320, 194, 180, 8, TEXT)],
    [(200, 150, 78, 8, TEXT), (200, 174, 176, 8, TEXT)],
    [(200, 118, 196, 10, TITLE), (200, 150, 150, 8, TEXT), (220, 182, 84, 8, TEXT),
     (220, 210, 120, 8, TEXT)],
]


def page_controls(img, index, pics, ox, oy):
    """The controls of a page that sit near its pictures, without text."""
    if index == 2:  # the folder box and its button (mouse over on the sheet)
        framed(img, ox + 176, oy + 212, 385, 23, (127, 157, 185), (255, 255, 255))
        face = pics["suiImageButton1.PicNormal"]
        cut = face[0][0]
        img.picture([[None if c == cut else c for c in row] for row in face], ox + 562, oy + 213)
    if index == 4:  # the progress bar, a third of the way
        framed(img, ox + 200, oy + 200, 393, 18, (150, 162, 176), (255, 255, 255))
        for k in range(0, 130, 9):
            img.rect(ox + 203 + k, oy + 203, 7, 12, (84, 190, 92))
    if index == 5:  # the two check boxes, ticked
        for y in (180, 208):
            framed(img, ox + 203, oy + y + 2, 13, 13, (28, 81, 128), (246, 246, 242))
            for i, j in ((3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)):
                img.rect(ox + 203 + i, oy + y + 2 + j, 1, 2, (33, 161, 33))


def page_mockup(index, placements, pics):
    img = Image(WIN_W, WIN_H, (236, 233, 216))
    img.rect(0, 0, WIN_W, HEADER_H, art.HEADER)
    if index > 0:
        img.rect(16, 16, 112, 11, TITLE)
        img.rect(16, 38, 200, 8, TEXT)
        img.picture(pics["gImage10"], *LOGO_AT)
    clip = (PAGE_X, PAGE_Y, PAGE_X + PAGE_W, PAGE_Y + PAGE_H)
    img.rect(PAGE_X, PAGE_Y, PAGE_W, PAGE_H, art.PAGE)
    for x, y, w, h, colour in GHOSTS[index]:
        img.rect(PAGE_X + x, PAGE_Y + y, w, h, colour)
    page_controls(img, index, pics, PAGE_X, PAGE_Y)
    for slot, x, y in placements:
        img.picture(pics[slot], PAGE_X + x, PAGE_Y + y, clip)
    img.rect(PANEL_X, PANEL_Y, PANEL_W, PANEL_H, art.ORANGE)
    img.rect(PANEL_X + 14, PANEL_Y + 19, 36, 7, (255, 226, 180))   # version
    img.rect(PANEL_X + 60, PANEL_Y + 19, 64, 7, (255, 226, 180))   # date
    by = PANEL_Y + 15
    if 1 <= index <= 3:
        blank_button(img, PANEL_X + 334, by, 91)                   # back
    if index != 4:
        blank_button(img, PANEL_X + 440, by, 89)                   # next / agree / finish
    if index != 5:
        blank_button(img, PANEL_X + 544, by, 91)                   # cancel
    return img


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: preview.py OUTDIR SHEET.png")
    outdir, target = sys.argv[1], sys.argv[2]
    pics = load_pictures(outdir)
    cols, rows = 3, 2
    cell_w, cell_h = WIN_W + 2, WIN_H + 2 + CAPTION_H
    sheet = Image(2 * MARGIN + cols * cell_w + (cols - 1) * GAP,
                  2 * MARGIN + rows * cell_h + (rows - 1) * GAP, SHEET_BG)
    labels = []
    for i, (title, placements) in enumerate(PAGES):
        x = MARGIN + (i % cols) * (cell_w + GAP)
        y = MARGIN + (i // cols) * (cell_h + GAP)
        labels.append((x, y + 15, title))
        y += CAPTION_H
        sheet.rect(x, y, cell_w, cell_h - CAPTION_H, FRAME)
        sheet.paste(page_mockup(i, placements, pics), x + 1, y + 1)

    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "sheet.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (sheet.w, sheet.h))
            f.write(sheet.buf)
        draw = ["font 'DejaVu-Sans' font-size 14 fill '#%02x%02x%02x'" % INK]
        draw += [f"text {x},{y} '{t}'" for x, y, t in labels]
        subprocess.run(["convert", ppm, "-draw", " ".join(draw), "-strip",
                        "-define", "png:compression-level=9", target], check=True)


if __name__ == "__main__":
    main()
