#!/usr/bin/python3
"""Checks of the generated pictures.

    /usr/bin/python3 -m unittest discover -s tools/artwork -p 'test_*.py'

The committed files in assets/ are checked as they are (so a table or the
layout table edited without regenerating shows up here), the pictures are
checked against the window's layout table (base/window-layout.json, read here
on its own), and the tables for every sign lying centred under its button and
inside its picture.
"""

import copy
import json
import os
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)

from artlib.ink import line, path  # noqa: E402
from artlib.layout import Layout, LayoutError  # noqa: E402
from artlib.picture import Key, Picture, ink_svg, layout, place_sign, render, tile_radii  # noqa: E402
from generate import LAYOUT_PATH, all_pictures, names_json, table_pictures  # noqa: E402
from tables import tools  # noqa: E402

SVG = "{http://www.w3.org/2000/svg}"


def layout_table():
    with open(LAYOUT_PATH, encoding="utf-8") as f:
        return json.load(f)


def layout_pictures(table):
    """Every picture the layout table places: name -> (picture rect, {button: rect}, stretch).

    A group's picture is named by its `image`, else by the group; its buttons are the
    group's. The mode strip is a picture member of its page: its rect and its keys are
    page members, the keys being the page's keys lying on it."""
    out = {}
    for members in table["pages"].values():
        for m in members:
            if m["kind"] == "group" and "picture" in m:
                buttons = {b[0]: list(b[1:5]) for b in m["buttons"]}
                out[m.get("image", m["name"])] = (m["picture"], buttons, m.get("stretch"))
            elif m["kind"] == "picture":
                x, y, w, h = m["rect"]
                buttons = {
                    o["name"]: o["rect"] for o in members
                    if o["kind"] == "key" and x <= o["rect"][0] and o["rect"][0] + o["rect"][2] <= x + w
                    and y <= o["rect"][1] and o["rect"][1] + o["rect"][3] <= y + h
                }
                out[m["name"]] = (m["rect"], buttons, None)
    return out


# The pictures of no group, with the rectangle each is drawn in.
OTHER_PICTURES = {
    "ImageControl2": (72, 72), "ImageControl3": (72, 72), "arrow-key": (32, 32),
    "connection-off": (128, 128), "connection-on": (64, 64),
}


def expected_sizes():
    """Every picture the program loads, with the rectangle it is stretched to."""
    sizes = {name: tuple(rect[2:]) for name, (rect, _b, _s) in layout_pictures(layout_table()).items()}
    sizes.update(OTHER_PICTURES)
    return sizes


def picture_path(name):
    return os.path.join(ROOT, "assets", "pictures", name + ".svg")


class CommittedFiles(unittest.TestCase):
    def check_svg(self, path, size):
        root = ET.parse(path).getroot()
        self.assertEqual(root.tag, SVG + "svg", path)
        vb = [float(v) for v in root.get("viewBox").split()]
        self.assertEqual(vb, [0, 0, size[0], size[1]], path)
        tags = {el.tag for el in root.iter()}
        self.assertNotIn(SVG + "text", tags, f"{path} needs a font at run time")
        self.assertNotIn(SVG + "image", tags, f"{path} refers to another file")
        with open(path, encoding="utf-8") as f:
            body = f.read()
        self.assertNotIn("font-family", body, path)
        self.assertGreater(len(list(root.iter(SVG + "path"))), 0, f"{path} draws nothing")

    def test_every_picture_is_an_outline_svg_of_its_rectangle(self):
        sizes = expected_sizes()
        self.assertGreater(len(sizes), len(OTHER_PICTURES), "the layout table places no picture")
        for name, size in sizes.items():
            with self.subTest(name=name):
                self.assertTrue(os.path.exists(picture_path(name)), name)
                self.check_svg(picture_path(name), size)

    def test_committed_pictures_match_the_tables(self):
        for pic in all_pictures():
            with self.subTest(name=pic.name):
                with open(picture_path(pic.name), encoding="utf-8") as f:
                    self.assertEqual(f.read(), render(pic), f"{pic.name}.svg is stale: run generate.py")

    def test_committed_names_match_the_tables(self):
        with open(os.path.join(ROOT, "assets", "names.json"), encoding="utf-8") as f:
            self.assertEqual(f.read(), names_json(), "names.json is stale: run generate.py")

    def test_keys_are_named_by_their_glyphs_and_texts(self):
        import json
        names = json.loads(names_json())["controls"]
        # A glyph by its character name, a text as it reads, a drawing by its table.
        self.assertEqual(names["a1"], "oligon")
        self.assertEqual(names["k1"], "(Ν)")
        self.assertEqual(names["SpeedButton35"], "Backspace")
        # Every key over a sign is named; set buttons and toggles by what they open.
        for pic in all_pictures():
            for key in pic.keys:
                if key.button and key.sign is not None:
                    with self.subTest(key=key.button):
                        self.assertTrue(names.get(key.button), key.button)
        self.assertIn("ascending", names["enallagianavasi"])

    def test_icon(self):
        self.check_svg(os.path.join(ROOT, "assets", "icon.svg"), (48, 48))
        with open(os.path.join(ROOT, "assets", "icon.png"), "rb") as f:
            head = f.read(33)
        self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
        width, height, depth, colour_type = struct.unpack(">IIBB", head[16:26])
        self.assertEqual((width, height), (48, 48))
        self.assertEqual((depth, colour_type), (8, 6), "icon.png must be 8-bit RGBA")
        with open(os.path.join(ROOT, "assets", "icon.svg"), encoding="utf-8") as f:
            self.assertEqual(f.read(), render(tools.icon), "icon.svg is stale: run generate.py")


