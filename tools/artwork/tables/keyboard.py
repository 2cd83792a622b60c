"""Sign groups of the keyboard page: one table per picture.

Every row is one tile: the name of the button over it, the tile colour and
the sign. The button's rect, the picture's size and its place in the group
(`at`) come from the window's layout table, base/window-layout.json; the
generator centres each sign at button centre - `at`.
"""

from artlib.ink import Ink, arc_points, circle, ellipse, line, path, rect, row, stack, text
from artlib.picture import Key, Picture

from .signs import *  # noqa: F401,F403  (sign names and code points)


def K(button, colour, sign=None, **kw):
    """A tile under a button; the button's rect is taken from the layout table."""
    return Key(button, None, colour, sign, **kw)


def blank(x, y, w, h, colour):
    """A tile with no button (rect in group units)."""
    return Key(None, (x, y, w, h), colour, None)


def T(s, font="serif", colour=BLACK):
    return text(s, font, colour)


# ---- colours named by the layout
GREEN = "#2e8b3e"
YELLOW_GREEN = "#c8dc6e"
ORANGE_YELLOW = "#f6b73c"
BEIGE = "#efe0bd"
GREYISH_BLUE = "#a9b8cc"
SKY_BLUE = "#8fd0ef"
LILAC = "#c9a9dc"
PINK = "#f5b3c6"
PURPLE = "#b184d0"
DARK_TEAL = "#3f8f8c"
LIGHT_AQUA = "#a6e6e0"
BLUE = "#7fa6e6"
GREY = "#bdbdbd"
LAVENDER = "#d9cdf2"
PALE_YELLOW = "#f8f1aa"
LIGHT_GREEN = "#b9e3a2"
KHAKI = "#d7ca8e"
SALMON = "#f5a48a"
MUSTARD = "#dfb13f"
OLIVE_GREEN = "#a9b464"
PALE_MAUVE = "#dcbfdc"
TAN = "#d5b48c"
LIGHT_BLUE = "#bcdcf4"
SLATE_BLUE = "#8a94c8"
LIGHT_MAGENTA = "#f0a6ec"
LAVENDER_BLUE = "#b8c0f2"
LIME = "#b6e35a"
LIGHT_GREY = "#d6d6d6"
MARTYRIA = DARK_RED


# ======================================================================
# Ison letters
# ======================================================================

ISON_TEXT = dict(font="serif-bold", colour=WHITE)

PanelIson1 = Picture(
    "PanelIson1", em=19, radius=4, gap=1.2, round_outer=True,
    keys=[
        # button tile   sign
        K("k1", GREEN, T("(Ν)", **ISON_TEXT)),
        K("k2", GREEN, T("(Π)", **ISON_TEXT)),
        K("k3", GREEN, T("(Β)", **ISON_TEXT)),
        K("k4", GREEN, T("(Γ)", **ISON_TEXT)),
        K("k5", GREEN, T("(Δ)", **ISON_TEXT)),
        K("k6", GREEN, T("(Κ)", **ISON_TEXT)),
        K("k7", GREEN, T("(Ζ)", **ISON_TEXT)),
        K("k8", GREEN, T("(Μ)", **ISON_TEXT)),
    ],
)

PanelIson2 = Picture(
    "PanelIson2", em=17, radius=4, gap=1.2, round_outer=True,
    keys=[
        K("l1", GREEN, T("(Ζ↑)", **ISON_TEXT)),
        K("l2", GREEN, T("(Δ↓)", **ISON_TEXT)),
        K("l3", GREEN, T("(Κ↓)", **ISON_TEXT)),
        blank(   109,  4, 36, 36, GREEN),
        blank(   145,  4, 36, 36, GREEN),
        blank(   181,  4, 36, 36, GREEN),
        blank(   217,  4, 36, 36, GREEN),
        blank(   253,  4, 36, 36, GREEN),
    ],
)

# ======================================================================
# Martyria rows
# ======================================================================


