#!/usr/bin/python3
"""Writes the program's pictures as SVG files from the description tables.

    /usr/bin/python3 tools/artwork/generate.py            # writes assets/
    /usr/bin/python3 tools/artwork/generate.py --debug DIR
        also writes each picture with its buttons outlined in red into DIR

Run from anywhere; paths are taken relative to the repository. The buttons'
rectangles, the pictures' rectangles and the groups' places are read from the
window's layout table, base/window-layout.json.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)

from artlib.layout import Layout  # noqa: E402
from artlib.picture import render  # noqa: E402
import subprocess  # noqa: E402

from tables import keyboard, modes, names, popups, tools  # noqa: E402
import json  # noqa: E402


LAYOUT_PATH = os.path.join(ROOT, "base", "window-layout.json")


def load_layout():
    return Layout.load(LAYOUT_PATH)


def table_pictures():
    """The pictures as their tables describe them, without the layout's rectangles."""
    return list(keyboard.PICTURES) + list(popups.PICTURES) + list(tools.PICTURES) + list(modes.PICTURES)


def all_pictures(layout=None):
    """Every picture, placed by the layout table (the committed one unless given)."""
    layout = layout or load_layout()
    return [layout.place(pic) for pic in table_pictures()]


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
        layout = load_layout()
        pics = all_pictures(layout)
        for title, groups in page_views(layout).items():
            write_page(args.debug, title, groups, layout.group_places(KEYBOARD_PAGE), pics)
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


KEYBOARD_PAGE = "Panel1"

# The second set of each group that has one, in place of the first.
SECOND_SETS = {"PanelIson1": "PanelIson2", "PanelKatavasi1": "PanelKatavasi2", "Panelanavasi1": "Panelanavasi2",
               "PanelPoiotitas1": "PanelPoiotitas2", "PanelMartyries1": "PanelMartyries2"}
POPUPS = ["Panelfthores", "Panelmetra", "Panelendikseis", "Panelyfeseis2", "Panelentasi", "Panelpena"]
POPUPS2 = ["Panelasterakia"]


def page_views(layout):
    """The groups seen in each debug view of the keyboard page: as it starts, with the
    second sets, and with the pop-up groups open."""
    base = layout.shown_groups(KEYBOARD_PAGE)
    return {
        "page-base": base,
        "page-second": [SECOND_SETS.get(name, name) for name in base],
        "page-popups": base + POPUPS,
        "page-popups2": base + POPUPS2,
    }


def write_page(debug_dir, title, groups, places, pictures):
    """The keyboard page assembled from the debug pictures, for looking at; groups are
    drawn in the page's child order, each where the layout places it."""
    by_name = {p.name: p for p in pictures}
    items = ['<rect width="415" height="710" fill="#e8e8e8"/>']
    for name, (gx, gy, sx) in places.items():
        if name not in groups:
            continue
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
