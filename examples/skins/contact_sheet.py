#!/usr/bin/env python3
"""Lays the pictures of both example skins out on one sheet for review:
every picture enlarged 2x (nearest neighbour) and labelled, and per skin a
mock-up window (and a drop-down menu) that puts the pictures and the skin's colours and integers
together the way a skinned form uses them (title bar with icon, caption and
buttons, borders, menu bar, tool bar, push buttons in their three states,
check boxes, radios, a group box, progress, track and scroll bars, tabs),
once at 2x to see every pixel and once at 1x to judge it as it will be seen.

Usage: contact_sheet.py SHEET.png
The pictures are drawn by make_skin_pictures.py in-process; the integers
and colours come from jade/skin.toml and ember/skin.toml, so the mock-up
shows the caption, icon and buttons where those values put them.
ImageMagick's `convert` only sets the labels and writes the PNG.
Transparent (magenta) pixels show as a light checkerboard among the single
pictures and as the sheet's background around the mock-up window."""
import os
import subprocess
import sys
import tempfile
import tomllib
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
sys.path.insert(0, HERE)
import make_skin_pictures as skins  # noqa: E402


def _load_theme_sheet():
    """The theme pictures' contact sheet, loaded by path: its module name is
    this script's own."""
    path = os.path.join(HERE, "..", "..", "resources", "skin", "contact_sheet.py")
    module = types.ModuleType("theme_contact_sheet")
    module.__file__ = path
    sys.modules[module.__name__] = module
    with open(path, encoding="utf-8") as f:
        exec(compile(f.read(), path, "exec"), module.__dict__)
    return module


sheet_art = _load_theme_sheet()
Sheet, frames_of, stretch_x = sheet_art.Sheet, sheet_art.frames_of, sheet_art.stretch_x
face = sheet_art.stretch_skin_picture

SHEET_W = 1240
MARGIN = 16
LABEL_H = 15
SCALE = 2
BACKGROUND = (206, 206, 206)
DESKTOP = (92, 110, 128)
INK = (36, 36, 36)
FONT = "DejaVu-Sans"
BOLD = "DejaVu-Sans-Bold"

ORDER = ["TITLEBAR1", "TITLEBAR2", "TITLEBAR3", "TITLEBAR4", "TITLEBAR5", "MINIMIZEDTITLE",
         "TITLEBUTTONS", "FORMLEFTBORDER", "FORMRIGHTBORDER", "FORMBOTTOMBORDER1",
         "FORMBOTTOMBORDER2", "FORMBOTTOMBORDER3", "BUTTON", "CHECKBOX", "CHECKBOXLIST",
         "RADIOBUTTON", "PROGRESSBAR1", "PROGRESSBAR2", "PROGRESSBAR3", "PROGRESSBAR4",
         "TRACKBAR", "TRACKBARSLIDER", "TRACKBARVSLIDER", "SCROLLBARUPBUTTON", "SCROLLBAR",
         "SCROLLBARDOWNBUTTON", "SCROLLBUTTON", "TABCONTROL", "TABCONTROLLINE",
         "SIDECHANNELBAR", "SIDECHANNELTITLE", "MENUBAR", "TOOLBAR", "CHECKEDMENUICON"]


def colour_of(value):
    if isinstance(value, str):
        return skins.hexc(value)
    return (value & 255, (value >> 8) & 255, (value >> 16) & 255)