def L(s, font="serif"):
    """A martyria letter in dark red."""
    return text(s, font, MARTYRIA)


def prime_stroke():
    """The short slanting prime stroke, thicker at its top."""
    stroke = path("M330 -720 L420 -700 L170 -180 L140 -190 Z", fill=MARTYRIA)
    stroke.says = ["prime"]
    return stroke


PanelMartyries1 = Picture(
    "PanelMartyries1", em=30, radius=3,
    keys=[
        K("m1", YELLOW_GREEN, L("ν")),
        K("m2", YELLOW_GREEN, L("π")),
        K("m3", YELLOW_GREEN, L("ϐ")),
        K("m4", YELLOW_GREEN, L("Γ"), k=0.8),
        K("m5", YELLOW_GREEN, L("Δ"), k=0.8),
        K("m6", YELLOW_GREEN, L("ϰ")),
        K("m7", YELLOW_GREEN, L("ζ", "serif-italic")),
        K("m8", YELLOW_GREEN, prime_stroke()),
    ],
)

PanelMartyries2 = Picture(
    "PanelMartyries2", em=60, radius=3,
    keys=[
        K("o1", YELLOW_GREEN, g(MARTYRIA_PROTOS, MARTYRIA)),
        K("o2", YELLOW_GREEN, g(MARTYRIA_ALLI_PROTOS, MARTYRIA)),
        K("o3", YELLOW_GREEN, g(MARTYRIA_TETARTOS_LEGETOS, MARTYRIA)),
        K("o4", YELLOW_GREEN, g(MARTYRIA_TRIFONIAS, MARTYRIA)),
        K("o5", YELLOW_GREEN, g(DIPLI, MARTYRIA), k=1.2),
        K("o6", YELLOW_GREEN, g(MARTYRIA_ALLI_DEYTEROS, MARTYRIA)),
        K("o7", YELLOW_GREEN, g(MARTYRIA_VARYS, MARTYRIA)),
        K("o8", YELLOW_GREEN, g(FTHORA_DIATONIKI_DI, MARTYRIA)),
        K("o9", YELLOW_GREEN, g(FTHORA_SKLIRON_DI, MARTYRIA)),
    ],
)

# ======================================================================
# Tempo signs
# ======================================================================

ASTERISK = text("*", "sans-bold", RED)

PanelxronikiAgogi1 = Picture(
    "PanelxronikiAgogi1", em=80, radius=3,
    keys=[
        K("x8",                 ORANGE_YELLOW, g(AGOGI_POLI_ARGI, RED)),
        K("x9",                 ORANGE_YELLOW, g(AGOGI_ARGOTERI, RED)),
        K("x10",                ORANGE_YELLOW, g(AGOGI_ARGI, RED)),
        K("x11",                ORANGE_YELLOW, g(AGOGI_METRIA, RED)),
        K("x12",                ORANGE_YELLOW, g(AGOGI_GORGI, RED)),
        K("x13",                ORANGE_YELLOW, g(AGOGI_GORGOTERI, RED)),
        K("x14",                ORANGE_YELLOW, g(AGOGI_POLI_GORGI, RED)),
        K("enallagi_asterakia", ORANGE_YELLOW, ASTERISK, k=0.45),
    ],
)

# ======================================================================
# Flats and sharps, and the toggles of four pop-up groups
# ======================================================================


def four_flats():
    """The signs of the further flats and sharps, small, in two rows."""
    top = row(g(YFESIS_TRIGRAMMOS, RED), g(YFESIS_DIGRAMMOS, RED), gap=70)
    bottom = row(g(DIESIS_TRIGRAMMOS, RED), g(DIESIS_DIGRAMMOS, RED), gap=70)
    return stack(top, bottom, gap=50)


def three_modulations():
    return row(g(FTHORA_DIATONIKI_PA, RED), g(FTHORA_MALAKON_MONOFONIAS, RED), g(GENIKI_DIESIS, RED), gap=50)


