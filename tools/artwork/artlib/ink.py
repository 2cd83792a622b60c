"""Ink: vector drawings made of font outlines and plain shapes.

All coordinates are y-down. Glyphs are normalised to 1000 units per em, so a
drawing built from glyphs is measured in "font units" until it is placed on a
picture. Every part of an Ink is a path with its own affine matrix and style;
the bounding box is kept up to date so that signs can be centred exactly.
"""

import copy
import math
import unicodedata
import re

from fontTools.pens.basePen import BasePen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

FONT_DIR = "/usr/share/fonts/truetype"

# name -> file; every file comes from Debian's fonts-noto-core or fonts-dejavu-core
FONTS = {
    "music": "noto/NotoMusic-Regular.ttf",
    "serif": "noto/NotoSerif-Regular.ttf",
    "serif-bold": "noto/NotoSerif-Bold.ttf",
    "serif-italic": "noto/NotoSerif-Italic.ttf",
    "serif-bolditalic": "noto/NotoSerif-BoldItalic.ttf",
    "sans": "noto/NotoSans-Regular.ttf",
    "sans-bold": "noto/NotoSans-Bold.ttf",
    "dejavu": "dejavu/DejaVuSans.ttf",
    "dejavu-bold": "dejavu/DejaVuSans-Bold.ttf",
}

_loaded = {}


def font(name):
    if name not in _loaded:
        f = TTFont(f"{FONT_DIR}/{FONTS[name]}")
        _loaded[name] = (f, f.getGlyphSet(), f.getBestCmap(), f["head"].unitsPerEm)
    return _loaded[name]


def mul(a, b):
    """Compose affine matrices (a after b), each (xx, xy, yx, yy, dx, dy) as in SVG."""
    a0, a1, a2, a3, a4, a5 = a
    b0, b1, b2, b3, b4, b5 = b
    return (
        a0 * b0 + a2 * b1,
        a1 * b0 + a3 * b1,
        a0 * b2 + a2 * b3,
        a1 * b2 + a3 * b3,
        a0 * b4 + a2 * b5 + a4,
        a1 * b4 + a3 * b5 + a5,
    )


IDENT = (1, 0, 0, 1, 0, 0)


def translate(dx, dy):
    return (1, 0, 0, 1, dx, dy)


def scale(sx, sy=None):
    return (sx, 0, 0, sx if sy is None else sy, 0, 0)


class Part:
    """One path: recorded pen operations in local coordinates, a matrix, a style."""

    def __init__(self, ops, matrix=IDENT, fill="#000", stroke=None, width=0, cap="round", dash=False, opacity=None):
        self.ops = ops  # RecordingPen value
        self.matrix = matrix
        self.fill = fill
        self.stroke = stroke
        self.width = width  # stroke width in local units
        self.cap = cap
        self.dash = dash  # a dotted stroke
        self.opacity = opacity  # None: opaque

    def copy(self, **kw):
        """The same part with the settings in kw changed.

        Every other setting is kept, those set on a part after it was made
        included (a colour kept through recolouring, say): moving or scaling a
        drawing must never change how it looks.
        """
        p = copy.copy(self)
        for k, v in kw.items():
            if not hasattr(p, k):
                raise AttributeError(f"a part has no setting {k!r}")
            setattr(p, k, v)
        return p

    def bounds(self):
        bp = BoundsPen(None)
        replay(self.ops, TransformPen(bp, self.matrix))
        if bp.bounds is None:
            return None
        x0, y0, x1, y1 = bp.bounds
        if self.stroke:
            s = math.sqrt(abs(self.matrix[0] * self.matrix[3] - self.matrix[1] * self.matrix[2]))
            h = self.width * s / 2
            x0, y0, x1, y1 = x0 - h, y0 - h, x1 + h, y1 + h
        return (x0, y0, x1, y1)

    def path_d(self):
        """Path data with the matrix applied, rounded to 0.01 units."""
        pen = SVGPathPen(None, ntos=lambda v: ("%.2f" % v).rstrip("0").rstrip("."))
        replay(self.ops, TransformPen(pen, self.matrix))
        return pen.getCommands()

    def stroke_scale(self):
        return math.sqrt(abs(self.matrix[0] * self.matrix[3] - self.matrix[1] * self.matrix[2]))


