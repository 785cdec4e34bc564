#!/usr/bin/env python3
"""Checks a skin folder before `mkskin pack` turns it into a skin file:
every picture entry of the skin vocabulary is there as NAME.bmp and nothing
else is, each is a plain 24-bit BMP, strips divide into their frames, and
the sizes are those of the built-in pictures of the same role, so the
controls cut them the same way. Faces the nine-slice stretches must be
drawn for it, and no pixel may be blended towards the see-through colour.

When the folder holds its skin.toml (a staged skin does), the values that
describe the pictures are checked against them too: the see-through
colour, the title bar and bottom border rows that hold cut-out pixels, the
transparency flags of buttons and title buttons, and where the icon, the
caption and the title buttons are put.

Usage: check_skin_pictures.py DIR
Prints one line per fault and exits 1 if there is any."""
import os
import re
import struct
import sys
import tomllib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "..", "resources"))
import bmp24  # noqa: E402  (shared with the other picture scripts)

ITEMS_SOURCE = os.path.join(HERE, "..", "..", "skin", "sui_skin_items.cpp")
KIND_COUNTS = (("colors", 32), ("pictures", 34), ("integers", 9), ("flags", 9))

# (frames, frame width, frame height); None where the size is free. Kept
# apart from the generator's own numbers on purpose: a slip there must not
# pass here. The sizes are the built-in pictures' (resources/skin): title
# buttons, push buttons and boxes as the DeepBlue and Protein themes',
# the other parts as every theme's.
SIZES = {
    "TITLEBUTTONS": (18, 19, 19),
    "BUTTON": (3, 74, 21),
    "CHECKBOX": (6, 13, 13),
    "CHECKBOXLIST": (3, 13, 13),
    "RADIOBUTTON": (4, 13, 13),
    "PROGRESSBAR1": (1, 24, 13),
    "PROGRESSBAR2": (1, 24, 13),
    "PROGRESSBAR3": (1, 13, 25),
    "PROGRESSBAR4": (1, 13, 25),
    "TRACKBAR": (1, 24, 5),
    "TRACKBARSLIDER": (3, 11, 19),
    "TRACKBARVSLIDER": (3, 19, 11),
    "SCROLLBARUPBUTTON": (3, 17, 17),
    "SCROLLBARDOWNBUTTON": (3, 17, 17),
    "SCROLLBAR": (4, 17, 17),
    "SCROLLBUTTON": (4, 17, 17),
    "TABCONTROL": (3, 28, 21),
    "TABCONTROLLINE": (1, 8, 3),
    "SIDECHANNELBAR": (1, 12, 17),
    "SIDECHANNELTITLE": (3, 12, 49),
    "CHECKEDMENUICON": (1, 16, 16),
    "MENUBAR": (1, None, 22),
    "TOOLBAR": (1, None, None),
    "TITLEBAR1": (1, None, None),
    "TITLEBAR2": (1, None, None),
    "TITLEBAR3": (1, None, None),
    "TITLEBAR4": (1, None, None),
    "TITLEBAR5": (1, None, None),
    "MINIMIZEDTITLE": (1, None, None),
    "FORMLEFTBORDER": (1, None, None),
    "FORMRIGHTBORDER": (1, None, None),
    "FORMBOTTOMBORDER1": (1, None, None),
    "FORMBOTTOMBORDER2": (1, None, None),
    "FORMBOTTOMBORDER3": (1, None, None),
}

# Faces drawn by the nine-slice (StretchSkinPicture, skin/skin_draw.cpp). It
# takes the centre from row h/2 and the right edge from row h/2 + 1, so the
# two must be equal, and with an even height the centre has no rows at all.
STRETCHED = ("BUTTON", "PROGRESSBAR1", "PROGRESSBAR2", "PROGRESSBAR3", "PROGRESSBAR4",
             "TRACKBAR", "SCROLLBAR", "TABCONTROL", "TABCONTROLLINE", "SIDECHANNELBAR",
             "SIDECHANNELTITLE")
