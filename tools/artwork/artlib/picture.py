"""Pictures: a ground, tiles and signs, written as one SVG file.

A picture is described by a table of keys. Each key names the button that
lies over it and what the tile under it shows. The picture itself lies at `at`
inside its group, so a sign is drawn centred at  button centre - picture
offset,  which puts it under its button once the picture is stretched to its
rectangle. The buttons' rects, the picture's size and `at` are the window's
layout table's (see layout.py), filled in before a picture is drawn.
"""

from dataclasses import dataclass, field

from .ink import Ink, rect

_gradient_ids = 0


@dataclass
class Key:
    button: str | None  # name of the button over the tile; None for a blank tile
    rect: tuple | None  # (x, y, w, h): the button's rect in group units from the layout, or the tile's if blank
    colour: str | None = None  # tile colour; None leaves the ground showing
    sign: Ink | None = None  # the drawing, in font units (1000 per em)
    k: float = 1.0  # size of this sign relative to the picture's em
    tile: tuple | None = None  # explicit tile rect in picture units, when the grid differs
    tile_size: tuple | None = None  # (w, h) of a tile centred under the button, when not the button's rect
    dx: float = 0  # nudge of the sign in picture units
    dy: float = 0
    fit: bool = True  # shrink the sign when it would not fit its tile
    says: str | None = None  # the key in words, where its sign has no glyph or text to name it


@dataclass
class Picture:
    name: str
    size: tuple | None = None  # (w, h) of the picture's rectangle in design units: the viewBox
    at: tuple | None = None  # where the picture lies inside its group (group units); None: (0, 0)
    keys: list = field(default_factory=list)
    em: float = 30.0  # design units per 1000 font units
    ground: object = None  # None, a colour, or ("vgradient", top, bottom)
    frame: tuple | None = None  # (colour, width) of an outline round the whole picture
    radius: float = 3.0  # tile corner radius
    round_outer: bool = False  # round only the tiles' corners on the outline of all tiles
    gap: float = 1.0  # space between neighbouring tiles
    pad: float = 0.12  # fraction of a tile kept free round its sign
    extra: list = field(default_factory=list)  # ink drawn after the ground and before tiles
    overlay: list = field(default_factory=list)  # ink drawn last, in picture units
    tile_stroke: tuple | None = None  # (colour, width) of the tiles' border
    defs: list = field(default_factory=list)  # raw gradient definitions referenced by fills
    sign_sx: float = 1.0  # horizontal squeeze of the signs, for a picture drawn stretched

    def offset(self):
        """Where the picture lies in the frame its keys' rects are given in."""
        return self.at if self.at is not None else (0, 0)

    def key_rect(self, key):
        """The key's button rect in picture units."""
        ox, oy = self.offset()
        x, y, w, h = key.rect
        return (x - ox, y - oy, w, h)


def _split_overlaps(rects):
    """Tiles taken from button rects may overlap where buttons do: split the overlap."""
    rs = [list(r) for r in rects]
    for i in range(len(rs)):
        for j in range(i + 1, len(rs)):
            a, b = rs[i], rs[j]
            ox = min(a[0] + a[2], b[0] + b[2]) - max(a[0], b[0])
            oy = min(a[1] + a[3], b[1] + b[3]) - max(a[1], b[1])
            if ox <= 0 or oy <= 0:
                continue
            if ox < oy:  # side by side
                left, right = (a, b) if a[0] < b[0] else (b, a)
                mid = (left[0] + left[2] + right[0]) / 2
                left[2] = mid - left[0]
                right[2] = right[0] + right[2] - mid
                right[0] = mid
            else:
                top, bot = (a, b) if a[1] < b[1] else (b, a)
                mid = (top[1] + top[3] + bot[1]) / 2
                top[3] = mid - top[1]
                bot[3] = bot[1] + bot[3] - mid
                bot[1] = mid
    return [tuple(r) for r in rs]


def layout(pic):
    """Tile rect (picture units) and sign centre for every key."""
    W, H = pic.size
    raw = []
    for key in pic.keys:
        if key.tile is not None:
            raw.append(key.tile)
        elif key.tile_size is not None:
            bx, by, bw, bh = pic.key_rect(key)
            tw, th = key.tile_size
            raw.append((bx + bw / 2 - tw / 2, by + bh / 2 - th / 2, tw, th))
        else:
            x, y, w, h = pic.key_rect(key) if key.button else _blank_rect(pic, key)
            x0, y0 = max(0, x), max(0, y)
            x1, y1 = min(W, x + w), min(H, y + h)
            raw.append((x0, y0, x1 - x0, y1 - y0))
    auto = [i for i, k in enumerate(pic.keys) if k.tile is None and k.tile_size is None]
    split = _split_overlaps([raw[i] for i in auto])
    for i, r in zip(auto, split):
        raw[i] = r
    out = []
    for key, t in zip(pic.keys, raw):
        if key.button:
            bx, by, bw, bh = pic.key_rect(key)
            c = (bx + bw / 2 + key.dx, by + bh / 2 + key.dy)
        else:
            c = (t[0] + t[2] / 2 + key.dx, t[1] + t[3] / 2 + key.dy)
        out.append((t, c))
    return out


def _blank_rect(pic, key):
    ox, oy = pic.offset()
    x, y, w, h = key.rect
    return (x - ox, y - oy, w, h)