def replay(ops, pen):
    for op, args in ops:
        getattr(pen, op)(*args)


class Ink:
    """A drawing: an ordered list of parts (later parts paint on top)."""

    def __init__(self, parts=None, says=None):
        self.parts = list(parts or [])
        # What the drawing shows, in words, for screen readers: the names of its glyphs and its
        # texts, in drawing order.
        self.says = list(says or [])

    def bounds(self):
        bs = [b for b in (p.bounds() for p in self.parts) if b]
        if not bs:
            return (0, 0, 0, 0)
        return (min(b[0] for b in bs), min(b[1] for b in bs), max(b[2] for b in bs), max(b[3] for b in bs))

    @property
    def width(self):
        b = self.bounds()
        return b[2] - b[0]

    @property
    def height(self):
        b = self.bounds()
        return b[3] - b[1]

    def centre(self):
        b = self.bounds()
        return ((b[0] + b[2]) / 2, (b[1] + b[3]) / 2)

    def transformed(self, m):
        return Ink([p.copy(matrix=mul(m, p.matrix)) for p in self.parts], self.says)

    def moved(self, dx, dy):
        return self.transformed(translate(dx, dy))

    def scaled(self, sx, sy=None):
        return self.transformed(scale(sx, sy))

    def coloured(self, colour, stroke=False):
        """Same drawing in another colour (fills, and strokes when asked)."""
        out = []
        for p in self.parts:
            q = p.copy()
            if q.fill not in (None, "none") and not getattr(q, "keep", False):
                q.fill = colour
            if q.stroke and stroke:
                q.stroke = colour
            out.append(q)
        return Ink(out, self.says)

    def __add__(self, other):
        return Ink(self.parts + other.parts, self.says + other.says)


# ---------------------------------------------------------------- glyphs


def glyph_ops(fontname, ch):
    f, gs, cmap, upm = font(fontname)
    cp = ord(ch) if isinstance(ch, str) else ch
    if cp not in cmap:
        raise KeyError(f"{fontname} has no glyph for U+{cp:04X}")
    name = cmap[cp]
    rec = DecomposingRecordingPen(gs)
    gs[name].draw(rec)
    return rec.value, gs[name].width, upm


def glyph(cp, fontname="music", colour="#000", pieces=None):
    """One glyph as ink, 1000 units per em, baseline at y 0, y pointing down.

    pieces: optional list of contour indices to keep (contours counted in
    drawing order), for signs that are one part of a composed glyph.
    """
    ops, _adv, upm = glyph_ops(fontname, cp)
    if pieces is not None:
        ops = [op for i, op in enumerate(split_contours(ops)) if i in pieces]
        ops = [o for c in ops for o in c]
    k = 1000 / upm
    return Ink([Part(ops, (k, 0, 0, -k, 0, 0), fill=colour)], [glyph_name(cp)])


def glyph_name(cp):
    """The glyph's character name, short: "BYZANTINE MUSICAL SYMBOL OLIGON NEO" -> "oligon"."""
    cp = ord(cp) if isinstance(cp, str) else cp
    words = unicodedata.name(chr(cp), f"U+{cp:04X}").split()
    if words[:3] == ["BYZANTINE", "MUSICAL", "SYMBOL"]:
        words = [w for w in words[3:] if w != "NEO"]
    return " ".join(words).lower()


def split_contours(ops):
    out, cur = [], []
    for op in ops:
        cur.append(op)
        if op[0] in ("closePath", "endPath"):
            out.append(cur)
            cur = []
    if cur:
        out.append(cur)
    return out


FALLBACK = {"serif": "dejavu", "serif-bold": "dejavu-bold", "serif-italic": "dejavu",
            "sans": "dejavu", "sans-bold": "dejavu-bold"}


