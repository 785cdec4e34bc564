#!/usr/bin/env python3
"""Checks the wizard pictures written by make_wizard_pictures.py before they
go into the executable: every picture the wizard shows is listed in the
resource script, the file is what its name says (a JPEG from its SOI marker
to its EOI, listed as RCDATA; or a BMP listed as BITMAP by its packed form,
whose 24-bit picture NAME.bmp is checked here, and whose packed form exists
and is a BMP of the same size: that its pixels are the 24-bit picture's is
checked by the tests through the programs' own reader, picture_pack_test),
it is in the format the wizard reads it as, and it has the size of the
place it fills on the page. The sizes are written out here again rather
than taken from the drawing script, so a slip there cannot pass unnoticed.

Usage: check_wizard_pictures.py OUTDIR
Prints one line per fault and exits 1 if there is any."""
import os
import re
import struct
import sys
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import bmp24  # noqa: E402  (shared with the other picture scripts)
import pack_picture  # noqa: E402

# name -> (width, height, format the wizard reads it as; None: BMP or JPEG)
WANT = {
    "WIZ_LOGO": (121, 32, "jpeg"),            # gImage10
    "WIZ_WELCOME_EMBLEM": (113, 113, "bmp"),  # Image5
    "WIZ_WELCOME_STRIP": (185, 57, "jpeg"),   # Image2
    "WIZ_BANNER_1": (633, 25, None),          # Image4
    "WIZ_LICENCE_BAND": (193, 33, None),      # Image11
    "WIZ_LICENCE_ART": (217, 177, None),      # Image1
    "WIZ_BANNER_2": (633, 25, None),          # Image6
    "WIZ_FOLDER_ART": (105, 41, None),        # Image10
    "WIZ_BROWSE": (39, 25, None),             # suiImageButton1, PicNormal
    "WIZ_BROWSE_HOT": (39, 25, None),         # suiImageButton1, PicMouseOn
    "WIZ_BANNER_3": (633, 25, None),          # Image7
    "WIZ_CONFIRM_ART": (169, 105, None),      # Image9
    "WIZ_BANNER_4": (633, 25, None),          # Image8
    "WIZ_DONE_MARK": (57, 56, "bmp"),         # Image3
}
EXTENSIONS = {"bmp": (".bmp",), "jpeg": (".jpg", ".jpeg")}
BANNERS = ("WIZ_BANNER_1", "WIZ_BANNER_2", "WIZ_BANNER_3", "WIZ_BANNER_4")
# Pictures put at (0, 24) of a page whose banner is 25 rows tall: the two
# overlap by one row, so that row must be the same in both.
UNDER_BANNER = {"WIZ_LICENCE_BAND": "WIZ_BANNER_1", "WIZ_FOLDER_ART": "WIZ_BANNER_2",
                "WIZ_CONFIRM_ART": "WIZ_BANNER_3"}

RC_LINE = re.compile(r'^([A-Z0-9_]+) (BITMAP|RCDATA) "([^"\\]+)"$')
# How each format is listed: a BMP by its packed form, a JPEG as it is.
LISTED_AS = {"bmp": ("BITMAP", "packed/{}.bmp"), "jpeg": ("RCDATA", "{}.jpg")}


# Start-of-frame markers: every SOFn but DHT (C4), JPG (C8) and DAC (CC).
SOF = {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}


