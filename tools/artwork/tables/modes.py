"""Modal signatures page: the eight mode pictures and the mode strip.

A mode picture is the picture of its mode panel (`Panelhxos_*`, whose `image`
names it in base/window-layout.json); each key's button and the picture's place
in the panel come from that table, and the key is drawn as a light grey
rounded box of 113 x 55 (119 x 55 for πλ β') centred under its button,
holding one signature in dark red.
"""

from artlib.ink import Ink, line, row, stack, text
from artlib.picture import Picture

from .keyboard import K
from .signs import *  # noqa: F401,F403

SIG = "#800000"  # red 128, green and blue 0
FIELD = "#808080"  # red, green and blue 128
KEY_GREY = "#dcdcdc"
KEY_BORDER = "#9a9a9a"
MUSIC = 2.8  # music glyphs are drawn small in their font: enlarge them beside letters


def m(cp, k=1.0):
    """A music sign in the signature colour, sized to go with the letters."""
    return g(cp, SIG).scaled(MUSIC * k)


def t(s, font="serif"):
    return text(s, font, SIG)


def name(s):
    """A note name; Βου is written with the ου ligature."""
    if s == "Βου":
        b = t("Β")
        ou = m(DIFTOGGOS_OU, 1.6)
        return row(b, ou, gap=20, valign="bottom")
    return t(s)


def dots2():
    return m(DIPLI, 0.7)


def wd(ink, extra, gap=25):
    """`ink` followed by `extra` at its lower right (two dots after a letter)."""
    b = ink.bounds()
    eb = extra.bounds()
    return ink + extra.moved(b[2] + gap - eb[0], b[3] - eb[3] - 40)


# ---- opening marks


def q_dots():
    return wd(m(MARTYRIA_ALLI_PROTOS, 0.9), dots2())


def delta_dots():
    return wd(m(MARTYRIA_TETARTOS, 0.9), dots2())


def slanted_foot():
    return m(OXEIA, 0.7).transformed((0.7, -0.7, 0.7, 0.7, 0, 0))


def dotted_curl():
    return over(m(KLASMA_KATO, 0.9), m(APLI, 0.8), gap=10)


def dotted_corner():
    """The small dotted corner under mode γ''s bars. The font draws it flat and thin, so it is
    drawn larger than its neighbours and raised, its foot clear of the bars, to stay readable
    at the key's size."""
    return m(GORGON_DOT_RIGHT, 1.3).scaled(0.85, 1.5)


def legetos():
    """The small cursive λ with the raised letters γ'τος, as large as the key allows."""
    return m(0x1D0AA, 1.35)


def plagal():
    return m(MARTYRIA_PLAGIOS, 1.0)


OPENING = {
    "a": lambda: stack(slanted_foot(), q_dots(), gap=20),
    "b": lambda: row(stack(m(OLIGON, 1.1), dotted_curl(), gap=15), m(KENTIMATA, 0.8), gap=15),
    "c": lambda: stack(row(stack(m(OLIGON, 0.8), m(OLIGON, 0.8), gap=20), m(KENTIMATA, 0.8), gap=15), dotted_corner(), gap=150),
    "d": lambda: stack(slanted_foot(), delta_dots(), gap=20),
    "pla": lambda: row(plagal(), q_dots(), gap=30),
    "plb": lambda: row(plagal(), dotted_curl(), gap=30),
    "varys": lambda: stack(m(OLIGON), over(m(MARTYRIA_VARYS), m(APLI, 0.7), gap=5), gap=15),
    "varys2": lambda: stack(text("z", "serif-italic", SIG).scaled(0.7), m(MARTYRIA_VARYS), gap=15),
    "pld": lambda: row(plagal(), delta_dots(), gap=30),
}

# ---- small marks above and beside the note names

RING_STEM = lambda: m(FTHORA_DIATONIKI_PA, 0.8)  # noqa: E731  a small ring on a stem
STEM_RING = lambda: m(FTHORA_DIATONIKI_KE, 0.8)  # noqa: E731  a short stem over a small ring
RING_FALLING = lambda: m(FTHORA_DIATONIKI_DI, 0.8)  # noqa: E731  a ring crossed by a falling stroke
RING_RISING = lambda: m(FTHORA_NENANO, 0.8)  # noqa: E731  a ring crossed by a rising stroke
RING_CURLS = lambda: m(0x1D0B7, 0.8)  # noqa: E731  a small ring between two curls
SMALL_LOOP = lambda: m(FTHORA_YFESIS_TETARTIMORION, 0.7)  # noqa: E731


