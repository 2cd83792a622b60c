"""The tool column, the top-left block, the connection indicator, the two
large arrows and the arrow pad's arrow of the cursor page, and the program icon.

The tool column's symbols are plain shapes drawn in the picture's own units
(em 1000: one ink unit is one design unit) and centred under their buttons.
"""

from artlib.ink import Ink, arc_points, circle, ellipse, line, path, rect, text
from artlib.picture import Key, Picture

from .keyboard import K
from .signs import DARK_RED

TOOL_TAN = "#dec49f"
BAND_GREY = "#9a9a9a"
INK_DARK = "#2b2b2b"
POWER_RED = "#d22a2a"
POWER_GREEN = "#35d04a"
BLOCK_BEIGE = "#efe3af"

# ======================================================================
# Tool column symbols (drawn centred on 0,0, in design units)
# ======================================================================


def power():
    """A red square with a green power symbol."""
    sq = rect(-14.5, -14.5, 29, 29, fill=POWER_RED, r=3)
    ring = line(arc_points(0, 1.5, 8.5, -60, 240, 36), colour=POWER_GREEN, width=3.2)
    bar = line([(0, -10), (0, 1)], colour=POWER_GREEN, width=3.2)
    return sq + ring + bar


def backspace():
    """A key shape pointing left with a light x on it."""
    key = path("M-14 0 L-7 -6 L14 -6 L14 6 L-7 6 Z", fill=INK_DARK)
    x = line([(-1, -3), (6, 3)], colour="#e8e8e8", width=1.6) + line([(6, -3), (-1, 3)], colour="#e8e8e8", width=1.6)
    return key + x


def text_lines(n, top, height, width=26, last=0.55, mark=False):
    out = Ink()
    step = height / (n - 1)
    for i in range(n):
        y = top + i * step
        w = width * (last if i == n - 1 else 1)
        x0 = -width / 2 + (5 if (mark and i == 0) else 0)
        out += line([(x0, y), (-width / 2 + w, y)], colour=INK_DARK, width=1.6, cap="butt")
    if mark:
        out += path(f"M{-width / 2} {top - 2.5} L{-width / 2 + 3.6} {top - 2.5} L{-width / 2 + 1.8} {top + 1.5} Z", fill=INK_DARK)
    return out


def lines_over_box():
    out = text_lines(3, -7.5, 6, width=24)
    out += rect(-9, 2, 21, 6, fill="none", stroke=INK_DARK, width=0.9)
    out.parts[-1].dash = True
    out += path("M-14 2 L-10 5 L-14 8 Z", fill="#000")
    return out


def double_arrow():
    """A horizontal double-headed arrow between two vertical bars."""
    out = line([(-14, -4), (-14, 4)], colour=INK_DARK, width=1.8) + line([(14, -4), (14, 4)], colour=INK_DARK, width=1.8)
    out += line([(-9, 0), (9, 0)], colour=INK_DARK, width=1.6)
    out += path("M-11.5 0 L-7 -3 L-7 3 Z", fill=INK_DARK) + path("M11.5 0 L7 -3 L7 3 Z", fill=INK_DARK)
    return out


def four_way_arrow():
    out = line([(-7, 0), (7, 0)], colour=INK_DARK, width=2) + line([(0, -7), (0, 7)], colour=INK_DARK, width=2)
    out += path("M0 -9.5 L-3.5 -5.5 L3.5 -5.5 Z", fill=INK_DARK) + path("M0 9.5 L-3.5 5.5 L3.5 5.5 Z", fill=INK_DARK)
    out += path("M-9.5 0 L-5.5 -3.5 L-5.5 3.5 Z", fill=INK_DARK) + path("M9.5 0 L5.5 -3.5 L5.5 3.5 Z", fill=INK_DARK)
    return out


def gear(cx, cy, r, teeth=8, colour="#000"):
    pts = []
    n = teeth * 4
    for i in range(n):
        a = 360 * i / n
        rr = r if (i % 4) in (0, 1) else r * 0.72
        pts.append(arc_points(cx, cy, rr, a, a, 1)[0])
    d = "M" + " L".join(f"{x:.2f} {y:.2f}" for x, y in pts) + " Z"
    hole = circle(cx, cy, r * 0.3, fill=TOOL_TAN)
    return path(d, fill=colour) + hole


def gears():
    return gear(-5, -3.5, 8.5, 9) + gear(7.5, 4.5, 6.5, 8) + gear(-4.5, 8.5, 3.5, 6)