def speaker(colour=RED):
    """A person's head and shoulders with sound waves in front of the mouth."""
    head = circle(300, 300, 170, fill=colour)
    body = path("M70 900 C70 640 180 540 300 540 C420 540 530 640 530 900 Z", fill=colour)
    waves = Ink()
    for r in (150, 260, 370):
        waves += line(arc_points(480, 320, r, -40, 40), colour=colour, width=50)
    return head + body + waves


def pencil(colour=RED):
    body = path("M180 820 L760 240 L880 360 L300 940 Z", fill=colour)
    tip = path("M180 820 L300 940 L110 1010 Z", fill=colour)
    lead = path("M110 1010 L150 900 L220 970 Z", fill="#401010")
    band = path("M730 270 L770 230 L890 350 L850 390 Z", fill="#ffffff")
    return body + tip + lead + band


Panelyfesi = Picture(
    "Panelyfesi", em=85, radius=3,
    keys=[
        K("sa1",             BEIGE, g(DIESIS_APLI, RED)),
        K("sa2",             BEIGE, g(DIESIS_MONOGRAMMOS, RED)),
        K("sa4",             BEIGE, g(YFESIS_APLI, RED)),
        K("sa5",             BEIGE, g(YFESIS_MONOGRAMMOS, RED)),
        K("enallagihfeseis", BEIGE, four_flats()),
        K("enallagifthores", BEIGE, three_modulations()),
        K("enallaghentash",  BEIGE, speaker(), k=0.3),
        K("enallaghvellh",   BEIGE, pencil(), k=0.3),
    ],
)

# ======================================================================
# Ascending signs
# ======================================================================


def yp(base, anchor="right", dx=0, gap=-8):
    """The tall hooked stroke on a bar (OLIGON) or on a curved hook (PETASTI)."""
    return over(g(base), g(YPSILI), anchor=anchor, gap=gap, dx=dx)


Panelanavasi1 = Picture(
    "Panelanavasi1", em=62, radius=4, gap=2,
    keys=[
        # row 1
        K("a19", GREYISH_BLUE, yp(OLIGON, "right")),
        K("a20", GREYISH_BLUE, yp(PETASTI, "right")),
        K("b5",  GREYISH_BLUE, yp(OLIGON, 0.55)),
        K("b6",  GREYISH_BLUE, yp(PETASTI, 0.55)),
        # row 2
        K("a17", GREYISH_BLUE, yp(OLIGON, "left")),
        K("a18", GREYISH_BLUE, yp(PETASTI, "left")),
        K("b3",  GREYISH_BLUE, under(yp(OLIGON, "right"), g(KENTIMA), anchor=0.3, gap=30)),
        K("b4",  GREYISH_BLUE, under(yp(PETASTI, "right"), g(KENTIMA), anchor=0.3, gap=30)),
        # row 3
        K("a15", SKY_BLUE,     over(g(OLIGON), g(KENTIMA), anchor=0.5)),
        K("a4",  SKY_BLUE,     g(KENTIMA)),
        K("b1",  GREYISH_BLUE, over(over(g(OLIGON), g(KENTIMATA), anchor="left"), g(YPSILI), anchor="right", gap=-120)),
        K("b2",  GREYISH_BLUE, under(yp(OLIGON, "right"), g(KENTIMATA), anchor="left", gap=30)),
        # row 4
        K("a7",  SKY_BLUE,     under(g(OLIGON), g(KENTIMA), anchor=0.5, gap=30)),
        K("a3",  LILAC,        g(KENTIMATA)),
        K("a16", PINK,         over(g(PETASTI), g(KENTIMA), anchor=0.5)),
        K("a14", PURPLE,       under(g(OLIGON), g(YPSILI).scaled(0.7), anchor="right", gap=20)),
        # row 5
        K("a6",  SKY_BLUE,     over(g(OLIGON), g(KENTIMA), anchor="right", gap=10)),
        K("a9",  LILAC,        over(g(OLIGON), g(KENTIMATA))),
        K("a5",  PINK,         over(g(PETASTI), g(KENTIMATA))),
        K("a13", PURPLE,       under(g(OLIGON), g(YPSILI).scaled(0.7), anchor=0.5, gap=20)),
        # row 6
        K("a1",  SKY_BLUE,     g(OLIGON)),
        K("a8",  LILAC,        under(g(OLIGON), g(KENTIMATA), gap=30)),
        K("a2",  PINK,         under(g(PETASTI), g(KENTIMA), gap=30)),
        K("a12", PURPLE,       under(g(OLIGON), g(YPSILI).scaled(0.7), anchor="left", gap=20)),
    ],
)


