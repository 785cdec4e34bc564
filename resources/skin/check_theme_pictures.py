#!/usr/bin/env python3
"""Checks the theme pictures written by make_theme_pictures.py before they
go into the executable: every picture the skin library loads is there, is a
plain 24-bit BMP, and has the size its control cuts it by; the resource
script names exactly those pictures, each by its packed form, which exists
and is a BMP of the same size (that its pixels are the 24-bit picture's is
checked by the tests through the programs' own reader: picture_pack_test);
the see-through colour is used only as the cut-out colour.

Usage: check_theme_pictures.py OUTDIR
Prints one line per fault and exits 1 if there is any."""
import os
import re
import struct
import sys
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import bmp24  # noqa: E402  (shared with the other picture scripts)
import pack_picture  # noqa: E402

THEMES = ["MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"]
MAGENTA = (255, 0, 255)

# The sizes the controls cut the pictures by: (frames, frame width, height).
# Kept apart from the generator's own table on purpose: a slip there must not
# pass here.
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

# Every theme's other pictures and how many equal frames each strip holds.
THEME_STRIPS = {
    "TITLE_LEFT": 1, "TITLE_CLIENT": 1, "TITLE_RIGHT": 1, "PROGRESSBAR": 2,
    "TRACKBAR_BAR": 1, "TRACKBAR_SLIDER": 3, "TRACKBAR_SLIDER_V": 3, "SCROLLBAR_BUTTON": 12,
    "SCROLLBAR_TRACK": 4, "CHECKLIST": 3, "TAB": 3, "TAB_LINE": 1, "SIDECHENNEL_HANDLE": 3,
    "SIDECHENNEL_BAR": 1,
}

# Pictures outside the per-theme set: name -> (frames, exact size or None).
SHARED = {
    "MACOS_FORM_BACKGROUND": (1, None), "PROTEIN_FORM_BACKGROUND": (1, None),
    "MACOS_MENU_BAR": (1, (1, 22)), "MACOS_MENU_SELECT": (1, (1, 21)),
    "MENU_CHECKED": (1, (16, 16)),
    "MACOS_SCROLLBUTTON": (4, None), "WINXP_SCROLLBUTTON": (4, None),
    "MORE_SCROLLBUTTON": (4, None),
}

# Facts of the theme table the controls draw with (skin/sui_themes.cpp).
# Title bars whose top corners are rounded (RoundCorner) must cut out their
# outer corner pixel; square ones must not cut out anything.
ROUNDED_TITLES = ("WINXP", "BLUEGLASS")
SQUARE_TITLES = ("MACOS", "DEEPBLUE", "PROTEIN")
# Pictures blitted without the see-through colour (push buttons and title
# buttons whose Transparent flag is off): magenta in them would show.
OPAQUE = ("WINXP_BUTTON", "DEEPBLUE_BUTTON", "PROTEIN_BUTTON",
          "MACOS_TITLEBTN", "WINXP_TITLEBTN", "DEEPBLUE_TITLEBTN",
          "MACOS_CHECKBOX", "WINXP_CHECKBOX", "DEEPBLUE_CHECKBOX", "PROTEIN_CHECKBOX",
          "BLUEGLASS_CHECKBOX")
# Faces drawn by the nine-slice (StretchSkinPicture, skin/skin_draw.cpp). It
# takes the centre from row h/2 and the right edge from row h/2 + 1, so the
# two must be equal; with an even height the centre has no rows at all.
STRETCHED = ("BUTTON", "PROGRESSBAR", "TRACKBAR_BAR", "SCROLLBAR_TRACK", "TAB", "TAB_LINE",
             "SIDECHENNEL_BAR", "SIDECHENNEL_HANDLE")

RC_LINE = re.compile(r'^([A-Z0-9_]+) BITMAP "([^"]+)"$')


def expected_pictures():
    """name -> (frames, (width, height) or None when the size is free)."""
    want = {}
    for theme in THEMES:
        for kind, (frames, fw, fh) in BINDING[theme].items():
            want[f"{theme}_{kind}"] = (frames, (frames * fw, fh))
        for kind, frames in THEME_STRIPS.items():
            want[f"{theme}_{kind}"] = (frames, None)
    want.update(SHARED)
    return want


def read_bmp(path):
    """(width, height, rows of (r, g, b)) of a 24-bit BMP file, or raises
    ValueError saying what is wrong with it."""
    with open(path, "rb") as f:
        return bmp24.read(f.read())


def near_magenta(c):
    """Close to the cut-out colour without being it: a blend into magenta
    that the cut would leave behind as a pink fringe."""
    return c != MAGENTA and c[0] >= 160 and c[2] >= 160 and c[1] <= 90