def styled_part():
    """A stroked and filled part with every style setting away from its default."""
    ink = path("M0 0 L10 0 L10 6 Z", fill="#123456", stroke="#abcdef", width=2.5, cap="butt")
    part = ink.parts[0]
    part.dash = True
    part.opacity = 0.18
    return ink


# What a drawing goes through on its way into a picture, and whether it is
# meant to change the colours.
TRANSFORMS = {
    "moved": (lambda ink: ink.moved(7, -3), False),
    "scaled": (lambda ink: ink.scaled(0.5), False),
    "stretched": (lambda ink: ink.scaled(2, 0.5), False),
    "turned": (lambda ink: ink.transformed((0.7071, -0.7071, 0.7071, 0.7071, 1, 2)), False),
    "recoloured": (lambda ink: ink.coloured("#ff0000"), True),
    "joined": (lambda ink: (ink + line([(0, 0), (1, 1)])).moved(1, 1), False),
    "copied": (lambda ink: type(ink)([p.copy() for p in ink.parts]), False),
}


class StyleKeptThroughTransforms(unittest.TestCase):
    """Moving, scaling or recolouring a drawing keeps how each part is painted."""

    def test_every_setting_survives(self):
        settings = ("dash", "opacity", "fill", "stroke", "width", "cap")
        for how, (transform, recolours) in TRANSFORMS.items():
            before = styled_part().parts[0]
            after = transform(styled_part()).parts[0]
            for setting in settings:
                if recolours and setting == "fill":
                    continue
                with self.subTest(transform=how, setting=setting):
                    self.assertEqual(getattr(after, setting), getattr(before, setting))
            if recolours:
                with self.subTest(transform=how, setting="fill"):
                    self.assertEqual(after.fill, "#ff0000")

    def test_written_style_survives(self):
        for how, (transform, _recolours) in TRANSFORMS.items():
            with self.subTest(transform=how):
                svg = ink_svg(transform(styled_part()))[0]
                self.assertIn('stroke-dasharray="', svg)
                self.assertIn('opacity="0.18"', svg)
                self.assertIn('stroke="#abcdef"', svg)
                self.assertIn('stroke-linecap="butt"', svg)

    def test_stroke_width_follows_the_scale(self):
        svg = ink_svg(styled_part().scaled(2))[0]
        self.assertIn('stroke-width="5"', svg)

    def test_copy_refuses_an_unknown_setting(self):
        with self.assertRaises(AttributeError):
            styled_part().parts[0].copy(colour="#000")

    def test_committed_pictures_keep_their_dotted_and_translucent_parts(self):
        # the dotted rectangle of the tool column, the screens' gloss of both indicators
        for name, needle in (
            ("Panelgrammiergaleion", "stroke-dasharray="),
            ("connection-on", 'opacity="0.18"'),
            ("connection-off", 'opacity="0.18"'),
        ):
            with self.subTest(picture=name):
                with open(picture_path(name), encoding="utf-8") as f:
                    self.assertIn(needle, f.read())