def text(s, fontname="serif", colour="#000", tracking=0):
    """A run of characters as ink: advance widths only, no shaping.

    Characters the font lacks (arrows) come from its fallback font.
    """
    parts = []
    x = 0
    for ch in s:
        if ch == " ":
            f, gs, cmap, upm = font(fontname)
            x += gs[cmap[32]].width * 1000 / upm + tracking
            continue
        fn = fontname if ord(ch) in font(fontname)[2] else FALLBACK.get(fontname, "dejavu")
        ops, adv, upm = glyph_ops(fn, ch)
        k = 1000 / upm
        parts.append(Part(ops, (k, 0, 0, -k, x, 0), fill=colour))
        x += adv * k + tracking
    return Ink(parts, [s.strip()] if s.strip() else [])


# ---------------------------------------------------------------- plain shapes


def _ops_from_d(d):
    """Parse a small SVG path (absolute M L C Q Z and their lowercase forms, H V A not supported)."""
    toks = re.findall(r"[MLCQZmlcqz]|-?\d*\.?\d+(?:e-?\d+)?", d)
    ops, i, cmd = [], 0, None
    cur = (0.0, 0.0)
    start = cur
    open_ = False
    while i < len(toks):
        t = toks[i]
        if t.isalpha():
            cmd = t
            i += 1
            if cmd in "Zz":
                ops.append(("closePath", ()))
                open_ = False
                cur = start
                continue
        n = {"M": 2, "L": 2, "C": 6, "Q": 4}[cmd.upper()]
        vals = [float(v) for v in toks[i : i + n]]
        i += n
        if cmd.islower():
            vals = [v + (cur[j % 2]) for j, v in enumerate(vals)]
        pts = [(vals[j], vals[j + 1]) for j in range(0, n, 2)]
        c = cmd.upper()
        if c == "M":
            if open_:
                ops.append(("endPath", ()))
            ops.append(("moveTo", (pts[0],)))
            start = pts[0]
            open_ = True
            cmd = "l" if cmd == "m" else "L"
        elif c == "L":
            ops.append(("lineTo", (pts[0],)))
        elif c == "C":
            ops.append(("curveTo", tuple(pts)))
        elif c == "Q":
            ops.append(("qCurveTo", tuple(pts)))
        cur = pts[-1]
    if open_:
        ops.append(("endPath", ()))
    return ops


def path(d, fill="#000", stroke=None, width=0, cap="round"):
    return Ink([Part(_ops_from_d(d), IDENT, fill=fill, stroke=stroke, width=width, cap=cap)])


def line(points, colour="#000", width=1, cap="round"):
    d = "M" + " L".join(f"{x} {y}" for x, y in points)
    return path(d, fill="none", stroke=colour, width=width, cap=cap)


def rect(x, y, w, h, fill="#000", r=0, stroke=None, width=0):
    """A rectangle; r rounds its corners, one radius for all four or (top left, top right,
    bottom right, bottom left)."""
    if isinstance(r, tuple):
        return path(_corners_d(x, y, w, h, r), fill=fill, stroke=stroke, width=width)
    if r <= 0:
        d = f"M{x} {y} L{x + w} {y} L{x + w} {y + h} L{x} {y + h} Z"
    else:
        r = min(r, w / 2, h / 2)
        c = r * 0.5523
        d = (
            f"M{x + r} {y} L{x + w - r} {y} C{x + w - r + c} {y} {x + w} {y + r - c} {x + w} {y + r} "
            f"L{x + w} {y + h - r} C{x + w} {y + h - r + c} {x + w - r + c} {y + h} {x + w - r} {y + h} "
            f"L{x + r} {y + h} C{x + r - c} {y + h} {x} {y + h - r + c} {x} {y + h - r} "
            f"L{x} {y + r} C{x} {y + r - c} {x + r - c} {y} {x + r} {y} Z"
        )
    return path(d, fill=fill, stroke=stroke, width=width)