def yps(base, n, k=0.85):
    """Two or three tall hooked strokes over a bar or hook."""
    top = Ink()
    for i in range(n):
        top += g(YPSILI).scaled(k).moved(i * 190, -i * 40)
    return over(g(base).scaled(1.1 + 0.2 * n, 1), top, anchor="right", gap=-8)


Panelanavasi2 = Picture(
    "Panelanavasi2", em=52, radius=4, gap=2, ground=WHITE,
    keys=[
        K("b20", DARK_TEAL,  yps(OLIGON, 2)),
        K("b11", DARK_TEAL,  yps(PETASTI, 2)),
        K("b18", DARK_TEAL,  yps(OLIGON, 3)),
        K("b16", DARK_TEAL,  under(yps(OLIGON, 2), g(KENTIMA), anchor=0.3, gap=30)),
        K("b17", DARK_TEAL,  under(yps(PETASTI, 2), g(KENTIMA), anchor=0.3, gap=30)),
        K("b19", DARK_TEAL,  yps(PETASTI, 3)),
        K("b9",  LIGHT_AQUA, over(over(g(OLIGON), g(KENTIMATA), anchor="left"), g(YPSILI), anchor="right", gap=-120)),
        K("b10", BLUE,       over(over(g(PETASTI), g(KENTIMATA), anchor="left"), g(YPSILI), anchor="right", gap=-120)),
        K("b14", LIGHT_AQUA, over(over(g(OLIGON), g(KENTIMA), anchor="left"), g(YPSILI), anchor="right", gap=-120)),
        K("b13", BLUE,       over(over(g(PETASTI), g(KENTIMA), anchor="left"), g(YPSILI), anchor="right", gap=-120)),
        K("b12", LIGHT_AQUA, under(yps(OLIGON, 2), g(KENTIMATA), anchor="left", gap=30)),
        K("b15", BLUE,       under(yps(PETASTI, 2), g(KENTIMATA), anchor="left", gap=30)),
        K("b7",  LIGHT_AQUA, yps(OLIGON, 3, k=0.75)),
        K("b8",  BLUE,       yps(PETASTI, 3, k=0.75)),
        K("b21", PINK,       g(YPSILI)),
    ],
)

# ======================================================================
# Further step signs
# ======================================================================


def carried(sign, dot=False):
    """A long horizontal stroke carrying a sign, two small upright strokes at its right."""
    bar = g(OLIGON)
    ink = over(bar, sign, anchor=0.35, gap=10)
    if dot:
        ink = over(ink, g(APLI, RED), anchor=0.35, gap=30)
    b = ink.bounds()
    k = g(KENTIMATA).scaled(0.8)
    kb = k.bounds()
    return ink + k.moved(b[2] - kb[0] - 10, bar.bounds()[1] - kb[3] - 10)