def jpeg_size(data):
    """(width, height) from the frame header of a JPEG, walking its marker
    segments from SOI; raises ValueError if the stream is not whole."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("not a JPEG file (no SOI marker)")
    if not data.rstrip(b"\0").endswith(b"\xff\xd9"):
        raise ValueError("JPEG does not end with an EOI marker")
    pos, size = 2, None
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise ValueError(f"JPEG marker expected at byte {pos}")
        marker = data[pos + 1]
        if marker == 0xFF:  # fill byte
            pos += 1
            continue
        length = struct.unpack_from(">H", data, pos + 2)[0]
        if length < 2 or pos + 2 + length > len(data):
            raise ValueError(f"JPEG segment {marker:#04x} runs past the end")
        if marker in SOF:
            if length < 8:
                raise ValueError("JPEG frame header too short")
            h, w = struct.unpack_from(">HH", data, pos + 5)
            size = (w, h)
        if marker == 0xDA:  # start of scan: the header is over
            break
        pos += 2 + length
    if size is None:
        raise ValueError("JPEG has no frame header before its scan")
    return size


def read_rc(outdir, faults):
    """name -> (resource type, file) from wizard_pictures.rc, recording
    faults of form."""
    listed = {}
    try:
        with open(os.path.join(outdir, "wizard_pictures.rc")) as f:
            lines = f.read().splitlines()
    except OSError as e:
        faults.append(f"wizard_pictures.rc: {e.strerror}")
        return None
    for n, line in enumerate(lines, 1):
        if not line.strip():
            continue
        m = RC_LINE.match(line)
        if not m:
            faults.append(f"wizard_pictures.rc:{n}: not a `NAME BITMAP|RCDATA \"file\"` line: "
                          f"{line!r}")
            continue
        name, kind, file = m.groups()
        if name in listed:
            faults.append(f"wizard_pictures.rc:{n}: {name} listed twice")
        elif (kind, file) not in [(k, f.format(name)) for k, f in LISTED_AS.values()]:
            faults.append(f"wizard_pictures.rc:{n}: {name} lists {kind} {file}, neither "
                          f"BITMAP packed/{name}.bmp nor RCDATA {name}.jpg")
        listed[name] = (kind, file)
    return listed


def picture_faults(name, outdir, file, want):
    """Faults of one listed file, and its rows when it is a BMP (whose
    24-bit picture is checked, and its packed form's size)."""
    w_want, h_want, fmt_want = want
    ext = os.path.splitext(file)[1].lower()
    fmt_ext = next((f for f, exts in EXTENSIONS.items() if ext in exts), None)
    if fmt_ext is None:
        return [f"{name}: {os.path.basename(file)} is neither .bmp nor .jpg"], None
    if fmt_want and fmt_ext != fmt_want:
        return [f"{name}: the wizard reads it as {fmt_want.upper()}, "
                f"but the file is {os.path.basename(file)}"], None
    path = os.path.join(outdir, name + ".bmp" if fmt_ext == "bmp" else file)
    if not os.path.isfile(path):
        return [f"{name}: {os.path.basename(path)} does not exist"], None
    with open(path, "rb") as f:
        data = f.read()
    rows = None
    try:
        if fmt_ext == "bmp":
            w, h, rows = bmp24.read(data)
        else:
            w, h = jpeg_size(data)
    except (ValueError, struct.error) as e:
        return [f"{name}: {e}"], None
    if (w, h) != (w_want, h_want):
        return [f"{name}: {w}x{h}, must be {w_want}x{h_want}"], rows
    fault = fmt_ext == "bmp" and pack_picture.packed_fault(os.path.join(outdir, file), w, h)
    return ([f"{name}: {file} {fault}"] if fault else []), rows


def family_faults(rows):
    """The banners differ only by their step, and the pictures hung under
    them start with the banner's last row (checked where both are BMPs)."""
    faults = []
    banners = [n for n in BANNERS if n in rows]
    for i, a in enumerate(banners):
        for b in banners[i + 1:]:
            if rows[a] == rows[b]:
                faults.append(f"{a} and {b} are the same picture; each marks its own step")
    for tab, banner in UNDER_BANNER.items():
        if tab not in rows or banner not in rows:
            continue
        last = rows[banner][-1]
        first = rows[tab][0]
        if first != last[:len(first)]:
            faults.append(f"{tab}: first row differs from the last row of {banner}, "
                          "which it covers on the page")
    return faults


def check(outdir):
    faults = []
    listed = read_rc(outdir, faults)
    if listed is None:
        return faults
    for name in sorted(set(WANT) - set(listed)):
        faults.append(f"{name}: missing from wizard_pictures.rc")
    for name in sorted(set(listed) - set(WANT)):
        faults.append(f"{name}: listed in wizard_pictures.rc but the wizard shows no such picture")
    rows = {}
    for name, (_, file) in sorted(listed.items()):
        if name not in WANT:
            continue
        found, pixels = picture_faults(name, outdir, file, WANT[name])
        faults.extend(found)
        if pixels is not None and not found:
            rows[name] = pixels
    faults.extend(family_faults(rows))
    return faults


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_wizard_pictures.py OUTDIR")
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    if faults:
        sys.exit(1)
    print(f"wizard pictures: {len(WANT)} pictures, sizes and formats as the wizard expects")


if __name__ == "__main__":
    main()