class OuterCorners(unittest.TestCase):
    """A row drawn with only its outer corners rounded: the end tiles round their outer side."""

    def test_only_the_rows_outer_corners_are_rounded(self):
        placed = {p.name: p for p in all_pictures()}
        for pic in (placed["PanelIson1"], placed["PanelIson2"]):
            tiles = [t for key, (t, c) in zip(pic.keys, layout(pic)) if key.colour]
            self.assertEqual(len(tiles), 8, pic.name)
            r = pic.radius
            want = [(r, 0, 0, r)] + [(0, 0, 0, 0)] * 6 + [(0, r, r, 0)]
            for i, (tile, radii) in enumerate(zip(tiles, want)):
                with self.subTest(picture=pic.name, tile=i):
                    self.assertEqual(tile_radii(r, tile, tiles), radii)

    def test_a_block_rounds_its_four_corner_tiles_only(self):
        # a 2 x 2 block: each tile has exactly its one outer corner rounded
        tiles = [(0, 0, 10, 10), (10, 0, 10, 10), (0, 10, 10, 10), (10, 10, 10, 10)]
        want = [(3, 0, 0, 0), (0, 3, 0, 0), (0, 0, 0, 3), (0, 0, 3, 0)]
        for tile, radii in zip(tiles, want):
            with self.subTest(tile=tile):
                self.assertEqual(tile_radii(3, tile, tiles), radii)


class SignsUnderButtons(unittest.TestCase):
    def test_each_sign_is_centred_under_its_button_and_inside_the_picture(self):
        for pic in all_pictures():
            ox, oy = pic.offset()
            W, H = pic.size
            for key, (tile, centre) in zip(pic.keys, layout(pic)):
                if key.sign is None or not key.button:
                    continue
                with self.subTest(picture=pic.name, button=key.button):
                    x, y, w, h = key.rect
                    want = (x + w / 2 - ox + key.dx, y + h / 2 - oy + key.dy)
                    ink = place_sign(pic, key, tile, centre)
                    b = ink.bounds()
                    got = ((b[0] + b[2]) / 2, (b[1] + b[3]) / 2)
                    self.assertAlmostEqual(got[0], want[0], delta=0.05)
                    self.assertAlmostEqual(got[1], want[1], delta=0.05)
                    self.assertGreaterEqual(b[0], -0.01)
                    self.assertGreaterEqual(b[1], -0.01)
                    self.assertLessEqual(b[2], W + 0.01)
                    self.assertLessEqual(b[3], H + 0.01)
                    # a sign stays within the button it belongs to
                    self.assertGreaterEqual(b[0], x - ox - 0.5)
                    self.assertLessEqual(b[2], x - ox + w + 0.5)

    def test_each_button_sign_is_a_group_of_its_own_and_each_tile_says_its_rect(self):
        # the program draws each sign apart, at one scale, and each tile again from its rect
        for pic in all_pictures():
            with self.subTest(picture=pic.name):
                root = ET.parse(picture_path(pic.name)).getroot()
                groups = {g.get("id") for g in root.findall(SVG + "g")}
                want = {"sign-" + k.button for k in pic.keys if k.button and k.sign is not None}
                self.assertLessEqual(want, groups)
                tiles = [p for p in root.findall(SVG + "path") if p.get("data-tile")]
                self.assertEqual(len(tiles), sum(1 for k in pic.keys if k.colour) + (1 if pic.frame else 0))
                for p in tiles:
                    self.assertEqual(len(p.get("data-tile").split()), 8)

    def test_button_names_are_unique_in_each_picture(self):
        for pic in all_pictures():
            names = [k.button for k in pic.keys if k.button]
            self.assertEqual(len(names), len(set(names)), pic.name)


def shift_button(picture, button, dx, dy):
    """An edit of the layout table: move one button of the group showing `picture`."""
    def edit(table):
        for members in table["pages"].values():
            for m in members:
                if m.get("image", m["name"]) == picture and m["kind"] == "group":
                    for b in m["buttons"]:
                        if b[0] == button:
                            b[1] += dx
                            b[2] += dy
                elif m["name"] == button and m["kind"] == "key":
                    m["rect"][0] += dx
                    m["rect"][1] += dy
    return edit


def shift_picture(picture, dx, dy):
    """An edit of the layout table: move a group's picture inside its group."""
    def edit(table):
        for members in table["pages"].values():
            for m in members:
                if m.get("image", m["name"]) == picture and m["kind"] == "group":
                    m["picture"][0] += dx
                    m["picture"][1] += dy
    return edit


def sign_centre(pic, button):
    for key, (tile, centre) in zip(pic.keys, layout(pic)):
        if key.button == button:
            ink = place_sign(pic, key, tile, centre)
            b = ink.bounds()
            return key, ink, ((b[0] + b[2]) / 2, (b[1] + b[3]) / 2), tile
    raise AssertionError(f"{button} has no tile in {pic.name}")