PanelLoipa = Picture(
    "PanelLoipa", em=55, radius=4, gap=2, pad=0.08,
    keys=[
        K("e5",  GREY,     carried(g(APOSTROFOS))),
        K("e7",  GREY,     carried(g(ELAFRON))),
        K("e6",  GREY,     carried(g(CHAMILI))),
        K("e8",  GREY,     carried(g(OLIGON))),
        K("e2",  LAVENDER, g(ANTIKENOMA)),
        K("e4",  GREY,     carried(g(PETASTI))),
        K("e3",  GREY,     carried(g(KENTIMATA))),
        K("f4",  GREY,     carried(g(YPSILI))),
        K("e1",  LAVENDER, g(KYLISMA)),
        K("e10", LAVENDER, g(EKSTREPTON)),
        K("f1",  LAVENDER, g(PARAKALESMA)),
        K("f5",  GREY,     carried(g(APOSTROFOS), dot=True)),
    ],
)

# ======================================================================
# Descending signs
# ======================================================================

def short_bar():
    """The bar, shortened to half its length; its thickness stays."""
    return g(OLIGON).scaled(0.5, 1)


PanelKatavasi1 = Picture(
    "PanelKatavasi1", em=60, radius=4, gap=2,
    keys=[
        K("c1",  PALE_YELLOW, g(APOSTROFOS)),
        K("c2",  PALE_YELLOW, g(APOSTROFOI_SYNDESMOS)),
        K("c3",  PALE_YELLOW, g(ELAFRON)),
        K("c4",  PALE_YELLOW, under(g(ELAFRON), g(APOSTROFOS), anchor=0.6, gap=-30)),
        K("c9",  LIGHT_GREEN, g(YPORROI)),
        K("c10", LIGHT_GREEN, g(KRATIMOYPORROON)),
        K("c11", LIGHT_GREEN, row(g(YPORROI), g(YPORROI), gap=-20)),
        K("c12", LIGHT_GREEN, over(g(YPORROI), g(KENTIMA), gap=20)),
        K("c5",  KHAKI,       g(CHAMILI)),
        K("c6",  KHAKI,       under(g(CHAMILI), g(APOSTROFOS), gap=20)),
        K("c7",  KHAKI,       under(g(CHAMILI), g(ELAFRON), gap=20)),
        K("c8",  KHAKI,       under(g(CHAMILI), g(YPORROI), gap=20)),
        K("c13", SALMON,      g(VAREIA), k=0.8),
        K("c14", SALMON,      under(short_bar(), g(VAREIA).scaled(0.7), gap=30)),
        K("d1",  SALMON,      over(g(APOSTROFOS), g(KENTIMA), anchor="right", gap=10)),
        K("f2",  SALMON,      g(PIASMA), k=0.8),
    ],
)

PanelKatavasi2 = Picture(
    "PanelKatavasi2", em=55, radius=4, gap=2,
    keys=[
        K("e9",  MUSTARD,      over(g(OLIGON), g(APOSTROFOS), gap=20)),
        K("e11", MUSTARD,      over(g(OLIGON), g(ELAFRON), gap=20)),
        K("e13", MUSTARD,      over(g(OLIGON), under(g(ELAFRON), g(APOSTROFOS), anchor=0.6, gap=-30), gap=20)),
        K("e12", MUSTARD,      under(g(OLIGON), g(KENTIMA), gap=30)),
        K("d3",  YELLOW_GREEN, under(g(CHAMILI), g(YPORROI), gap=10)),
        K("d4",  YELLOW_GREEN, under(g(CHAMILI), g(KRATIMOYPORROON), gap=10)),
        K("d5",  YELLOW_GREEN, under(g(CHAMILI), g(APOSTROFOI_SYNDESMOS), gap=10)),
        K("d6",  YELLOW_GREEN, under(g(CHAMILI), row(g(YPORROI), g(APOSTROFOS), gap=0), gap=10)),
        K("d2",  OLIVE_GREEN,  under(g(CHAMILI), g(CHAMILI), gap=-20)),
        K("d8",  OLIVE_GREEN,  under(under(g(CHAMILI), g(CHAMILI), gap=-20), g(APOSTROFOS), gap=0)),
        K("d7",  OLIVE_GREEN,  under(under(g(CHAMILI), g(CHAMILI), gap=-20), g(ELAFRON), gap=0)),
        K("d9",  OLIVE_GREEN,  under(under(g(CHAMILI), g(CHAMILI), gap=-20), g(YPORROI), gap=0)),
        K("f3",  PALE_MAUVE,   under(g(OLIGON), g(CHAMILI), gap=0)),
        K("d12", PALE_MAUVE,   under(under(g(CHAMILI), g(CHAMILI), gap=-40), g(CHAMILI), gap=-40)),
        K("d10", PALE_MAUVE,   under(under(g(OLIGON), g(CHAMILI), gap=0), g(CHAMILI), gap=-20)),
        K("d11", PALE_MAUVE,   under(under(g(CHAMILI), g(CHAMILI), gap=-20), g(KLASMA_KATO), gap=0)),
    ],
)