def _corners_d(x, y, w, h, radii):
    """Path of a rectangle whose corners each have their own radius (0: square)."""
    tl, tr, br, bl = (min(r, w / 2, h / 2) for r in radii)
    c = 0.5523
    d = f"M{x + tl} {y} L{x + w - tr} {y} "
    if tr > 0:
        d += f"C{x + w - tr + tr * c} {y} {x + w} {y + tr - tr * c} {x + w} {y + tr} "
    d += f"L{x + w} {y + h - br} "
    if br > 0:
        d += f"C{x + w} {y + h - br + br * c} {x + w - br + br * c} {y + h} {x + w - br} {y + h} "
    d += f"L{x + bl} {y + h} "
    if bl > 0:
        d += f"C{x + bl - bl * c} {y + h} {x} {y + h - bl + bl * c} {x} {y + h - bl} "
    d += f"L{x} {y + tl} "
    if tl > 0:
        d += f"C{x} {y + tl - tl * c} {x + tl - tl * c} {y} {x + tl} {y} "
    return d + "Z"


def circle(cx, cy, r, fill="#000", stroke=None, width=0):
    return ellipse(cx, cy, r, r, fill, stroke, width)


def ellipse(cx, cy, rx, ry, fill="#000", stroke=None, width=0):
    c = 0.5523
    d = (
        f"M{cx + rx} {cy} C{cx + rx} {cy + ry * c} {cx + rx * c} {cy + ry} {cx} {cy + ry} "
        f"C{cx - rx * c} {cy + ry} {cx - rx} {cy + ry * c} {cx - rx} {cy} "
        f"C{cx - rx} {cy - ry * c} {cx - rx * c} {cy - ry} {cx} {cy - ry} "
        f"C{cx + rx * c} {cy - ry} {cx + rx} {cy - ry * c} {cx + rx} {cy} Z"
    )
    return path(d, fill=fill, stroke=stroke, width=width)


def arc_points(cx, cy, r, a0, a1, n=24):
    """Points on a circle from angle a0 to a1 (degrees, 0 = right, 90 = down)."""
    return [
        (cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / n)), cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / n)))
        for i in range(n + 1)
    ]


# ---------------------------------------------------------------- composition


def centred(ink, at=(0, 0)):
    cx, cy = ink.centre()
    return ink.moved(at[0] - cx, at[1] - cy)


def stack(*inks, gap=60, align="centre"):
    """Inks one under another (first on top), horizontally centred or aligned."""
    out = Ink()
    y = 0
    for ink in inks:
        b = ink.bounds()
        if align == "centre":
            dx = -(b[0] + b[2]) / 2
        elif align == "left":
            dx = -b[0]
        else:
            dx = -b[2]
        out += ink.moved(dx, y - b[1])
        y += b[3] - b[1] + gap
    return out


def row(*inks, gap=60, valign="centre"):
    """Inks side by side, left to right, vertically centred (or on a shared baseline)."""
    out = Ink()
    x = 0
    for ink in inks:
        b = ink.bounds()
        if valign == "centre":
            dy = -(b[1] + b[3]) / 2
        elif valign == "bottom":
            dy = -b[3]
        else:  # baseline: leave y alone
            dy = 0
        out += ink.moved(x - b[0], dy)
        x += b[2] - b[0] + gap
    return out


def on(base, top, dx=0, dy=0, gap=40, where="above", anchor="centre"):
    """Put `top` above/below/on `base`.

    anchor chooses the horizontal spot on the base: "centre", "left", "right"
    or a fraction 0..1 of the base's width; dx, dy shift it further.
    """
    bb = base.bounds()
    tb = top.bounds()
    if anchor == "centre":
        ax = (bb[0] + bb[2]) / 2
    elif anchor == "left":
        ax = bb[0] + (tb[2] - tb[0]) / 2
    elif anchor == "right":
        ax = bb[2] - (tb[2] - tb[0]) / 2
    else:
        ax = bb[0] + (bb[2] - bb[0]) * anchor
    tx = ax - (tb[0] + tb[2]) / 2 + dx
    if where == "above":
        ty = bb[1] - gap - tb[3] + dy
    elif where == "below":
        ty = bb[3] + gap - tb[1] + dy
    else:  # centred on the base
        ty = (bb[1] + bb[3]) / 2 - (tb[1] + tb[3]) / 2 + dy
    return base + top.moved(tx, ty)