class PicturesFollowTheLayout(unittest.TestCase):
    """The pictures take every rectangle from the layout table the program reads."""

    def setUp(self):
        self.expected = layout_pictures(layout_table())
        self.placed = {p.name: p for p in all_pictures()}

    def test_every_button_of_a_group_has_its_tile_and_every_tile_its_button(self):
        self.assertIn("Image31", self.expected, "the mode strip is a picture of its page")
        for name, (_rect, buttons, _stretch) in self.expected.items():
            with self.subTest(picture=name):
                self.assertIn(name, self.placed, f"the layout shows {name}, which no table draws")
                tiles = [k.button for k in self.placed[name].keys if k.button]
                self.assertEqual(sorted(set(buttons) - set(tiles)), [], "buttons with no tile under them")
                self.assertEqual(sorted(set(tiles) - set(buttons)), [], "tiles under no button of the group")

    def test_pictures_and_buttons_lie_where_the_layout_puts_them(self):
        for name, (rect, buttons, stretch) in self.expected.items():
            pic = self.placed[name]
            with self.subTest(picture=name):
                self.assertEqual(list(pic.at) + list(pic.size), rect)
                self.assertAlmostEqual(pic.sign_sx, 1 / stretch if stretch else 1.0)
            for key in pic.keys:
                if key.button:
                    with self.subTest(picture=name, button=key.button):
                        self.assertEqual(list(key.rect), buttons[key.button])

    def test_the_tables_keep_no_copy_of_the_layouts_rectangles(self):
        for pic in table_pictures():
            if pic.name not in self.expected:
                continue
            with self.subTest(picture=pic.name):
                self.assertIsNone(pic.size)
                self.assertIsNone(pic.at)
                self.assertEqual([k.button for k in pic.keys if k.button and k.rect is not None], [])

    def test_a_rectangle_changed_in_the_layout_moves_the_sign(self):
        # (picture, button, edit of the layout table, how far the sign moves in the picture)
        cases = [
            ("Panelendikseis", "en16", shift_button("Panelendikseis", "en16", 6, 0), (6, 0)),
            ("PanelIson1", "k4", shift_button("PanelIson1", "k4", 0, -2), (0, -2)),
            ("Image18", "ark1", shift_button("Image18", "ark1", -3, 4), (-3, 4)),  # tile centred under its button
            ("Image31", "mh3", shift_button("Image31", "mh3", 0, 1), (0, 1)),  # a key of the page
            ("Paneldiastoles", "di5", shift_picture("Paneldiastoles", 2, 1), (-2, -1)),
        ]
        tables = {p.name: p for p in table_pictures()}
        for name, button, edit, (dx, dy) in cases:
            with self.subTest(picture=name, button=button):
                table = layout_table()
                edited = copy.deepcopy(table)
                edit(edited)
                self.assertNotEqual(edited, table, "the edit changed nothing")
                before = Layout(table).place(tables[name])
                after = Layout(edited).place(tables[name])
                _key, _ink, (x0, y0), tile0 = sign_centre(before, button)
                key, ink, (x1, y1), tile1 = sign_centre(after, button)
                self.assertAlmostEqual(x1 - x0, dx, delta=0.01)
                self.assertAlmostEqual(y1 - y0, dy, delta=0.01)
                if key.tile_size:
                    self.assertEqual((tile1[0] - tile0[0], tile1[1] - tile0[1]), (dx, dy))
                drawn = render(after)
                for line_ in ink_svg(ink):
                    self.assertIn(line_, drawn, "the moved sign is not in the drawn picture")

    def test_a_table_that_does_not_fit_the_layout_is_refused(self):
        table = {"pages": {"P": [
            {"name": "G", "kind": "group", "rect": [0, 0, 50, 50], "picture": [1, 2, 40, 40],
             "buttons": [["b1", 3, 4, 10, 10]]},
        ]}}
        fits = Picture("G", keys=[Key("b1", None, "#fff")])
        placed = Layout(table).place(fits)
        self.assertEqual((placed.size, placed.at, placed.keys[0].rect), ((40, 40), (1, 2), (3, 4, 10, 10)))
        for why, pic in (
            ("a button the group lacks", Picture("G", keys=[Key("b2", None, "#fff")])),
            ("the button's rect copied", Picture("G", keys=[Key("b1", (3, 4, 10, 10), "#fff")])),
            ("the picture's size copied", Picture("G", size=(40, 40), keys=[Key("b1", None, "#fff")])),
            ("no group shows it", Picture("H", keys=[Key("b1", None, "#fff")])),
        ):
            with self.subTest(why=why):
                with self.assertRaises(LayoutError):
                    Layout(table).place(pic)


if __name__ == "__main__":
    unittest.main()