# ======================================================================
# Expression signs
# ======================================================================


def hollow_ypsili_on(base):
    return over(g(base), outlined(YPSILI), anchor="right", gap=-40)


def curl_at_right():
    """A wavy stroke with a curl at its right end: the font curls it at its left, so it is
    mirrored."""
    return g(ANTIKENOKYLISMA).scaled(-1, 1)


PanelPoiotitas1 = Picture(
    "PanelPoiotitas1", em=60, radius=4, gap=2,
    keys=[
        K("g6",  TAN, hollow_ypsili_on(OLIGON)),
        K("g4",  TAN, hollow_ypsili_on(PETASTI)),
        K("g15", TAN, g(VAREIA), k=0.8),
        K("g11", TAN, g(YFEN_ANO)),
        K("g9",  TAN, g(YFEN_KATO)),
        K("g7",  TAN, curl_at_right()),
        K("g2",  TAN, g(ANTIKENOMA)),
        K("g1",  TAN, g(PSIFISTON)),
    ],
)


def white_stroke_black_end():
    bar = outlined(OLIGON)
    b = bar.bounds()
    blob = g(APLI).scaled(1.2)
    bb = blob.bounds()
    return bar + blob.moved(b[2] - bb[2], (b[1] + b[3]) / 2 - (bb[1] + bb[3]) / 2)


PanelPoiotitas2 = Picture(
    "PanelPoiotitas2", em=60, radius=4, gap=2,
    keys=[
        K("g24", PURPLE, over(outlined(OLIGON), g(APOSTROFOS).scaled(0.8), gap=10)),
        K("g3",  PURPLE, white_stroke_black_end()),
        K("g14", PURPLE, g(TROMIKON), k=0.8),
        K("g13", PURPLE, g(YPORROI)),
        K("g20", PURPLE, g(SYRMA)),
        K("g22", PURPLE, g(SYNAGMA)),
        K("g23", PURPLE, g(APOSTROFOI_SYNDESMOS)),
        K("g25", PURPLE, g(OYRANISMA)),
    ],
)

# ======================================================================
# Time signs (the layout draws the group stretched; signs are narrowed to match)
# ======================================================================


def with_line(sign, where, colour="#8c8c8c"):
    """A sign above or below a thin grey line."""
    b = sign.bounds()
    w = b[2] - b[0]
    y = b[3] + 40 if where == "below" else b[1] - 40
    ln = line([(b[0] - w * 0.35, y), (b[2] + w * 0.35, y)], colour=colour, width=14)
    return sign + ln


def dot_beside(sign, side, colour=RED, raise_=0):
    b = sign.bounds()
    d = g(APLI, colour)
    db = d.bounds()
    x = b[2] + 25 - db[0] if side == "right" else b[0] - 25 - db[2]
    y = b[1] - db[1] + raise_
    return sign + d.moved(x, y)


def dot_above(sign, colour=RED):
    return over(sign, g(APLI, colour), gap=20)


def steps_down(cp):
    return bracket_of(cp, RED)


GORGO_ROWS = [2, 35, 69, 104, 140, 176, 209, 243, 276, 312, 346, 380, 413]

