#!/usr/bin/python3
"""Writes the program's pictures as SVG files from the description tables.

    /usr/bin/python3 tools/artwork/generate.py            # writes assets/
    /usr/bin/python3 tools/artwork/generate.py --debug DIR
        also writes each picture with its buttons outlined in red into DIR

Run from anywhere; paths are taken relative to the repository.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)

from artlib.picture import render  # noqa: E402
import subprocess  # noqa: E402

from tables import keyboard, modes, popups, tools  # noqa: E402


def all_pictures():
    return list(keyboard.PICTURES) + list(popups.PICTURES) + list(tools.PICTURES) + list(modes.PICTURES)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--debug", metavar="DIR", help="also write debug pictures with button outlines here")
    ap.add_argument("--only", nargs="*", help="names of the pictures to write (default: all)")
    args = ap.parse_args()
    out_dir = os.path.join(ROOT, "assets", "pictures")
    os.makedirs(out_dir, exist_ok=True)
    for pic in all_pictures():
        if args.only and pic.name not in args.only:
            continue
        with open(os.path.join(out_dir, pic.name + ".svg"), "w", encoding="utf-8") as f:
            f.write(render(pic))
        if args.debug:
            os.makedirs(args.debug, exist_ok=True)
            with open(os.path.join(args.debug, pic.name + ".svg"), "w", encoding="utf-8") as f:
                f.write(render(pic, debug=True))
    if not args.only or "icon" in args.only:
        write_icon()


def write_icon(debug_dir=None):
    """The program icon: assets/icon.svg and its 48 x 48 PNG rendering."""
    svg_path = os.path.join(ROOT, "assets", "icon.svg")
    with open(svg_path, "w", encoding="utf-8") as f:
        f.write(render(tools.icon))
    png_path = os.path.join(ROOT, "assets", "icon.png")
    subprocess.run(["rsvg-convert", "-w", "48", "-h", "48", "-o", png_path, svg_path], check=True)


if __name__ == "__main__":
    main()