# Vertical bars, whose gradient runs across their width: the nine-slice
# draws their bottom edge from one column left of the corners' inner line,
# with the centre columns, so columns w/2 - 1 to w - w/2 must agree.
VERTICAL = ("PROGRESSBAR3", "PROGRESSBAR4", "SCROLLBAR", "SIDECHANNELBAR", "SIDECHANNELTITLE")

TITLE_SECTIONS = ("TITLEBAR1", "TITLEBAR2", "TITLEBAR3", "TITLEBAR4", "TITLEBAR5",
                  "MINIMIZEDTITLE")
BOTTOM_SECTIONS = ("FORMBOTTOMBORDER1", "FORMBOTTOMBORDER2", "FORMBOTTOMBORDER3")
ICON, CAPTION_HEIGHT = 16, 13
MAGENTA = (255, 0, 255)


def vocabulary():
    """kind -> entry names, as the skin library's item table lists them."""
    with open(ITEMS_SOURCE, encoding="utf-8") as f:
        text = f.read()
    table = text[text.index("kSkinItemNameTable"):]
    names = re.findall(r'"(SKIN2_[A-Z0-9]+)"', table[:table.index("};")])
    if len(names) != sum(n for _, n in KIND_COUNTS):
        raise ValueError(f"{ITEMS_SOURCE}: {len(names)} entry names, want 84")
    kinds, first = {}, 0
    for kind, count in KIND_COUNTS:
        kinds[kind] = names[first:first + count]
        first += count
    return kinds


def colour(value):
    """(r, g, b) of a skin.toml colour: "#RRGGBB", or an integer as Windows
    stores colours (red in the low byte)."""
    if isinstance(value, str):
        m = re.fullmatch(r"#([0-9A-Fa-f]{6})", value)
        if not m:
            raise ValueError(f"colour {value!r} is not #RRGGBB")
        return tuple(int(m.group(1)[i:i + 2], 16) for i in (0, 2, 4))
    if isinstance(value, int) and not isinstance(value, bool) and 0 <= value <= 0xFFFFFF:
        return (value & 255, (value >> 8) & 255, (value >> 16) & 255)
    raise ValueError(f"colour {value!r} is neither #RRGGBB nor 0..0xFFFFFF")


def near(c, trans):
    """Close to the see-through colour without being it: a blend into it
    that the cut would leave behind as a fringe."""
    return c != trans and sum(abs(a - b) for a, b in zip(c, trans)) <= 120


def rows_holding(rows, c):
    return [y for y, row in enumerate(rows) if c in row]


def picture_faults(short, w, h, rows):
    faults = []
    frames, fw, fh = SIZES[short]
    if w % frames:
        return [f"{short}: {w} px wide does not hold {frames} equal frames"]
    if (fw and w != frames * fw) or (fh and h != fh):
        want = f"{frames * fw if fw else w}x{fh or h}"
        faults.append(f"{short}: {w}x{h}, must be {want}" +
                      (f" ({frames} frames of {fw}x{fh})" if frames > 1 else ""))
        return faults
    if short in STRETCHED:
        if h % 2 == 0:
            return [f"{short}: a stretched face needs an odd height, not {h}"]
        hh, step = h // 2, w // frames
        for i in range(frames):
            if rows[hh][i * step:(i + 1) * step] != rows[hh + 1][i * step:(i + 1) * step]:
                faults.append(f"{short}: frame {i + 1} rows {hh} and {hh + 1} differ; the right "
                              "edge of a stretched face would not match the left")
                break
            if short in VERTICAL:
                hw = step // 2
                cols = range(i * step + hw - 1, i * step + step - hw + 1)
                centre = [row[i * step + hw] for row in rows[hh:]]
                if any([row[x] for row in rows[hh:]] != centre for x in cols):
                    faults.append(f"{short}: frame {i + 1} columns {hw - 1}..{step - hw} "
                                  "differ; the bottom edge would show a stepped stripe")
                    break
    return faults