Panelgorgo = Picture(
    "Panelgorgo", em=115, radius=4, gap=1.5,
    keys=[
        blank(1, 2, 35, 37, GREY),
        K("xr24", LAVENDER,      g(KORONIS, RED)),
        K("xr8",  LIGHT_BLUE,    steps_down(AGOGI_POLI_ARGI)),
        K("xr14", SLATE_BLUE,    g(TRIPLI)),
        K("xr7",  LIGHT_BLUE,    steps_down(AGOGI_ARGOTERI)),
        K("xr12", SLATE_BLUE,    g(DIPLI)),
        K("xr6",  LIGHT_BLUE,    steps_down(AGOGI_ARGI)),
        K("xr11", SLATE_BLUE,    g(APLI)),
        K("xr9",  TAN,           with_line(g(KLASMA_ANO), "below")),
        K("xr10", TAN,           with_line(g(KLASMA_KATO), "above")),
        K("xr4",  BEIGE,         g(GORGON_DOT_RIGHT, RED)),
        K("xr2",  BEIGE,         with_line(g(GORGON, RED), "above")),
        K("xr3",  BEIGE,         g(GORGON_DOT_LEFT, RED)),
        K("xr1",  BEIGE,         with_line(g(GORGON, RED), "below")),
        K("xr16", PINK,          g(DIGORGON_DOT_RIGHT, RED)),
        K("xr5",  PINK,          g(DIGORGON, RED)),
        K("xr19", PINK,          g(DIGORGON_DOT_LEFT_ABOVE, RED)),
        K("xr13", PINK,          g(DIGORGON_DOT_LEFT_BELOW, RED)),
        K("xr18", LIGHT_MAGENTA, dot_beside(g(TRIGORGON, RED), "right")),
        K("xr15", LIGHT_MAGENTA, g(TRIGORGON, RED)),
        K("xr20", LIGHT_MAGENTA, dot_above(g(TRIGORGON, RED))),
        K("xr17", LIGHT_MAGENTA, dot_beside(g(TRIGORGON, RED), "left", raise_=60)),
        K("xr25", LAVENDER_BLUE, gorgo_steps(4)),
        K("xr26", LIGHT_MAGENTA, dot_above(g(TRIGORGON, RED))),
        K("kar5", GREY,          text("+", "sans-bold"), k=0.55),
        K("kar7", GREY,          text(",", "serif-bold"), k=0.7),
    ],
)

# ======================================================================
# Bar lines and measure numbers
# ======================================================================


def bars(over_line):
    marks = row(g(DIASTOLI_APLI, RED), g(DIASTOLI_DIPLI, RED), g(DIASTOLI_THESEOS, RED), gap=70, valign="bottom")
    if not over_line:
        return marks
    b = marks.bounds()
    return marks + line([(b[0] - 40, b[3] + 60), (b[2] + 40, b[3] + 60)], colour=WHITE, width=28)


def scattered_digits():
    d = lambda s: text(s, "serif-bold", RED)  # noqa: E731
    return d("5").moved(0, 0) + d("6").moved(520, 120) + d("7").moved(40, 760) + d("8").moved(560, 880)


Paneldiastoles = Picture(
    "Paneldiastoles", em=75, radius=3, gap=1.5,
    keys=[
        K("di3", GREY, bars(True), k=1.5),
        K("di5", LIME, text("4", "serif-bold", RED), k=0.4),
        K("di6", LIME, scattered_digits(), k=0.25),
        K("di4", GREY, bars(False), k=1.5),
        K("di2", LIME, text("2", "serif-bold", RED), k=0.4),
        K("di1", LIME, text("3", "serif-bold", RED), k=0.4),
    ],
)

PICTURES = [
    PanelIson1, PanelIson2, PanelMartyries1, PanelMartyries2, PanelxronikiAgogi1, Panelyfesi,
    Panelanavasi1, Panelanavasi2, PanelLoipa, PanelKatavasi1, PanelKatavasi2,
    PanelPoiotitas1, PanelPoiotitas2, Panelgorgo, Paneldiastoles,
]