def ring_line_dot():
    """A line through a small ring, ending in a dot."""
    return wd(m(FTHORA_SKLIRON_VASIS, 0.9), m(APLI, 0.6), gap=10)


def ring_rising_dot():
    return wd(m(DIESIS_APLI, 0.8), m(APLI, 0.6), gap=5)


def hook_right():
    """A long base stroke rising into a hook at its right end.

    The music font's stroke with a hook at its right end bends down; turned
    upside down it rises.
    """
    return m(ANTIKENOMA).scaled(1, -1)


def short_rise():
    return m(OXEIA, 0.8)


def turning_stroke():
    """A curving stroke that turns back and ends in a point."""
    return m(EKSTREPTON, 0.9)


def bar_two_strokes():
    return row(m(OLIGON, 0.9), m(KENTIMATA, 0.7), gap=10, valign="bottom")


def dotted_strokes():
    return over(m(KENTIMATA, 0.8), m(DIPLI, 0.6), gap=10)


def above(note, mark, gap=30):
    return over(note, mark, gap=gap)


def above_letter(s, letter, mark, gap=60):
    """The note name `s` with `mark` standing over its letter number `letter`.

    The mark sits on that letter's own top, so over a small letter it comes
    down beside the capital rather than floating over the whole name.
    """
    note = name(s)
    lb = Ink([note.parts[letter]]).bounds()
    mb = mark.bounds()
    dx = (lb[0] + lb[2]) / 2 - (mb[0] + mb[2]) / 2
    dy = lb[1] - gap - mb[3]
    return note + mark.moved(dx, dy)


def sig(*parts, gap=45):
    """One signature: its parts side by side, vertically centred."""
    return row(*parts, gap=gap)


def mode_picture(name_, panel_keys, opening, wide=False):
    """A mode picture from its keys: (button, signature)."""
    tw = 119 if wide else 113
    keys = [K(button, KEY_GREY, ink, tile_size=(tw, 55)) for button, ink in panel_keys]
    pic = Picture(name_, em=31, ground=FIELD, radius=6, gap=0, pad=0.08, keys=keys)
    pic.tile_stroke = (KEY_BORDER, 1.2)
    return pic


A = OPENING["a"]
B = OPENING["b"]
C = OPENING["c"]
D = OPENING["d"]
PLA = OPENING["pla"]
PLB = OPENING["plb"]
VA = OPENING["varys"]
VA2 = OPENING["varys2"]
PLD = OPENING["pld"]

Image18 = mode_picture("Image18", [  # mode α'
    ("ark1", sig(A(), above_letter("Πα", 1, RING_STEM()))),
    ("ark2", sig(A(), above_letter("Κε", 1, STEM_RING()))),
    ("ark3", sig(A(), above(name("Κε"), RING_STEM()))),
    ("ark5", sig(A(), above(name("Κε"), ring_line_dot()))),
    ("ark4", sig(t("α'."), RING_STEM(), hook_right(), gap=35)),
    ("ark6", sig(A(), above(name("Πα"), RING_STEM()), above(m(OLIGON), ring_line_dot()), gap=35)),
], A)

Image19 = mode_picture("Image19", [  # mode β'
    ("ark7",  sig(B(), above(name("Δι"), ring_line_dot()))),
    ("ark8",  sig(B(), above(name("Βου"), ring_line_dot()))),
    ("ark10", sig(B(), above(name("Βου"), RING_CURLS()))),
    ("ark11", sig(B(), above(name("Πα"), RING_CURLS()))),
    ("ark9",  stack(RING_CURLS(), t("ϐ"), dotted_curl(), gap=20)),
], B)

Image20 = mode_picture("Image20", [  # mode γ'
    ("ark12", sig(C(), above(name("Γα"), RING_STEM()))),
    ("ark13", sig(t("γ'."), name("Γα"), gap=40)),
    ("ark14", sig(dotted_strokes(), above(name("Γα"), RING_STEM()), turning_stroke(), gap=35)),
    ("ark15", sig(dotted_strokes(), above(name("Γα"), SMALL_LOOP()))),
], C)

