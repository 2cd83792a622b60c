#!/usr/bin/python3
"""Checks of the generated pictures.

    /usr/bin/python3 -m unittest discover -s tools/artwork -p 'test_*.py'

The committed files in assets/ are checked as they are (so a table edited
without regenerating shows up here), and the tables are checked for every
sign lying centred under its button and inside its picture.
"""

import os
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)

from artlib.ink import line, path  # noqa: E402
from artlib.picture import ink_svg, layout, place_sign, render, tile_radii  # noqa: E402
from generate import all_pictures, names_json  # noqa: E402
from tables import keyboard, tools  # noqa: E402

SVG = "{http://www.w3.org/2000/svg}"

# Every picture the program loads, with the rectangle it is stretched to.
EXPECTED = {
    "PanelIson1": (289, 38), "PanelIson2": (289, 38),
    "PanelMartyries1": (290, 38), "PanelMartyries2": (290, 38),
    "PanelxronikiAgogi1": (289, 36), "Panelyfesi": (289, 38),
    "Panelanavasi1": (179, 236), "Panelanavasi2": (177, 235),
    "PanelLoipa": (178, 119),
    "PanelKatavasi1": (178, 162), "PanelKatavasi2": (180, 160),
    "PanelPoiotitas1": (47, 295), "PanelPoiotitas2": (47, 295),
    "Panelgorgo": (73, 444), "Paneldiastoles": (131, 71),
    "Panelfthores": (289, 124), "Panelmetra": (50, 202), "Panelasterakia": (50, 202),
    "Panelendikseis": (185, 293), "Panelyfeseis2": (50, 202), "Panelentasi": (152, 273),
    "Panelpena": (50, 163),
    "Panelgrammiergaleion": (43, 710), "Panelkoumpiahxos": (47, 107),
    "Image18": (326, 259), "Image19": (326, 259), "Image20": (326, 259), "Image26": (326, 259),
    "Image27": (326, 259), "Image28": (326, 259), "Image29": (326, 259), "Image30": (326, 259),
    "Image31": (376, 57),
    "ImageControl2": (72, 72), "ImageControl3": (72, 72), "arrow-key": (32, 32),
    "connection-off": (128, 128), "connection-on": (64, 64),
}


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
        self.assertGreater(len(root.findall(SVG + "path")), 0, f"{path} draws nothing")

    def test_every_picture_is_an_outline_svg_of_its_rectangle(self):
        for name, size in EXPECTED.items():
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
        for pic in (keyboard.PanelIson1, keyboard.PanelIson2):
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

    def test_button_names_are_unique_in_each_picture(self):
        for pic in all_pictures():
            names = [k.button for k in pic.keys if k.button]
            self.assertEqual(len(names), len(set(names)), pic.name)


if __name__ == "__main__":
    unittest.main()