def colour_faults(name, w, h, frames, rows):
    faults = []
    fringe = sum(1 for row in rows for c in row if near_magenta(c))
    if fringe:
        faults.append(f"{name}: {fringe} pixels blended towards magenta")
    if name == "MENU_CHECKED":
        flat = [c for row in rows for c in row]
        if MAGENTA in flat:
            faults.append(f"{name}: uses magenta; its mask colour is white")
        if (255, 255, 255) not in flat or len(set(flat)) < 2:
            faults.append(f"{name}: wants a mark on a white background")
    if name.endswith("_RADIOBUTTON"):
        fw = w // frames
        for i in range(frames):
            corners = [rows[0][i * fw], rows[0][i * fw + fw - 1],
                       rows[h - 1][i * fw], rows[h - 1][i * fw + fw - 1]]
            if any(c != MAGENTA for c in corners):
                faults.append(f"{name}: frame {i + 1} is not cut out around its circle")
                break
    for theme in ROUNDED_TITLES:
        if name == f"{theme}_TITLE_LEFT" and rows[0][0] != MAGENTA:
            faults.append(f"{name}: top-left corner is not cut out")
        if name == f"{theme}_TITLE_RIGHT" and rows[0][w - 1] != MAGENTA:
            faults.append(f"{name}: top-right corner is not cut out")
    square_title = any(name.startswith(f"{t}_TITLE_") for t in SQUARE_TITLES)
    if name in OPAQUE or square_title:
        cut = sum(1 for row in rows for c in row if c == MAGENTA)
        if cut:
            why = "is blitted without a see-through colour" if name in OPAQUE else \
                "belongs to a window with square corners"
            faults.append(f"{name}: {why} but has {cut} magenta pixels")
    return faults


def stretch_faults(name, h, frames, rows):
    theme, _, kind = name.partition("_")
    if theme not in THEMES or kind not in STRETCHED:
        return []
    if h % 2 == 0:
        return [f"{name}: a stretched face needs an odd height, not {h}"]
    hh = h // 2
    fw = len(rows[0]) // frames
    for i in range(frames):
        if rows[hh][i * fw:(i + 1) * fw] != rows[hh + 1][i * fw:(i + 1) * fw]:
            return [f"{name}: frame {i + 1} rows {hh} and {hh + 1} differ; the right edge "
                    "of a stretched face would not match the left"]
    return []


def title_faults(sizes):
    """The three title sections form one bar around the caption buttons."""
    faults = []
    for theme in THEMES:
        parts = [sizes.get(f"{theme}_TITLE_{p}") for p in ("LEFT", "CLIENT", "RIGHT")]
        button = sizes.get(f"{theme}_TITLEBTN")
        if None in parts or button is None:
            continue
        heights = {h for _, h in parts}
        if len(heights) != 1:
            faults.append(f"{theme}: title sections differ in height {sorted(heights)}")
            continue
        height = heights.pop()
        if not button[1] + 8 <= height <= button[1] + 12:
            faults.append(f"{theme}: title bar {height} px tall for {button[1]}-px buttons")
        if not 24 <= parts[0][0] <= 40:
            faults.append(f"{theme}: TITLE_LEFT is {parts[0][0]} px wide, no room for the icon")
    return faults


def check(outdir):
    faults = []
    want = expected_pictures()
    rc_path = os.path.join(outdir, "theme_pictures.rc")
    listed = {}
    try:
        with open(rc_path) as f:
            for n, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if not line.strip():
                    continue
                m = RC_LINE.match(line)
                if not m:
                    faults.append(f"theme_pictures.rc:{n}: not a BITMAP line: {line!r}")
                    continue
                name, file = m.groups()
                if file != f"packed/{name}.bmp":
                    faults.append(f"theme_pictures.rc:{n}: {name} names file {file}")
                if name in listed:
                    faults.append(f"theme_pictures.rc:{n}: {name} listed twice")
                listed[name] = file
    except OSError as e:
        return [f"theme_pictures.rc: {e.strerror}"]

    for name in sorted(set(want) - set(listed)):
        faults.append(f"{name}: missing from theme_pictures.rc")
    for name in sorted(set(listed) - set(want)):
        faults.append(f"{name}: listed but no control uses it")
    on_disk = {f for f in os.listdir(outdir) if f.lower().endswith(".bmp")}
    for file in sorted(on_disk - {name + ".bmp" for name in listed}):
        faults.append(f"{file}: not listed in theme_pictures.rc")

    sizes = {}
    for name, file in sorted(listed.items()):
        path = os.path.join(outdir, name + ".bmp")
        if not os.path.exists(path):
            faults.append(f"{name}: {name}.bmp does not exist")
            continue
        try:
            w, h, rows = read_bmp(path)
        except (ValueError, struct.error) as e:
            faults.append(f"{name}: {e}")
            continue
        sizes[name] = (w, h)
        fault = pack_picture.packed_fault(os.path.join(outdir, file), w, h)
        if fault:
            faults.append(f"{name}: {file} {fault}")
        if name not in want:
            continue
        frames, exact = want[name]
        if exact and (w, h) != exact:
            faults.append(f"{name}: {w}x{h}, must be {exact[0]}x{exact[1]}")
        elif w % frames:
            faults.append(f"{name}: {w} px wide does not hold {frames} equal frames")
        faults.extend(colour_faults(name, w, h, frames, rows))
        faults.extend(stretch_faults(name, h, frames, rows))
    faults.extend(title_faults(sizes))
    return faults


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_theme_pictures.py OUTDIR")
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    if faults:
        sys.exit(1)
    print(f"theme pictures: {len(expected_pictures())} pictures, all as the controls expect")


if __name__ == "__main__":
    main()