def geometry_faults(sizes):
    """The frame pieces form one window frame."""
    faults = []
    heights = {sizes[n][1] for n in TITLE_SECTIONS if n in sizes}
    buttons = sizes.get("TITLEBUTTONS")
    if len(heights) > 1:
        faults.append(f"title sections differ in height {sorted(heights)}")
    elif heights and buttons:
        height = heights.pop()
        if not buttons[1] + 8 <= height <= buttons[1] + 12:
            faults.append(f"title bar {height} px tall for {buttons[1]}-px title buttons")
    if "TITLEBAR1" in sizes and not 24 <= sizes["TITLEBAR1"][0] <= 40:
        faults.append(f"TITLEBAR1 is {sizes['TITLEBAR1'][0]} px wide, no room for the icon")
    if "FORMLEFTBORDER" in sizes and "FORMRIGHTBORDER" in sizes and \
            sizes["FORMLEFTBORDER"][0] != sizes["FORMRIGHTBORDER"][0]:
        faults.append("FORMLEFTBORDER and FORMRIGHTBORDER differ in width")
    bottoms = {sizes[n][1] for n in BOTTOM_SECTIONS if n in sizes}
    if len(bottoms) > 1:
        faults.append(f"bottom border sections differ in height {sorted(bottoms)}")
    return faults


def region_faults(what, pictures, need, low, high, trans):
    """The rows a window region is cut from must be the rows that hold
    see-through pixels, no fewer (a corner would stay square) and no more."""
    held = sorted({y for rows in pictures for y in rows_holding(rows, trans)})
    if not need:
        return [f"{what}: no region is cut, but rows {held} hold see-through pixels"] \
            if held else []
    if not held:
        return [f"{what}: a region is cut but no row holds see-through pixels"]
    if (low, high) != (held[0], held[-1]):
        return [f"{what}: region rows {low}..{high}, but rows {held[0]}..{held[-1]} hold "
                "see-through pixels"]
    return []


def fringe_faults(pics, trans):
    faults = []
    for name, rows in sorted(pics.items()):
        fringe = sum(1 for row in rows for c in row if near(c, trans))
        if fringe:
            faults.append(f"{name[6:]}: {fringe} pixels blended towards the see-through colour")
    return faults