def plug():
    """A power plug: two plug halves joined on a slanting cable."""
    out = line([(-21, 0), (-14, 0)], colour="#000", width=2.4) + line([(14, 0), (21, 0)], colour="#000", width=2.4)
    out += rect(-14, -5.5, 9, 11, fill="#000", r=1.5)  # socket half
    out += rect(4, -5.5, 10, 11, fill="#000", r=1.5)  # plug half
    out += line([(-6, -2.6), (4, -2.6)], colour="#000", width=1.8, cap="butt")  # the two pins
    out += line([(-6, 2.6), (4, 2.6)], colour="#000", width=1.8, cap="butt")
    return out.transformed((0.7071, -0.7071, 0.7071, 0.7071, 0, 0))


def band(y0, y1):
    return rect(0, y0, 43, y1 - y0, fill=BAND_GREY)


SYMBOL = dict(colour=None, fit=False)

Panelgrammiergaleion = Picture(
    "Panelgrammiergaleion", em=1000, ground=TOOL_TAN, frame=(BAND_GREY, 1),
    extra=[band(0, 6), band(146, 150), band(366, 370), band(423, 427), band(703, 708)],
    keys=[
        K("off",             None, power(), fit=False),
        K("SpeedButton35",   None, backspace(), fit=False),
        K("N5",              None, None),
        K("SpeedButton14",   None, text_lines(5, -6.5, 13), fit=False),
        K("SpeedButton36",   None, text_lines(4, -7, 14, mark=True), fit=False),
        K("SpeedButton15",   None, lines_over_box(), fit=False),
        K("move_client",     None, double_arrow(), fit=False),
        K("SpeedButton25",   None, None),
        K("SpeedButton31",   None, four_way_arrow(), fit=False),
        K("rythmiseisshow",  None, gears(), fit=False),
        K("con_SpeedButton", None, plug(), fit=False),
    ],
)

# ======================================================================
# Top-left block
# ======================================================================

Panelkoumpiahxos = Picture(
    "Panelkoumpiahxos", em=17, radius=4, gap=1.5,
    keys=[
        K("martyriesshow",     BLOCK_BEIGE, text("Ἦχος", "serif-bold", DARK_RED), tile=(0, 0, 47, 35.5)),
        K("enallagiendikseis", BLOCK_BEIGE,
          text("ν Γ", "serif", DARK_RED) + text("ϐ π", "serif", DARK_RED).moved(0, 850), k=1.3, tile=(0, 35.5, 47, 35.5)),
        Key(None, (0, 72, 47, 36), BLOCK_BEIGE, None, tile=(0, 71, 47, 36)),
    ],
)

# ======================================================================
# Connection indicator: two monitors, with a red disc when not connected
# ======================================================================

SCREEN_DEFS = [
    '<linearGradient id="screen" x1="0" y1="0" x2="1" y2="1">'
    '<stop offset="0" stop-color="#5a6a80"/><stop offset="0.45" stop-color="#1a2230"/>'
    '<stop offset="1" stop-color="#05070c"/></linearGradient>',
    '<linearGradient id="frame" x1="0" y1="0" x2="0" y2="1">'
    '<stop offset="0" stop-color="#f2f2f2"/><stop offset="1" stop-color="#b9b9b9"/></linearGradient>',
    '<radialGradient id="reddisc" cx="0.4" cy="0.35" r="0.7">'
    '<stop offset="0" stop-color="#ff6a5a"/><stop offset="1" stop-color="#c0140c"/></radialGradient>',
]


def monitor(x, y, w, h):
    """A flat-screen monitor with its top-left corner at x, y (units of a 128 picture)."""
    out = rect(x + w * 0.42, y + h, w * 0.16, h * 0.14, fill="url(#frame)", stroke="#8a8a8a", width=1)
    out += rect(x + w * 0.28, y + h * 1.12, w * 0.44, h * 0.07, fill="url(#frame)", r=2, stroke="#8a8a8a", width=1)
    out += rect(x, y, w, h, fill="url(#frame)", r=4, stroke="#8a8a8a", width=1.5)
    out += rect(x + 5, y + 5, w - 10, h - 10, fill="url(#screen)", r=1.5)
    gloss = path(f"M{x + 5} {y + 5} L{x + w * 0.7} {y + 5} L{x + 5} {y + h * 0.55} Z", fill="#ffffff")
    gloss.parts[0].opacity = 0.18
    return out + gloss


def monitors():
    return monitor(44, 14, 76, 58) + monitor(8, 46, 76, 58)