def place_sign(pic, key, tile, centre):
    """Scale the key's sign to the picture's em, shrink it into its tile, centre it."""
    ink = key.sign
    b = ink.bounds()
    bw, bh = max(b[2] - b[0], 1e-6), max(b[3] - b[1], 1e-6)
    s = pic.em * key.k / 1000
    sx = pic.sign_sx
    if key.fit:
        g = 1 - 2 * pic.pad
        s = min(s, tile[2] * g / (bw * sx), tile[3] * g / bh)
    ink = ink.scaled(s * sx, s)
    cx, cy = ink.centre()
    return ink.moved(centre[0] - cx, centre[1] - cy)


def _fmt(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def ink_svg(ink, indent="  "):
    lines = []
    for p in ink.parts:
        d = p.path_d()
        if not d:
            continue
        attrs = [f'd="{d}"']
        attrs.append(f'fill="{p.fill if p.fill else "none"}"')
        if p.stroke:
            attrs.append(f'stroke="{p.stroke}"')
            attrs.append(f'stroke-width="{_fmt(p.width * p.stroke_scale())}"')
            attrs.append(f'stroke-linecap="{p.cap}" stroke-linejoin="round"')
        if p.dash:
            attrs.append('stroke-dasharray="1.2 1.2"')
        if p.opacity is not None:
            attrs.append(f'opacity="{p.opacity}"')
        lines.append(f"{indent}<path {' '.join(attrs)}/>")
    return lines


def sign_id(key, index):
    """The id of a sign's group in the SVG: the program draws each sign on its own, at one scale
    across and down, centred where the picture's stretching puts its centre."""
    return f"sign-{key.button}" if key.button else f"sign-{index}"


def tile_svg(box, fill, radius, stroke, width):
    """A tile, with its rect, corner radii and outline in `data-tile` ("x y w h tl tr br bl",
    the outline centred on the rect's edges): the program draws it again from these, stretched
    to its rectangle, with corners and outline that stay round and even at any stretch."""
    x, y, w, h = box
    radii = radius if isinstance(radius, tuple) else (radius,) * 4
    radii = tuple(min(r, w / 2, h / 2) for r in radii)
    data = " ".join(_fmt(v) for v in (x, y, w, h) + radii)
    lines = ink_svg(rect(x, y, w, h, fill=fill or "none", r=radius, stroke=stroke, width=width))
    return [line.replace("<path ", f'<path data-tile="{data}" ', 1) for line in lines]


def tile_radii(radius, tile, tiles):
    """Corner radii (top left, top right, bottom right, bottom left) of a tile when only the
    outer corners of the block of tiles are rounded."""
    x0 = min(t[0] for t in tiles)
    y0 = min(t[1] for t in tiles)
    x1 = max(t[0] + t[2] for t in tiles)
    y1 = max(t[1] + t[3] for t in tiles)
    e = 0.01
    left, top = tile[0] <= x0 + e, tile[1] <= y0 + e
    right, bottom = tile[0] + tile[2] >= x1 - e, tile[1] + tile[3] >= y1 - e
    return tuple(radius if a and b else 0 for a, b in ((top, left), (top, right), (bottom, right), (bottom, left)))


def render(pic, debug=False):
    """The picture as SVG text. With debug, the buttons are outlined in red."""
    global _gradient_ids
    W, H = pic.size
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 {_fmt(W)} {_fmt(H)}" '
        f'width="{_fmt(W)}" height="{_fmt(H)}" preserveAspectRatio="none">',
    ]
    defs = list(pic.defs)
    if isinstance(pic.ground, tuple) and pic.ground[0] == "vgradient":
        defs.append(
            f'<linearGradient id="ground" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{pic.ground[1]}"/><stop offset="1" stop-color="{pic.ground[2]}"/>'
            f"</linearGradient>"
        )
        out.append(f'  <rect width="{_fmt(W)}" height="{_fmt(H)}" fill="url(#ground)"/>')
    elif pic.ground:
        out.append(f'  <rect width="{_fmt(W)}" height="{_fmt(H)}" fill="{pic.ground}"/>')
    if defs:
        out.insert(2, "  <defs>" + "".join(defs) + "</defs>")
    for ink in pic.extra:
        out += ink_svg(ink)
    placed = layout(pic)
    tiles = [t for key, (t, c) in zip(pic.keys, placed) if key.colour]
    for key, (t, c) in zip(pic.keys, placed):
        if key.colour:
            g = pic.gap / 2
            stroke, width = pic.tile_stroke or (None, 0)
            r = tile_radii(pic.radius, t, tiles) if pic.round_outer else pic.radius
            out += tile_svg((t[0] + g, t[1] + g, t[2] - 2 * g, t[3] - 2 * g), key.colour, r, stroke, width)
    for i, (key, (t, c)) in enumerate(zip(pic.keys, placed)):
        if key.sign is not None:
            out.append(f'  <g id="{sign_id(key, i)}">')
            out += ink_svg(place_sign(pic, key, t, c), indent="    ")
            out.append("  </g>")
    for ink in pic.overlay:
        out += ink_svg(ink)
    if pic.frame:
        colour, w = pic.frame
        out += tile_svg((w / 2, w / 2, W - w, H - w), None, 0, colour, w)
    if debug:
        for key in pic.keys:
            if key.button:
                x, y, w, h = pic.key_rect(key)
                out.append(
                    f'  <rect x="{_fmt(x)}" y="{_fmt(y)}" width="{_fmt(w)}" height="{_fmt(h)}" '
                    f'fill="none" stroke="#ff0000" stroke-width="0.5" stroke-opacity="0.8"/>'
                )
                out.append(f'  <circle cx="{_fmt(x + w / 2)}" cy="{_fmt(y + h / 2)}" r="0.6" fill="red"/>')
    out.append("</svg>")
    return "\n".join(out) + "\n"