Image26 = mode_picture("Image26", [  # mode δ'
    ("ark16", sig(D(), above(name("Δι"), RING_FALLING()))),
    ("ark17", sig(D(), above(name("Πα"), RING_STEM()))),
    ("ark18", sig(D(), turning_stroke())),
    ("ark19", sig(legetos(), name("Βου"), gap=70)),
    ("ark20", sig(D(), turning_stroke(), above(name("Βου"), ring_line_dot()), gap=35)),
    ("ark21", sig(D(), above(name("Δι"), ring_line_dot()))),
    ("ark23", sig(D(), above(name("Δι"), RING_RISING()))),
    ("ark22", sig(t("Δ'."), above(name("Δι"), ring_rising_dot()), gap=40)),
], D)

Image27 = mode_picture("Image27", [  # mode πλ α'
    ("ark24", sig(PLA(), name("Πα"))),
    ("ark25", sig(PLA(), above(name("Κε"), hook_right()))),
    ("ark26", sig(PLA(), above(name("Πα"), RING_STEM()), above(name("Κε"), hook_right()), gap=35)),
    ("ark27", sig(PLA(), above(name("Πα"), RING_STEM()), over(hook_right(), STEM_RING(), anchor="right", gap=5), gap=35)),
], PLA)

Image28 = mode_picture("Image28", [  # mode πλ β'
    ("ark28", sig(PLB(), above(name("Πα"), RING_CURLS()))),
    ("ark29", sig(PLB(), short_rise(), RING_RISING(), gap=35)),
    ("ark30", sig(PLB(), above(name("Βου"), ring_line_dot()), bar_two_strokes(), gap=35)),
    ("ark31", sig(PLB(), short_rise(), above(name("Δι"), ring_line_dot()), gap=35)),
    ("ark32", sig(PLB(), hook_right(), above(name("Κε"), ring_line_dot()), gap=35)),
    ("ark33", sig(PLB(), above(name("Πα"), ring_line_dot()), bar_two_strokes(), gap=35)),
    ("ark34", sig(PLB(), above(name("Νη"), RING_CURLS()))),
    ("ark35", sig(PLB(), hook_right(), above(name("Νη"), RING_CURLS()), gap=35)),
], PLB, wide=True)

Image29 = mode_picture("Image29", [  # mode βαρύς
    ("ark36", sig(VA(), above(name("Γα"), ring_rising_dot()))),
    ("ark37", sig(VA(), above(name("Ζω"), ring_rising_dot()))),
    ("ark38", sig(VA(), over(hook_right(), STEM_RING(), anchor="right", gap=5))),
    ("ark39", sig(VA(), name("Ζω"))),
    ("ark40", sig(VA(), hook_right(), m(XIRON_KLASMA, 0.6), gap=20)),
    ("ark41", sig(VA2(), over(m(OLIGON), m(KENTIMA), anchor=0.5, gap=5))),
    ("ark42", sig(VA2(), hook_right())),
    ("ark43", sig(VA2(), over(m(OLIGON), m(KENTIMA), anchor="left", gap=5))),
], VA)

Image30 = mode_picture("Image30", [  # mode πλ δ'
    ("ark44", sig(PLD(), above(name("Νη"), SMALL_LOOP()))),
    ("ark46", sig(PLD(), name("Γα"))),
    ("ark47", sig(PLD(), name("Νη"), over(hook_right(), SMALL_LOOP(), anchor="right", gap=5), gap=35)),
    ("ark48", sig(PLD(), name("Νη"), over(hook_right(), RING_RISING(), anchor="right", gap=5), gap=35)),
    ("ark45", sig(PLD(), over(short_rise(), SMALL_LOOP(), gap=10))),
], PLD)

# ======================================================================
# Mode strip: a picture member of its page, its keys the page's own members,
# so its rectangle and the keys' are in page units
# ======================================================================

STRIP_FIELD = "#a0a0a4"  # red and green 160, blue 164
STRIP_CELL = "#f2f0ea"

Image31 = Picture(
    "Image31", em=26, ground=STRIP_FIELD, radius=4, gap=4, pad=0.14,
    keys=[
        K("mh1", STRIP_CELL, t("Ἠχος")),
        K("mh2", STRIP_CELL, stack(t("λ"), t("π"), gap=40), k=0.8),
        K("mh3", STRIP_CELL, t("α'.")),
        K("mh4", STRIP_CELL, t("ϐ'.")),
        K("mh5", STRIP_CELL, t("γ'.")),
        K("mh6", STRIP_CELL, t("δ'.")),
        K("mh7", STRIP_CELL, t("βαρύς")),
    ],
)

PICTURES = [Image18, Image19, Image20, Image26, Image27, Image28, Image29, Image30, Image31]