def red_x_disc():
    d = circle(98, 98, 26, fill="url(#reddisc)", stroke="#ffffff", width=3)
    x = line([(87, 87), (109, 109)], colour="#ffffff", width=7) + line([(109, 87), (87, 109)], colour="#ffffff", width=7)
    return d + x


connection_off = Picture("connection-off", size=(128, 128), defs=SCREEN_DEFS, extra=[monitors(), red_x_disc()])
connection_on = Picture("connection-on", size=(64, 64), defs=SCREEN_DEFS, extra=[monitors().scaled(0.5)])

# ======================================================================
# Cursor page: green discs with white arrows
# ======================================================================

DISC_DEFS = [
    '<radialGradient id="disc" cx="0.5" cy="0.38" r="0.62">'
    '<stop offset="0" stop-color="#6fe05a"/><stop offset="0.7" stop-color="#1f9a24"/>'
    '<stop offset="1" stop-color="#0d6412"/></radialGradient>',
    '<linearGradient id="gloss" x1="0" y1="0" x2="0" y2="1">'
    '<stop offset="0" stop-color="#ffffff" stop-opacity="0.75"/>'
    '<stop offset="1" stop-color="#ffffff" stop-opacity="0.05"/></linearGradient>',
]


def green_disc(direction):
    disc = circle(36, 36, 33, fill="url(#disc)", stroke="#0b5410", width=1.5)
    arrow = path("M14 36 L34 16 L34 27 L58 27 L58 45 L34 45 L34 56 Z", fill="#ffffff", stroke="#0b5410", width=0.8)
    if direction == "right":
        arrow = arrow.transformed((-1, 0, 0, 1, 72, 0))
    gloss = ellipse(36, 20, 24, 14, fill="url(#gloss)")
    return [disc, arrow, gloss]


ImageControl2 = Picture("ImageControl2", size=(72, 72), defs=DISC_DEFS, extra=green_disc("left"))
ImageControl3 = Picture("ImageControl3", size=(72, 72), defs=DISC_DEFS, extra=green_disc("right"))

# The arrow of the four keys of the cursor page's arrow pad, pointing up; each key turns it to
# its direction. Drawn in the buttons' text colour on a transparent square, the inside of a key.
BUTTON_TEXT = "#26282a"

arrow_key = Picture("arrow-key", size=(32, 32), extra=[path("M16 6.4 L27.2 24 L4.8 24 Z", fill=BUTTON_TEXT)])

# ======================================================================
# Program icon: a closed black book seen at an angle, a gold cross on its
# cover and a red ribbon marker hanging from its pages
# ======================================================================

ICON_DEFS = [
    '<linearGradient id="cover" x1="0" y1="0" x2="1" y2="1">'
    '<stop offset="0" stop-color="#3a3a3a"/><stop offset="1" stop-color="#050505"/></linearGradient>',
    '<linearGradient id="gold" x1="0" y1="0" x2="1" y2="1">'
    '<stop offset="0" stop-color="#fff0a0"/><stop offset="0.5" stop-color="#e0b020"/>'
    '<stop offset="1" stop-color="#a87810"/></linearGradient>',
]


def book():
    ribbon = path("M31 38 L31 47 L33 45 L35 47 L35 37 Z", fill="#d01818")
    cover = path("M9 6 L33 2 L43 26 L35 37 L9 33 Z", fill="url(#cover)", stroke="#000", width=0.8)
    spine = path("M5 10 L9 6 L9 33 L5 37 Z", fill="#262626", stroke="#000", width=0.6)
    back = path("M5 37 L9 33 L35 37 L35 41 L9 41 Z", fill="#0d0d0d")
    pages = path("M9 33 L35 37 L43 26 L43 29 L35 40 L9 36 Z", fill="#f3ecd8", stroke="#6a5a40", width=0.5)
    cross = path(
        "M24 9 L28 8.5 L28.8 15 L34 14.3 L34.6 18 L29.3 18.8 L30.7 29 L26.7 29.5 L25.4 19.3 L20.2 20 L19.7 16.3 L24.9 15.6 Z",
        fill="url(#gold)", stroke="#7a5a08", width=0.5,
    )
    return [back, pages, spine, cover, cross, ribbon]


icon = Picture("icon", size=(48, 48), defs=ICON_DEFS, extra=book())

PICTURES = [Panelgrammiergaleion, Panelkoumpiahxos, connection_off, connection_on, ImageControl2, ImageControl3,
            arrow_key]
