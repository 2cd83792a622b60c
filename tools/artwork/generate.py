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

from tables import keyboard, modes, names, popups, tools  # noqa: E402
import json  # noqa: E402


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
    if args.debug:
        pics = all_pictures()
        write_page(args.debug, "page-base", PAGE_BASE, pics)
        write_page(args.debug, "page-second", PAGE_SECOND, pics)
        write_page(args.debug, "page-popups", PAGE_POPUPS, pics)
        write_page(args.debug, "page-popups2", PAGE_POPUPS2, pics)
    if not args.only or "icon" in args.only:
        write_icon()
    if not args.only:
        write_names()


def names_json():
    return json.dumps(names.all_names(all_pictures()), ensure_ascii=False, indent=1) + "\n"


def write_names():
    """What screen readers call the groups and buttons, read by the program at start."""
    with open(os.path.join(ROOT, "assets", "names.json"), "w", encoding="utf-8") as f:
        f.write(names_json())


# Where each group lies on the keyboard page (page units) and its horizontal
# scale; used only to assemble the debug views of the whole page.
PAGE_BASE = {
    "PanelIson1": (0, 530, 1), "Panelyfesi": (0, 660, 1), "PanelxronikiAgogi1": (1, 617, 1),
    "PanelKatavasi1": (133, 363, 1), "PanelLoipa": (133, 240, 1), "Panelanavasi1": (133, 1, 1),
    "Paneldiastoles": (1, 451, 1), "PanelMartyries1": (1, 573, 1), "PanelPoiotitas1": (0, 111, 1),
    "Panelgorgo": (50, 1, 1.1), "Panelgrammiergaleion": (368, 1, 1), "Panelkoumpiahxos": (1, 1, 1),
}
PAGE_SECOND = dict(PAGE_BASE, PanelIson1=None, PanelIson2=(0, 530, 1), PanelKatavasi1=None,
                   PanelKatavasi2=(133, 363, 1), Panelanavasi1=None, Panelanavasi2=(133, 1, 1),
                   PanelPoiotitas1=None, PanelPoiotitas2=(0, 111, 1), PanelMartyries1=None,
                   PanelMartyries2=(1, 573, 1))
PAGE_POPUPS = dict(PAGE_BASE, Panelfthores=(1, 530, 1), Panelmetra=(98, 255, 1), Panelendikseis=(48, 38, 1),
                   Panelyfeseis2=(138, 463, 1), Panelentasi=(218, 384, 1), Panelpena=(258, 498, 1))
PAGE_POPUPS2 = dict(PAGE_BASE, Panelasterakia=(258, 415, 1))


def write_page(debug_dir, title, groups, pictures):
    """The keyboard page assembled from the debug pictures, for looking at."""
    by_name = {p.name: p for p in pictures}
    items = ['<rect width="415" height="710" fill="#e8e8e8"/>']
    for name, where in groups.items():
        if where is None:
            continue
        gx, gy, sx = where
        pic = by_name[name]
        ax, ay = pic.at
        w, h = pic.size
        items.append(
            f'<g transform="translate({gx} {gy}) scale({sx} 1)"><image x="{ax}" y="{ay}" width="{w}" height="{h}" '
            f'preserveAspectRatio="none" href="{name}.svg"/></g>'
        )
    with open(os.path.join(debug_dir, title + ".svg"), "w", encoding="utf-8") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 415 710" width="415" height="710">'
                + "".join(items) + "</svg>\n")


def write_icon(debug_dir=None):
    """The program icon: assets/icon.svg and its 48 x 48 PNG rendering."""
    svg_path = os.path.join(ROOT, "assets", "icon.svg")
    with open(svg_path, "w", encoding="utf-8") as f:
        f.write(render(tools.icon))
    png_path = os.path.join(ROOT, "assets", "icon.png")
    subprocess.run(["rsvg-convert", "-w", "48", "-h", "48", "-o", png_path, svg_path], check=True)


if __name__ == "__main__":
    main()