def stretch_y(rows, th):
    h = len(rows)
    return [list(rows[y * h // th]) for y in range(th)]


def transpose(rows):
    return [list(col) for col in zip(*rows)]


def label_of(name, rows):
    return f"{name[len('SKIN2_'):]}  {len(rows[0])}x{len(rows)}"


def layout(items, width):
    """Pictures flowed into rows: placements and the height they take."""
    return sheet_art.layout_theme(items, width, label_of, 7.4, SCALE)


class Labels:
    """Texts for convert, placed in the coordinates of a mock-up and moved
    and scaled with it onto the sheet."""

    def __init__(self):
        self.items = []

    def add(self, x, y, text, colour, size=11, anchor="start", font=FONT):
        self.items.append((x, y, text, colour, size, anchor, font))

    def placed(self, ox, oy, scale):
        return [(ox + scale * x, oy + scale * y, t, c, s * scale, a, f)
                for x, y, t, c, s, a, f in self.items]


def mockup(palette, pics, toml, icon):
    """A 380x300 window in the skin, drawn as a skinned form draws one."""
    p = lambda kind: pics["SKIN2_" + kind]  # noqa: E731
    col = lambda key: colour_of(toml["colors"]["SKIN2_" + key])  # noqa: E731
    num = lambda key: toml["integers"]["SKIN2_" + key]  # noqa: E731
    flag = lambda key: toml["flags"]["SKIN2_" + key]  # noqa: E731
    w, h = 380, 300
    img = Sheet(w, h, DESKTOP)
    labels = Labels()

    # Frame: title bar in three sections, side borders, bottom border.
    t1, t2, t3 = p("TITLEBAR1"), p("TITLEBAR2"), p("TITLEBAR3")
    th = len(t1)
    left, right = p("FORMLEFTBORDER"), p("FORMRIGHTBORDER")
    b1, b2, b3 = p("FORMBOTTOMBORDER1"), p("FORMBOTTOMBORDER2"), p("FORMBOTTOMBORDER3")
    bh = len(b1)
    img.rect(len(left[0]), th, w - len(left[0]) - len(right[0]), h - th - bh, col("FORMCOLOR"))
    img.picture(t1, 0, 0, transparent="keep")
    img.picture(stretch_x(t2, w - len(t1[0]) - len(t3[0])), len(t1[0]), 0, transparent="keep")
    img.picture(t3, w - len(t3[0]), 0, transparent="keep")
    img.picture(stretch_y(left, h - th - bh), 0, th, transparent="keep")
    img.picture(stretch_y(right, h - th - bh), w - len(right[0]), th, transparent="keep")
    img.picture(b1, 0, h - bh, transparent="keep")
    img.picture(stretch_x(b2, w - len(b1[0]) - len(b3[0])), len(b1[0]), h - bh, transparent="keep")
    img.picture(b3, w - len(b3[0]), h - bh, transparent="keep")

    ix, iy = num("TITLEBARICONPOSX"), num("TITLEBARICONPOSY")
    for yy in range(16):
        for xx in range(16):
            r, g, b, a = icon[yy][xx]
            if a:
                img.put(ix + xx, iy + yy, (r, g, b))
    # convert places text by its baseline; an 11-px caption's cap height
    # sits some 10 px below its top.
    labels.add(ix + 22, num("TITLEBARCAPTIONTOP") + 10, "Vanto Setup", col("TITLEFONTCOLOR"),
               11, font=BOLD)
    btn = frames_of(p("TITLEBUTTONS"), 18)
    bw = len(btn[0][0])
    blit = "keep" if flag("TITLEBTNTRANS") else "opaque"
    x = w - num("TITLEBARBUTTONPOSX") - bw
    for index in (15, 7, 12):  # close, maximise (over), minimise
        img.picture(btn[index], x, num("TITLEBARBUTTONPOSY"), transparent=blit)
        x -= bw + 1

    cl = len(left[0])
    cw = w - cl - len(right[0])
    y = th
    # Menu bar with the first item opened.
    mb = p("MENUBAR")
    img.picture(stretch_x(mb, cw), cl, y)
    mx = cl + 4
    for i, word in enumerate(("File", "Edit", "View", "Help")):
        tw = 8 + 7 * len(word)
        if i == 1:
            img.rect(mx, y + 2, tw, len(mb) - 4, col("TOPSELECTEDMENUBORDERCOLOR"))
            img.rect(mx + 1, y + 3, tw - 2, len(mb) - 6, col("TOPSELECTEDMENUCOLOR"))
        fc = col("TOPSELECTEDMENUFONTCOLOR") if i == 1 else col("TOPMENUFONTCOLOR")
        labels.add(mx + tw // 2, y + 15, word, fc, 11, "middle")
        mx += tw + 2
    y += len(mb)
    tb = p("TOOLBAR")
    img.picture(stretch_x(tb, cw), cl, y)
    for i in range(5):
        bx = cl + 5 + i * 24
        if i == 2:
            img.rect(bx, y + 2, 22, 22, col("TOOLBARBORDERCOLOR"))
            img.rect(bx + 1, y + 3, 20, 20, col("TOOLBARONCOLOR"))
        img.rect(bx + 6, y + 8, 10, 10, col("CONTROLBORDERCOLOR"))
        img.rect(bx + 7, y + 9, 8, 8, mix_c(col("CONTROLBORDERCOLOR"), col("FORMCOLOR"), 0.5))
    y += len(tb)

    # Push buttons in their three states, captions in the button font colour.
    faces = frames_of(p("BUTTON"), 3)
    corners = flag("BUTTONTRANS")
    for i, (f, text) in enumerate(zip(faces, ("Normal", "Hover", "Pressed"))):
        bx, by = cl + 10 + i * 84, y + 10
        img.picture(face(f, 76, 23, corners), bx, by, transparent="keep")
        labels.add(bx + 38 + (1 if i == 2 else 0), by + 16 + (1 if i == 2 else 0), text,
                   col("BUTTONFONTCOLOR"), 11, "middle")
    bx, by = cl + 10, y + 40
    img.picture(face(faces[0], 160, 30, corners), bx, by, transparent="keep")
    labels.add(bx + 80, by + 19, "Install", col("BUTTONFONTCOLOR"), 12, "middle")

    # Group box with check boxes and radios.
    gx, gy, gw, gh = cl + 10, y + 80, 166, 104
    border = col("CONTROLBORDERCOLOR")
    img.rect(gx, gy, gw, 1, border)
    img.rect(gx, gy + gh - 1, gw, 1, border)
    img.rect(gx, gy, 1, gh, border)
    img.rect(gx + gw - 1, gy, 1, gh, border)
    img.rect(gx + 8, gy - 1, 60, 3, col("FORMCOLOR"))
    labels.add(gx + 11, gy + 4, "Options", col("CONTROLFONTCOLOR"), 11)
    checks = frames_of(p("CHECKBOX"), 6)
    radios = frames_of(p("RADIOBUTTON"), 4)
    tr = "keep" if flag("CHECKBOXTRANS") else "opaque"
    rtr = "keep" if flag("RADIOBUTTONTRANS") else "opaque"
    # Check frames: checked, greyed, unchecked, then disabled; radio
    # frames: checked, unchecked, then disabled.
    items = [(checks[2], "Desktop", tr), (checks[0], "Start menu", tr),
             (checks[1], "Some parts", tr), (checks[3], "Disabled", tr),
             (radios[0], "Typical", rtr), (radios[1], "Custom", rtr)]
    for i, (frame, text, mode) in enumerate(items):
        cx, cy = gx + 10, gy + 12 + i * 15
        if i >= 4:
            cx, cy = gx + 96, gy + 12 + (i - 4) * 15
        img.picture(frame, cx, cy, transparent=mode)
        fc = col("CONTROLFONTCOLOR")
        if text == "Disabled":
            fc = mix_c(fc, col("FORMCOLOR"), 0.55)
        labels.add(cx + 18, cy + 11, text, fc, 11)

    # Progress bars, horizontal and vertical, and a track bar.
    groove, fill = p("PROGRESSBAR1"), p("PROGRESSBAR2")
    py = gy + gh + 8
    img.picture(face(groove, 166, len(groove), True), gx, py, transparent="keep")
    img.picture(face(fill, 104, len(fill), True), gx, py, transparent="keep")
    vg, vf = p("PROGRESSBAR3"), p("PROGRESSBAR4")
    vx = cl + 190
    img.picture(face(vg, len(vg[0]), 118, True), vx, y + 80, transparent="keep")
    img.picture(face(vf, len(vf[0]), 70, True), vx, y + 80 + 48, transparent="keep")
    bar = p("TRACKBAR")
    img.picture(face(bar, 130, len(bar), True), vx + 24, py + 4, transparent="keep")
    slider = frames_of(p("TRACKBARSLIDER"), 3)[1]
    img.picture(slider, vx + 24 + 80, py - 3, transparent="keep")

    # Tabs over a page.
    tabs = frames_of(p("TABCONTROL"), 3)
    line = p("TABCONTROLLINE")
    tab_h = len(tabs[0])
    tx, ty, tw = cl + 212, y + 80, 134
    ttr = "keep" if flag("TABCONTROLTRANS") else "opaque"
    img.picture(face(line, tw, len(line), True), tx, ty + tab_h - 1, transparent="opaque")
    img.rect(tx, ty + tab_h - 1 + len(line), tw, 36, col("TABCONTROLCOLOR"))
    for i, (t, text) in enumerate(((0, "Files"), (2, "Folder"), (1, "More"))):
        img.picture(face(tabs[t], 44, tab_h, True), tx + 2 + i * 44, ty, transparent=ttr)
        fc = col("TABCONTROLACTIVEFONTCOLOR" if t == 2 else "TABCONTROLINACTIVEFONTCOLOR")
        labels.add(tx + 24 + i * 44, ty + 15 + (0 if t == 2 else 1), text, fc, 10, "middle")
    # A side channel bar with its grip.
    sx = cl + cw - 14
    sbar = p("SIDECHANNELBAR")
    img.picture(face(sbar, len(sbar[0]), 170, True), sx, y + 10, transparent="keep")
    grip = frames_of(p("SIDECHANNELTITLE"), 3)[0]
    img.picture(face(grip, len(grip[0]), 60, True), sx, y + 30, transparent="keep")

    # A vertical scroll bar beside the tabs' page.
    up = frames_of(p("SCROLLBARUPBUTTON"), 3)[0]
    down = frames_of(p("SCROLLBARDOWNBUTTON"), 3)[2]
    track, thumb = frames_of(p("SCROLLBAR"), 4)[0], frames_of(p("SCROLLBAR"), 4)[1]
    sx2, sy = cl + 290, y + 10
    img.picture(up, sx2, sy, transparent="keep")
    img.picture(face(track, 17, 30, True), sx2, sy + 17, transparent="keep")
    img.picture(face(thumb, 17, 14, True), sx2, sy + 21, transparent="keep")
    img.picture(down, sx2, sy + 47, transparent="keep")
    # And a horizontal one: the same pictures turned.
    hx, hy = cl + 180, y + 50
    img.picture(transpose(up), hx, hy, transparent="keep")
    img.picture(transpose(face(track, 17, 66, True)), hx + 17, hy, transparent="keep")
    img.picture(transpose(face(frames_of(p("SCROLLBAR"), 4)[2], 17, 24, True)), hx + 30, hy,
                transparent="keep")
    img.picture(transpose(frames_of(p("SCROLLBARDOWNBUTTON"), 3)[0]), hx + 83, hy,
                transparent="keep")
    return img, labels


def popup_menu(pics, toml):
    """A drop-down menu: left bar, items, a selected item, checked items."""
    col = lambda key: colour_of(toml["colors"]["SKIN2_" + key])  # noqa: E731
    items = [("Undo", False, False), ("Cut", False, True), ("Copy", False, False), None,
             ("Word wrap", True, False), ("Status bar", True, True), ("Ruler", False, False)]
    w, bar, item_h = 124, 22, 20
    h = 2 + sum(6 if it is None else item_h for it in items)
    img = Sheet(w, h, col("MENUITEMCOLOR"))
    labels = Labels()
    border = col("CONTROLBORDERCOLOR")
    start, end = col("LEFTBARSTARTCOLOR"), col("LEFTBARENDCOLOR")
    for yy in range(1, h - 1):
        img.rect(1, yy, bar, 1, mix_c(start, end, (yy - 1) / (h - 3)))
    img.rect(0, 0, w, 1, border)
    img.rect(0, h - 1, w, 1, border)
    img.rect(0, 0, 1, h, border)
    img.rect(w - 1, 0, 1, h, border)
    check = pics["SKIN2_CHECKEDMENUICON"]
    y = 1
    for it in items:
        if it is None:
            img.rect(bar + 6, y + 3, w - bar - 10, 1, border)
            y += 6
            continue
        text, checked, selected = it
        font = col("MENUITEMFONTCOLOR")
        if selected:
            img.rect(2, y + 1, w - 4, item_h - 2, col("SELECTEDMENUBORDERCOLOR"))
            img.rect(3, y + 2, w - 6, item_h - 4, col("SELECTEDMENUCOLOR"))
            font = col("SELECTEDMENUFONTCOLOR")
        if checked:
            img.picture(check, 4, y + 2, transparent="keep")
        labels.add(bar + 8, y + 14, text, font, 11)
        y += item_h
    return img, labels


def mix_c(a, b, t):
    return tuple(int(x + (y - x) * t + 0.5) for x, y in zip(a, b))


def render(sheet, labels, target):
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "sheet.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (sheet.w, sheet.h))
            f.write(sheet.buf)
        # Debian's ImageMagick policy refuses "@file" arguments, so the
        # drawing primitives travel inline as one argument.
        draw = []
        for x, y, text, colour, size, anchor, font in labels:
            draw.append(f"font '{font}' fill '#{colour[0]:02x}{colour[1]:02x}{colour[2]:02x}' "
                        f"font-size {size} text-anchor {anchor} text {x},{y} '{text}'")
        subprocess.run(["convert", ppm, "-draw", "\n".join(draw), "-strip",
                        "-define", "png:compression-level=9",
                        "-define", "png:compression-filter=1",
                        "-define", "png:compression-strategy=0", target], check=True)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: contact_sheet.py SHEET.png")
    target = sys.argv[1]
    icon = sheet_art.load_icon()
    inner_w = SHEET_W - 2 * MARGIN
    blocks, total = [], MARGIN
    for key in ("jade", "ember"):
        palette = skins.SKINS[key]
        with open(os.path.join(HERE, key, "skin.toml"), "rb") as f:
            toml = tomllib.load(f)
        pics = skins.skin_pictures(palette)
        names = sorted(pics, key=lambda n: ORDER.index(n[len("SKIN2_"):]))
        placed, h = layout([(n, pics[n]) for n in names], inner_w)
        mock = mockup(palette, pics, toml, icon)
        menu = popup_menu(pics, toml)
        blocks.append((toml["strings"]["SKIN_NAME"], placed, h, mock, menu))
        total += 30 + h + 16 + 16 + mock[0].h * 2 + 34
    sheet = Sheet(SHEET_W, total, BACKGROUND)
    labels = []
    y = MARGIN
    for title, placed, h, (img, mock_labels), (menu, menu_labels) in blocks:
        sheet.rect(0, y, SHEET_W, 24, (60, 64, 70))
        labels.append((MARGIN, y + 17, title, (255, 255, 255), 14, "start", BOLD))
        y += 30
        for name, rows, px, py in placed:
            labels.append((MARGIN + px, y + py - 4, label_of(name, rows), INK, 11, "start", FONT))
            sheet.picture(rows, MARGIN + px, y + py, SCALE)
        y += h + 16
        labels.append((MARGIN, y + 10, "In use: a 380x300 window and a menu at 2x, and at 1x",
                       INK, 11, "start", FONT))
        y += 16
        for yy in range(img.h):
            for xx in range(img.w):
                c = img.get(xx, yy)
                for dx, dy in ((0, 0), (1, 0), (0, 1), (1, 1)):
                    sheet.put(MARGIN + 2 * xx + dx, y + 2 * yy + dy, c)
        labels.extend(mock_labels.placed(MARGIN, y, 2))
        # Beside it: the drop-down menu at 2x and 1x, and the window at 1x.
        x1 = MARGIN + 2 * img.w + 24
        for yy in range(menu.h):
            for xx in range(menu.w):
                c = menu.get(xx, yy)
                for dx, dy in ((0, 0), (1, 0), (0, 1), (1, 1)):
                    sheet.put(x1 + 2 * xx + dx, y + 2 * yy + dy, c)
                sheet.put(x1 + 2 * menu.w + 16 + xx, y + yy, c)
        labels.extend(menu_labels.placed(x1, y, 2))
        labels.extend(menu_labels.placed(x1 + 2 * menu.w + 16, y, 1))
        y1 = y + 2 * img.h - img.h
        for yy in range(img.h):
            for xx in range(img.w):
                sheet.put(x1 + xx, y1 + yy, img.get(xx, yy))
        labels.extend(mock_labels.placed(x1, y1, 1))
        y += img.h * 2 + 34
    render(sheet, labels, target)


if __name__ == "__main__":
    main()