def toml_faults(skin, pics, vocab):
    faults = []
    for kind, _ in KIND_COUNTS[:1] + KIND_COUNTS[2:]:
        table = skin.get(kind, {})
        for name in vocab[kind]:
            if name not in table:
                faults.append(f"skin.toml: [{kind}] has no {name}")
        for name in table:
            if name not in vocab[kind]:
                faults.append(f"skin.toml: [{kind}] {name} is not a {kind[:-1]} entry")
    for name in ("SKIN_NAME", "SKIN_AUTHOR"):
        if not skin.get("strings", {}).get(name):
            faults.append(f"skin.toml: [strings] has no {name}")
    if faults:
        return faults
    try:
        trans = colour(skin["colors"]["SKIN2_TRANSCOLOR"])
    except ValueError as e:
        return [f"skin.toml: SKIN2_TRANSCOLOR: {e}"]
    ints, flags = skin["integers"], skin["flags"]
    p = lambda n: pics.get("SKIN2_" + n)  # noqa: E731
    if trans != MAGENTA:
        faults.extend(fringe_faults(pics, trans))
    titles = [p(n) for n in ("TITLEBAR1", "TITLEBAR2", "TITLEBAR3") if p(n)]
    faults += region_faults("title bar", titles, flags["SKIN2_TITLEBARNEEDREGION"],
                            ints["SKIN2_TITLEBARREGIONMINY"], ints["SKIN2_TITLEBARREGIONMAXY"],
                            trans)
    bottoms = [p(n) for n in BOTTOM_SECTIONS if p(n)]
    faults += region_faults("bottom border", bottoms, flags["SKIN2_BOTTOMBORDERNEEDREGION"],
                            ints["SKIN2_BOTTOMREGIONMINY"], ints["SKIN2_BOTTOMREGIONMAXY"],
                            trans)
    button = p("BUTTON")
    if button:
        step = len(button[0]) // 3
        if flags["SKIN2_BUTTONTRANS"]:
            # A transparent button is masked by its top-left pixel.
            if any(button[0][i * step] != trans for i in range(3)):
                faults.append("BUTTON: BUTTONTRANS is set but a frame's top-left pixel is not "
                              "the see-through colour")
        elif any(trans in row for row in button):
            faults.append("BUTTON: is blitted as is (BUTTONTRANS off) but holds see-through "
                          "pixels")
    buttons = p("TITLEBUTTONS")
    if buttons and not flags["SKIN2_TITLEBTNTRANS"] and any(trans in row for row in buttons):
        faults.append("TITLEBUTTONS: are blitted as is (TITLEBTNTRANS off) but hold "
                      "see-through pixels")
    if titles and buttons:
        height, width = len(titles[0]), len(titles[0][0])
        places = (("icon", ints["SKIN2_TITLEBARICONPOSY"], ICON),
                  ("caption", ints["SKIN2_TITLEBARCAPTIONTOP"], CAPTION_HEIGHT),
                  ("title buttons", ints["SKIN2_TITLEBARBUTTONPOSY"], len(buttons)))
        for what, top, size in places:
            if not 0 <= top <= height - size:
                faults.append(f"skin.toml: the {what} at row {top} leaves the {height}-px "
                              "title bar")
        if not 0 <= ints["SKIN2_TITLEBARICONPOSX"] <= width - ICON:
            faults.append("skin.toml: the icon does not fit in TITLEBAR1")
    return faults


def check(folder):
    try:
        vocab = vocabulary()
    except (OSError, ValueError) as e:
        return [f"skin vocabulary: {e}"]
    faults = []
    missing = [n for n in vocab["pictures"] if n[6:] not in SIZES]
    if missing or len(SIZES) != len(vocab["pictures"]):
        return [f"this checker does not know the pictures {missing or sorted(SIZES)}"]
    on_disk = {f for f in os.listdir(folder) if f.lower().endswith(".bmp")}
    for file in sorted(on_disk - {n + ".bmp" for n in vocab["pictures"]}):
        faults.append(f"{file}: not a picture entry of a skin")
    pics, sizes = {}, {}
    for name in vocab["pictures"]:
        short = name[6:]
        path = os.path.join(folder, name + ".bmp")
        if not os.path.exists(path):
            faults.append(f"{short}: {name}.bmp is missing")
            continue
        try:
            with open(path, "rb") as f:
                w, h, rows = bmp24.read(f.read())
        except (ValueError, struct.error) as e:
            faults.append(f"{short}: {e}")
            continue
        pics[name], sizes[short] = rows, (w, h)
        faults.extend(picture_faults(short, w, h, rows))
    faults.extend(geometry_faults(sizes))
    # Magenta until skin.toml says otherwise: the colour every skin uses.
    faults.extend(fringe_faults(pics, MAGENTA))
    toml_path = os.path.join(folder, "skin.toml")
    if os.path.exists(toml_path):
        try:
            with open(toml_path, "rb") as f:
                skin = tomllib.load(f)
        except tomllib.TOMLDecodeError as e:
            return faults + [f"skin.toml: {e}"]
        faults.extend(toml_faults(skin, pics, vocab))
    return faults


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_skin_pictures.py DIR")
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    if faults:
        sys.exit(1)
    print(f"{sys.argv[1]}: 34 skin pictures, all as the controls expect")


if __name__ == "__main__":
    main()
